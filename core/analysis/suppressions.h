// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include "analysis/diagnostic.h"
#include "analysis/suppressioncomments.h"

#include <QString>
#include <QStringList>
#include <QVector>

class CheckReporter;
class SheetModel;

// For each comment, whether it is an enable that ends something disabled before it.
QVector<bool> enablesClosingSomething(const QVector<SuppressionComment> &comments);

// Removes the diagnostics the comments silence (never those of needless itself) and, when needless
// is given, reports each comment or id that silenced nothing through it. A suppression of a check
// that is off silences nothing too: what needless-disable finds never depends on which other checks
// run.
void applySuppressions(const SheetModel &model, QVector<LintDiagnostic> &diagnostics,
                       CheckReporter *needless);
