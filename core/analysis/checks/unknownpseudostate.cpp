// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "analysis/checks/checks.h"
#include "analysis/checks/names.h"
#include "analysis/qssreference.h"

namespace {
void checkUnknownPseudoStates(const SheetModel &model, CheckReporter &report)
{
    reportSelectorNames(model, NameKind::PseudoState, [&](int offset, const QString &word) {
        report.at(offset, int(word.size()),
                  QStringLiteral("unknown pseudo-state \":%1\": the toolkit never "
                                 "matches this selector")
                      .arg(word));
        static const QStringList known = namesOf(QssReference::pseudoStates());
        report.suggestClosest(offset, int(word.size()), known);
    });
}
} // namespace

const LintCheck kUnknownPseudoStateCheck = {
    "unknown-pseudo-state",
    LintSeverity::Warning,
    true,
    0,
    "a pseudo-state the reference does not know: the selector never matches",
    "A selector with a pseudo-state the toolkit does not know never matches, so the rule "
    "never applies, in any state. The fix offered is the clearly closest known state, a "
    "guess.",
    "QPushButton:hovered { color: red; }",
    "QPushButton:hover { color: red; }",
    checkUnknownPseudoStates,
    nullptr,
    "the pseudo-state is changed to the clearly closest known one (unsafe: a guess; it changes the "
    "states the rule matches)",
};
