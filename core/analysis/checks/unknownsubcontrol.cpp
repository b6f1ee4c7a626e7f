// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "analysis/checks/checks.h"
#include "analysis/checks/names.h"
#include "analysis/qssreference.h"

namespace {
void checkUnknownSubcontrols(const SheetModel &model, CheckReporter &report)
{
    reportSelectorNames(model, NameKind::Subcontrol, [&](int offset, const QString &word) {
        report.at(offset, int(word.size()),
                  QStringLiteral("unknown subcontrol \"::%1\": the rule styles nothing").arg(word));
        static const QStringList known = namesOf(QssReference::subcontrols());
        report.suggestClosest(offset, int(word.size()), known);
    });
}
} // namespace

const LintCheck kUnknownSubcontrolCheck = {
    "unknown-subcontrol",
    LintSeverity::Warning,
    true,
    0,
    "a subcontrol the reference does not know: the rule styles nothing",
    "A rule for a subcontrol the toolkit does not know styles nothing: the toolkit reads an "
    "unknown name after \"::\" as a subcontrol no widget has. The fix offered is the "
    "clearly closest known subcontrol, a guess.",
    "QComboBox::drop-dwn { width: 12px; }",
    "QComboBox::drop-down { width: 12px; }",
    checkUnknownSubcontrols,
    nullptr,
    "the sub-control is changed to the clearly closest known one (unsafe: a guess; it changes the "
    "part the rule draws)",
};
