// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "analysis/checkregistry.h"
#include "analysis/checks/checks.h"
#include "analysis/suppressions.h"

// What the suppression comments themselves get wrong. Those that silence nothing
// are found where the other checks' findings are known: applySuppressions reports
// them through this check's reporter, which the flag below asks the entry for.

namespace {
void checkSuppressionComments(const SheetModel &model, CheckReporter &report)
{
    const QStringList known = lintCheckIds();
    const QVector<bool> enabledSomething = enablesClosingSomething(model.suppressions);
    for (int i = 0; i < model.suppressions.size(); ++i) {
        const SuppressionComment &comment = model.suppressions.at(i);
        if (!comment.closed) {
            report.at(comment.offset,
                      QStringLiteral("this suppression comment is never closed (no \"*/\"): "
                                     "nothing is suppressed"));
            continue;
        }
        for (const QString &id : comment.ids) {
            if (!known.contains(id)) {
                report.at(comment.offset,
                          QStringLiteral("unknown check id \"%1\" in a suppression comment: it "
                                         "suppresses nothing")
                              .arg(id));
            }
        }
        if (comment.kind == SuppressionComment::Enable && !enabledSomething.at(i))
            report.at(comment.offset, QStringLiteral("nothing disabled before this comment to "
                                                     "enable again"));
    }
}
} // namespace

const LintCheck kNeedlessDisableCheck = {
    "needless-disable",
    LintSeverity::Warning,
    true,
    CheckFlag::ReadsFindings,
    "a `prismark-lint-disable` comment that suppresses nothing, names an unknown check id "
    "or is never closed",
    "A suppression comment that silences nothing hides nothing today, but it will hide the "
    "next real finding on its lines without anyone having looked at it. One with an "
    "unknown id or never closed silences nothing at all, though its author thinks it does. "
    "Remove the comment or the id, or correct it. A suppression of a check that is off "
    "counts as silencing nothing, so what this check finds never depends on which other "
    "checks run.",
    "/* prismark-lint-disable-next-line contrast */\nQLabel { color: black; }\n",
    "QLabel { color: black; }\n",
    checkSuppressionComments,
};
