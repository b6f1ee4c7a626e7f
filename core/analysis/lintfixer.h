// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include "analysis/diagnostic.h"
#include "analysis/lintoptions.h"

#include <QByteArray>
#include <QString>
#include <QVector>

#include <functional>

// Applies the edits the checks offer, in rounds, and keeps only what leaves the sheet
// no worse than it was.

struct LintFixResult
{
    QByteArray bytes; // the mended sheet; the input itself when nothing was applied
    int fixed = 0;    // edits applied
    bool changed = false;
    // What is left in bytes; a finding whose fix was refused says why in its message.
    QVector<LintDiagnostic> remaining;
    // Why nothing could be fixed at all (a text that is not plain UTF-8), else empty.
    QString refusal;
};

// At most this many rounds: a fix can bring another within reach (a "}" closing a
// rule lets the parser reach the next misspelt name), but never without end.
constexpr int kMaxFixRounds = 4;

// Whether the edit is applied: safe ones always, guesses only when asked for.
bool lintFixApplies(const LintFix &fix, bool unsafeFixes);

// The sheet with every applicable fix applied that neither adds an error nor brings a
// syntax error the sheet did not have.
LintFixResult fixStyleSheet(const QByteArray &bytes, const QString &path,
                            const LintOptions &options, bool unsafeFixes);

// The analysis a fix round runs on each candidate text. Tests give one that offers an
// edit no check would, to see a fix that makes the sheet worse refused.
using SheetLinter = std::function<QVector<LintDiagnostic>(
    const QByteArray &bytes, const QString &path, const LintOptions &options)>;
LintFixResult fixStyleSheet(const QByteArray &bytes, const QString &path,
                            const LintOptions &options, bool unsafeFixes, const SheetLinter &lint);

// The text with one diagnostic's fix applied (line and column in characters as the
// analysis counts them); the text itself when the positions are out of range.
QString applyLintFix(const QString &text, const LintFix &fix);
