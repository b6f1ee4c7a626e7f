// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include "analysis/lintcheck.h"

#include <QStringList>
#include <QVector>

// Every check, in the order of their families; they run in this order.
const QVector<LintCheck> &lintChecks();

// Every check id, in the order of their families.
QStringList lintCheckIds();
// The ids of the checks that run unless asked for.
QStringList lintDefaultCheckIds();
