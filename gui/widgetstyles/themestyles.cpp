// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "widgetstyles/themestyles.h"

#include "theme/stylesheetloader.h"
#include "widgetstyles/sheetpalette.h"

#include <QApplication>
#include <QStyleFactory>

template <Theme T>
ThemeProxyStyle<T>::ThemeProxyStyle()
    : QProxyStyle(QStyleFactory::create(QStringLiteral("Fusion")))
{}

template <Theme T> void ThemeProxyStyle<T>::polish(QPalette &palette)
{
    polishSheetPalette(palette, loadThemeStyleSheet(T));
}

template <Theme T> void ThemeProxyStyle<T>::polish(QApplication *application)
{
    if (!application)
        return;
    // An empty text is installed too: it removes the previous theme's sheet.
    application->setStyleSheet(loadThemeStyleSheet(T));
}

template class ThemeProxyStyle<Light>;
template class ThemeProxyStyle<BlueLight>;
template class ThemeProxyStyle<ArduinoLight>;
template class ThemeProxyStyle<VS17Light>;
template class ThemeProxyStyle<AyuLightBordered>;
template class ThemeProxyStyle<TokyoNightLight>;
template class ThemeProxyStyle<AbsentLight>;
template class ThemeProxyStyle<MonochromatorLight>;
template class ThemeProxyStyle<NeonGreenLight>;
template class ThemeProxyStyle<HorizonModernLight>;
template class ThemeProxyStyle<PurpleBlue>;
template class ThemeProxyStyle<Dark>;

QProxyStyle *createThemeStyle(Theme theme)
{
    switch (theme) {
    case Light:
        return new AppLightStyle;
    case BlueLight:
        return new AppBlueLightStyle;
    case ArduinoLight:
        return new AppArduinoLightStyle;
    case VS17Light:
        return new AppVS17LightStyle;
    case AyuLightBordered:
        return new AppAyuLightBorderedStyle;
    case TokyoNightLight:
        return new AppTokyoNightLightStyle;
    case AbsentLight:
        return new AppAbsentLightStyle;
    case MonochromatorLight:
        return new AppMonochromatorLightStyle;
    case NeonGreenLight:
        return new AppNeonGreenLightStyle;
    case HorizonModernLight:
        return new AppHorizonModernLightStyle;
    case PurpleBlue:
        return new AppPurpleBlueStyle;
    case Dark:
        return new AppDarkStyle;
    }
    return new AppLightStyle;
}
