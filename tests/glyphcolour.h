// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include <QColor>
#include <QImage>
#include <QPushButton>
#include <QString>

// True when every drawn pixel of the button's 12 x 12 glyph is the colour at the
// pixel's own coverage; premultiplied rounding allows one step per channel. An
// empty glyph fails. On failure, why (if given) names the first wrong pixel.
inline bool glyphHasColour(const QPushButton *button, const QColor &colour, QString *why = nullptr)
{
    const QImage image = button->icon().pixmap(12, 12).toImage().convertToFormat(
        QImage::Format_ARGB32_Premultiplied);
    int drawn = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb pixel = image.pixel(x, y);
            const int alpha = qAlpha(pixel);
            if (alpha == 0)
                continue;
            ++drawn;
            const QRgb expected =
                qPremultiply(qRgba(colour.red(), colour.green(), colour.blue(), alpha));
            if (qAbs(qRed(pixel) - qRed(expected)) > 1 ||
                qAbs(qGreen(pixel) - qGreen(expected)) > 1 ||
                qAbs(qBlue(pixel) - qBlue(expected)) > 1) {
                if (why)
                    *why = QStringLiteral("pixel (%1, %2) is %3, expected %4 at alpha %5")
                               .arg(x)
                               .arg(y)
                               .arg(QColor(qUnpremultiply(pixel)).name(), colour.name())
                               .arg(alpha);
                return false;
            }
        }
    }
    if (drawn == 0 && why)
        *why = QStringLiteral("the glyph is empty");
    return drawn > 0;
}
