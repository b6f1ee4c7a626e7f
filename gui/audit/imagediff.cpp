// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "audit/imagediff.h"

namespace {

QRgb faded(QRgb pixel)
{
    const int grey = 255 - (255 - qGray(pixel)) / 4;
    return qRgb(grey, grey, grey);
}

} // namespace

ImageDiff compareImages(const QImage &current, const QImage &baseline, int tolerance)
{
    ImageDiff diff;
    if (current.size() != baseline.size()) {
        diff.sizeDiffers = true;
        diff.differingPercent = 100;
        return diff;
    }
    const QImage a = current.convertToFormat(QImage::Format_ARGB32);
    const QImage b = baseline.convertToFormat(QImage::Format_ARGB32);
    QImage highlight(a.size(), QImage::Format_RGB32);
    for (int y = 0; y < a.height(); ++y) {
        const auto *lineA = reinterpret_cast<const QRgb *>(a.constScanLine(y));
        const auto *lineB = reinterpret_cast<const QRgb *>(b.constScanLine(y));
        auto *out = reinterpret_cast<QRgb *>(highlight.scanLine(y));
        for (int x = 0; x < a.width(); ++x) {
            if (pixelsDiffer(lineA[x], lineB[x], tolerance)) {
                ++diff.differingPixels;
                out[x] = qRgb(255, 0, 255);
            } else {
                out[x] = faded(lineA[x]);
            }
        }
    }
    const qint64 total = qint64(a.width()) * a.height();
    diff.differingPercent = total ? 100.0 * double(diff.differingPixels) / double(total) : 0;
    if (diff.differingPixels)
        diff.highlight = highlight;
    return diff;
}
