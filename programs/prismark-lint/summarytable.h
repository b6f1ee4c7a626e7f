// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include "analysis/diagnostic.h"

#include <QString>
#include <QStringList>
#include <QVector>

// --summary-table: a Markdown table of the findings' counts, a row per file checked and a
// column per check.

QString summaryTable(const QStringList &files, const QVector<LintDiagnostic> &diagnostics,
                     const QStringList &ids);

// A column for every check that ran or was asked for (enabled, or by --gallery), in
// the registry's order.
QStringList summaryColumns(const QStringList &enabled, bool gallery);
