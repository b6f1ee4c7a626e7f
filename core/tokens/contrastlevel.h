// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include <QString>

// A WCAG conformance level a theme is built to: what --contrast and a template's
// "@contrast" name, and the ratios each asks of the pairs a sheet draws.
enum class ContrastLevel
{
    None,
    AA,
    AAA,
};

// "AA" or "AAA", in any case; false for anything else.
bool contrastLevelFromName(const QString &name, ContrastLevel *level);
QString contrastLevelName(ContrastLevel level);
// "AA, AAA", for messages.
QString contrastLevelNames();

// Text on its background (1.4.3 at AA, 1.4.6 at AAA).
double textContrastMinimum(ContrastLevel level);
// Boundaries and indicators against what they sit on (1.4.11, which has no AAA).
double nonTextContrastMinimum(ContrastLevel level);
