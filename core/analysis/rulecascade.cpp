// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "analysis/rulecascade.h"

#include "analysis/pseudostates.h"
#include "analysis/toolkitsheet.h"

#include <QStringList>

#include <algorithm>

using namespace QCss;

namespace {

struct StateSet
{
    quint64 required = 0;
    quint64 negated = 0;
};

StateSet statesOf(const Selector &selector)
{
    StateSet set;
    set.required = selector.pseudoClass(&set.negated);
    // A selector without pseudo-states takes part in every state.
    if (set.required == PseudoClass_Unspecified)
        set.required = 0;
    return set;
}

// b takes part wherever a does: it asks for nothing a does not ask for.
bool takesPartWherever(const StateSet &b, const StateSet &a)
{
    return (b.required & ~a.required) == 0 && (b.negated & ~a.negated) == 0;
}

const Selector &selectorOf(const SheetModel &model, const RuleMatch &match)
{
    return *model.rules.at(match.rule).selectors.at(match.selector).toolkit;
}

} // namespace

// Widget states are handed to the toolkit's selector as they are.
static_assert(
    PseudoState::Enabled == PseudoClass_Enabled && PseudoState::Disabled == PseudoClass_Disabled &&
    PseudoState::Pressed == PseudoClass_Pressed && PseudoState::Focus == PseudoClass_Focus &&
    PseudoState::Hover == PseudoClass_Hover && PseudoState::Checked == PseudoClass_Checked &&
    PseudoState::Unchecked == PseudoClass_Unchecked &&
    PseudoState::Indeterminate == PseudoClass_Indeterminate &&
    PseudoState::Horizontal == PseudoClass_Horizontal &&
    PseudoState::Vertical == PseudoClass_Vertical && PseudoState::Window == PseudoClass_Window &&
    PseudoState::Default == PseudoClass_Default && PseudoState::Flat == PseudoClass_Flat &&
    PseudoState::Frameless == PseudoClass_Frameless &&
    PseudoState::ReadOnly == PseudoClass_ReadOnly && PseudoState::Active == PseudoClass_Active &&
    PseudoState::On == PseudoClass_On && PseudoState::Off == PseudoClass_Off &&
    PseudoState::Editable == PseudoClass_Editable && PseudoState::Closed == PseudoClass_Closed &&
    PseudoState::Open == PseudoClass_Open && PseudoState::Selected == PseudoClass_Selected);

bool selectorAppliesIn(const SheetSelector &sheetSelector, quint64 state)
{
    const Selector &selector = *sheetSelector.toolkit;
    const StateSet set = statesOf(selector);
    return (set.required & state) == set.required && (set.negated & state) == 0;
}

bool propertyOverrides(const QString &high, const QString &low)
{
    if (high == low)
        return true;
    static const QStringList sides{QStringLiteral("top"), QStringLiteral("right"),
                                   QStringLiteral("bottom"), QStringLiteral("left")};
    static const QStringList aspects{QStringLiteral("color"), QStringLiteral("style"),
                                     QStringLiteral("width")};
    // border-color over border-top-color: the side stands between the words.
    for (const QString &aspect : aspects) {
        if (high == QLatin1String("border-") + aspect) {
            for (const QString &side : sides) {
                if (low == QStringLiteral("border-%1-%2").arg(side, aspect))
                    return true;
            }
            return false;
        }
    }
    if (!low.startsWith(high + QLatin1Char('-')))
        return false;
    const QString part = low.mid(high.size() + 1);
    // The radius and the image are not part of the border shorthand.
    if (high == QLatin1String("border"))
        return !part.endsWith(QLatin1String("radius")) && !part.startsWith(QLatin1String("image"));
    if (high == QLatin1String("background"))
        return part == QLatin1String("color") || part == QLatin1String("image") ||
               part == QLatin1String("repeat") || part == QLatin1String("position") ||
               part == QLatin1String("attachment");
    if (high == QLatin1String("font"))
        return part == QLatin1String("family") || part == QLatin1String("size") ||
               part == QLatin1String("style") || part == QLatin1String("weight");
    if (high == QLatin1String("margin") || high == QLatin1String("padding"))
        return sides.contains(part);
    // border-top over border-top-color.
    if (high.startsWith(QLatin1String("border-")) && sides.contains(high.mid(7)))
        return aspects.contains(part);
    return false;
}

QVector<CascadeEntry> cascadeMatches(const SheetModel &model, const QVector<RuleMatch> &matches,
                                     quint64 state)
{
    QVector<CascadeEntry> entries;
    entries.reserve(matches.size());
    QVector<StateSet> states;
    for (const RuleMatch &match : matches) {
        CascadeEntry entry;
        entry.match = match;
        const Selector &selector = selectorOf(model, match);
        entry.subcontrol = selector.pseudoElement().toLower();
        entry.appliesNow =
            selectorAppliesIn(model.rules.at(match.rule).selectors.at(match.selector), state);
        entries.append(entry);
        states.append(statesOf(selector));
    }

    for (int i = 0; i < entries.size(); ++i) {
        CascadeEntry &entry = entries[i];
        const QVector<SheetDeclaration> &own = model.rules.at(entry.match.rule).declarations;
        for (int d = 0; d < own.size(); ++d) {
            CascadeDeclaration declaration;
            declaration.index = d;
            const QString &property = own.at(d).property;
            // A higher rule first: it wins over everything in this one.
            for (int j = 0; j < i && !declaration.overridden; ++j) {
                const CascadeEntry &higher = entries.at(j);
                if (higher.match.rule == entry.match.rule || higher.subcontrol != entry.subcontrol)
                    continue;
                if (!takesPartWherever(states.at(j), states.at(i)) &&
                    !(higher.appliesNow && entry.appliesNow))
                    continue;
                const QVector<SheetDeclaration> &theirs =
                    model.rules.at(higher.match.rule).declarations;
                for (int k = theirs.size() - 1; k >= 0; --k) {
                    if (propertyOverrides(theirs.at(k).property, property)) {
                        declaration.overridden = true;
                        declaration.winnerRule = higher.match.rule;
                        declaration.winnerDeclaration = k;
                        break;
                    }
                }
            }
            for (int k = own.size() - 1; k > d && !declaration.overridden; --k) {
                if (propertyOverrides(own.at(k).property, property)) {
                    declaration.overridden = true;
                    declaration.winnerRule = entry.match.rule;
                    declaration.winnerDeclaration = k;
                }
            }
            entry.declarations.append(declaration);
        }
    }
    return entries;
}

const SheetDeclaration *winningDeclaration(const SheetModel &model,
                                           const QVector<CascadeEntry> &entries,
                                           const QString &subcontrol, const QString &property)
{
    for (const CascadeEntry &entry : entries) {
        if (!entry.appliesNow || entry.subcontrol != subcontrol)
            continue;
        const QVector<SheetDeclaration> &own = model.rules.at(entry.match.rule).declarations;
        for (int d = own.size() - 1; d >= 0; --d) {
            if (propertyOverrides(own.at(d).property, property))
                return &own.at(d);
        }
    }
    return nullptr;
}

bool selectorCovers(const QssReference::WidgetClasses &classes, const SheetSelector &b,
                    const SheetSelector &a)
{
    // Only the last compound is compared, so b must not depend on ancestors.
    if (b.hasAncestors || b.subcontrol != a.subcontrol)
        return false;
    if (!b.element.isEmpty() && b.element != a.element && !classes.inherits(a.element, b.element))
        return false;
    for (const QString &id : b.ids) {
        if (!a.ids.contains(id))
            return false;
    }
    for (const auto &attribute : b.attributes) {
        const bool implied = std::any_of(
            a.attributes.cbegin(), a.attributes.cend(), [&attribute](const SheetAttribute &other) {
                if (other.name != attribute.name)
                    return false;
                if (attribute.anyValue)
                    return true;
                return other.match == attribute.match && other.value == attribute.value;
            });
        if (!implied)
            return false;
    }
    for (const QString &state : b.states) {
        if (!a.states.contains(state))
            return false;
    }
    for (const QString &state : b.negatedStates) {
        if (!a.negatedStates.contains(state))
            return false;
    }
    return true;
}

int cascadeWeight(const SheetSelector &selector, int order)
{
    // The toolkit's own weight: a rule's position plus its specificity times 256, so
    // in a sheet of more than 256 rules position bleeds into specificity.
    return order + selector.specificity * 0x100;
}

bool selectorWins(const SheetSelector &b, int bOrder, const SheetSelector &a, int aOrder)
{
    return cascadeWeight(b, bOrder) > cascadeWeight(a, aOrder);
}
