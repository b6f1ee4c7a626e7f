// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include "analysis/lintcheck.h"
#include "analysis/lintoptions.h"

#include <QStringList>
#include <QVector>

// Every check, in the order of their families; they run in this order.
const QVector<LintCheck> &lintChecks();
// The check of an id, or null.
const LintCheck *lintCheck(const QString &id);
// Whether a run with these options reports the check's findings.
bool lintCheckRuns(const LintCheck &check, const LintOptions &options);

// Whether the finding is the toolkit refusing the whole sheet: an error of its own
// parse.
bool toolkitRejectsSheet(const LintDiagnostic &diagnostic);

// Every check id, in the order of their families.
QStringList lintCheckIds();
// The ids of the checks that run unless asked for.
QStringList lintDefaultCheckIds();
