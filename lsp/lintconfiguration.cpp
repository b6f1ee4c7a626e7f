// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "lsp/lintconfiguration.h"

LintOptions lintOptionsForDocument(const QString &path)
{
    Q_UNUSED(path)
    // What prismark-lint checks without options.
    return LintOptions();
}
