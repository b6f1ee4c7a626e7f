// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include <cmath>

// The sRGB transfer function, both ways, for a channel from 0 to 1: what WCAG's
// luminance and OKLCH both start from.

// The linear light of an encoded channel.
inline double srgbToLinear(double encoded)
{
    return encoded <= 0.04045 ? encoded / 12.92 : std::pow((encoded + 0.055) / 1.055, 2.4);
}

// The encoded channel of a linear light.
inline double linearToSrgb(double linear)
{
    return linear <= 0.0031308 ? linear * 12.92 : 1.055 * std::pow(linear, 1 / 2.4) - 0.055;
}
