// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include <QColor>
#include <QString>
#include <QVector>

// The colours written in a sheet, where an editor shows swatches and pickers.
struct ColourLiteral
{
    int offset = 0; // in the text, in UTF-16 units
    int length = 0;
    QColor colour;
    bool inPaletteDirective = false;
};

// Every colour literal of a sheet's text, in order: in declaration values (#rgb,
// #rrggbb, #aarrggbb, rgb(), rgba(), hsv(), hsva(), hsl(), hsla(), and named colours
// where the property takes a brush) and the colours of "@palette" directives. Only
// what the toolkit reads as a colour counts; comments are skipped, but for the
// directives.
QVector<ColourLiteral> findColourLiterals(const QString &text);

// rgba() text the toolkit reads back as colour. It takes an alpha of 0 or 1 as a
// fraction of opaque, so 1 of 255 is written 0.004.
QString rgbaFunctionText(const QColor &colour);

// The colour the toolkit reads from one literal ("#80ff0000", "rgba(1, 2, 3, 50%)",
// "red"); invalid when it reads none.
QColor readColourLiteral(const QString &literal);

// "#" and eight hexadecimal digits, read both ways: alpha first as the toolkit reads
// them (#AARRGGBB), alpha last as CSS and design tokens write them (#RRGGBBAA).
struct EightDigitHex
{
    QColor alphaFirst;
    QColor alphaLast;
};
// False, and readings untouched, for any other text.
bool readEightDigitHex(const QString &written, EightDigitHex *readings);
