// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include "analysis/lintoptions.h"

#include <QString>

// A project's .prismark-lint.json: which checks run and how severe they are, the
// application's own widget classes and properties, the toolkit version its sheets
// target, its compiled-in resources and the contrast it asks for. Every program
// that runs the analysis finds it the same way, from the sheet's directory up.

inline const QLatin1String kLintConfigFileName(".prismark-lint.json");

struct LintConfigResult
{
    bool ok = true;
    // The configuration file in force, "" when none was found.
    QString file;
    // Every key applied to a default LintOptions.
    LintOptions options;
    // When not ok: "FILE:LINE: what is wrong"; the options are then the defaults.
    QString error;
    // Problems that leave the rest usable (a .qrc that cannot be read, a file it
    // names that is missing), each "FILE:LINE: what".
    QStringList warnings;
};

// The nearest configuration file from the sheet's directory up to the root, or ""
// ("-" and other names without a directory start at the working directory).
QString findLintConfig(const QString &sheetPath);

// Reads one configuration file (a regular file of at most 1 MiB).
LintConfigResult readLintConfig(const QString &configPath);

// The configuration that governs a sheet: the nearest one, or none.
LintConfigResult lintConfigForSheet(const QString &sheetPath);
