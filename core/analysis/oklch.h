// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include <QColor>

// Colours in OKLCH (Björn Ottosson's OKLab in polar form): lightness from 0 to 1,
// chroma, hue in degrees. Its lightness is perceptual and its hue stays put as the
// lightness moves, which HSL's does not (a lighter HSL blue turns purple).
struct Oklch
{
    double lightness = 0;
    double chroma = 0;
    double hue = 0;
};

Oklch oklchFromColour(const QColor &colour);
// The sRGB colour of lightness and hue, with the chroma lowered as far as sRGB needs
// to hold it; alpha is kept from alpha.
QColor colourFromOklch(const Oklch &oklch, int alpha = 255);
// The colour with its OKLCH lightness set, hue and (where sRGB allows) chroma kept.
QColor withOklchLightness(const QColor &colour, double lightness);
