// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include <QColor>
#include <QImage>
#include <QRect>

// The colour a text is written in on a plain background: the pixel of area (the
// whole image when empty) furthest from the background's colour. Invalid when the
// area holds nothing but the background.
inline QColor inkOn(const QImage &image, const QColor &background, QRect area = QRect())
{
    area = area.isEmpty() ? image.rect() : area.intersected(image.rect());
    int furthest = 0;
    QColor ink;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            const QColor pixel = image.pixelColor(x, y);
            const int distance = qAbs(pixel.red() - background.red()) +
                                 qAbs(pixel.green() - background.green()) +
                                 qAbs(pixel.blue() - background.blue());
            if (distance > furthest) {
                furthest = distance;
                ink = pixel;
            }
        }
    }
    return ink;
}

// Ink as one reads it: dark (black-ish) or light (white-ish); neither for a colour
// in between, which no scheme writes text in.
inline bool isDarkInk(const QColor &ink)
{
    return ink.isValid() && qGray(ink.rgb()) < 80;
}
inline bool isLightInk(const QColor &ink)
{
    return ink.isValid() && qGray(ink.rgb()) > 180;
}
