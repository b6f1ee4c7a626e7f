// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "analysis/applicationobjects.h"
#include "analysis/checks/checks.h"
#include "analysis/checks/names.h"

namespace {
// The class the toolkit takes a widget of this class for: its nearest base whose
// declaration has Q_OBJECT (or the toolkit's own class it derives from).
QString seenAs(const ApplicationObjects &objects, const ApplicationClass &declared)
{
    QString base = declared.base;
    for (int depth = 0; depth < 32; ++depth) {
        const ApplicationClass *own = objects.applicationClass(base);
        if (!own || own->metaObject)
            break;
        base = own->base;
    }
    return base;
}

void checkMissingQObject(const SheetModel &model, CheckReporter &report)
{
    const ApplicationObjects *objects = model.options.applicationObjects.get();
    if (!objects)
        return;
    reportClassNames(model, [&](int offset, const QString &name) {
        // The configuration's "widgets" says what the class is, and wins.
        if (model.options.widgets.contains(name))
            return;
        const ApplicationClass *declared = objects->applicationClass(name);
        if (!declared || declared->metaObject)
            return;
        report.at(offset, int(name.size()), [&] {
            return QStringLiteral("\"%1\" is declared without Q_OBJECT (%2:%3): the toolkit takes "
                                  "its widgets for %4, so the rule matches nothing")
                .arg(name, declared->form)
                .arg(declared->line)
                .arg(seenAs(*objects, *declared));
        });
    });
}
} // namespace

const LintCheck kMissingQObjectCheck = {
    "missing-q-object",
    LintSeverity::Warning,
    true,
    0,
    "a type selector or a class selector (`.Name`) naming one of the application's C++ "
    "widget classes whose declaration has no `Q_OBJECT` (only for the classes a folder walk "
    "reads)",
    "A type selector matches a widget by the class name its meta-object gives, and only a class "
    "declared with the `Q_OBJECT` macro has a meta-object of its own. A class derived from a "
    "widget without it is, for the toolkit, its nearest base that has one: `class StatusCombo "
    ": public QComboBox { ... };` without `Q_OBJECT` makes widgets the toolkit calls "
    "`QComboBox`, and a `StatusCombo { ... }` rule never applies. The classes are those a "
    "folder walk finds in the application's headers and sources.",
    "StatusCombo { color: red; }",
    "QComboBox { color: red; }",
    checkMissingQObject,
    "the classes come from the C++ headers and sources of the folders prismark-lint walks; a "
    "class named in \"widgets\" is taken as configured",
    "none in the sheet: add Q_OBJECT to the class's declaration (moc then gives it a "
    "meta-object of its own) and the rule matches its widgets",
};
