// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "analysis/applicationobjects.h"
#include "analysis/checks/checks.h"
#include "analysis/checks/names.h"
#include "analysis/closestname.h"
#include "analysis/qssreference.h"
#include "analysis/toolkitobjectnames.h"

#include <algorithm>

namespace {
QString placeOf(const ApplicationObject &object)
{
    return QStringLiteral("%1:%2").arg(object.form).arg(object.line);
}

// What a name the forms know, but not as a widget the compound can be, stands for;
// "" when one of its widgets is.
QString mismatch(const SheetModel &model, const QVector<ApplicationObject> &objects,
                 const QString &element)
{
    const ApplicationObject *widget = nullptr;
    for (const ApplicationObject &object : objects) {
        if (!object.isWidget())
            continue;
        // A name the code sets says nothing of its widget's class.
        if (object.className.isEmpty())
            return QString();
        // A class whose bases nobody declared, down to a toolkit class, may derive
        // from anything (a namespaced name is taken for known without them).
        const QString objectClass = selectorClassName(object.className);
        const QString root = model.classes.ancestry(objectClass).constLast();
        const bool unknownClass =
            !QssReference::isKnownWidget(root) || root.contains(QLatin1String("--"));
        if (element.isEmpty() || unknownClass || model.classes.inherits(objectClass, element))
            return QString();
        widget = &object;
    }
    if (widget)
        return QStringLiteral("is a %1 (%2), which is no %3")
            .arg(widget->className, placeOf(*widget), element);
    const ApplicationObject &first = objects.first();
    return QStringLiteral("names %1 (%2), not a widget")
        .arg(objectKindName(first.kind, true), placeOf(first));
}

// A name the toolkit gives a widget of its own, judged by that widget's class.
void checkToolkitName(const SheetModel &model, CheckReporter &report, int offset,
                      const ToolkitObjectName &inner, const QString &element)
{
    const QString className = QString::fromLatin1(inner.className);
    if (element.isEmpty() || model.classes.inherits(className, element) ||
        model.classes.inherits(element, className))
        return;
    report.at(offset, int(qstrlen(inner.name)),
              QStringLiteral("\"#%1\" is the toolkit's own %2 inside a %3, which is no %4: the "
                             "rule matches nothing")
                  .arg(QLatin1String(inner.name), className, QLatin1String(inner.owner), element));
}

// Whose names they are, for the message: the forms alone, or the code too.
QString whoseNames(const ApplicationObjects &objects)
{
    const bool fromCode =
        std::any_of(objects.objects.cbegin(), objects.objects.cend(),
                    [](const ApplicationObject &object) { return object.className.isEmpty(); });
    return fromCode ? QStringLiteral("the application's forms or code")
                    : QStringLiteral("the application's forms");
}

void checkUnknownObjectNames(const SheetModel &model, CheckReporter &report)
{
    const ApplicationObjects *objects = model.options.applicationObjects.get();
    if (!objects)
        return;
    QStringList names;
    reportObjectNames(model, [&](int offset, const QString &name, const QString &element) {
        if (const ToolkitObjectName *inner = toolkitObjectName(name))
            return checkToolkitName(model, report, offset, *inner, element);
        const QVector<ApplicationObject> known = objects->named(name);
        if (!known.isEmpty()) {
            const QString why = mismatch(model, known, element);
            if (!why.isEmpty())
                report.at(offset, int(name.size()),
                          QStringLiteral("\"#%1\" %2: the rule matches nothing").arg(name, why));
            return;
        }
        if (names.isEmpty())
            names = objects->widgetNames() + toolkitObjectNames();
        const QString closest = closestName(name, names);
        report.at(offset, int(name.size()), [&] {
            return QStringLiteral("\"#%1\" names no widget of %2: the rule matches nothing%3")
                .arg(name, whoseNames(*objects),
                     closest.isEmpty() ? QString()
                                       : QStringLiteral(" (did you mean \"#%1\"?)").arg(closest));
        });
        if (!closest.isEmpty())
            report.mendByReplacing(offset, int(name.size()), closest, false);
    });
}
} // namespace

const LintCheck kUnknownObjectNameCheck = {
    "unknown-object-name",
    LintSeverity::Warning,
    true,
    0,
    "an id selector (`#name`) that names no widget of the application's forms or code nor one "
    "the toolkit names itself, or one that is no widget of the class before it (only with "
    "`forms` configured or a folder walked)",
    "An id selector matches the widget whose objectName is the name, letter case included, and "
    "the toolkit says nothing when no widget has it: a misspelt name leaves the rule unused. "
    "With the configuration's `forms` the application's Designer forms are read, and each "
    "`#name` is looked up among the widgets they declare; a layout, a spacer or an action has a "
    "name too, but is no widget a sheet can style, and `QLabel#saveButton` matches nothing "
    "when saveButton is a push button. A folder walk also reads the names its C++ and Python "
    "sources give with `setObjectName(\"...\")` and `objectName=\"...\"`, and the names the "
    "toolkit gives the widgets it builds inside its own (`qt_toolbar_ext_button`, "
    "`qt_scrollarea_viewport`, `qt_spinbox_lineedit`, the calendar's `qt_calendar_*`, ...) are "
    "always known. A name built at run time is in neither: silence those with a suppression "
    "comment. The fix offered is the clearly closest known name, a guess.",
    "QPushButton#saveButon { color: red; }",
    "QPushButton#saveButton { color: red; }",
    checkUnknownObjectNames,
    "\"forms\" names the application's Designer forms (globs); a folder walk adds the forms and "
    "sources it finds; without either the check finds nothing",
    "the name is changed to the clearly closest widget name the forms and code declare (unsafe: "
    "a guess)",
};
