// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include "theme/schemepalette.h"

#include <QPalette>
#include <QString>

#include <optional>

// The palette a program's styles draw a sheet with, worked out here for every one of
// them (a built-in theme, an author's sheet, the plain base style a profile measures
// from): the colour scheme's palette underneath, or with no scheme the palette the
// platform gives; then the sheet's @palette directives over the roles they name.

// The scheme under every sheet a style of this process draws from now on; none for
// the platform's palette. Takes effect as the next style is installed.
void setSchemeUnderSheets(std::optional<ColorScheme> scheme);
std::optional<ColorScheme> schemeUnderSheets();

// palette, as the platform gave it, made the palette styleSheet is drawn with.
void polishSheetPalette(QPalette &palette, const QString &styleSheet);
