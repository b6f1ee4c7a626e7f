// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "live/inspector/widgettree.h"

#include "widgetstyles/widgetstate.h"

#include <QApplication>
#include <QStyle>
#include <QVariant>
#include <QWidget>

namespace {

QString propertyText(const QVariant &value)
{
    if (value.userType() == QMetaType::QStringList || value.userType() == QMetaType::QVariantList)
        return value.toStringList().join(QLatin1Char(' '));
    return value.toString();
}

void describe(QWidget *widget, qint64 parent, const QStringList &propertyNames,
              QVector<WidgetNode> &nodes)
{
    WidgetNode node;
    node.id = widgetId(widget);
    node.parent = parent;
    for (const QMetaObject *meta = widget->metaObject(); meta; meta = meta->superClass())
        node.classes.append(QString::fromLatin1(meta->className()));
    node.objectName = widget->objectName();
    for (const QByteArray &name : widget->dynamicPropertyNames()) {
        if (!name.startsWith("_q_"))
            node.properties.insert(QString::fromLatin1(name), propertyText(widget->property(name)));
    }
    for (const QString &name : propertyNames) {
        const QByteArray latin = name.toLatin1();
        if (widget->metaObject()->indexOfProperty(latin.constData()) >= 0)
            node.properties.insert(name, propertyText(widget->property(latin.constData())));
    }
    node.states = pseudoStateNames(widgetPseudoState(widget));
    node.geometry = QRect(widget->mapToGlobal(QPoint(0, 0)), widget->size());
    node.visible = widget->isVisible();
    node.sheet = widget->styleSheet();
    nodes.append(node);
    for (QObject *child : widget->children()) {
        auto *childWidget = qobject_cast<QWidget *>(child);
        if (childWidget && !childWidget->isWindow())
            describe(childWidget, node.id, propertyNames, nodes);
    }
}

} // namespace

int WidgetTree::indexOf(qint64 id) const
{
    for (int i = 0; i < nodes.size(); ++i) {
        if (nodes.at(i).id == id)
            return i;
    }
    return -1;
}

int WidgetTree::indexNamed(const QString &name) const
{
    for (int i = 0; i < nodes.size(); ++i) {
        if (nodes.at(i).objectName == name)
            return i;
    }
    return -1;
}

WidgetTree describeWidgets(const QList<QWidget *> &windows, const QStringList &propertyNames)
{
    WidgetTree tree;
    tree.styleName = styleUnderSheet();
    for (QWidget *window : windows)
        describe(window, 0, propertyNames, tree.nodes);
    return tree;
}

qint64 widgetId(const QWidget *widget)
{
    // The address: unique while the widget lives, which is as long as a pick means it.
    return qint64(reinterpret_cast<quintptr>(widget));
}

QWidget *widgetOfId(const QList<QWidget *> &windows, qint64 id)
{
    for (QWidget *window : windows) {
        if (widgetId(window) == id)
            return window;
        const auto all = window->findChildren<QWidget *>();
        for (QWidget *widget : all) {
            if (widgetId(widget) == id)
                return widget;
        }
    }
    return nullptr;
}
