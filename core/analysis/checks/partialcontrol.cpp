// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "analysis/checks/checks.h"

#include <QMap>
#include <QSet>

#include <algorithm>
#include <vector>

namespace {
// Sub-controls that go together: once a sheet styles one of triggers, the style sheet
// style draws the control itself and no longer leaves its parts to the base style, so
// each of required that the sheet leaves alone is drawn in the plain fallback look.
struct ControlGroup
{
    const char *control; // the class, its subclasses included
    const char *triggers;
    const char *required;
    // A background or border on the control itself also starts the group.
    bool boxTriggers;
};

const ControlGroup kGroups[] = {
    {"QScrollBar", "handle add-line sub-line", "handle add-line sub-line", true},
    {"QComboBox", "drop-down down-arrow", "drop-down down-arrow", false},
    {"QAbstractSpinBox", "up-button down-button", "up-button down-button up-arrow down-arrow",
     false},
    {"QAbstractSpinBox", "up-arrow down-arrow", "up-arrow down-arrow", false},
    {"QSlider", "groove handle", "groove handle", false},
};

QStringList names(const char *list)
{
    return QString::fromLatin1(list).split(QLatin1Char(' '));
}

bool isBoxProperty(const QString &property)
{
    const QString name = property.toLower();
    return name.startsWith(QLatin1String("background")) || name.startsWith(QLatin1String("border"));
}

bool setsBox(const SheetRule &rule)
{
    return std::any_of(rule.declarations.cbegin(), rule.declarations.cend(),
                       [](const SheetDeclaration &entry) { return isBoxProperty(entry.property); });
}

// Where a control, as a type selector names it, starts a group, and the parts missing.
struct ControlParts
{
    const SheetSelector *firstTrigger = nullptr;
    int firstTriggerOrder = 0;
    QStringList missing;
};

// One group's findings while the rules are read: the controls the sheet names, each
// with every part styled for it, and the first selector that starts the group.
struct GroupScan
{
    const ControlGroup *group = nullptr;
    QString control;
    QStringList triggers;
    QStringList required;
    QMap<QString, QSet<QString>> styled;
    QMap<QString, QPair<const SheetSelector *, int>> trigger;
};

class PartialControlCheck
{
public:
    PartialControlCheck(const SheetModel &model, CheckReporter &report)
        : model(model)
        , report(report)
    {}

    void run()
    {
        std::vector<GroupScan> scans;
        for (const ControlGroup &group : kGroups) {
            scans.push_back({&group,
                             QString::fromLatin1(group.control),
                             names(group.triggers),
                             names(group.required),
                             {},
                             {}});
        }
        // One pass over the rules for every group; which groups a class belongs to is
        // asked once per class name, as long sheets name the same classes again and again.
        QHash<QString, QVector<int>> groupsOfClass;
        for (const SheetRule &rule : model.rules) {
            if (rule.declarations.isEmpty())
                continue;
            for (const SheetSelector &selector : rule.selectors) {
                auto groups = groupsOfClass.constFind(selector.element);
                if (groups == groupsOfClass.cend()) {
                    QVector<int> found;
                    for (int g = 0; g < int(scans.size()); ++g) {
                        if (model.classes.inherits(selector.element, scans.at(g).control))
                            found.append(g);
                    }
                    groups = groupsOfClass.insert(selector.element, found);
                }
                for (const int g : *groups)
                    note(scans[g], rule, selector);
            }
        }
        QMap<QString, ControlParts> controls; // sorted, so reports come in a stable order
        for (const GroupScan &scan : scans)
            collect(scan, controls);
        for (auto it = controls.cbegin(); it != controls.cend(); ++it) {
            if (it->firstTrigger && !it->missing.isEmpty())
                reportControl(it.key(), *it);
        }
    }

private:
    static void note(GroupScan &scan, const SheetRule &rule, const SheetSelector &selector)
    {
        const QString part = selector.subcontrol.toLower();
        scan.styled[selector.element].insert(part);
        const bool starts = part.isEmpty() ? scan.group->boxTriggers && setsBox(rule)
                                           : scan.triggers.contains(part);
        if (starts && !scan.trigger.contains(selector.element))
            scan.trigger.insert(selector.element, qMakePair(&selector, rule.order));
    }

    void collect(const GroupScan &scan, QMap<QString, ControlParts> &controls)
    {
        const auto &styled = scan.styled;
        const auto &trigger = scan.trigger;
        const QStringList &required = scan.required;
        for (auto it = trigger.cbegin(); it != trigger.cend(); ++it) {
            // A base's rule styles the part for its subclasses too.
            QSet<QString> parts;
            for (auto named = styled.cbegin(); named != styled.cend(); ++named) {
                if (model.classes.inherits(it.key(), named.key()))
                    parts.unite(named.value());
            }
            ControlParts &entry = controls[it.key()];
            if (!entry.firstTrigger || it->second < entry.firstTriggerOrder) {
                entry.firstTrigger = it->first;
                entry.firstTriggerOrder = it->second;
            }
            for (const QString &part : required) {
                if (!parts.contains(part) && !entry.missing.contains(part))
                    entry.missing.append(part);
            }
        }
    }

    void reportControl(const QString &control, const ControlParts &parts)
    {
        QStringList written;
        for (const QString &part : parts.missing)
            written.append(QStringLiteral("::") + part);
        const QString last = written.takeLast();
        const QString missing =
            written.isEmpty() ? last
                              : written.join(QLatin1String(", ")) + QStringLiteral(" and ") + last;
        const SheetSelector &selector = *parts.firstTrigger;
        report.at(
            selector.offset, int(selector.text.size()),
            QStringLiteral("%1 is styled in part: %2 %3 not styled, and the toolkit "
                           "draws %4 in the plain fallback look beside the styled parts")
                .arg(control, missing,
                     parts.missing.size() == 1 ? QStringLiteral("is") : QStringLiteral("are"),
                     parts.missing.size() == 1 ? QStringLiteral("it") : QStringLiteral("them")));
    }

    const SheetModel &model;
    CheckReporter &report;
};

void checkPartialControls(const SheetModel &model, CheckReporter &report)
{
    PartialControlCheck(model, report).run();
}
} // namespace

const LintCheck kPartialControlCheck = {
    "partial-control",
    LintSeverity::Warning,
    true,
    0,
    "a complex control (scroll bar, combo box, spin box, slider) styled in part: the parts "
    "that go with the styled one are left out",
    "Once a sheet styles one part of a complex control, the toolkit's style sheet style "
    "draws that control itself and stops handing its other parts to the base style. Parts "
    "the sheet leaves out are drawn in a plain fallback look: a scroll bar whose handle or "
    "background is styled needs its ::add-line and ::sub-line too (width or height 0 hides "
    "them), a combo box's ::drop-down goes with its ::down-arrow, a spin box's ::up-button "
    "with its ::down-button and both arrows, a slider's ::groove with its ::handle. Style "
    "every part of the group, on the control or on a class it derives from.",
    "QSlider::handle { background: #3daee9; width: 12px; }",
    "QSlider::groove { height: 4px; background: #c0c0c0; }\n"
    "QSlider::handle { background: #3daee9; width: 12px; margin: -4px 0; }",
    checkPartialControls,
};
