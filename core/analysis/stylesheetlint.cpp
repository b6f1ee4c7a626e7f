// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "analysis/stylesheetlint.h"

#include "analysis/checkregistry.h"
#include "analysis/checkreporter.h"
#include "analysis/sheetmodel.h"
#include "analysis/suppressions.h"

#include <list>

QVector<LintDiagnostic> lintStyleSheet(const QByteArray &bytes, const QString &path,
                                       const LintOptions &options)
{
    return sheetFindings(bytes, path, options).diagnostics;
}

SheetFindings sheetFindings(const QByteArray &bytes, const QString &path,
                            const LintOptions &options)
{
    const SheetModel model(bytes, path, options);
    SheetFindings findings;
    findings.readsFiles = model.readsFiles();
    QVector<LintDiagnostic> &diagnostics = findings.diagnostics;
    // Every reporter lives to the end, so the counts of what went over the limit
    // come after all the listed diagnostics.
    std::list<CheckReporter> reporters;
    CheckReporter *needless = nullptr;
    for (const LintCheck &check : lintChecks()) {
        if (!lintCheckRuns(check, options))
            continue;
        const QString id = QLatin1String(check.id);
        const auto severity = options.severities.constFind(id);
        reporters.emplace_back(model, id,
                               severity != options.severities.cend() ? *severity : check.severity,
                               diagnostics, severity != options.severities.cend());
        check.run(model, reporters.back());
        if (check.has(CheckFlag::ReadsFindings))
            needless = &reporters.back();
    }
    for (CheckReporter &reporter : reporters) {
        if (&reporter != needless)
            reporter.reportOmitted();
    }
    // Last, so a suppression that silences nothing can be told apart.
    applySuppressions(model, diagnostics, needless);
    if (needless)
        needless->reportOmitted();
    sortLintDiagnostics(diagnostics);
    return findings;
}

QVector<LintDiagnostic> syntaxFindings(const QByteArray &bytes, const QString &path,
                                       LintOptions options)
{
    options.disabledChecks.clear();
    options.enabledChecks.clear();
    for (const LintCheck &check : lintChecks()) {
        const QString id = QLatin1String(check.id);
        (check.has(CheckFlag::ToolkitParse) ? options.enabledChecks : options.disabledChecks)
            .append(id);
    }
    options.gallery = false;
    return lintStyleSheet(bytes, path, options);
}
