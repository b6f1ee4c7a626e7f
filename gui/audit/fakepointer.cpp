// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "audit/fakepointer.h"

#include <QWidget>
#include <QWindow>
#include <qpa/qwindowsysteminterface.h>

FakePointer::FakePointer(QWidget *topLevel)
    : topLevel(topLevel)
    , window(topLevel->windowHandle())
{}

void FakePointer::moveTo(QWidget *widget, QPoint local)
{
    at = widget->mapTo(topLevel, local);
    QWindowSystemInterface::handleEnterEvent<QWindowSystemInterface::SynchronousDelivery>(
        window, QPointF(at), QPointF(topLevel->mapToGlobal(at)));
    send(Qt::NoButton, Qt::NoButton, QEvent::MouseMove);
}

void FakePointer::press()
{
    send(Qt::LeftButton, Qt::LeftButton, QEvent::MouseButtonPress);
}

void FakePointer::release()
{
    send(Qt::NoButton, Qt::LeftButton, QEvent::MouseButtonRelease);
}

void FakePointer::leave()
{
    QWindowSystemInterface::handleLeaveEvent<QWindowSystemInterface::SynchronousDelivery>(window);
}

void FakePointer::send(Qt::MouseButtons buttons, Qt::MouseButton button, QEvent::Type type)
{
    QWindowSystemInterface::handleMouseEvent<QWindowSystemInterface::SynchronousDelivery>(
        window, QPointF(at), QPointF(topLevel->mapToGlobal(at)), buttons, button, type);
}
