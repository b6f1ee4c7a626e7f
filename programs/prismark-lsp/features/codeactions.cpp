// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "prismark-lsp/features/codeactions.h"

namespace {
// A piece of the text as a menu can show it: one line, not too long.
QString shown(const QString &text)
{
    constexpr int kLongest = 40;
    const QString line = text.simplified();
    return line.size() <= kLongest ? line : line.left(kLongest - 1) + QChar(0x2026);
}
} // namespace

QVector<CodeAction> quickFixes(const QString &text, const QVector<PublishedDiagnostic> &diagnostics,
                               int start, int end)
{
    QVector<CodeAction> actions;
    for (const PublishedDiagnostic &diagnostic : diagnostics) {
        if (diagnostic.end < start || diagnostic.start > end)
            continue;
        for (const PublishedFix &fix : diagnostic.fixes) {
            // The same words as prismark-lint's --fix and --unsafe-fixes.
            const QString kind =
                fix.safe ? QStringLiteral("safe fix") : QStringLiteral("unsafe fix: a guess");
            QString what = fix.title;
            if (what.isEmpty() && fix.start == fix.end)
                what = QStringLiteral("Insert '%1'").arg(shown(fix.newText));
            else if (what.isEmpty() && fix.newText.isEmpty())
                what = QStringLiteral("Remove '%1'")
                           .arg(shown(text.mid(fix.start, fix.end - fix.start)));
            else if (what.isEmpty())
                what = QStringLiteral("Change to '%1'").arg(shown(fix.newText));
            actions.append({QStringLiteral("%1 (%2)").arg(what, kind), fix, diagnostic.json});
        }
    }
    return actions;
}
