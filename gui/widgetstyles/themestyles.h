// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include "theme/themecatalogue.h"

#include <QProxyStyle>

// A theme is Fusion plus two polish steps: the palette polish writes the theme's
// palette directives, the application polish installs its style sheet. Both read
// the file afresh, because the toolkit may run them more than once per switch.
template <Theme T> class ThemeProxyStyle : public QProxyStyle
{
public:
    ThemeProxyStyle();
    ~ThemeProxyStyle() override = default;

    using QProxyStyle::polish;
    using QProxyStyle::unpolish;
    void polish(QPalette &palette) override;
    void polish(QApplication *application) override;
    // The next theme's polish replaces palette and style sheet; nothing to undo.
    void unpolish(QApplication *) override {}
};

extern template class ThemeProxyStyle<Light>;
extern template class ThemeProxyStyle<BlueLight>;
extern template class ThemeProxyStyle<ArduinoLight>;
extern template class ThemeProxyStyle<VS17Light>;
extern template class ThemeProxyStyle<AyuLightBordered>;
extern template class ThemeProxyStyle<TokyoNightLight>;
extern template class ThemeProxyStyle<AbsentLight>;
extern template class ThemeProxyStyle<MonochromatorLight>;
extern template class ThemeProxyStyle<NeonGreenLight>;
extern template class ThemeProxyStyle<HorizonModernLight>;
extern template class ThemeProxyStyle<PurpleBlue>;
extern template class ThemeProxyStyle<Dark>;

// clang-format off
class AppLightStyle final : public ThemeProxyStyle<Light> {};
class AppBlueLightStyle final : public ThemeProxyStyle<BlueLight> {};
class AppArduinoLightStyle final : public ThemeProxyStyle<ArduinoLight> {};
class AppVS17LightStyle final : public ThemeProxyStyle<VS17Light> {};
class AppAyuLightBorderedStyle final : public ThemeProxyStyle<AyuLightBordered> {};
class AppTokyoNightLightStyle final : public ThemeProxyStyle<TokyoNightLight> {};
class AppAbsentLightStyle final : public ThemeProxyStyle<AbsentLight> {};
class AppMonochromatorLightStyle final : public ThemeProxyStyle<MonochromatorLight> {};
class AppNeonGreenLightStyle final : public ThemeProxyStyle<NeonGreenLight> {};
class AppHorizonModernLightStyle final : public ThemeProxyStyle<HorizonModernLight> {};
class AppPurpleBlueStyle final : public ThemeProxyStyle<PurpleBlue> {};
class AppDarkStyle final : public ThemeProxyStyle<Dark> {};
// clang-format on

// A new instance of the theme's style class; out-of-range values give AppLightStyle.
QProxyStyle *createThemeStyle(Theme theme);
