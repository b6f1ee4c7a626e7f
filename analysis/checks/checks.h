// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include "analysis/checkreporter.h"
#include "analysis/sheetmodel.h"

// The run functions of the registered checks: each only reads the model and
// reports through its own reporter.
void checkSyntax(const SheetModel &model, CheckReporter &report);
void checkEncoding(const SheetModel &model, CheckReporter &report);
void checkPalette(const SheetModel &model, CheckReporter &report);
void checkUnknownProperties(const SheetModel &model, CheckReporter &report);
void checkUnknownPseudoStates(const SheetModel &model, CheckReporter &report);
void checkUnknownSubcontrols(const SheetModel &model, CheckReporter &report);
void checkUnknownWidgets(const SheetModel &model, CheckReporter &report);
void checkBadValues(const SheetModel &model, CheckReporter &report);
void checkMissingResources(const SheetModel &model, CheckReporter &report);
void checkUnsafeResources(const SheetModel &model, CheckReporter &report);
void checkShadowing(const SheetModel &model, CheckReporter &report);
void checkContrast(const SheetModel &model, CheckReporter &report);
void checkCoverage(const SheetModel &model, CheckReporter &report);
// Unknown ids, a comment never closed, an enable with nothing disabled before it.
void checkSuppressionComments(const SheetModel &model, CheckReporter &report);
