// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "widgetstyles/sheetstyle.h"

#include "theme/palettedirectives.h"

#include <QApplication>
#include <QStyleFactory>

SheetStyle::SheetStyle(const QString &styleSheet, const QString &baseStyle, ColorScheme scheme)
    : QProxyStyle(QStyleFactory::create(baseStyle))
    , styleSheet(styleSheet)
    , scheme(scheme)
{}

void SheetStyle::polish(QPalette &palette)
{
    // The toolkit's own palette is the light scheme's already; left alone, every
    // light render stays as it was.
    if (scheme != ColorScheme::Light)
        palette = schemePalette(scheme);
    applyPaletteDirectivesFromText(palette, styleSheet);
}

void SheetStyle::polish(QApplication *application)
{
    if (application)
        application->setStyleSheet(styleSheet);
}
