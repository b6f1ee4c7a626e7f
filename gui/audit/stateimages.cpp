// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "audit/stateimages.h"

#include "analysis/contrastratio.h"
#include "audit/imagediff.h"
#include "audit/renderedcontrast.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

namespace {

constexpr int kStripGap = 2;
const QRgb kStripGapColour = qRgb(0x80, 0x80, 0x80);

} // namespace

qint64 outlinePixels(QSize size)
{
    if (size.width() <= 0 || size.height() <= 0)
        return 0;
    if (size.width() <= 2 || size.height() <= 2)
        return qint64(size.width()) * size.height();
    // The outline follows the widget's shape: counted as its inscribed ellipse's, so
    // rounded corners and round indicators are not held to a square's perimeter.
    const qint64 rectangle = 2 * qint64(size.width() + size.height()) - 4;
    return qint64(std::ceil(rectangle * M_PI / 4));
}

StateDifference measureStateDifference(const QImage &a, const QImage &b, QSize target)
{
    StateDifference difference;
    difference.outline = outlinePixels(target);
    if (a.size() != b.size())
        return difference;
    const QImage first = a.convertToFormat(QImage::Format_RGB32);
    const QImage second = b.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < first.height(); ++y) {
        const auto *lineA = reinterpret_cast<const QRgb *>(first.constScanLine(y));
        const auto *lineB = reinterpret_cast<const QRgb *>(second.constScanLine(y));
        for (int x = 0; x < first.width(); ++x) {
            if (!pixelsDiffer(lineA[x], lineB[x]))
                continue;
            ++difference.changed;
            const double ratio = pixelContrastRatio(lineA[x], lineB[x]);
            difference.strongest = std::max(difference.strongest, ratio);
            if (ratio >= kMinimumContrast)
                ++difference.strong;
        }
    }
    return difference;
}

QString differenceFigures(const StateDifference &difference, const char *measure)
{
    return QStringLiteral("%1 pixels change, %2 of them by 3:1 or more (strongest %3:1); %5 "
                          "is %4")
        .arg(difference.changed)
        .arg(difference.strong)
        .arg(difference.strongest, 0, 'f', 2)
        .arg(difference.outline)
        .arg(QLatin1String(measure));
}

QImage joinedStrip(const QVector<QImage> &frames, qreal scale)
{
    const int gap = qRound(kStripGap * scale);
    int width = 0, height = 0;
    for (const QImage &frame : frames) {
        width += frame.width() + (width ? gap : 0);
        height = std::max(height, frame.height());
    }
    QImage strip(width, height, QImage::Format_RGB32);
    strip.fill(kStripGapColour);
    QPainter painter(&strip);
    int x = 0;
    for (const QImage &frame : frames) {
        painter.drawImage(x, 0, frame);
        x += frame.width() + gap;
    }
    return strip;
}
