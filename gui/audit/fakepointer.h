// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include <QEvent>
#include <QPoint>

class QWidget;
class QWindow;

// The pointer, as the window system reports it: the toolkit dispatches enter, leave
// and hover events and sets WA_UnderMouse itself. Every event is delivered before
// the call returns.
class FakePointer
{
public:
    explicit FakePointer(QWidget *topLevel);
    // Enters the window and moves to local, a point of widget.
    void moveTo(QWidget *widget, QPoint local);
    // The left button, where the pointer is.
    void press();
    void release();
    void leave();

private:
    void send(Qt::MouseButtons buttons, Qt::MouseButton button, QEvent::Type type);

    QWidget *topLevel;
    QWindow *window;
    QPoint at;
};
