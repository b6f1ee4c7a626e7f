// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include "theme/themecatalogue.h"

#include <QPalette>
#include <QString>

// Writes the "@palette Role = #rrggbb" directives of a theme's style sheet into a
// palette. Roles and groups that no directive names keep their values.
void applyPaletteDirectives(QPalette &palette, Theme theme);

// The same for a style sheet text already in memory.
void applyPaletteDirectivesFromText(QPalette &palette, const QString &styleSheet);

// Maps one of the nine role names the style sheets may use; leaves role untouched
// and returns false for any other name.
bool paletteRoleFromName(const QString &name, QPalette::ColorRole &role);
