// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "live/inspector/ruleinspector.h"

#include "analysis/rulematcher.h"
#include "analysis/sheetmodel.h"
#include "widgetstyles/widgetstate.h"

#include <QVariant>

namespace {

QString selectorClassName(const QObject *object)
{
    return QString::fromLatin1(object->metaObject()->className())
        .replace(QLatin1Char(':'), QLatin1Char('-'));
}

QString named(const QObject *object)
{
    const QString name = selectorClassName(object);
    return object->objectName().isEmpty() ? name : name + QLatin1Char('#') + object->objectName();
}

QString propertyText(const QVariant &value)
{
    if (value.userType() == QMetaType::QStringList || value.userType() == QMetaType::QVariantList)
        return value.toStringList().join(QLatin1Char(' '));
    return value.toString();
}

QString selectorClassName(const QString &className)
{
    return QString(className).replace(QLatin1Char(':'), QLatin1Char('-'));
}

QString named(const WidgetNode &node)
{
    const QString name = selectorClassName(node.classes.value(0));
    return node.objectName.isEmpty() ? name : name + QLatin1Char('#') + node.objectName;
}

// A described widget, as the matcher reads one.
class DescribedWidget : public MatchNode
{
public:
    DescribedWidget(const WidgetNode *node = nullptr)
        : node(node)
    {}

    QStringList typeNames() const override
    {
        QStringList names;
        for (const QString &name : node->classes)
            names.append(selectorClassName(name));
        return names;
    }
    QString objectName() const override { return node->objectName; }
    QString propertyText(const QString &name) const override
    {
        return node->properties.value(name);
    }
    const MatchNode *parentNode() const override { return parent; }

    const WidgetNode *node;
    const DescribedWidget *parent = nullptr;
};

// Every node of the tree, each pointing at its parent's.
QVector<DescribedWidget> describedWidgets(const WidgetTree &tree)
{
    QVector<DescribedWidget> all;
    all.reserve(tree.nodes.size());
    for (const WidgetNode &node : tree.nodes)
        all.append(DescribedWidget(&node));
    for (DescribedWidget &widget : all) {
        const int parent = tree.indexOf(widget.node->parent);
        if (widget.node->parent != 0 && parent >= 0)
            widget.parent = &all.at(parent);
    }
    return all;
}

quint64 stateOfNames(const QStringList &names)
{
    quint64 state = 0;
    for (int bit = 0; bit < 64; ++bit) {
        const QStringList named = pseudoStateNames(quint64(1) << bit);
        if (!named.isEmpty() && names.contains(named.constFirst()))
            state |= quint64(1) << bit;
    }
    return state;
}

} // namespace

RuleInspector::RuleInspector()
    : sheetModel(std::make_unique<SheetModel>(QByteArray(), QString()))
    , matcher(std::make_unique<RuleMatcher>(*sheetModel))
{}

RuleInspector::~RuleInspector() = default;

void RuleInspector::setSheet(const QString &text, const QString &path, const QString &styleName)
{
    if (text != sheetText || path != sheetPath || !sheetModel) {
        // The matcher refers to the model, so it goes first.
        matcher.reset();
        sheetModel = std::make_unique<SheetModel>(text.toUtf8(), path);
        matcher = std::make_unique<RuleMatcher>(*sheetModel);
        sheetText = text;
        sheetPath = path;
        attributeNames = testedAttributeNames(*sheetModel);
    }
    matcher->setStyleName(styleName);
}

bool RuleInspector::isValid() const
{
    return matcher->isValid();
}

QString RuleInspector::problem() const
{
    return matcher->problem();
}

WidgetIdentity RuleInspector::identify(QWidget *widget) const
{
    WidgetIdentity identity;
    identity.className = selectorClassName(widget);
    for (const QMetaObject *base = widget->metaObject()->superClass(); base;
         base = base->superClass())
        identity.baseClasses.append(
            QString::fromLatin1(base->className()).replace(QLatin1Char(':'), QLatin1Char('-')));
    identity.objectName = widget->objectName();
    for (const QObject *object = widget; object; object = object->parent()) {
        if (object != widget)
            identity.ancestors.prepend(named(object));
        const QString sheet = object->property("styleSheet").toString().simplified();
        if (!sheet.isEmpty()) {
            identity.ownStyleSheet = true;
            identity.ownSheets.append(named(object) + QStringLiteral(": ") + sheet);
        }
    }
    QStringList names;
    for (const QByteArray &name : widget->dynamicPropertyNames()) {
        if (!name.startsWith("_q_"))
            names.append(QString::fromLatin1(name));
    }
    for (const QString &name : attributeNames) {
        if (!names.contains(name) &&
            widget->metaObject()->indexOfProperty(name.toLatin1().constData()) >= 0)
            names.append(name);
    }
    for (const QString &name : qAsConst(names))
        identity.attributes.append(
            QStringLiteral("%1=\"%2\"")
                .arg(name, propertyText(widget->property(name.toLatin1().constData()))));
    identity.state = widgetPseudoState(widget);
    return identity;
}

RuleInspection RuleInspector::inspect(QWidget *widget) const
{
    RuleInspection inspection;
    if (!widget)
        return inspection;
    inspection.widget = widget;
    inspection.identity = identify(widget);
    inspection.entries =
        cascadeMatches(*sheetModel, matcher->matches(widget), inspection.identity.state);
    return inspection;
}

QVector<QWidget *> RuleInspector::widgetsMatching(int rule, const QList<QWidget *> &widgets) const
{
    QVector<QWidget *> matching;
    for (QWidget *widget : widgets) {
        if (styledWidget(widget) == widget && matcher->matchesRule(widget, rule))
            matching.append(widget);
    }
    return matching;
}

int RuleInspector::ruleAt(int line, int column) const
{
    int found = -1;
    for (int i = 0; i < sheetModel->rules.size(); ++i) {
        int ruleLine = 0, ruleColumn = 0;
        sheetModel->lineColumn(sheetModel->rules.at(i).offset, &ruleLine, &ruleColumn);
        if (ruleLine > line || (ruleLine == line && ruleColumn > column))
            break;
        found = i;
    }
    return found;
}

RuleInspection RuleInspector::inspect(const WidgetTree &tree, int index) const
{
    RuleInspection inspection;
    if (index < 0 || index >= tree.nodes.size())
        return inspection;
    const QVector<DescribedWidget> all = describedWidgets(tree);
    const WidgetNode &node = tree.nodes.at(index);
    WidgetIdentity &identity = inspection.identity;
    identity.className = selectorClassName(node.classes.value(0));
    for (int i = 1; i < node.classes.size(); ++i)
        identity.baseClasses.append(selectorClassName(node.classes.at(i)));
    identity.objectName = node.objectName;
    for (const DescribedWidget *up = &all.at(index); up;
         up = static_cast<const DescribedWidget *>(up->parent)) {
        if (up != &all.at(index))
            identity.ancestors.prepend(named(*up->node));
        const QString sheet = up->node->sheet.simplified();
        if (!sheet.isEmpty()) {
            identity.ownStyleSheet = true;
            identity.ownSheets.append(named(*up->node) + QStringLiteral(": ") + sheet);
        }
    }
    for (auto it = node.properties.cbegin(); it != node.properties.cend(); ++it)
        identity.attributes.append(QStringLiteral("%1=\"%2\"").arg(it.key(), it.value()));
    identity.state = stateOfNames(node.states);
    inspection.entries =
        cascadeMatches(*sheetModel, matcher->matches(&all.at(index)), identity.state);
    return inspection;
}

QVector<qint64> RuleInspector::nodesMatching(int rule, const WidgetTree &tree) const
{
    QVector<qint64> matching;
    const QVector<DescribedWidget> all = describedWidgets(tree);
    for (const DescribedWidget &widget : all) {
        if (matcher->matchesRule(&widget, rule))
            matching.append(widget.node->id);
    }
    return matching;
}

int RuleInspector::ruleLine(int rule) const
{
    int line = 0;
    int column = 0;
    sheetModel->lineColumn(sheetModel->rules.at(rule).offset, &line, &column);
    return line;
}

QString RuleInspector::ruleSelectors(int rule) const
{
    QStringList selectors;
    for (const SheetSelector &selector : sheetModel->rules.at(rule).selectors)
        selectors.append(selector.text);
    return selectors.join(QStringLiteral(", "));
}
