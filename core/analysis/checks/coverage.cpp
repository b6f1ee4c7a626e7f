// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "analysis/checks/checks.h"

#include "analysis/qssreference.h"
#include "theme/semanticvariants.h"
#include "theme/shellobjectnames.h"

// What the sheet leaves unstyled in this program's gallery: the variant values of
// the classes the gallery marks, the states it shows, the shell's object names.

namespace {
const char *const kFocusClasses[] = {
    "QLineEdit", "QComboBox", "QSpinBox", "QDateTimeEdit", "QTextEdit", "QPlainTextEdit",
};
const char *const kCheckedClasses[] = {"QPushButton", "QCheckBox", "QRadioButton"};
const char *const kDisabledClasses[] = {
    "QPushButton", "QToolButton",   "QCheckBox", "QRadioButton",   "QLineEdit", "QComboBox",
    "QSpinBox",    "QDateTimeEdit", "QTextEdit", "QPlainTextEdit", "QSlider",   "QProgressBar",
};

// The first selector that names the class itself (not a base) with these states,
// any subcontrol and attributes allowed.
const SheetSelector *findSelector(const SheetModel &context, const QString &className,
                                  const QString &state, const SheetRule **where = nullptr)
{
    for (const SheetRule &rule : context.rules) {
        for (const SheetSelector &selector : rule.selectors) {
            if (selector.element != className)
                continue;
            if (state.isEmpty() ? !selector.states.isEmpty() : !selector.states.contains(state))
                continue;
            if (where)
                *where = &rule;
            return &selector;
        }
    }
    return nullptr;
}

bool stylesVariant(const SheetModel &context, const QString &className, const QString &key)
{
    for (const SheetRule &rule : context.rules) {
        for (const SheetSelector &selector : rule.selectors) {
            if (!context.classes.inherits(className, selector.element))
                continue;
            for (const auto &attribute : selector.attributes) {
                if (attribute.name != QLatin1String(kVariantProperty))
                    continue;
                if (attribute.anyValue || attribute.value == key)
                    return true;
            }
        }
    }
    return false;
}

void checkCoverage(const SheetModel &context, CheckReporter &report)
{
    // A sheet read from another file has no rules here to judge.
    if (context.isReference)
        return;
    const auto note = [&report](const SheetSelector *near, const QString &message) {
        if (near)
            report.at(near->offset, int(near->text.size()), message);
        else
            report.atLine(1, 1, message);
    };

    for (const char *name : kVariantClassNames) {
        const QString className = QLatin1String(name);
        QStringList missing;
        for (const SemanticVariant &variant : kSemanticVariants) {
            if (!stylesVariant(context, className, QLatin1String(variant.key)))
                missing.append(QStringLiteral("\"%1\"").arg(QLatin1String(variant.key)));
        }
        if (!missing.isEmpty()) {
            note(findSelector(context, className, QString()),
                 QStringLiteral("no rule styles %1 with %2 %3: the gallery shows them")
                     .arg(className, QLatin1String(kVariantProperty),
                          missing.join(QLatin1String(", "))));
        }
    }

    const auto stateNote = [&](const char *const *classes, int count, const char *state) {
        for (int i = 0; i < count; ++i) {
            const QString className = QLatin1String(classes[i]);
            const SheetSelector *base = findSelector(context, className, QString());
            if (base && !findSelector(context, className, QLatin1String(state))) {
                note(base, QStringLiteral("%1 is styled but not %1:%2")
                               .arg(className, QLatin1String(state)));
            }
        }
    };
    stateNote(kDisabledClasses, int(std::size(kDisabledClasses)), "disabled");
    stateNote(kFocusClasses, int(std::size(kFocusClasses)), "focus");
    stateNote(kCheckedClasses, int(std::size(kCheckedClasses)), "checked");

    const QLatin1String shellNames[] = {
        ShellObjectNames::windowFrame, ShellObjectNames::titleBar, ShellObjectNames::titleLabel,
        ShellObjectNames::windowButton, ShellObjectNames::closeButton};
    for (const QLatin1String &name : shellNames) {
        bool styled = false;
        for (const SheetRule &rule : qAsConst(context.rules)) {
            for (const SheetSelector &selector : rule.selectors)
                styled = styled || selector.ids.contains(name);
        }
        if (!styled) {
            note(nullptr, QStringLiteral("no rule styles the window shell's #%1: it keeps the "
                                         "look of its class")
                              .arg(name));
        }
    }
}
} // namespace

const LintCheck kCoverageCheck = {
    "coverage",
    LintSeverity::Note,
    false,
    CheckFlag::NeedsGallery,
    "variant values, `:disabled`, `:focus`, `:checked` and the window shell's object names "
    "the sheet leaves unstyled in the gallery (also with `--gallery`)",
    "A theme for this program's gallery is complete when every variant value the gallery "
    "marks, the disabled, focus and checked states of the widgets it shows, and the window "
    "shell's object names have a rule; what has none keeps the toolkit's look beside the "
    "theme's. Off unless asked for, as it judges a sheet against this program's gallery, "
    "not an application.",
    "QPushButton { color: red; }",
    "QPushButton[variant], QCheckBox[variant], QRadioButton[variant], QSlider[variant],\n"
    "QProgressBar[variant], QTextEdit[variant], QLineEdit[variant] { font-weight: bold; }\n"
    "QPushButton:disabled, QPushButton:checked, QCheckBox:disabled, QCheckBox:checked,\n"
    "QRadioButton:disabled, QRadioButton:checked, QSlider:disabled, QProgressBar:disabled,\n"
    "QTextEdit:disabled, QTextEdit:focus, QLineEdit:disabled, QLineEdit:focus { color: grey; }\n"
    "#windowFrame, #appTitleBar, #appTitleLabel, #appWindowButton, #appCloseButton\n"
    "{ border: none; }\n",
    checkCoverage,
    "`--gallery` also turns it on",
    nullptr,
};
