// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include "analysis/checkregistry.h"
#include "analysis/diagnostic.h"
#include "analysis/lintoptions.h"

#include <QByteArray>
#include <QStringList>
#include <QVector>

// Diagnostics for one style sheet: what the toolkit rejects, and what it accepts but
// a theme author would not want. Needs no window and no display. The entry point of
// the analysis; its parts include the headers below it, never this one.

// Checks the bytes of one sheet. path names it in the diagnostics ("-" when empty).
// Relative url()s resolve against the current directory, as the toolkit resolves
// them for an application style sheet. Sorted by position.
QVector<LintDiagnostic> lintStyleSheet(const QByteArray &bytes, const QString &path,
                                       const LintOptions &options = LintOptions());

// The same findings, and whether they rest on files on disk besides the options (see
// SheetModel::readsFiles): then the same text may be judged differently later.
struct SheetFindings
{
    QVector<LintDiagnostic> diagnostics;
    bool readsFiles = false;
};
SheetFindings sheetFindings(const QByteArray &bytes, const QString &path,
                            const LintOptions &options = LintOptions());

// The toolkit's own parse of the sheet and no other check, as the run above reports
// it (the options' severities and suppressions apply, the syntax check on whatever
// they say of it): why the toolkit rejects a sheet, for a program that only needs that.
QVector<LintDiagnostic> syntaxFindings(const QByteArray &bytes, const QString &path,
                                       LintOptions options = LintOptions());
