// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "analysis/applicationobjects.h"
#include "analysis/checks/checks.h"
#include "analysis/checks/names.h"
#include "analysis/qssreference.h"

namespace {
// The toolkit's classes, and the promoted classes of the application's forms.
QStringList candidateClasses(const SheetModel &model)
{
    QStringList classes = QssReference::widgetClasses();
    if (model.options.applicationObjects)
        classes += model.options.applicationObjects->classBases().keys();
    return classes;
}

void checkUnknownWidgets(const SheetModel &model, CheckReporter &report)
{
    QStringList candidates;
    const QString whose = model.options.applicationObjects
                              ? QStringLiteral(" of the toolkit or the application's forms")
                              : QString();
    // A class selector (".Name") is judged as a type selector is: it matches the widgets
    // of exactly that class, so an unknown name matches nothing either.
    for (const NameKind kind : {NameKind::Widget, NameKind::ClassSelector}) {
        const QString written =
            kind == NameKind::ClassSelector ? QStringLiteral(".%1") : QStringLiteral("%1");
        reportSelectorNames(model, kind, [&](int offset, const QString &name) {
            report.at(offset, int(name.size()),
                      QStringLiteral("\"%1\" names no widget class%2: the rule matches "
                                     "nothing (class names are case-sensitive)")
                          .arg(written.arg(name), whose));
            if (candidates.isEmpty())
                candidates = candidateClasses(model);
            report.suggestClosest(offset, int(name.size()), candidates);
        });
    }
}
} // namespace

const LintCheck kUnknownWidgetCheck = {
    "unknown-widget",
    LintSeverity::Warning,
    true,
    0,
    "a type selector or a class selector (`.Name`) that names no widget class of the "
    "toolkit, the configuration's `widgets`, its `forms` or the sources of a folder walked "
    "(names are case-sensitive)",
    "A type selector matches widgets by class name, letter case included, and the toolkit "
    "says nothing when no class has the name: the rule simply never applies. A class "
    "selector (`.QPushButton`) matches the widgets of exactly that class, none derived from "
    "it, and is judged the same way. An "
    "application's own classes are named in the configuration's `widgets`, each with the "
    "toolkit class it derives from; with `forms`, the promoted classes of the application's "
    "Designer forms count too, each derived from the class it extends, and the class each form "
    "is generated for, derived from its top-level widget's class. A folder walk adds the C++ "
    "classes of its headers and sources and the Python classes (PyQt5, PyQt6, PySide2, "
    "PySide6) derived from a widget class, also through other classes of the application. "
    "`QObject` and the toolkit's base classes (`QWidget`, `QAbstractButton`) match the widgets "
    "derived from them. The fix offered is the clearly closest known class, a guess.",
    "QPushbutton { color: red; }",
    "QPushButton { color: red; }",
    checkUnknownWidgets,
    "\"widgets\" names the application's own classes with the class each derives from (and "
    "wins); the classes of the Designer forms \"forms\" names count as such, and so do those "
    "a folder walk reads",
    "the class is changed to the clearly closest known one, often the same name in its right case "
    "(unsafe: a guess; an application class is configured in \"widgets\")",
};
