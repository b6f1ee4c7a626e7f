// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "livekit/inspector/widgetpicker.h"

#include "support/pointerposition.h"

#include "livekit/inspector/widgetoutline.h"
#include "widgetstyles/widgetstate.h"

#include <QApplication>
#include <QCursor>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWidget>
#include <QWindow>

WidgetPicker::WidgetPicker(QWidget *window, WidgetOutline *outline, QObject *parent)
    : QObject(parent)
    , window(window)
    , outline(outline)
{}

void WidgetPicker::start()
{
    if (picking)
        return;
    picking = true;
    // The application sees every event first, those for the window's native window
    // included: mouse moves arrive there whether or not a widget tracks the mouse.
    qApp->installEventFilter(this);
    QApplication::setOverrideCursor(Qt::CrossCursor);
    if (QWidget *under = widgetAt(QCursor::pos()))
        outline->outline({under});
}

void WidgetPicker::cancel()
{
    if (!picking)
        return;
    finish();
    outline->clear();
    emit cancelled();
}

void WidgetPicker::finish()
{
    picking = false;
    qApp->removeEventFilter(this);
    QApplication::restoreOverrideCursor();
}

QWidget *WidgetPicker::widgetAt(const QPoint &globalPosition) const
{
    if (!window->isVisible())
        return nullptr;
    const QPoint local = window->mapFromGlobal(globalPosition);
    if (!window->rect().contains(local))
        return nullptr;
    QWidget *under = window->childAt(local);
    return styledWidget(under ? under : window);
}

bool WidgetPicker::eventFilter(QObject *watched, QEvent *event)
{
    if (!picking)
        return false;
    switch (event->type()) {
    case QEvent::KeyPress:
        if (static_cast<QKeyEvent *>(event)->key() == Qt::Key_Escape) {
            cancel();
            return true;
        }
        break;
    case QEvent::MouseMove:
        if (qobject_cast<QWindow *>(watched)) {
            QWidget *under = widgetAt(globalPoint(static_cast<QMouseEvent *>(event)));
            outline->outline({under});
        }
        break;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: {
        if (!qobject_cast<QWindow *>(watched))
            break;
        QWidget *chosen = watched == window->windowHandle()
                              ? widgetAt(globalPoint(static_cast<QMouseEvent *>(event)))
                              : nullptr;
        if (!chosen) {
            // A click elsewhere (the diagnostics window, say) goes where it was meant.
            cancel();
            return false;
        }
        finish();
        outline->outline({chosen});
        emit picked(chosen);
        return true;
    }
    case QEvent::MouseButtonRelease:
        // The release of the choosing click would otherwise reach the widget alone.
        return qobject_cast<QWindow *>(watched) == window->windowHandle();
    default:
        break;
    }
    return false;
}
