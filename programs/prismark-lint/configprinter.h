// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include "analysis/lintconfig.h"

#include <QStringList>

// What --enable, --disable and --gallery add on top of a configuration.
struct CommandLineChecks
{
    QStringList enabled;
    QStringList disabled;
    bool gallery = false;
};

// The configuration in force for a sheet as JSON with a comment after each value
// saying where it came from: a file, a file's "overrides[N]", an option, or the
// default. Every key is shown, each check by id.
// options are those the run uses for the sheet (the configuration's and the
// command line's).
QString configurationText(const LintConfigResult &config, const LintOptions &options,
                          const QString &sheet, const CommandLineChecks &commandLine);
