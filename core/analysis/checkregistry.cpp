// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "analysis/checkregistry.h"

#include "analysis/checks/checks.h"

const QVector<LintCheck> &lintChecks()
{
#define PRISMARK_CHECK(entry) entry,
    static const QVector<LintCheck> checks = {
#include "analysis/checks/checklist.h"
    };
#undef PRISMARK_CHECK
    return checks;
}

const LintCheck *lintCheck(const QString &id)
{
    for (const LintCheck &check : lintChecks()) {
        if (id == QLatin1String(check.id))
            return &check;
    }
    return nullptr;
}

bool lintCheckRuns(const LintCheck &check, const LintOptions &options)
{
    const QString id = QLatin1String(check.id);
    if (options.disabledChecks.contains(id))
        return false;
    if (check.onByDefault || options.enabledChecks.contains(id))
        return true;
    return options.gallery && check.has(CheckFlag::NeedsGallery);
}

bool toolkitRejectsSheet(const LintDiagnostic &diagnostic)
{
    if (diagnostic.severity != LintSeverity::Error)
        return false;
    const LintCheck *check = lintCheck(diagnostic.check);
    return check && check->has(CheckFlag::ToolkitParse);
}

QStringList lintCheckIds()
{
    QStringList ids;
    for (const LintCheck &check : lintChecks())
        ids.append(QLatin1String(check.id));
    return ids;
}

QStringList lintDefaultCheckIds()
{
    QStringList ids;
    for (const LintCheck &check : lintChecks()) {
        if (check.onByDefault)
            ids.append(QLatin1String(check.id));
    }
    return ids;
}
