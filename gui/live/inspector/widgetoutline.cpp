// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "live/inspector/widgetoutline.h"

#include <QEvent>
#include <QPainter>

namespace {
// Magenta stands out on every theme, light or dark, and no theme uses it.
const QColor kOutlineColor(255, 0, 255);
} // namespace

WidgetOutline::WidgetOutline(QWidget *window)
    : QWidget(window)
    , window(window)
    , following(!window)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    // Only the outlines are painted: no background, whatever the sheet says of QWidget.
    setAttribute(Qt::WA_NoSystemBackground);
    setFocusPolicy(Qt::NoFocus);
    if (window) {
        setGeometry(window->rect());
        window->installEventFilter(this);
    }
    hide();
}

void WidgetOutline::follow(QWidget *newWindow)
{
    if (window)
        window->removeEventFilter(this);
    window = newWindow;
    hide();
    setParent(newWindow);
    if (newWindow) {
        setGeometry(newWindow->rect());
        newWindow->installEventFilter(this);
    }
}

void WidgetOutline::outline(const QVector<QWidget *> &chosen)
{
    if (following && !chosen.isEmpty() && chosen.first() && chosen.first()->window() != window)
        follow(chosen.first()->window());
    if (!window)
        return;
    // Only where an outline was or will be is painted again: the widgets below an
    // area painted again paint again too, and the whole gallery takes a while.
    QRegion changed = outlinedArea();
    widgets.clear();
    for (QWidget *widget : chosen) {
        if (widget && (widget == window || window->isAncestorOf(widget)))
            widgets.append(widget);
    }
    changed += outlinedArea();
    if (!isVisible()) {
        // Shown once, over everything, and left so: showing or raising it again
        // would paint the whole window again.
        setGeometry(window->rect());
        raise();
        show();
    }
    update(changed);
}

QRegion WidgetOutline::outlinedArea() const
{
    QRegion area;
    for (const QPointer<QWidget> &widget : widgets) {
        if (widget && widget->isVisible())
            area += QRect(widget->mapTo(window, QPoint(0, 0)), widget->size());
    }
    return area;
}

void WidgetOutline::clear()
{
    outline({});
}

QVector<QWidget *> WidgetOutline::outlined() const
{
    QVector<QWidget *> alive;
    for (const QPointer<QWidget> &widget : widgets) {
        if (widget)
            alive.append(widget);
    }
    return alive;
}

bool WidgetOutline::eventFilter(QObject *watched, QEvent *event)
{
    // A window closed may go for good, and its children with it.
    if (following && watched == window && event->type() == QEvent::Hide) {
        widgets.clear();
        follow(nullptr);
    } else if (watched == window && event->type() == QEvent::Resize) {
        setGeometry(window->rect());
        // Something may have been placed over it since.
        raise();
    }
    return QWidget::eventFilter(watched, event);
}

void WidgetOutline::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    QColor fill = kOutlineColor;
    fill.setAlpha(40);
    painter.setPen(QPen(kOutlineColor, 2));
    for (const QPointer<QWidget> &widget : qAsConst(widgets)) {
        if (!widget || !widget->isVisible())
            continue;
        const QRect area(widget->mapTo(window, QPoint(0, 0)), widget->size());
        painter.fillRect(area, fill);
        painter.drawRect(area.adjusted(1, 1, -1, -1));
    }
}
