// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

class QImage;

// WCAG 2.2: non-text contrast and focus appearance ask for 3:1; so does large text,
// the least any readable text may have.
constexpr double kMinimumContrast = 3.0;

// The contrast of rendered text with its own background: withText and withoutText
// are the same area with and without the text, so the pixels that differ are the
// glyphs and the other render has the background under them. The strongest glyph
// pixel is the text colour at full coverage. 0 when no pixel differs.
double renderedTextContrast(const QImage &withText, const QImage &withoutText);
