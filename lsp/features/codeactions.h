// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include "analysis/stylesheetlint.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QVector>

class TextDocument;

// A check's fix as published: [start, end) of the text replaced by newText.
struct PublishedFix
{
    int start = 0;
    int end = 0;
    QString newText;
};

// A diagnostic as published: where it stands in the text it was found in.
struct PublishedDiagnostic
{
    LintDiagnostic lint;
    int start = 0;
    int end = 0;
    QVector<PublishedFix> fixes; // lint.fixes, placed in the text
    QJsonObject json;
};

// Quick fixes for the published diagnostics that touch [start, end): the edits the
// checks themselves offer, such as the ";" or "}" a rejected sheet lacks, or the
// known name clearly closest to a misspelt one.
QJsonArray quickFixes(const TextDocument &document, const QVector<PublishedDiagnostic> &diagnostics,
                      int start, int end);
