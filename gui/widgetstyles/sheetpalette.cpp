// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "widgetstyles/sheetpalette.h"

#include "theme/palettedirectives.h"

namespace {

// One per process, as the application's style is.
std::optional<ColorScheme> &schemeInForce()
{
    static std::optional<ColorScheme> scheme;
    return scheme;
}

} // namespace

void setSchemeUnderSheets(std::optional<ColorScheme> scheme)
{
    schemeInForce() = scheme;
}

std::optional<ColorScheme> schemeUnderSheets()
{
    return schemeInForce();
}

void polishSheetPalette(QPalette &palette, const QString &styleSheet)
{
    if (const std::optional<ColorScheme> scheme = schemeInForce())
        palette = schemePalette(*scheme);
    applyPaletteDirectivesFromText(palette, styleSheet);
}
