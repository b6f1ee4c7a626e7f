// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "lsp/features/codeactions.h"

QVector<CodeAction> quickFixes(const QVector<PublishedDiagnostic> &diagnostics, int start, int end)
{
    QVector<CodeAction> actions;
    for (const PublishedDiagnostic &diagnostic : diagnostics) {
        if (diagnostic.end < start || diagnostic.start > end)
            continue;
        for (const PublishedFix &fix : diagnostic.fixes) {
            // The same words as prismark-lint's --fix and --unsafe-fixes.
            const QString kind =
                fix.safe ? QStringLiteral("safe fix") : QStringLiteral("unsafe fix: a guess");
            const QString title =
                fix.start == fix.end
                    ? QStringLiteral("Insert '%1' (%2)").arg(fix.newText.trimmed(), kind)
                    : QStringLiteral("Change to '%1' (%2)").arg(fix.newText, kind);
            actions.append({title, fix, diagnostic.json});
        }
    }
    return actions;
}
