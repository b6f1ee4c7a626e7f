// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "analysis/checks/checks.h"
#include "analysis/qssreference.h"

#include <algorithm>

namespace {
// Properties the reference says a widget class reads of its own rule, never of a
// subcontrol's: on "::item" or "::handle" they set nothing. (Those that some
// subcontrols read, as icon-size, spacing or the selection colours, are left out.)
const char *const kWidgetOnlyProperties[] = {
    "opacity",
    "button-layout",
    "combobox-popup",
    "gridline-color",
    "lineedit-password-character",
    "lineedit-password-mask-delay",
    "messagebox-text-interaction-flags",
    "paint-alternating-row-colors-for-empty-area",
    "show-decoration-selected",
    "titlebar-show-tooltips-on-buttons",
};

bool isWidgetOnly(const QString &property)
{
    for (const char *name : kWidgetOnlyProperties) {
        if (property == QLatin1String(name))
            return true;
    }
    return false;
}

void checkIgnoredOnSubcontrols(const SheetModel &model, CheckReporter &report)
{
    for (const SheetRule &rule : model.rules) {
        // A rule with one selector for the widget itself uses the property there.
        const bool onlySubcontrols =
            !rule.selectors.isEmpty() && std::all_of(rule.selectors.cbegin(), rule.selectors.cend(),
                                                     [](const SheetSelector &selector) {
                                                         return !selector.subcontrol.isEmpty();
                                                     });
        if (!onlySubcontrols)
            continue;
        for (const SheetDeclaration &entry : rule.declarations) {
            const QString property = entry.property.toLower();
            if (!isWidgetOnly(property))
                continue;
            const QssReference::PropertyInfo *info = QssReference::property(property);
            report.at(entry.offset, int(entry.property.size()),
                      QStringLiteral("%1 is read of the widget's own rule (%2), not of a "
                                     "subcontrol's: here it sets nothing")
                          .arg(entry.property, info ? info->appliesTo : QString()));
        }
    }
}
} // namespace

const LintCheck kIgnoredOnSubcontrolCheck = {
    "ignored-on-subcontrol",
    LintSeverity::Warning,
    true,
    0,
    "a property the toolkit reads only of a widget's own rule, set on a subcontrol",
    "Some properties are read of the widget's own rule only, as the toolkit's reference "
    "states them: opacity of a tool tip, gridline-color of a table, the password character "
    "of a line edit. On a subcontrol (\"::item\", \"::handle\") they set nothing. Move the "
    "declaration to the widget's rule.",
    "QComboBox::drop-down { combobox-popup: 0; }",
    "QComboBox { combobox-popup: 0; }",
    checkIgnoredOnSubcontrols,
};
