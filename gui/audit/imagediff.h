// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include <QImage>

#include <cstdlib>

// How far a render has moved from its baseline.
struct ImageDiff
{
    bool sizeDiffers = false;
    qint64 differingPixels = 0;
    // Share of differing pixels in percent; 100 when the sizes differ.
    double differingPercent = 0;
    // The current image faded, with the differing pixels in magenta; null when the
    // sizes differ or nothing differs.
    QImage highlight;
};

// A pixel differs when any of its channels moved by more than the tolerance, so
// that rounding noise of a few levels does not count.
constexpr int kChannelTolerance = 4;

inline bool pixelsDiffer(QRgb a, QRgb b, int tolerance = kChannelTolerance)
{
    return std::abs(qRed(a) - qRed(b)) > tolerance || std::abs(qGreen(a) - qGreen(b)) > tolerance ||
           std::abs(qBlue(a) - qBlue(b)) > tolerance || std::abs(qAlpha(a) - qAlpha(b)) > tolerance;
}

ImageDiff compareImages(const QImage &current, const QImage &baseline,
                        int tolerance = kChannelTolerance);
