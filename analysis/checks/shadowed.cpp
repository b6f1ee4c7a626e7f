// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "analysis/checks/checks.h"

#include "analysis/qssreference.h"

#include <QSet>

#include <algorithm>

// A declaration is shadowed where another rule sets the same property on the same
// widgets and wins there. The toolkit orders the rules that match a widget by
// specificity, then by position, and the last declaration of a property wins; so
// rule B hides rule A's declaration wherever both match when B has the higher
// specificity, or the same and comes later.
//
// "Both match" is decided only where it can be decided from the selectors alone,
// so that every report is true for any widget tree:
// - B covers A when B's last compound is implied by A's (same subcontrol, B's
//   class is A's class or a base of it, B's object names, attributes and states a
//   subset of A's) and B has no ancestor part. Then A's declaration never shows.
// - B hides a state of A when A names states that B does not and B names a class
//   and only adds attributes that A leaves open (QPushButton:checked against
//   QPushButton[variant="primary"]). Then A's declaration never shows on the
//   widgets B adds, whatever their state.
// Selectors with ancestors are only ever the hidden side, never the hiding one.

namespace {
struct Setter
{
    const SheetRule *rule;
    const SheetSelector *selector;
    const SheetDeclaration *declaration;
    int selectorText; // the same number for the same selector text
};

bool statesKnown(const SheetSelector &selector)
{
    for (const QString &state : selector.states + selector.negatedStates) {
        if (!QssReference::isKnownPseudoState(state))
            return false;
    }
    return true;
}

bool hidesStateOf(const QssReference::WidgetClasses &classes, const SheetSelector &b,
                  const SheetSelector &a)
{
    if (b.hasAncestors || b.subcontrol != a.subcontrol || a.states.isEmpty())
        return false;
    if (!b.element.isEmpty() && !classes.inherits(a.element, b.element))
        return false;
    for (const QString &state : b.states + b.negatedStates) {
        if (!a.states.contains(state) && !a.negatedStates.contains(state))
            return false;
    }
    if (b.states.size() >= a.states.size())
        return false;
    // Object names are left out: a selector of one named widget hides a class's
    // state only if that widget is of the class, which the selectors do not say.
    if (b.element.isEmpty() || !b.ids.isEmpty())
        return false;
    bool narrower = false;
    for (const auto &attribute : b.attributes) {
        for (const auto &own : a.attributes) {
            if (own.name == attribute.name)
                return false;
        }
        narrower = true;
    }
    return narrower;
}

QString bucket(const QString &property, const QString &subcontrol, const QString &element)
{
    return property + QLatin1Char('\n') + subcontrol + QLatin1Char('\n') + element;
}

QString lineOf(const SheetModel &context, int offset)
{
    int line = 0, column = 0;
    context.lineColumn(offset, &line, &column);
    return QString::number(line);
}

QString listed(const QStringList &items)
{
    if (items.size() <= 3)
        return items.join(QLatin1String(", "));
    return QStringList(items.mid(0, 3)).join(QLatin1String(", ")) +
           QStringLiteral(" and %1 more").arg(items.size() - 3);
}

void checkShadowing(const SheetModel &context, CheckReporter &report)
{
    // Who sets what: property and subcontrol first, so each declaration meets only
    // the few rules that could hide it.
    QHash<QString, QVector<Setter>> setters;
    QHash<QString, int> selectorTexts;
    for (const SheetRule &rule : qAsConst(context.rules)) {
        for (const SheetSelector &selector : rule.selectors) {
            if (selector.hasAncestors || !statesKnown(selector))
                continue;
            const int text = *selectorTexts.insert(
                selector.text, selectorTexts.value(selector.text, selectorTexts.size()));
            for (const SheetDeclaration &declaration : rule.declarations) {
                setters[bucket(declaration.property, selector.subcontrol, selector.element)].append(
                    {&rule, &selector, &declaration, text});
            }
        }
    }
    // Everything that may compete with a selector of this class, in rule order.
    QHash<QString, QVector<Setter>> competitors;
    const auto competitorsOf = [&](const QString &property,
                                   const SheetSelector &selector) -> const QVector<Setter> & {
        const QString key = bucket(property, selector.subcontrol, selector.element);
        auto it = competitors.find(key);
        if (it != competitors.end())
            return *it;
        QVector<Setter> merged;
        QStringList ancestry = context.classes.ancestry(selector.element);
        ancestry.append(QString());
        for (const QString &name : qAsConst(ancestry))
            merged += setters.value(bucket(property, selector.subcontrol, name));
        std::sort(merged.begin(), merged.end(),
                  [](const Setter &a, const Setter &b) { return a.rule->order < b.rule->order; });
        // Of the copies of one selector setting one value only the last can matter: it
        // wins wherever an earlier one does. Long sheets repeat themselves a lot.
        QVector<Setter> latest;
        QSet<QPair<int, QString>> seen;
        for (auto it = merged.crbegin(); it != merged.crend(); ++it) {
            const auto copy = qMakePair(it->selectorText, it->declaration->valueText);
            if (!seen.contains(copy)) {
                seen.insert(copy);
                latest.append(*it);
            }
        }
        std::reverse(latest.begin(), latest.end());
        return *competitors.insert(key, latest);
    };

    for (const SheetRule &rule : qAsConst(context.rules)) {
        for (int d = 0; d < rule.declarations.size(); ++d) {
            const SheetDeclaration &mine = rule.declarations.at(d);
            if (mine.important)
                continue;
            const int length = int(mine.property.size());
            bool repeated = false;
            for (int later = d + 1; later < rule.declarations.size(); ++later) {
                const SheetDeclaration &again = rule.declarations.at(later);
                if (again.property == mine.property) {
                    report.at(mine.offset, length,
                              QStringLiteral("%1 is set again in the same rule (line %2), "
                                             "so this one never takes effect")
                                  .arg(mine.property, lineOf(context, again.offset)));
                    report.relatedTo(again.offset, int(again.property.size()),
                                     QStringLiteral("set again here"));
                    repeated = true;
                    break;
                }
            }
            if (repeated)
                continue;

            int coveredSelectors = 0;
            QString coverer;
            const SheetDeclaration *winner = nullptr;
            // Per hidden selector: who hides it, as text and where they set it.
            QVector<QPair<const SheetSelector *, QVector<QPair<QString, const SheetDeclaration *>>>>
                hiddenStates;
            for (const SheetSelector &selector : rule.selectors) {
                if (!statesKnown(selector))
                    continue;
                // Only rules for the selector's class, its bases or any class compete.
                const QVector<Setter> &candidates = competitorsOf(mine.property, selector);
                const auto competes = [&](const Setter &other) {
                    return other.rule != &rule &&
                           selectorWins(*other.selector, other.rule->order, selector, rule.order) &&
                           other.declaration->valueText != mine.valueText;
                };
                // Latest first: in a long sheet the rule that covers is usually close.
                bool covered = false;
                for (auto it = candidates.crbegin(); it != candidates.crend(); ++it) {
                    if (competes(*it) && selectorCovers(context.classes, *it->selector, selector)) {
                        covered = true;
                        if (coverer.isEmpty()) {
                            coverer = QStringLiteral("\"%1\" (line %2)")
                                          .arg(it->selector->text,
                                               lineOf(context, it->declaration->offset));
                            winner = it->declaration;
                        }
                        break;
                    }
                }
                QVector<QPair<QString, const SheetDeclaration *>> hiders;
                QSet<int> judged;
                // Latest first again, so each hiding selector is judged by its last copy.
                for (auto it = candidates.crbegin(); !covered && it != candidates.crend(); ++it) {
                    const Setter &other = *it;
                    if (judged.contains(other.selectorText) || !competes(other) ||
                        !hidesStateOf(context.classes, *other.selector, selector))
                        continue;
                    judged.insert(other.selectorText);
                    // A later rule that gives these widgets their own look in a's
                    // state shows the author has seen to it.
                    SheetSelector merged = selector;
                    merged.ids += other.selector->ids;
                    merged.attributes += other.selector->attributes;
                    const bool restated =
                        std::any_of(candidates.cbegin(), candidates.cend(), [&](const Setter &c) {
                            return !c.selector->states.isEmpty() &&
                                   selectorWins(*c.selector, c.rule->order, *other.selector,
                                                other.rule->order) &&
                                   selectorCovers(context.classes, *c.selector, merged);
                        });
                    if (!restated) {
                        hiders.append(
                            qMakePair(QStringLiteral("%1 (line %2)")
                                          .arg(other.selector->text,
                                               lineOf(context, other.declaration->offset)),
                                      other.declaration));
                    }
                }
                std::reverse(hiders.begin(), hiders.end());
                if (covered)
                    ++coveredSelectors;
                else if (!hiders.isEmpty())
                    hiddenStates.append(qMakePair(&selector, hiders));
            }
            if (coveredSelectors == rule.selectors.size()) {
                report.at(mine.offset, length,
                          QStringLiteral("%1 never takes effect: %2 sets it on every widget "
                                         "this rule matches and wins there")
                              .arg(mine.property, coverer));
                if (winner) {
                    report.relatedTo(winner->offset, int(winner->property.size()),
                                     QStringLiteral("this declaration wins"));
                }
                continue;
            }
            // Selectors of the rule hidden by the same rules share one diagnostic.
            QVector<QPair<QStringList, QVector<QPair<QString, const SheetDeclaration *>>>> grouped;
            for (const auto &hidden : hiddenStates) {
                auto it = std::find_if(grouped.begin(), grouped.end(), [&hidden](const auto &g) {
                    return g.second == hidden.second;
                });
                const QString quoted = QLatin1Char('"') + hidden.first->text + QLatin1Char('"');
                if (it == grouped.end())
                    grouped.append(qMakePair(QStringList{quoted}, hidden.second));
                else
                    it->first.append(quoted);
            }
            for (const auto &group : grouped) {
                QStringList names;
                for (const auto &hider : group.second)
                    names.append(hider.first);
                report.at(
                    mine.offset, length,
                    QStringLiteral("%1 of %2 never shows on %3: they set it with "
                                   "equal or higher specificity and win in every "
                                   "state")
                        .arg(mine.property, group.first.join(QLatin1String(", ")), listed(names)));
                for (const auto &hider : group.second) {
                    report.relatedTo(hider.second->offset, int(hider.second->property.size()),
                                     QStringLiteral("%1 wins here").arg(hider.first));
                }
            }
        }
    }
}
} // namespace

const LintCheck kShadowedCheck = {
    "shadowed",
    LintSeverity::Warning,
    true,
    0,
    "a declaration that never shows because a rule of equal or higher specificity sets the "
    "same property on the same widgets in the same or a wider state",
    "Of two rules that set the same property on a widget, the toolkit takes the one of "
    "higher specificity, and of equal ones the later: a declaration that loses wherever its "
    "rule applies never shows, and editing it changes nothing. The finding names the "
    "declaration that wins. Remove the loser, or make its selector more specific (a state, "
    "an object name) where it is meant to win.",
    "QPushButton { color: red; }\nQPushButton { color: blue; }\n",
    "QPushButton { color: red; }\nQPushButton:hover { color: blue; }\n",
    checkShadowing,
};
