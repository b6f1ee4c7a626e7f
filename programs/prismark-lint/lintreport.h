// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include "analysis/diagnostic.h"
#include "support/findingreport.h"

#include <QVector>

// What prismark-lint reports after a run, in any of its formats.
struct LintReport
{
    const QVector<LintDiagnostic> &diagnostics;
    int checkedFiles = 0;
    // After --fix, the text says how many fixes were made.
    bool fixing = false;
    int fixed = 0;
};

using LintReportFormat = ReportFormat<LintReport>;

// --format's choices, text (the default) first.
const ReportFormats<LintReport> &lintReportFormats();

int countWithSeverity(const QVector<LintDiagnostic> &diagnostics, LintSeverity severity);
