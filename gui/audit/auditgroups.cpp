// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "audit/auditgroups.h"

#include <QHash>
#include <QSet>

#include <algorithm>

namespace {

// The text report lists no more measures than this per group; JSON has them all.
constexpr int kMeasuresShown = 3;

QString place(const RulePlace &place)
{
    return QStringLiteral("%1:%2:%3").arg(place.sheetFile).arg(place.line).arg(place.column);
}

QString criterionAndSeverity(const AuditGroupEntry &entry)
{
    return entry.severity.isEmpty() ? entry.criterion
                                    : entry.criterion + QLatin1Char(' ') + entry.severity;
}

bool isAdvice(const AuditGroupEntry &entry)
{
    return entry.severity == QLatin1String("advice");
}

} // namespace

QString auditGroupKey(const AuditGroupEntry &entry)
{
    QString where = entry.place.rule.isEmpty()
                        ? entry.theme + QStringLiteral(": no rule")
                        : QStringLiteral("%1 \"%2\"").arg(place(entry.place), entry.place.rule);
    where += QLatin1Char(' ') + entry.ruleId;
    return entry.severity.isEmpty() ? where : where + QLatin1Char(' ') + entry.severity;
}

QVector<AuditGroup> auditGroups(const QVector<AuditGroupEntry> &entries)
{
    QVector<AuditGroup> groups;
    QHash<QString, int> byKey;
    for (int index = 0; index < entries.size(); ++index) {
        const QString key = auditGroupKey(entries[index]);
        auto found = byKey.constFind(key);
        if (found == byKey.cend()) {
            found = byKey.insert(key, int(groups.size()));
            groups.append(AuditGroup{key, {}});
        }
        groups[found.value()].members.append(index);
    }
    std::stable_sort(groups.begin(), groups.end(),
                     [&entries](const AuditGroup &left, const AuditGroup &right) {
                         const bool leftAdvice = isAdvice(entries[left.members.first()]);
                         const bool rightAdvice = isAdvice(entries[right.members.first()]);
                         if (leftAdvice != rightAdvice)
                             return rightAdvice;
                         return left.members.size() > right.members.size();
                     });
    return groups;
}

QString auditGroupRule(const AuditGroupEntry &entry)
{
    if (entry.place.rule.isEmpty())
        return entry.theme + QStringLiteral(": palette / no rule");
    return QStringLiteral("%1 \"%2\"").arg(place(entry.place), entry.place.rule);
}

int auditGroupWidgetCount(const QVector<AuditGroupEntry> &entries, const AuditGroup &group)
{
    QSet<QString> widgets;
    for (int index : group.members) {
        const AuditGroupEntry &entry = entries[index];
        widgets.insert(entry.theme + QLatin1Char('/') + entry.tab + QLatin1Char('/') +
                       entry.object);
    }
    return int(widgets.size());
}

QString auditGroupHeading(const QVector<AuditGroupEntry> &entries, const AuditGroup &group)
{
    const AuditGroupEntry &first = entries[group.members.first()];
    const int widgets = auditGroupWidgetCount(entries, group);
    return QStringLiteral("%1: %2, %3 %4 on %5 %6")
        .arg(auditGroupRule(first), criterionAndSeverity(first))
        .arg(group.members.size())
        .arg(group.members.size() == 1 ? QStringLiteral("finding") : QStringLiteral("findings"))
        .arg(widgets)
        .arg(widgets == 1 ? QStringLiteral("widget") : QStringLiteral("widgets"));
}

QString auditGroupWidgets(const QVector<AuditGroupEntry> &entries, const AuditGroup &group)
{
    // Tab by tab, each widget with its states; widgets side by side in a tab that
    // share their states name them once.
    struct Widget
    {
        QString object;
        QStringList states;
    };
    QVector<QPair<QString, QVector<Widget>>> tabs;
    for (int index : group.members) {
        const AuditGroupEntry &entry = entries[index];
        const QString tab = entry.theme + QLatin1Char('/') + entry.tab;
        auto tabIt = std::find_if(tabs.begin(), tabs.end(),
                                  [&tab](const auto &pair) { return pair.first == tab; });
        if (tabIt == tabs.end())
            tabIt = tabs.insert(tabs.end(), {tab, {}});
        auto &widgets = tabIt->second;
        auto widgetIt = std::find_if(widgets.begin(), widgets.end(), [&entry](const Widget &w) {
            return w.object == entry.object;
        });
        if (widgetIt == widgets.end())
            widgetIt = widgets.insert(widgets.end(), Widget{entry.object, {}});
        if (!widgetIt->states.contains(entry.state))
            widgetIt->states.append(entry.state);
    }
    QStringList parts;
    for (const auto &[tab, widgets] : qAsConst(tabs)) {
        QStringList runs;
        QStringList names;
        for (int index = 0; index < widgets.size(); ++index) {
            names << widgets[index].object;
            if (index + 1 == widgets.size() || widgets[index + 1].states != widgets[index].states) {
                runs << names.join(QStringLiteral(", ")) + QStringLiteral(" (") +
                            widgets[index].states.join(QStringLiteral(", ")) + QLatin1Char(')');
                names.clear();
            }
        }
        parts << tab + QStringLiteral(": ") + runs.join(QStringLiteral(", "));
    }
    return parts.join(QStringLiteral("; "));
}

QStringList auditGroupMeasures(const QVector<AuditGroupEntry> &entries, const AuditGroup &group)
{
    QStringList measures;
    QVector<int> counts;
    for (int index : group.members) {
        const int at = int(measures.indexOf(entries[index].measured));
        if (at >= 0) {
            ++counts[at];
            continue;
        }
        measures << entries[index].measured;
        counts << 1;
    }
    for (int index = 0; index < measures.size(); ++index)
        if (counts[index] > 1)
            measures[index] += QStringLiteral(" (×%1)").arg(counts[index]);
    return measures;
}

QString auditGroupFix(const AuditGroupEntry &entry)
{
    const RulePlace &rule = entry.place;
    if (rule.rule.isEmpty())
        return QStringLiteral("no rule of a sheet is known to paint this (the palette or the "
                              "base style does, or the theme was audited without --sheet): "
                              "%1")
            .arg(entry.advice);
    if (entry.stateLook && !rule.namesState && entry.state != QLatin1String("normal"))
        return QStringLiteral("after %1: no rule names :%2; add one for what \"%3\" selects "
                              "and %4")
            .arg(place(rule), entry.state, rule.rule, entry.advice);
    return QStringLiteral("at %1, in \"%2\": %3").arg(place(rule), rule.rule, entry.advice);
}

QString auditGroupText(const QVector<AuditGroupEntry> &entries, const AuditGroup &group)
{
    const AuditGroupEntry &first = entries[group.members.first()];
    QString text = auditGroupHeading(entries, group) + QLatin1Char('\n');
    text += QStringLiteral("  widgets: ") + auditGroupWidgets(entries, group) + QLatin1Char('\n');
    const QStringList measures = auditGroupMeasures(entries, group);
    for (int index = 0; index < std::min(int(measures.size()), kMeasuresShown); ++index)
        text += QStringLiteral("  measured: ") + measures[index] + QLatin1Char('\n');
    if (measures.size() > kMeasuresShown)
        text += QStringLiteral("  measured: %1 more; --format json gives each finding\n")
                    .arg(measures.size() - kMeasuresShown);
    return text + QStringLiteral("  fix: ") + auditGroupFix(first) + QLatin1Char('\n');
}
