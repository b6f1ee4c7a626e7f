// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include "analysis/lintconfigresult.h"

#include <QString>

// A project's .prismark-lint.json: which checks run and how severe they are, the
// application's own widget classes and properties, the toolkit version its sheets
// target, its compiled-in resources and the contrast it asks for. Every program
// that runs the analysis finds it the same way, from the sheet's directory up, and
// asks it for the configuration in force for one sheet: a file may extend others
// and override keys for the sheets its globs match.

inline const QLatin1String kLintConfigFileName(".prismark-lint.json");

// The nearest configuration file from the sheet's directory up to the root, or ""
// ("-" and other names without a directory start at the working directory).
QString findLintConfig(const QString &sheetPath);

// Reads one configuration file (a regular file of at most 1 MiB) and every file it
// extends; its overrides are kept for forSheet.
LintConfigResult readLintConfig(const QString &configPath);

// The configuration in force for a sheet: the nearest file (or configPath when one
// is named) with the overrides that match the sheet, or the defaults.
LintConfigResult lintConfigForSheet(const QString &sheetPath, const QString &configPath = {});
