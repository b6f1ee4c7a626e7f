// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "analysis/matchwork.h"

#include "analysis/rulematcher.h"
#include "analysis/toolkitsheet.h"
#include "support/sheetlexer.h"

#include <QObject>

using namespace QCss;

ToolkitIndex toolkitIndexOf(const SheetSelector &selector)
{
    if (!selector.ids.isEmpty())
        return ToolkitIndex::ObjectName;
    if (!selector.element.isEmpty())
        return ToolkitIndex::TypeName;
    return ToolkitIndex::Unindexed;
}

QString rightmostCompoundText(const SheetSelector &selector)
{
    // The last blank or combinator outside brackets, strings and comments starts the
    // compound.
    const QStringView text(selector.text);
    int start = 0;
    int depth = 0;
    for (SheetLexer lexer(text); !lexer.atEnd();) {
        const SheetSpan span = lexer.next();
        if (span.kind == SheetSpanKind::Whitespace && depth == 0) {
            start = span.end();
        } else if (span.kind == SheetSpanKind::Punctuation) {
            const QChar c = text.at(span.start);
            if (c == QLatin1Char('[') || c == QLatin1Char('('))
                ++depth;
            else if (c == QLatin1Char(']') || c == QLatin1Char(')'))
                depth = qMax(0, depth - 1);
            else if (c == QLatin1Char('>') && depth == 0)
                start = span.end();
        }
    }
    return selector.text.mid(start);
}

QString toolkitIndexKey(const SheetSelector &selector)
{
    switch (toolkitIndexOf(selector)) {
    case ToolkitIndex::ObjectName:
        return QLatin1Char('#') + selector.ids.constFirst();
    case ToolkitIndex::TypeName:
        return selector.element;
    case ToolkitIndex::Unindexed:
        break;
    }
    return rightmostCompoundText(selector);
}

bool propertyForcesRelayout(const QString &property)
{
    static const QStringList prefixes{QStringLiteral("font"), QStringLiteral("padding"),
                                      QStringLiteral("margin"), QStringLiteral("min-"),
                                      QStringLiteral("max-")};
    for (const QString &prefix : prefixes) {
        if (property.startsWith(prefix))
            return true;
    }
    if (property == QLatin1String("spacing") || property == QLatin1String("width") ||
        property == QLatin1String("height") || property == QLatin1String("icon-size"))
        return true;
    // border, border-width, border-left, border-left-width: a width changes the
    // contents rectangle; colours and styles alone do not.
    if (!property.startsWith(QLatin1String("border")))
        return false;
    return property == QLatin1String("border") || property.endsWith(QLatin1String("-width")) ||
           property == QLatin1String("border-top") || property == QLatin1String("border-right") ||
           property == QLatin1String("border-bottom") || property == QLatin1String("border-left");
}

bool propertySetsQProperty(const QString &property)
{
    return property.startsWith(QLatin1String("qproperty-"));
}

bool selectorFollowsHoverOrFocus(const SheetSelector &selector)
{
    if (!selector.toolkit)
        return false;
    for (const BasicSelector &compound : selector.toolkit->basicSelectors) {
        for (const Pseudo &pseudo : compound.pseudos) {
            if (pseudo.type & (PseudoClass_Hover | PseudoClass_Focus))
                return true;
        }
    }
    return false;
}

namespace {

int ancestorCount(const QObject *object)
{
    int count = 0;
    for (const QObject *parent = object->parent(); parent; parent = parent->parent())
        ++count;
    return count;
}

bool triedOn(const SheetSelector &selector, const QObject *object, const QStringList &typeNames)
{
    switch (toolkitIndexOf(selector)) {
    case ToolkitIndex::ObjectName:
        return object->objectName() == selector.ids.constFirst();
    case ToolkitIndex::TypeName:
        return typeNames.contains(selector.element);
    case ToolkitIndex::Unindexed:
        break;
    }
    return true;
}

RuleWork describedRule(const SheetModel &model, int index)
{
    RuleWork work;
    work.rule = index;
    const SheetRule &rule = model.rules.at(index);
    for (const SheetSelector &selector : rule.selectors) {
        work.unindexed = work.unindexed || toolkitIndexOf(selector) == ToolkitIndex::Unindexed;
        work.descendant = work.descendant || selector.hasAncestors;
    }
    for (const SheetDeclaration &declaration : rule.declarations) {
        work.relayout = work.relayout || propertyForcesRelayout(declaration.property);
        work.qproperty = work.qproperty || propertySetsQProperty(declaration.property);
    }
    return work;
}

} // namespace

MatchWork countMatchWork(const SheetModel &model, const QVector<const QObject *> &objects,
                         const QString &styleName)
{
    MatchWork result;
    result.objects = objects.size();
    for (int i = 0; i < model.rules.size(); ++i)
        result.rules.append(describedRule(model, i));
    RuleMatcher matcher(model);
    if (!matcher.isValid())
        return result;
    matcher.setStyleName(styleName);
    for (const QObject *object : objects) {
        result.deepestTree = qMax(result.deepestTree, ancestorCount(object));
        const QStringList typeNames = RuleMatcher::typeNames(object);
        for (int r = 0; r < model.rules.size(); ++r) {
            RuleWork &work = result.rules[r];
            const QVector<SheetSelector> &selectors = model.rules.at(r).selectors;
            bool matched = false;
            bool restyled = false;
            for (int s = 0; s < selectors.size(); ++s) {
                if (!triedOn(selectors.at(s), object, typeNames))
                    continue;
                ++work.tries;
                const RuleMatcher::Trial trial = matcher.trySelector(object, r, s);
                work.ancestorSteps += trial.ancestorSteps;
                if (trial.matched) {
                    matched = true;
                    restyled = restyled || selectorFollowsHoverOrFocus(selectors.at(s));
                }
            }
            work.matches += matched ? 1 : 0;
            work.stateRestyles += restyled ? 1 : 0;
        }
    }
    return result;
}
