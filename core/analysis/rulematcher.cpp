// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "analysis/rulematcher.h"

#include "analysis/toolkitsheet.h"

#include <QMetaProperty>
#include <QObject>
#include <QVariant>

#include <algorithm>

using namespace QCss;

namespace {

bool sameBasicSelector(const BasicSelector &a, const BasicSelector &b)
{
    if (a.elementName != b.elementName || a.ids != b.ids || a.relationToNext != b.relationToNext ||
        a.pseudos.size() != b.pseudos.size() ||
        a.attributeSelectors.size() != b.attributeSelectors.size())
        return false;
    for (int i = 0; i < a.pseudos.size(); ++i) {
        const Pseudo &p = a.pseudos.at(i);
        const Pseudo &q = b.pseudos.at(i);
        if (p.name != q.name || p.negated != q.negated || p.function != q.function)
            return false;
    }
    for (int i = 0; i < a.attributeSelectors.size(); ++i) {
        const AttributeSelector &p = a.attributeSelectors.at(i);
        const AttributeSelector &q = b.attributeSelectors.at(i);
        if (p.name != q.name || p.value != q.value ||
            p.valueMatchCriterium != q.valueMatchCriterium)
            return false;
    }
    return true;
}

bool sameSelector(const Selector &a, const Selector &b)
{
    if (a.basicSelectors.size() != b.basicSelectors.size())
        return false;
    for (int i = 0; i < a.basicSelectors.size(); ++i) {
        if (!sameBasicSelector(a.basicSelectors.at(i), b.basicSelectors.at(i)))
            return false;
    }
    return true;
}

const QObject *objectOf(StyleSelector::NodePtr node)
{
    return static_cast<const QObject *>(node.ptr);
}

// A tool tip is drawn by the toolkit's private label class, which the style sheet
// style presents as QToolTip and hangs below the widget it explains.
bool isToolTipLabel(const QObject *object)
{
    return qstrcmp(object->metaObject()->className(), "QTipLabel") == 0;
}

const QObject *styleParent(const QObject *object)
{
    if (isToolTipLabel(object)) {
        if (auto *explained = qvariant_cast<QObject *>(object->property("_q_stylesheet_parent")))
            return explained;
    }
    return object->parent();
}

} // namespace

// The node adapter of the toolkit's style sheet style, over any object tree.
class RuleMatcher::ObjectTreeSelector : public StyleSelector
{
public:
    QStringList nodeNames(NodePtr node) const override
    {
        if (isNullNode(node))
            return QStringList();
        return RuleMatcher::typeNames(objectOf(node));
    }

    bool nodeNameEquals(NodePtr node, const QString &name) const override
    {
        return !isNullNode(node) && nodeNames(node).contains(name);
    }

#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
    QString attributeValue(NodePtr node, const AttributeSelector &attribute) const override
    {
        if (isNullNode(node))
            return QString();
        const QObject *object = objectOf(node);
        const QByteArray name = attribute.name.toLatin1();
        // Declared properties are read through their meta-property, so an enum
        // compares by its key, or by its number when the selector gives a number.
        QVariant value;
        const int index = object->metaObject()->indexOfProperty(name.constData());
        if (index >= 0) {
            const QMetaProperty property = object->metaObject()->property(index);
            value = property.read(object);
            bool isNumber = false;
            attribute.value.toInt(&isNumber);
            if (property.isEnumType() && isNumber)
                value.convert(QMetaType::fromType<int>());
        } else {
            value = object->property(name.constData());
        }
        return valueText(object, attribute.name, value);
    }
#else
    QString attribute(NodePtr node, const QString &name) const override
    {
        if (isNullNode(node))
            return QString();
        // An enum compares by its number.
        const QObject *object = objectOf(node);
        return valueText(object, name, object->property(name.toLatin1().constData()));
    }
#endif

    bool hasAttributes(NodePtr) const override
    {
        return true;
    }

    QStringList nodeIds(NodePtr node) const override
    {
        return isNullNode(node) ? QStringList() : QStringList(objectOf(node)->objectName());
    }

    bool isNullNode(NodePtr node) const override
    {
        return node.ptr == nullptr;
    }

    NodePtr parentNode(NodePtr node) const override
    {
        ++ancestorSteps;
        NodePtr parent;
        parent.ptr =
            isNullNode(node) ? nullptr : const_cast<QObject *>(styleParent(objectOf(node)));
        return parent;
    }

    NodePtr previousSiblingNode(NodePtr) const override
    {
        NodePtr none;
        none.ptr = nullptr;
        return none;
    }

    NodePtr duplicateNode(NodePtr node) const override
    {
        return node;
    }
    void freeNode(NodePtr) const override {}

    // What [style="..."] compares with: the class of the style the sheet is drawn over.
    QString styleName;
    // Steps up the tree since last reset, for the cost of a descendant selector.
    mutable int ancestorSteps = 0;

private:
    QString valueText(const QObject *object, const QString &name, const QVariant &value) const
    {
        if (!value.isValid()) {
            if (name == QLatin1String("class"))
                return QString::fromLatin1(object->metaObject()->className())
                    .replace(QLatin1Char(':'), QLatin1Char('-'));
            if (name == QLatin1String("style") && object->isWidgetType())
                return styleName;
            return QString();
        }
        if (value.userType() == QMetaType::QStringList ||
            value.userType() == QMetaType::QVariantList)
            return value.toStringList().join(QLatin1Char(' '));
        return value.toString();
    }
};

// The same adapter over described objects.
class RuleMatcher::DescribedTreeSelector : public StyleSelector
{
public:
    QStringList nodeNames(NodePtr node) const override
    {
        return isNullNode(node) ? QStringList() : nodeOf(node)->typeNames();
    }

    bool nodeNameEquals(NodePtr node, const QString &name) const override
    {
        return nodeNames(node).contains(name);
    }

#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
    QString attributeValue(NodePtr node, const AttributeSelector &attribute) const override
    {
        return valueText(node, attribute.name);
    }
#else
    QString attribute(NodePtr node, const QString &name) const override
    {
        return valueText(node, name);
    }
#endif

    bool hasAttributes(NodePtr) const override
    {
        return true;
    }

    QStringList nodeIds(NodePtr node) const override
    {
        return isNullNode(node) ? QStringList() : QStringList(nodeOf(node)->objectName());
    }

    bool isNullNode(NodePtr node) const override
    {
        return node.ptr == nullptr;
    }

    NodePtr parentNode(NodePtr node) const override
    {
        NodePtr parent;
        parent.ptr =
            isNullNode(node) ? nullptr : const_cast<MatchNode *>(nodeOf(node)->parentNode());
        return parent;
    }

    NodePtr previousSiblingNode(NodePtr) const override
    {
        NodePtr none;
        none.ptr = nullptr;
        return none;
    }

    NodePtr duplicateNode(NodePtr node) const override
    {
        return node;
    }
    void freeNode(NodePtr) const override {}

    QString styleName;

private:
    static const MatchNode *nodeOf(NodePtr node)
    {
        return static_cast<const MatchNode *>(node.ptr);
    }

    QString valueText(NodePtr node, const QString &name) const
    {
        if (isNullNode(node))
            return QString();
        const QString value = nodeOf(node)->propertyText(name);
        if (!value.isNull())
            return value;
        if (name == QLatin1String("class"))
            return nodeOf(node)->typeNames().value(0);
        if (name == QLatin1String("style"))
            return styleName;
        return QString();
    }
};

RuleMatcher::RuleMatcher(const SheetModel &model)
    : sheetModel(model)
    , selector(std::make_unique<ObjectTreeSelector>())
    , single(std::make_unique<ObjectTreeSelector>())
    , described(std::make_unique<DescribedTreeSelector>())
{
    if (model.isReference) {
        why = QStringLiteral("the sheet only names the file %1 to read").arg(model.reference.name);
        return;
    }
    // The sheet exactly as the toolkit reads an application style sheet.
    StyleSheet sheet;
    Parser parser(model.text, false);
    if (!parser.parse(&sheet)) {
        why = QStringLiteral("the toolkit rejects the sheet");
        return;
    }
    sheet.origin = StyleSheetOrigin_Inline;
    sheet.depth = 1;

    // Every rule the toolkit keeps must be the model's rule at the same position,
    // with the same selectors and declarations, or positions would be wrong.
    QVector<StyleRule> kept = sheet.styleRules;
    for (const StyleRule &rule : qAsConst(sheet.nameIndex))
        kept.append(rule);
    for (const StyleRule &rule : qAsConst(sheet.idIndex))
        kept.append(rule);
    for (const StyleRule &rule : qAsConst(kept)) {
        const bool lined =
            rule.order >= 0 && rule.order < model.rules.size() &&
            model.rules.at(rule.order).declarations.size() == rule.declarations.size();
        bool selectorsFound = lined;
        for (int i = 0; selectorsFound && i < rule.selectors.size(); ++i) {
            StyleRule one = rule;
            one.selectors = {rule.selectors.at(i)};
            selectorsFound = selectorIndex(one) >= 0;
        }
        if (!selectorsFound) {
            why = QStringLiteral("the toolkit's rule %1 is not the analysis's").arg(rule.order + 1);
            return;
        }
    }
    selector->styleSheets.append(sheet);
    described->styleSheets.append(sheet);
    StyleSheet alone;
    alone.origin = StyleSheetOrigin_Inline;
    alone.depth = 1;
    single->styleSheets.append(alone);
    valid = true;
}

RuleMatcher::~RuleMatcher() = default;

void RuleMatcher::setStyleName(const QString &name)
{
    selector->styleName = name;
    single->styleName = name;
    described->styleName = name;
}

QStringList RuleMatcher::typeNames(const QObject *object)
{
    if (isToolTipLabel(object))
        return QStringList(QStringLiteral("QToolTip"));
    QStringList names;
    for (const QMetaObject *metaObject = object->metaObject(); metaObject;
         metaObject = metaObject->superClass())
        names += QString::fromLatin1(metaObject->className())
                     .replace(QLatin1Char(':'), QLatin1Char('-'));
    return names;
}

RuleMatcher::Trial RuleMatcher::trySelector(const QObject *object, int rule, int selector) const
{
    Trial trial;
    if (!valid || !object)
        return trial;
    // Unindexed, so that the toolkit tries it whatever the object is; the caller
    // decides which objects the toolkit's own index would try it on.
    StyleRule one;
    one.selectors = {*sheetModel.rules.at(rule).selectors.at(selector).toolkit};
    single->styleSheets.first().styleRules = {one};
    single->ancestorSteps = 0;
    StyleSelector::NodePtr node;
    node.ptr = const_cast<QObject *>(object);
    trial.matched = !single->styleRulesForNode(node).isEmpty();
    trial.ancestorSteps = single->ancestorSteps;
    return trial;
}

int RuleMatcher::selectorIndex(const StyleRule &matched) const
{
    const QVector<SheetSelector> &written = sheetModel.rules.at(matched.order).selectors;
    for (int i = 0; i < written.size(); ++i) {
        if (sameSelector(*written.at(i).toolkit, matched.selectors.constFirst()))
            return i;
    }
    return -1;
}

template <typename Rules> QVector<RuleMatch> RuleMatcher::matchesOf(const Rules &rules) const
{
    QVector<RuleMatch> found;
    // Lowest weight first, as the toolkit applies them.
    found.reserve(int(rules.size()));
    for (auto it = rules.crbegin(); it != rules.crend(); ++it) {
        RuleMatch match;
        match.rule = it->order;
        match.selector = selectorIndex(*it);
        match.weight = uint(it->order) + uint(it->selectors.constFirst().specificity()) * 0x100;
        found.append(match);
    }
    return found;
}

QVector<RuleMatch> RuleMatcher::matches(const QObject *object) const
{
    if (!valid || !object)
        return {};
    StyleSelector::NodePtr node;
    node.ptr = const_cast<QObject *>(object);
    return matchesOf(selector->styleRulesForNode(node));
}

QVector<RuleMatch> RuleMatcher::matches(const MatchNode *described) const
{
    if (!valid || !described)
        return {};
    StyleSelector::NodePtr node;
    node.ptr = const_cast<MatchNode *>(described);
    return matchesOf(this->described->styleRulesForNode(node));
}

bool RuleMatcher::matchesRule(const MatchNode *node, int rule) const
{
    const QVector<RuleMatch> all = matches(node);
    return std::any_of(all.cbegin(), all.cend(),
                       [rule](const RuleMatch &match) { return match.rule == rule; });
}

bool RuleMatcher::matchesRule(const QObject *object, int rule) const
{
    const QVector<RuleMatch> all = matches(object);
    return std::any_of(all.cbegin(), all.cend(),
                       [rule](const RuleMatch &match) { return match.rule == rule; });
}
