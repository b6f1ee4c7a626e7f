// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include <QObject>
#include <QPoint>

class WidgetOutline;
class QWidget;

// Lets the author choose a widget of one window with the mouse: the widget under
// the pointer is outlined, a click chooses it, Esc or a click outside the window
// cancels. The click that chooses never reaches the widget, and disabled widgets
// can be chosen like any other.
class WidgetPicker : public QObject
{
    Q_OBJECT
public:
    WidgetPicker(QWidget *window, WidgetOutline *outline, QObject *parent = nullptr);

    void start();
    void cancel();
    bool isPicking() const { return picking; }

    // The widget a pick at a global position chooses: the one the toolkit styles
    // there (the list, not its viewport), or null outside the window.
    QWidget *widgetAt(const QPoint &globalPosition) const;

signals:
    void picked(QWidget *widget);
    void cancelled();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void finish();

    QWidget *window;
    WidgetOutline *outline;
    bool picking = false;
};
