// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include "analysis/contrastratio.h"

#include <QHash>
#include <QImage>
#include <QRect>

// Contrast read off rendered pixels, for comparing a finding with what is drawn.

// The most common colour of area, taken as the background, against the one that
// stands out most from it, taken as the text's.
inline double measuredRatio(const QImage &image, QRect area)
{
    area &= image.rect();
    QHash<QRgb, int> counts;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x)
            ++counts[image.pixel(x, y) | 0xff000000];
    }
    QRgb background = 0;
    int most = 0;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it) {
        if (it.value() > most) {
            most = it.value();
            background = it.key();
        }
    }
    double best = 1.0;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it)
        best = qMax(best, pixelContrastRatio(it.key(), background));
    return best;
}
