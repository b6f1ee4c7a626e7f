// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include <QLatin1String>
#include <QPalette>
#include <QString>
#include <QStringList>

// The palettes the toolkit puts under a sheet when the desktop's colour scheme is
// light or dark, as Fusion paints with them. One table for every program: the lint
// judges a sheet's contrast against them, and the renders put them under the sheet.
enum class ColorScheme
{
    Light,
    Dark,
};

// "light" and "dark", as options and configuration keys spell them.
QString colorSchemeName(ColorScheme scheme);
// The scheme a name spells, in any letter case; false for any other name.
bool colorSchemeFromName(const QString &name, ColorScheme *scheme);
// Every scheme's name, lightest first.
QStringList colorSchemeNames();

// The option of the programs that render under a scheme (--color-scheme NAME), and
// what they say of a value that names none.
inline const QLatin1String kColorSchemeOption("color-scheme");
QString colorSchemeOptionError(const QString &value);

// The palette of a scheme: every role of every group.
QPalette schemePalette(ColorScheme scheme);
// Where the palette's values come from, for messages and documentation.
QString schemePaletteSource(ColorScheme scheme);
