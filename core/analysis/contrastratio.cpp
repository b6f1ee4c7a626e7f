// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "analysis/contrastratio.h"

#include "analysis/srgbtransfer.h"

#include <array>

namespace {
// The linear light of each 8-bit channel level, tabled: the state audit asks for
// every pixel it compares. The threshold is the sRGB standard's 0.04045; the older
// WCAG text's 0.03928 splits the 256 levels at the same place (10/255 lies below
// both, 11/255 above).
const std::array<double, 256> &linearLevels()
{
    static const std::array<double, 256> levels = [] {
        std::array<double, 256> table{};
        for (int level = 0; level < 256; ++level)
            table[level] = srgbToLinear(level / 255.0);
        return table;
    }();
    return levels;
}
} // namespace

double relativeLuminance(QRgb rgb)
{
    const auto &levels = linearLevels();
    return 0.2126 * levels[qRed(rgb)] + 0.7152 * levels[qGreen(rgb)] + 0.0722 * levels[qBlue(rgb)];
}

double pixelContrastRatio(QRgb a, QRgb b)
{
    const double la = relativeLuminance(a);
    const double lb = relativeLuminance(b);
    return (qMax(la, lb) + 0.05) / (qMin(la, lb) + 0.05);
}

double contrastRatio(const QColor &a, const QColor &b)
{
    return pixelContrastRatio(a.rgb(), b.rgb());
}

QColor compositeOver(const QColor &top, const QColor &bottom)
{
    const double alpha = top.alphaF();
    return QColor::fromRgbF(top.redF() * alpha + bottom.redF() * (1 - alpha),
                            top.greenF() * alpha + bottom.greenF() * (1 - alpha),
                            top.blueF() * alpha + bottom.blueF() * (1 - alpha));
}
