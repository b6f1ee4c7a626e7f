// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "widgetstyles/sheetstyle.h"

#include "widgetstyles/sheetpalette.h"

#include <QApplication>
#include <QStyleFactory>

SheetStyle::SheetStyle(const QString &styleSheet, const QString &baseStyle)
    : QProxyStyle(QStyleFactory::create(baseStyle))
    , styleSheet(styleSheet)
{}

void SheetStyle::polish(QPalette &palette)
{
    polishSheetPalette(palette, styleSheet);
}

void SheetStyle::polish(QApplication *application)
{
    if (application)
        application->setStyleSheet(styleSheet);
}
