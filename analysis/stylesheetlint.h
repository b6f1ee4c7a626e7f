// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVector>

// Diagnostics for one style sheet: what the toolkit rejects, and what it accepts but
// a theme author would not want. Needs no window and no display.

enum class LintSeverity
{
    Error,
    Warning,
    Note,
};

struct LintDiagnostic
{
    QString file;
    int line = 1;   // 1-based
    int column = 1; // 1-based, in characters of the decoded line
    LintSeverity severity = LintSeverity::Warning;
    QString check; // a stable id: "syntax", "encoding", "palette", "contrast", ...
    QString message;
};

struct LintOptions
{
    // Adds the gallery coverage notes ("coverage"), as enabling that check does.
    bool gallery = false;
    // Check ids never reported, and ids reported although off by default.
    QStringList disabledChecks;
    QStringList enabledChecks;
};

// "error", "warning" or "note".
QString lintSeverityName(LintSeverity severity);

// Every check id, in the order of their families.
QStringList lintCheckIds();
// The ids of the checks that run unless asked for.
QStringList lintDefaultCheckIds();

// The largest sheet read, from a file or standard input.
constexpr qint64 kMaxSheetBytes = 64 * 1024 * 1024;

// Checks the bytes of one sheet. path names it in the diagnostics ("-" when empty).
// Relative url()s resolve against the current directory, as the toolkit resolves
// them for an application style sheet. Sorted by position.
QVector<LintDiagnostic> lintStyleSheet(const QByteArray &bytes, const QString &path,
                                       const LintOptions &options = LintOptions());
