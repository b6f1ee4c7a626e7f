// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "audit/renderedcontrast.h"

#include "analysis/contrastratio.h"
#include "audit/imagediff.h"

#include <QImage>

#include <algorithm>

double renderedTextContrast(const QImage &withText, const QImage &withoutText)
{
    if (withText.size() != withoutText.size())
        return 0;
    const QImage text = withText.convertToFormat(QImage::Format_RGB32);
    const QImage background = withoutText.convertToFormat(QImage::Format_RGB32);
    double strongest = 0;
    for (int y = 0; y < text.height(); ++y) {
        const auto *lineA = reinterpret_cast<const QRgb *>(text.constScanLine(y));
        const auto *lineB = reinterpret_cast<const QRgb *>(background.constScanLine(y));
        for (int x = 0; x < text.width(); ++x)
            if (pixelsDiffer(lineA[x], lineB[x]))
                strongest = std::max(strongest, pixelContrastRatio(lineA[x], lineB[x]));
    }
    return strongest;
}
