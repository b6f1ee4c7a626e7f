// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include <QColor>

// WCAG 2.x relative luminance of an 8-bit sRGB colour, alpha ignored: from 0 (black)
// to 1 (white).
double relativeLuminance(QRgb rgb);

// WCAG 2.x contrast between two opaque colours, from 1 to 21.
double contrastRatio(const QColor &a, const QColor &b);
// The same for two drawn pixels; named apart so that a Qt::GlobalColor never
// converts to a QRgb number here.
double pixelContrastRatio(QRgb a, QRgb b);

// top composited over an opaque bottom: what a translucent colour shows.
QColor compositeOver(const QColor &top, const QColor &bottom);
