// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include <QList>
#include <QObject>
#include <QPoint>

class WidgetOutline;
class QWidget;

// Lets the author choose a widget of one window with the mouse (or, made without
// one, of any window of the application but those left out): the widget under the
// pointer is outlined, a click chooses it, Esc or a click outside the window
// cancels. The click that chooses never reaches the widget, and disabled widgets
// can be chosen like any other.
class WidgetPicker : public QObject
{
    Q_OBJECT
public:
    WidgetPicker(QWidget *window, WidgetOutline *outline, QObject *parent = nullptr);

    // Windows never picked in (the tools' own), when there is no one window.
    void setLeftOut(const QList<QWidget *> &windows) { leftOut = windows; }

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
    QWidget *windowAt(const QPoint &globalPosition) const;
    // The widget a click delivered to a native window chooses: in that window, even
    // where another lies over it (windows all at one place, offscreen).
    QWidget *widgetIn(const QObject *nativeWindow, const QPoint &globalPosition) const;
    bool isPickedIn(const QObject *nativeWindow) const;

    QWidget *window;
    QList<QWidget *> leftOut;
    WidgetOutline *outline;
    bool picking = false;
};
