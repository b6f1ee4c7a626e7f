// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "theme/themecatalogue.h"

#include <QtGlobal>

namespace {

const ThemeInfo kThemes[ThemeCount] = {
    {Light, QT_TRANSLATE_NOOP("MainWindow", "Light"),
     QT_TRANSLATE_NOOP("StyleSwitcherWindow", "Light"), "light.qss"},
    {BlueLight, QT_TRANSLATE_NOOP("MainWindow", "Blue Light"),
     QT_TRANSLATE_NOOP("StyleSwitcherWindow", "Blue Light"), "blueLight.qss"},
    {ArduinoLight, QT_TRANSLATE_NOOP("MainWindow", "Arduino Light"),
     QT_TRANSLATE_NOOP("StyleSwitcherWindow", "Arduino"), "arduinoLight.qss"},
    {VS17Light, QT_TRANSLATE_NOOP("MainWindow", "VS17 Light"),
     QT_TRANSLATE_NOOP("StyleSwitcherWindow", "VS17 Light"), "vs17Light.qss"},
    {AyuLightBordered, QT_TRANSLATE_NOOP("MainWindow", "Ayu Light Bordered"),
     QT_TRANSLATE_NOOP("StyleSwitcherWindow", "Ayu Bordered"), "ayuLightBordered.qss"},
    {TokyoNightLight, QT_TRANSLATE_NOOP("MainWindow", "Tokyo Night Light"),
     QT_TRANSLATE_NOOP("StyleSwitcherWindow", "Tokyo Light"), "tokyoNightLight.qss"},
    {AbsentLight, QT_TRANSLATE_NOOP("MainWindow", "Absent Light"),
     QT_TRANSLATE_NOOP("StyleSwitcherWindow", "Absent Light"), "absentLight.qss"},
    {MonochromatorLight, QT_TRANSLATE_NOOP("MainWindow", "Monochromator Light"),
     QT_TRANSLATE_NOOP("StyleSwitcherWindow", "Monochromator"), "monochromatorLight.qss"},
    {NeonGreenLight, QT_TRANSLATE_NOOP("MainWindow", "Neon Green Light"),
     QT_TRANSLATE_NOOP("StyleSwitcherWindow", "Neon Green"), "neonGreenLight.qss"},
    {HorizonModernLight, QT_TRANSLATE_NOOP("MainWindow", "Horizon Modern Light"),
     QT_TRANSLATE_NOOP("StyleSwitcherWindow", "Horizon"), "horizonModernLight.qss"},
    {PurpleBlue, QT_TRANSLATE_NOOP("MainWindow", "Purple Blue"),
     QT_TRANSLATE_NOOP("StyleSwitcherWindow", "Purple Blue"), "purpleBlue.qss"},
    {Dark, QT_TRANSLATE_NOOP("MainWindow", "Dark"),
     QT_TRANSLATE_NOOP("StyleSwitcherWindow", "Dark"), "dark.qss"},
};

} // namespace

const ThemeInfo &themeInfo(Theme theme)
{
    const int value = static_cast<int>(theme);
    return kThemes[value >= 0 && value < ThemeCount ? value : Light];
}

QString styleSheetFileName(Theme theme)
{
    return QString::fromLatin1(themeInfo(theme).styleSheetFile);
}
