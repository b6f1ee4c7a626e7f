// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include <QString>
#include <QStringList>
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
    // Another file than the finding's (a theme template's token file); empty for the
    // finding's own.
    QString file = {};
};

// An edit that mends a finding: the text from (line, column) up to (endLine,
// endColumn), exclusive, replaced by newText; an insertion where the two are equal.
struct LintFix
{
    int line = 1;
    int column = 1;
    int endLine = 1;
    int endColumn = 1;
    QString newText;
    // Safe: keeps what the author meant, as a missing ";" does. Unsafe: a guess, as
    // the known name closest to a misspelt one.
    bool safe = false;
    // What the edit does, in a few words for an editor's menu; empty when inserting or
    // replacing by newText says it well enough.
    QString title;
};

// A token's value a theme template's finding came through: the "$value" in the token
// file that gave it in that variant.
struct LintTokenValue
{
    QString path;
    QString file;
    int line = 1;
    int column = 1;
    QString variant;
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
    // The edits the check offers, each mending the finding on its own.
    QVector<LintFix> fixes = {};
    // The variants of a theme template the finding occurs in; empty for a plain sheet.
    QStringList variants = {};
    // A finding told in a template over text holding token values: those values.
    QVector<LintTokenValue> tokenValues = {};
    // The values a finding judges, where the sheet gives them: the one it is about
    // first (a text colour), then what it was judged against. Never told for a plain
    // sheet, whose finding stays at its rule; a template's finding is told where the
    // first was written (a token's value, say) and names the others as related places.
    QVector<LintLocation> judgedValues = {};
};

// The one order findings are told in: by file, line and column; findings at one
// place keep the order they were found in.
void sortLintDiagnostics(QVector<LintDiagnostic> &diagnostics);

// "error", "warning" or "note".
QString lintSeverityName(LintSeverity severity);

// A finding as the programs print it in text: "FILE:LINE:COLUMN: SEVERITY: MESSAGE
// [CHECK]", then " [VARIANT, ...]" for a theme template's; no newline.
QString lintDiagnosticLine(const LintDiagnostic &diagnostic);
