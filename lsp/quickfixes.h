// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include "analysis/stylesheetlint.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QVector>

class TextDocument;

// A diagnostic as published: where it stands in the text it was found in.
struct PublishedDiagnostic
{
    LintDiagnostic lint;
    int start = 0;
    int end = 0;
    int insertAt = -1; // where lint.insertText goes, -1 for none
    QJsonObject json;
};

// Quick fixes for the published diagnostics that touch [start, end): a misspelt
// property, pseudo-state, subcontrol, widget class or palette role with one clearly
// closest known name, and the ";" or "}" a rejected sheet lacks.
QJsonArray quickFixes(const TextDocument &document, const QVector<PublishedDiagnostic> &diagnostics,
                      int start, int end);

// The candidate clearly closest to word (a letter-case difference counts as none),
// "" when none is close or two are as close.
QString closestName(const QString &word, const QStringList &candidates);
