// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include <QString>

// A check's page (docs/checks/<id>.md) as a file URL, for a diagnostic's
// codeDescription: the installed copy beside the program when there is one, else the
// source tree's. Empty when neither holds the page.
QString checkPageUrl(const QString &checkId);
