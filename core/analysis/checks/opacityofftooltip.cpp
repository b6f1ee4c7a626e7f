// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "analysis/checks/checks.h"

#include <algorithm>

namespace {
const QLatin1String kToolTip("QToolTip");
// The tool tip's own class; the toolkit matches it by kToolTip, but a rule naming it
// is plainly meant for tool tips and another check tells about its name.
const QLatin1String kToolTipLabel("QTipLabel");

// Whether a selector's widget may be a tool tip: no type, "*", the tool tip's names,
// or an application's own class configured as deriving from QToolTip.
bool mayBeToolTip(const SheetModel &model, const SheetSelector &selector)
{
    const QString &type = selector.element;
    return type.isEmpty() || type == kToolTip || type == kToolTipLabel ||
           model.classes.inherits(type, kToolTip);
}

void checkOpacityOffToolTips(const SheetModel &model, CheckReporter &report)
{
    for (const SheetRule &rule : model.rules) {
        // On subcontrols alone, ignored-on-subcontrol tells.
        const bool onWidgets = std::any_of(
            rule.selectors.cbegin(), rule.selectors.cend(),
            [](const SheetSelector &selector) { return selector.subcontrol.isEmpty(); });
        const bool reachesToolTip = std::any_of(
            rule.selectors.cbegin(), rule.selectors.cend(),
            [&](const SheetSelector &selector) { return mayBeToolTip(model, selector); });
        if (!onWidgets || reachesToolTip)
            continue;
        QStringList types;
        for (const SheetSelector &selector : rule.selectors) {
            if (!types.contains(selector.element))
                types << selector.element;
        }
        for (const SheetDeclaration &entry : rule.declarations) {
            if (entry.property.toLower() != QLatin1String("opacity"))
                continue;
            report.at(entry.offset, int(entry.property.size()),
                      QStringLiteral("opacity is read of tool tips only (\"For the moment, this is "
                                     "only supported for tooltips.\", the toolkit's reference): "
                                     "on %1 it sets nothing")
                          .arg(types.join(QLatin1String(", "))));
        }
    }
}
} // namespace

const LintCheck kOpacityOffToolTipCheck = {
    "opacity-off-tooltip",
    LintSeverity::Warning,
    true,
    0,
    "`opacity` on a rule whose selectors name no tool tip: the toolkit reads it of tool tips "
    "only",
    "The toolkit reads opacity for tool tips only; its reference says of the property: "
    "\"For the moment, this is only supported for tooltips.\" On any other widget it sets "
    "nothing and nothing says so. A tool tip is matched by QToolTip alone (not by QLabel or "
    "QWidget), so a rule whose selectors all name other classes never reaches one. A rule "
    "without a type selector, or with \"*\", may match a tool tip and is left alone. To fade a "
    "widget, give its colours an alpha instead.",
    "QPushButton { opacity: 128; }",
    "QToolTip { opacity: 128; }",
    checkOpacityOffToolTips,
};
