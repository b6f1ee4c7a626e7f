// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include "analysis/diagnostic.h"
#include "prismark-lint/filekinds.h"

#include <QString>
#include <QVector>

// What prismark-lint does with a file under --fix, --unsafe-fixes or --diff, whatever
// its kind.
struct LintFixMode
{
    bool fix = false;         // --fix, or implied by the two below
    bool unsafeFixes = false; // --unsafe-fixes
    bool diff = false;        // --diff: print the change, write nothing
};

struct LintFixOutcome
{
    bool ok = true; // false when the file could not be written (error says why)
    QString error;
    QString notice; // why fixes were left unwritten
    int fixed = 0;
    QVector<LintDiagnostic> remaining;
};

// Fixes one file with its kind's fixer: writes it back atomically, or the fixed text
// of standard input to standard output, or the diff to standard output under --diff.
// The findings and the diff go by the file's name.
LintFixOutcome fixLintedFile(const LintFileKind &kind, const LintedFile &file,
                             const LintRequest &request, const LintFixMode &mode);
