// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include <QString>

// prismark-shot --audit inside the author's application: every window it shows,
// each filed under its name as its render is, audited with its widgets driven
// quietly (nothing clicked, focused or activated), the rules located in the
// author's sheet at sheetPath. The results go into folder (audit/auditresults.h);
// false, and why, when they could not be written.
bool auditApplicationWindows(const QString &folder, const QString &sheetPath, bool wcag,
                             QString *problem);
