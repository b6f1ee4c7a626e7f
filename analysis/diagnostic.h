// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include <QString>
#include <QVector>

// What the analysis reports: one finding of one check, where it is and how it mends.

enum class LintSeverity
{
    Error,
    Warning,
    Note,
};

// Another place a finding is about, such as the declaration that wins over a
// shadowed one. Positions as in LintDiagnostic, the end exclusive.
struct LintLocation
{
    int line = 1;
    int column = 1;
    int endLine = 1;
    int endColumn = 1;
    QString message;
};

struct LintDiagnostic
{
    QString file;
    int line = 1;   // 1-based
    int column = 1; // 1-based, in characters of the decoded line
    LintSeverity severity = LintSeverity::Warning;
    QString check; // a stable id: "syntax", "encoding", "palette", "contrast", ...
    QString message;
    // Just after the offending token (the name, selector, value or directive), so an
    // editor can underline it; 0 when the check knows only where it starts.
    int endLine = 0;
    int endColumn = 0;
    // Initialised here so that brace-initialising the fields above stays complete.
    QVector<LintLocation> related = {};
    // What the toolkit expected, where the analysis knows it for sure (a missing ";"
    // or "}"): inserting insertText at insertLine and insertColumn mends the finding.
    QString insertText = {};
    int insertLine = 0;
    int insertColumn = 0;
};

// "error", "warning" or "note".
QString lintSeverityName(LintSeverity severity);
