// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "live/inspector/widgetpicker.h"

#include "support/pointerposition.h"

#include "live/inspector/widgetoutline.h"
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

QWidget *WidgetPicker::windowAt(const QPoint &globalPosition) const
{
    if (window)
        return window;
    QWidget *under = QApplication::widgetAt(globalPosition);
    QWidget *found = under ? under->window() : nullptr;
    return found && !leftOut.contains(found) ? found : nullptr;
}

bool WidgetPicker::isPickedIn(const QObject *nativeWindow) const
{
    if (window)
        return nativeWindow == window->windowHandle();
    const auto *handle = qobject_cast<const QWindow *>(nativeWindow);
    if (!handle)
        return false;
    for (const QWidget *left : leftOut) {
        if (left && left->windowHandle() == handle)
            return false;
    }
    return true;
}

namespace {
// The widget of window at the point, as a pick names it; none outside the window.
QWidget *widgetUnder(QWidget *window, const QPoint &globalPosition)
{
    if (!window || !window->isVisible())
        return nullptr;
    const QPoint local = window->mapFromGlobal(globalPosition);
    if (!window->rect().contains(local))
        return nullptr;
    QWidget *under = window->childAt(local);
    return styledWidget(under ? under : window);
}
} // namespace

QWidget *WidgetPicker::widgetAt(const QPoint &globalPosition) const
{
    return widgetUnder(windowAt(globalPosition), globalPosition);
}

QWidget *WidgetPicker::widgetIn(const QObject *nativeWindow, const QPoint &globalPosition) const
{
    QWidget *target = window;
    if (!target) {
        const auto windows = QApplication::topLevelWidgets();
        for (QWidget *shown : windows) {
            if (shown->windowHandle() == nativeWindow)
                target = shown;
        }
    }
    return widgetUnder(target, globalPosition);
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
        QWidget *chosen = isPickedIn(watched)
                              ? widgetIn(watched, globalPoint(static_cast<QMouseEvent *>(event)))
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
        return isPickedIn(watched);
    default:
        break;
    }
    return false;
}
