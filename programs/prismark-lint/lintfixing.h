// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include "analysis/diagnostic.h"
#include "analysis/lintoptions.h"
#include "embedded/embeddedsheets.h"

#include <QByteArray>
#include <QString>
#include <QVector>

// What prismark-lint does with a sheet under --fix, --unsafe-fixes or --diff.
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
    QString notice; // why the sheet was left as it was, when it was refused whole
    int fixed = 0;
    QVector<LintDiagnostic> remaining;
};

// Fixes one sheet read from file ("-" for standard input): writes it back atomically,
// or the fixed text of standard input to standard output, or the diff to standard
// output under --diff. The findings and the diff go by name (for standard input, the
// path it stands for, else "-").
LintFixOutcome fixLintInput(const QString &file, const QByteArray &bytes,
                            const LintOptions &options, const LintFixMode &mode,
                            const QString &name);

// The same for a form or a source: its embedded sheets mended inside their literals.
LintFixOutcome fixEmbeddedInput(const QString &file, const QByteArray &bytes,
                                EmbeddingLanguage language, const LintOptions &options,
                                const LintFixMode &mode, const QString &name);
