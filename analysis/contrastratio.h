// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include <QColor>

// WCAG 2.1 contrast between two opaque colours, from 1 to 21.
double contrastRatio(const QColor &a, const QColor &b);

// top composited over an opaque bottom: what a translucent colour shows.
QColor compositeOver(const QColor &top, const QColor &bottom);
