#include "lint/lintcontext.h"

#include "lint/qssreference.h"

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
    const LintRule *rule;
    const LintSelector *selector;
    const LintDeclaration *declaration;
};

bool statesKnown(const LintSelector &selector)
{
    for (const QString &state : selector.states + selector.negatedStates) {
        if (!QssReference::isKnownPseudoState(state))
            return false;
    }
    return true;
}

bool hidesStateOf(const LintSelector &b, const LintSelector &a)
{
    if (b.hasAncestors || b.subcontrol != a.subcontrol || a.states.isEmpty())
        return false;
    if (!b.element.isEmpty() && !QssReference::inheritsWidget(a.element, b.element))
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

// True when c restates part of a's state for the widgets b adds, so the author
// has already given those widgets their own look in that state.
bool restatesStateFor(const Setter &c, const Setter &b, const LintSelector &a)
{
    if (c.selector->states.isEmpty())
        return false;
    LintSelector merged = a;
    merged.ids += b.selector->ids;
    merged.attributes += b.selector->attributes;
    return selectorCovers(*c.selector, merged) &&
           selectorWins(*c.selector, c.rule->order, *b.selector, b.rule->order);
}

QString lineOf(const LintContext &context, int offset)
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
} // namespace

void checkShadowing(LintContext &context)
{
    const QString check = QStringLiteral("shadowed");
    // Who sets what: property and subcontrol first, so each declaration meets only
    // the few rules that could hide it.
    QHash<QString, QVector<Setter>> setters;
    for (const LintRule &rule : qAsConst(context.rules)) {
        for (const LintSelector &selector : rule.selectors) {
            if (selector.hasAncestors || !statesKnown(selector))
                continue;
            for (const LintDeclaration &declaration : rule.declarations) {
                setters[declaration.property + QLatin1Char('\n') + selector.subcontrol].append(
                    {&rule, &selector, &declaration});
            }
        }
    }

    for (const LintRule &rule : qAsConst(context.rules)) {
        for (int d = 0; d < rule.declarations.size(); ++d) {
            const LintDeclaration &mine = rule.declarations.at(d);
            if (mine.declaration.d->important)
                continue;
            bool repeated = false;
            for (int later = d + 1; later < rule.declarations.size(); ++later) {
                if (rule.declarations.at(later).property == mine.property) {
                    context.report(mine.offset, LintSeverity::Warning, check,
                                   QStringLiteral("%1 is set again in the same rule (line %2), "
                                                  "so this one never takes effect")
                                       .arg(mine.property,
                                            lineOf(context, rule.declarations.at(later).offset)));
                    repeated = true;
                    break;
                }
            }
            if (repeated)
                continue;

            int coveredSelectors = 0;
            QString coverer;
            QVector<QPair<const LintSelector *, QStringList>> hiddenStates;
            for (const LintSelector &selector : rule.selectors) {
                if (!statesKnown(selector))
                    continue;
                const auto &candidates =
                    setters.value(mine.property + QLatin1Char('\n') + selector.subcontrol);
                bool covered = false;
                QStringList hiders;
                QSet<QString> hiderTexts;
                for (const Setter &other : candidates) {
                    if (other.rule == &rule ||
                        !selectorWins(*other.selector, other.rule->order, selector, rule.order) ||
                        other.declaration->valueText == mine.valueText)
                        continue;
                    if (selectorCovers(*other.selector, selector)) {
                        covered = true;
                        if (coverer.isEmpty())
                            coverer = QStringLiteral("\"%1\" (line %2)")
                                          .arg(other.selector->text,
                                               lineOf(context, other.declaration->offset));
                        break;
                    }
                    if (hidesStateOf(*other.selector, selector) &&
                        !hiderTexts.contains(other.selector->text) &&
                        std::none_of(candidates.cbegin(), candidates.cend(), [&](const Setter &c) {
                            return restatesStateFor(c, other, selector);
                        })) {
                        hiderTexts.insert(other.selector->text);
                        hiders.append(QStringLiteral("%1 (line %2)")
                                          .arg(other.selector->text,
                                               lineOf(context, other.declaration->offset)));
                    }
                }
                if (covered)
                    ++coveredSelectors;
                else if (!hiders.isEmpty())
                    hiddenStates.append(qMakePair(&selector, hiders));
            }
            if (coveredSelectors == rule.selectors.size()) {
                context.report(mine.offset, LintSeverity::Warning, check,
                               QStringLiteral("%1 never takes effect: %2 sets it on every widget "
                                              "this rule matches and wins there")
                                   .arg(mine.property, coverer));
                continue;
            }
            // Selectors of the rule hidden by the same rules share one diagnostic.
            QVector<QPair<QStringList, QStringList>> grouped;
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
                context.report(mine.offset, LintSeverity::Warning, check,
                               QStringLiteral("%1 of %2 never shows on %3: they set it with "
                                              "equal or higher specificity and win in every "
                                              "state")
                                   .arg(mine.property, group.first.join(QLatin1String(", ")),
                                        listed(group.second)));
            }
        }
    }
}
