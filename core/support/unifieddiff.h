// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include <QString>

// The change from one text to another as a unified diff with three lines of context,
// headed "--- a/NAME" and "+++ b/NAME"; empty when the texts are equal.
QString unifiedDiff(const QString &before, const QString &after, const QString &name);
