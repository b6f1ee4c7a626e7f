// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include "analysis/lintconfigresult.h"

#include <QString>

// Reads a configuration file (a regular file of at most 1 MiB) and every file it
// extends, depth first, so that each file's own keys land on top of the files it
// extends; the overrides of each are checked and kept for forSheet. False, with
// result.error set, on the first problem.
bool loadLintConfig(const QString &path, LintConfigResult &result);
