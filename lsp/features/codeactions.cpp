// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "lsp/features/codeactions.h"

#include "lsp/protocol/textdocument.h"

namespace {
QJsonObject editAction(const TextDocument &document, const PublishedDiagnostic &diagnostic,
                       const QString &title, int start, int end, const QString &newText)
{
    const QJsonObject edit{{QStringLiteral("range"), document.range(start, end)},
                           {QStringLiteral("newText"), newText}};
    return QJsonObject{
        {QStringLiteral("title"), title},
        {QStringLiteral("kind"), QStringLiteral("quickfix")},
        {QStringLiteral("isPreferred"), true},
        {QStringLiteral("diagnostics"), QJsonArray{diagnostic.json}},
        {QStringLiteral("edit"),
         QJsonObject{{QStringLiteral("changes"), QJsonObject{{document.uri, QJsonArray{edit}}}}}},
    };
}

} // namespace

QJsonArray quickFixes(const TextDocument &document, const QVector<PublishedDiagnostic> &diagnostics,
                      int start, int end)
{
    QJsonArray actions;
    for (const PublishedDiagnostic &diagnostic : diagnostics) {
        if (diagnostic.end < start || diagnostic.start > end)
            continue;
        for (const PublishedFix &fix : diagnostic.fixes) {
            const QString title = fix.start == fix.end
                                      ? QStringLiteral("Insert '%1'").arg(fix.newText.trimmed())
                                      : QStringLiteral("Change to '%1'").arg(fix.newText);
            actions.append(
                editAction(document, diagnostic, title, fix.start, fix.end, fix.newText));
        }
    }
    return actions;
}
