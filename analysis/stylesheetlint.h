// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include <QByteArray>
#include <QHash>
#include <QSet>
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

struct LintOptions
{
    // Adds the gallery coverage notes ("coverage"), as enabling that check does.
    bool gallery = false;
    // Check ids never reported, and ids reported although off by default.
    QStringList disabledChecks;
    QStringList enabledChecks;
    // A severity per check id that replaces whatever its findings would have.
    QHash<QString, LintSeverity> severities;
    // The application's own widget classes, each with the toolkit class it derives
    // from: rules naming them are checked as that class.
    QHash<QString, QString> widgets;
    // Property names the application reads itself from its sheet.
    QStringList properties;
    // The toolkit version the sheet targets, major * 100 + minor (515, 605); 0 for
    // the version this program was built against.
    int qtVersion = 0;
    // The application's compiled-in resource paths ("/prefix/name"), consulted for
    // ":/..." urls when resourcesConfigured; without it such urls go unchecked.
    QSet<QString> resourcePaths;
    bool resourcesConfigured = false;
    // Where relative url()s resolve: empty for the working directory.
    QString urlBase;
    // WCAG thresholds: text on its background, and outlines and disabled text.
    double textContrast = 4.5;
    double outlineContrast = 3.0;
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
