// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "analysis/checks/checks.h"
#include "analysis/checks/names.h"
#include "analysis/qssreference.h"

namespace {
void checkUnknownWidgets(const SheetModel &model, CheckReporter &report)
{
    reportSelectorNames(model, NameKind::Widget, [&](int offset, const QString &name) {
        report.at(offset, int(name.size()),
                  QStringLiteral("\"%1\" names no widget class: the rule matches "
                                 "nothing (class names are case-sensitive)")
                      .arg(name));
        report.suggestClosest(offset, int(name.size()), QssReference::widgetClasses());
    });
}
} // namespace

const LintCheck kUnknownWidgetCheck = {
    "unknown-widget",
    LintSeverity::Warning,
    true,
    0,
    "a type selector that names no widget class of the toolkit or the configuration's "
    "`widgets` (names are case-sensitive)",
    "A type selector matches widgets by class name, letter case included, and the toolkit "
    "says nothing when no class has the name: the rule simply never applies. An "
    "application's own classes are named in the configuration's `widgets`, each with the "
    "toolkit class it derives from. The fix offered is the clearly closest known class, a "
    "guess.",
    "QPushbutton { color: red; }",
    "QPushButton { color: red; }",
    checkUnknownWidgets,
    "\"widgets\" names the application's own classes with the class each derives from",
    "the class is changed to the clearly closest known one, often the same name in its right case "
    "(unsafe: a guess; an application class is configured in \"widgets\")",
};
