// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include "analysis/checkreporter.h"
#include "analysis/lintcheck.h"
#include "analysis/sheetmodel.h"

// What a check's file includes: the model it reads, the reporter it reports
// through, and the entry it defines. Each check only reads the model.
#define PRISMARK_CHECK(entry) extern const LintCheck entry;
#include "analysis/checks/checklist.h"
#undef PRISMARK_CHECK
