// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "lsp/lintconfiguration.h"

#include "analysis/lintconfig.h"

LintOptions lintOptionsForDocument(const QString &path)
{
    // Found as prismark-lint finds it: the nearest .prismark-lint.json from the
    // document's directory up. A broken one leaves the defaults, as it does there.
    return lintConfigForSheet(path).options;
}
