// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include "analysis/diagnostic.h"

class CheckReporter;
class SheetModel;

using CheckFunction = void (*)(const SheetModel &model, CheckReporter &report);

// One registered check. Its id is written here once; everything that names checks
// (the list of ids, --help, --enable/--disable, the summary table) reads this table.
struct LintCheck
{
    const char *id;
    LintSeverity severity; // what it reports unless a finding says otherwise
    bool onByDefault;
    const char *description;
    CheckFunction run;
};
