// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include "prismark-lint/commandoptions.h"

// A run of prismark-lint: each FILE checked (or fixed) as its kind says, a folder
// walked for the files a walk checks, and the report written to standard output (to
// standard error when the fixed text or the diff takes standard output). Returns the
// exit status.
int runLint(const LintSettings &settings);
