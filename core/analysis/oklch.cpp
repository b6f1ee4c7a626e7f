// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "analysis/oklch.h"

#include "analysis/srgbtransfer.h"

#include <QtMath>

#include <cmath>

namespace {
struct Linear
{
    double red;
    double green;
    double blue;

    bool inGamut() const
    {
        constexpr double slack = 1e-7;
        return red >= -slack && red <= 1 + slack && green >= -slack && green <= 1 + slack &&
               blue >= -slack && blue <= 1 + slack;
    }
};

Linear linearFromOklab(double l, double a, double b)
{
    const double lRoot = l + 0.3963377774 * a + 0.2158037573 * b;
    const double mRoot = l - 0.1055613458 * a - 0.0638541728 * b;
    const double sRoot = l - 0.0894841775 * a - 1.2914855480 * b;
    const double lCone = lRoot * lRoot * lRoot;
    const double mCone = mRoot * mRoot * mRoot;
    const double sCone = sRoot * sRoot * sRoot;
    return {4.0767416621 * lCone - 3.3077115913 * mCone + 0.2309699292 * sCone,
            -1.2684380046 * lCone + 2.6097574011 * mCone - 0.3413193965 * sCone,
            -0.0041960863 * lCone - 0.7034186147 * mCone + 1.7076147010 * sCone};
}

Linear linearFromOklch(const Oklch &oklch)
{
    const double radians = qDegreesToRadians(oklch.hue);
    return linearFromOklab(oklch.lightness, oklch.chroma * std::cos(radians),
                           oklch.chroma * std::sin(radians));
}
} // namespace

Oklch oklchFromColour(const QColor &colour)
{
    const QColor rgb = colour.toRgb();
    const double red = srgbToLinear(rgb.redF());
    const double green = srgbToLinear(rgb.greenF());
    const double blue = srgbToLinear(rgb.blueF());
    const double lCone = std::cbrt(0.4122214708 * red + 0.5363033324 * green + 0.0514459929 * blue);
    const double mCone = std::cbrt(0.2119034982 * red + 0.6806995451 * green + 0.1073969566 * blue);
    const double sCone = std::cbrt(0.0883024619 * red + 0.2817188376 * green + 0.6299787005 * blue);
    const double l = 0.2104542553 * lCone + 0.7936177850 * mCone - 0.0040720468 * sCone;
    const double a = 1.9779984951 * lCone - 2.4285922050 * mCone + 0.4505937099 * sCone;
    const double b = 0.0259040371 * lCone + 0.7827717662 * mCone - 0.8086757660 * sCone;
    double hue = qRadiansToDegrees(std::atan2(b, a));
    if (hue < 0)
        hue += 360;
    return {l, std::hypot(a, b), hue};
}

QColor colourFromOklch(const Oklch &oklch, int alpha)
{
    Oklch wanted = oklch;
    wanted.lightness = qBound(0.0, wanted.lightness, 1.0);
    Linear linear = linearFromOklch(wanted);
    if (!linear.inGamut()) {
        // The most chroma sRGB holds at this lightness and hue, found by halving.
        double inside = 0;
        double outside = wanted.chroma;
        for (int step = 0; step < 30; ++step) {
            const double middle = (inside + outside) / 2;
            if (linearFromOklch({wanted.lightness, middle, wanted.hue}).inGamut())
                inside = middle;
            else
                outside = middle;
        }
        linear = linearFromOklch({wanted.lightness, inside, wanted.hue});
    }
    const auto channel = [](double value) {
        return qBound(0, int(std::lround(linearToSrgb(qBound(0.0, value, 1.0)) * 255)), 255);
    };
    return QColor(channel(linear.red), channel(linear.green), channel(linear.blue), alpha);
}

QColor withOklchLightness(const QColor &colour, double lightness)
{
    Oklch oklch = oklchFromColour(colour);
    oklch.lightness = lightness;
    return colourFromOklch(oklch, colour.alpha());
}
