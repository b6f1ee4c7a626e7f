// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "prismark-lint/summarytable.h"

#include "analysis/checkregistry.h"

#include <QFileInfo>

#include <algorithm>

QString summaryTable(const QStringList &files, const QVector<LintDiagnostic> &diagnostics,
                     const QStringList &ids)
{
    QString table = QStringLiteral("| Sheet |");
    QString rule = QStringLiteral("|---|");
    for (const QString &id : ids) {
        table += QStringLiteral(" %1 |").arg(id);
        rule += QStringLiteral("---:|");
    }
    table += QStringLiteral("\n") + rule + QStringLiteral("\n");
    for (const QString &file : files) {
        table += QStringLiteral("| %1 |").arg(QFileInfo(file).fileName());
        for (const QString &id : ids) {
            const auto count = std::count_if(
                diagnostics.cbegin(), diagnostics.cend(), [&](const LintDiagnostic &diagnostic) {
                    return diagnostic.file == file && diagnostic.check == id;
                });
            table += QStringLiteral(" %1 |").arg(count);
        }
        table += QLatin1Char('\n');
    }
    return table;
}

QStringList summaryColumns(const QStringList &enabled, bool gallery)
{
    // A disabled check keeps its column: it was asked about.
    LintOptions asked;
    asked.enabledChecks = enabled;
    asked.gallery = gallery;
    QStringList ids;
    for (const LintCheck &check : lintChecks()) {
        if (lintCheckRuns(check, asked))
            ids.append(QLatin1String(check.id));
    }
    return ids;
}
