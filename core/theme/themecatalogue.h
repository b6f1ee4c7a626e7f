// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include <QString>

// The twelve themes; the value is the switcher button id and the key of every lookup.
enum Theme : int
{
    Light = 0,
    BlueLight = 1,
    ArduinoLight = 2,
    VS17Light = 3,
    AyuLightBordered = 4,
    TokyoNightLight = 5,
    AbsentLight = 6,
    MonochromatorLight = 7,
    NeonGreenLight = 8,
    HorizonModernLight = 9,
    PurpleBlue = 10,
    Dark = 11,
};

constexpr int ThemeCount = 12;

// One catalogue row. The texts are untranslated sources: display names belong to
// the "MainWindow" translation context, switcher labels to "StyleSwitcherWindow".
struct ThemeInfo
{
    Theme theme;
    const char *displayName;
    const char *switcherLabel;
    const char *styleSheetFile;
};

// The row of a theme; any value outside 0 to 11 gives the Light row.
const ThemeInfo &themeInfo(Theme theme);

QString styleSheetFileName(Theme theme);
