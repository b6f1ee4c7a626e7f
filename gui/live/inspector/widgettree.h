// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include <QMap>
#include <QRect>
#include <QString>
#include <QStringList>
#include <QVector>

class QWidget;

// An application's widgets as another process sees them: what the rule matcher and
// the Rules view ask of a widget, written down by the application (the attach plugin
// or the Python agent) and read by prismark-live's own tools.
struct WidgetNode
{
    qint64 id = 0;       // the application's, unique while the widget lives; never 0
    qint64 parent = 0;   // 0 for a window
    QStringList classes; // the class, then its meta-object superclasses, nearest first
    QString objectName;
    // Dynamic properties, and the declared ones asked for, as the matcher reads them.
    QMap<QString, QString> properties;
    QStringList states; // pseudo-state names ("enabled", "hover", ...)
    QRect geometry;     // in global coordinates
    bool visible = false;
    QString sheet; // set on the widget itself by the application
};

struct WidgetTree
{
    // The class of the style the application's sheet is drawn over.
    QString styleName;
    // Parents before their children.
    QVector<WidgetNode> nodes;

    int indexOf(qint64 id) const;
    // The first node whose object name is name, or -1.
    int indexNamed(const QString &name) const;
};

// The tree of this process's shown windows but those left out, as the attach plugin
// sends it; properties asked for by name besides the dynamic ones.
WidgetTree describeWidgets(const QList<QWidget *> &windows, const QStringList &propertyNames);
// The id describeWidgets gives widget, and the widget of an id it gave, or null.
qint64 widgetId(const QWidget *widget);
QWidget *widgetOfId(const QList<QWidget *> &windows, qint64 id);
