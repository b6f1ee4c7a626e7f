// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include <QPointer>
#include <QVector>
#include <QWidget>

// Outlines drawn over the widgets of one window, to show which widgets a pick or a
// rule means. Lies over the whole window, lets every mouse event through to the
// widgets below, and draws nothing but the outlines. Made without a window (in an
// application of many), it moves to the window of the first widget it outlines.
class WidgetOutline : public QWidget
{
public:
    explicit WidgetOutline(QWidget *window);

    // Replaces what is outlined; widgets not on screen (another tab) are skipped
    // while they stay hidden.
    void outline(const QVector<QWidget *> &widgets);
    void clear();
    QVector<QWidget *> outlined() const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    QRegion outlinedArea() const;
    void follow(QWidget *newWindow);

    QPointer<QWidget> window;
    const bool following;
    QVector<QPointer<QWidget>> widgets;
};
