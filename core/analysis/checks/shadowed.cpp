// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "analysis/checks/checks.h"
#include "analysis/checks/names.h"

#include "analysis/qssreference.h"
#include "analysis/rulecascade.h"
#include "analysis/selectorindex.h"

#include <QSet>

#include <algorithm>
#include <deque>

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
bool statesKnown(const SheetSelector &selector)
{
    const auto known = [](const QString &state) { return QssReference::isKnownPseudoState(state); };
    return std::all_of(selector.states.cbegin(), selector.states.cend(), known) &&
           std::all_of(selector.negatedStates.cbegin(), selector.negatedStates.cend(), known);
}

bool hidesStateOf(const QssReference::WidgetClasses &classes, const SheetSelector &b,
                  const SheetSelector &a)
{
    if (b.hasAncestors || b.subcontrol != a.subcontrol || a.states.isEmpty())
        return false;
    if (!b.element.isEmpty() && !classes.inherits(a.element, b.element))
        return false;
    const auto namedByA = [&a](const QString &state) {
        return a.states.contains(state) || a.negatedStates.contains(state);
    };
    if (!std::all_of(b.states.cbegin(), b.states.cend(), namedByA) ||
        !std::all_of(b.negatedStates.cbegin(), b.negatedStates.cend(), namedByA))
        return false;
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

// Whether removing the earlier of two declarations of one property keeps what the
// toolkit paints. The later one replaces it in every property but the fonts' parts and
// qproperty-*, which keep the earlier value when they cannot read the later one (a
// font-size without a unit, a text for a number); there only an equal value is sure.
bool laterAlwaysWins(const SheetDeclaration &earlier, const SheetDeclaration &later)
{
    const QString name = later.property.toLower();
    const bool keepsEarlier =
        name.startsWith(QLatin1String("font")) || name.startsWith(QLatin1String("qproperty-"));
    return !keepsEarlier || earlier.valueText == later.valueText;
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

// Who hides a selector's state: the selector and the declaration it wins with. Told
// apart by what the report names, the selector's text and the declaration's place;
// the text is made only for the diagnostics listed.
struct Hider
{
    const SheetSelector *selector = nullptr;
    const SheetDeclaration *declaration = nullptr;
    bool operator==(const Hider &other) const
    {
        return declaration == other.declaration && selector->text == other.selector->text;
    }
};

class ShadowCheck
{
public:
    ShadowCheck(const SheetModel &model, CheckReporter &report)
        : model(model)
        , report(report)
    {}

    void run()
    {
        QVector<CompetitorsByProperty *> tables;
        for (const SheetRule &rule : qAsConst(model.rules)) {
            // A selector naming a state the toolkit does not know never matches.
            tables.clear();
            for (const SheetSelector &selector : rule.selectors)
                tables.append(statesKnown(selector) ? &tableOf(selector) : nullptr);
            for (int d = 0; d < rule.declarations.size(); ++d) {
                const SheetDeclaration &mine = rule.declarations.at(d);
                if (!mine.important && !setAgainInRule(rule, d))
                    checkDeclaration(rule, tables, mine);
            }
        }
    }

private:
    // The competitors of a selector's class and subcontrol, by property.
    using CompetitorsByProperty = QHash<QString, QVector<IndexedDeclaration>>;
    CompetitorsByProperty &tableOf(const SheetSelector &selector);
    const QVector<IndexedDeclaration> &competitorsOf(CompetitorsByProperty &table,
                                                     const QString &property,
                                                     const SheetSelector &selector);
    const QVector<IndexedDeclaration> &latestOf(const QString &property, const QString &subcontrol,
                                                const QString &className);
    bool setAgainInRule(const SheetRule &rule, int d);
    void checkDeclaration(const SheetRule &rule, const QVector<CompetitorsByProperty *> &tables,
                          const SheetDeclaration &mine);
    const IndexedDeclaration *coverer(const QVector<IndexedDeclaration> &candidates,
                                      const SheetRule &rule, const SheetDeclaration &mine,
                                      const SheetSelector &selector) const;
    QVector<Hider> hidersOf(const QVector<IndexedDeclaration> &candidates, const SheetRule &rule,
                            const SheetDeclaration &mine, const SheetSelector &selector) const;
    bool restated(const QVector<IndexedDeclaration> &candidates, const IndexedDeclaration &other,
                  const SheetSelector &selector) const;
    void reportHiddenStates(const SheetDeclaration &mine,
                            const QVector<QPair<const SheetSelector *, QVector<Hider>>> &hidden);

    // Whether other sets mine's property with another value and wins over a selector
    // of rule that weighs weight in the cascade.
    static bool competes(const IndexedDeclaration &other, const SheetRule &rule,
                         const SheetDeclaration &mine, int weight)
    {
        return other.rule != &rule && other.weight > weight &&
               other.declaration->valueText != mine.valueText;
    }
    QString where(const Hider &hider) const
    {
        return QStringLiteral("%1 (line %2)")
            .arg(hider.selector->text, lineOf(model, hider.declaration->offset));
    }

    const SheetModel &model;
    CheckReporter &report;
    // By subcontrol and class, then by property: each declaration meets only the few
    // rules that could hide it. A rule's selectors find their class's table once, and
    // each declaration looks up only its property.
    QHash<SelectorIndex::Bucket, CompetitorsByProperty *> tableOfClass;
    std::deque<CompetitorsByProperty> tablesMade; // stays where it is made
    QHash<SelectorIndex::Bucket, QVector<IndexedDeclaration>> latestByClass;
};

// Everything that may compete with a selector of this class, in rule order.
ShadowCheck::CompetitorsByProperty &ShadowCheck::tableOf(const SheetSelector &selector)
{
    const SelectorIndex::Bucket key{selector.subcontrol, selector.element, QString()};
    auto found = tableOfClass.constFind(key);
    if (found == tableOfClass.cend())
        found = tableOfClass.insert(key, &tablesMade.emplace_back());
    return **found;
}

const QVector<IndexedDeclaration> &ShadowCheck::competitorsOf(CompetitorsByProperty &table,
                                                              const QString &property,
                                                              const SheetSelector &selector)
{
    auto found = table.find(property);
    if (found != table.end())
        return *found;
    QVector<IndexedDeclaration> merged;
    for (const QString &name : model.classes.ancestry(selector.element) + QStringList(QString()))
        merged += latestOf(property, selector.subcontrol, name);
    std::stable_sort(merged.begin(), merged.end(),
                     [](const IndexedDeclaration &a, const IndexedDeclaration &b) {
                         return a.rule->order < b.rule->order;
                     });
    return *table.insert(property, merged);
}

// The candidates of one class (not its bases) with known states, in rule order. Of the
// copies of one selector setting one value only the last can matter: it wins wherever
// an earlier one does. A selector's text decides its class, so copies never stand in
// two classes' lists, and each class's list is made once, however many subclasses
// the sheet names.
const QVector<IndexedDeclaration> &
ShadowCheck::latestOf(const QString &property, const QString &subcontrol, const QString &className)
{
    const SelectorIndex::Bucket key{subcontrol, className, property};
    auto found = latestByClass.find(key);
    if (found != latestByClass.end())
        return *found;
    const QVector<IndexedDeclaration> all =
        model.selectorIndex().settingPropertyOf(property, subcontrol, className);
    QVector<IndexedDeclaration> latest;
    QSet<QPair<int, QString>> seen;
    for (auto it = all.crbegin(); it != all.crend(); ++it) {
        const auto copy = qMakePair(it->text, it->declaration->valueText);
        if (!seen.contains(copy) && statesKnown(*it->selector)) {
            seen.insert(copy);
            latest.append(*it);
        }
    }
    std::reverse(latest.begin(), latest.end());
    return *latestByClass.insert(key, latest);
}

bool ShadowCheck::setAgainInRule(const SheetRule &rule, int d)
{
    const SheetDeclaration &mine = rule.declarations.at(d);
    for (int later = d + 1; later < rule.declarations.size(); ++later) {
        const SheetDeclaration &again = rule.declarations.at(later);
        // "!important" goes last whatever its place in the rule.
        if (again.property == mine.property && (again.important || !mine.important)) {
            const bool shown = report.at(mine.offset, int(mine.property.size()), [&] {
                return QStringLiteral("%1 is set again in the same rule (line %2), "
                                      "so this one never takes effect")
                    .arg(mine.property, lineOf(model, again.offset));
            });
            report.relatedTo(again.offset, int(again.property.size()),
                             QStringLiteral("set again here"));
            if (shown && laterAlwaysWins(mine, again))
                report.mendByReplacing(mine.offset, declarationLength(model, mine), QString(),
                                       true);
            return true;
        }
    }
    return false;
}

void ShadowCheck::checkDeclaration(const SheetRule &rule,
                                   const QVector<CompetitorsByProperty *> &tables,
                                   const SheetDeclaration &mine)
{
    int coveredSelectors = 0;
    const IndexedDeclaration *firstCoverer = nullptr;
    QVector<QPair<const SheetSelector *, QVector<Hider>>> hiddenStates;
    for (int s = 0; s < rule.selectors.size(); ++s) {
        const SheetSelector &selector = rule.selectors.at(s);
        if (!tables.at(s))
            continue;
        // Only rules for the selector's class, its bases or any class compete.
        const QVector<IndexedDeclaration> &candidates =
            competitorsOf(*tables.at(s), mine.property, selector);
        if (const IndexedDeclaration *covering = coverer(candidates, rule, mine, selector)) {
            ++coveredSelectors;
            if (!firstCoverer)
                firstCoverer = covering;
            continue;
        }
        const QVector<Hider> hiders = hidersOf(candidates, rule, mine, selector);
        if (!hiders.isEmpty())
            hiddenStates.append(qMakePair(&selector, hiders));
    }
    if (coveredSelectors == rule.selectors.size()) {
        report.at(mine.offset, int(mine.property.size()), [&] {
            const QString covering =
                firstCoverer ? QLatin1Char('"') + firstCoverer->selector->text +
                                   QStringLiteral("\" (line %1)")
                                       .arg(lineOf(model, firstCoverer->declaration->offset))
                             : QString();
            return QStringLiteral("%1 never takes effect: %2 sets it on every widget "
                                  "this rule matches and wins there")
                .arg(mine.property, covering);
        });
        if (firstCoverer) {
            const SheetDeclaration *winner = firstCoverer->declaration;
            report.relatedTo(winner->offset, int(winner->property.size()),
                             QStringLiteral("this declaration wins"));
        }
        return;
    }
    reportHiddenStates(mine, hiddenStates);
}

// The latest rule that sets the property on every widget the selector matches and
// wins there; latest first, as in a long sheet the rule that covers is usually close.
const IndexedDeclaration *ShadowCheck::coverer(const QVector<IndexedDeclaration> &candidates,
                                               const SheetRule &rule, const SheetDeclaration &mine,
                                               const SheetSelector &selector) const
{
    const int weight = cascadeWeight(selector, rule.order);
    for (auto it = candidates.crbegin(); it != candidates.crend(); ++it) {
        if (competes(*it, rule, mine, weight) &&
            selectorCovers(model.classes, *it->selector, selector))
            return &*it;
    }
    return nullptr;
}

// The rules that hide the selector's state on the widgets they add, in sheet order.
QVector<Hider> ShadowCheck::hidersOf(const QVector<IndexedDeclaration> &candidates,
                                     const SheetRule &rule, const SheetDeclaration &mine,
                                     const SheetSelector &selector) const
{
    QVector<Hider> hiders;
    QSet<int> judged;
    const int weight = cascadeWeight(selector, rule.order);
    // Latest first again, so each hiding selector is judged by its last copy.
    for (auto it = candidates.crbegin(); it != candidates.crend(); ++it) {
        const IndexedDeclaration &other = *it;
        if (judged.contains(other.text) || !competes(other, rule, mine, weight) ||
            !hidesStateOf(model.classes, *other.selector, selector))
            continue;
        judged.insert(other.text);
        if (!restated(candidates, other, selector))
            hiders.append({other.selector, other.declaration});
    }
    std::reverse(hiders.begin(), hiders.end());
    return hiders;
}

// A later rule that gives the widgets other adds their own look in the selector's
// state shows the author has seen to it.
bool ShadowCheck::restated(const QVector<IndexedDeclaration> &candidates,
                           const IndexedDeclaration &other, const SheetSelector &selector) const
{
    SheetSelector merged = selector;
    merged.ids += other.selector->ids;
    merged.attributes += other.selector->attributes;
    return std::any_of(candidates.cbegin(), candidates.cend(), [&](const IndexedDeclaration &c) {
        return !c.selector->states.isEmpty() && c.weight > other.weight &&
               selectorCovers(model.classes, *c.selector, merged);
    });
}

// Selectors of the rule hidden by the same rules share one diagnostic.
void ShadowCheck::reportHiddenStates(
    const SheetDeclaration &mine,
    const QVector<QPair<const SheetSelector *, QVector<Hider>>> &hidden)
{
    QVector<QPair<QStringList, QVector<Hider>>> grouped;
    for (const auto &entry : hidden) {
        auto it = std::find_if(grouped.begin(), grouped.end(),
                               [&entry](const auto &g) { return g.second == entry.second; });
        const QString quoted = QLatin1Char('"') + entry.first->text + QLatin1Char('"');
        if (it == grouped.end())
            grouped.append(qMakePair(QStringList{quoted}, entry.second));
        else
            it->first.append(quoted);
    }
    for (const auto &group : grouped) {
        QStringList names;
        const bool shown = report.at(mine.offset, int(mine.property.size()), [&] {
            for (const Hider &hider : group.second)
                names.append(where(hider));
            return QStringLiteral("%1 of %2 never shows on %3: they set it with "
                                  "equal or higher specificity and win in every "
                                  "state")
                .arg(mine.property, group.first.join(QLatin1String(", ")), listed(names));
        });
        for (int h = 0; shown && h < group.second.size(); ++h) {
            const SheetDeclaration *winner = group.second.at(h).declaration;
            report.relatedTo(winner->offset, int(winner->property.size()),
                             QStringLiteral("%1 wins here").arg(names.at(h)));
        }
    }
}

void checkShadowing(const SheetModel &model, CheckReporter &report)
{
    ShadowCheck(model, report).run();
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
