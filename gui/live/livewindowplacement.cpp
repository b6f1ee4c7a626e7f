// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "live/livewindowplacement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <algorithm>

namespace {
constexpr int gap = 12;
// The main window places the switcher 11 columns past its own last column.
constexpr int switcherGap = 11;
} // namespace

QRect diagnosticsFrameRect(const QRect &switcherFrame, const QSize &frameSize, int minimumHeight,
                           const QRect &available)
{
    QRect frame(QPoint(switcherFrame.left(), switcherFrame.bottom() + 1 + gap), frameSize);
    const int roomBelow = available.bottom() + 1 - frame.top();
    if (roomBelow >= minimumHeight) {
        frame.setHeight(std::min(frameSize.height(), roomBelow));
    } else {
        const int roomAbove = switcherFrame.top() - gap - available.top();
        const int height = std::min(frameSize.height(), std::max(roomAbove, minimumHeight));
        frame = QRect(QPoint(switcherFrame.left(), switcherFrame.top() - gap - height),
                      QSize(frameSize.width(), height));
    }
    frame.moveLeft(
        std::max(available.left(), std::min(frame.left(), available.right() + 1 - frame.width())));
    frame.moveTop(
        std::max(available.top(), std::min(frame.top(), available.bottom() + 1 - frame.height())));
    return frame;
}

void makeRoomBesideMainWindow(QWidget *mainWindow, int toolFrameWidth)
{
    const QScreen *screen = mainWindow->screen();
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect available = screen->availableGeometry();
    const QRect frame = mainWindow->frameGeometry();
    const int needed = frame.width() + switcherGap + toolFrameWidth;
    const bool fits =
        frame.left() >= available.left() && frame.left() + needed <= available.right() + 1;
    if (fits || needed > available.width())
        return;
    // Centred as a group, as the main window alone is centred.
    mainWindow->move(available.left() + (available.width() - needed) / 2, frame.top());
}

QRect besideWindowsFrameRect(const QRect &windows, const QSize &frameSize, const QRect &available)
{
    QRect frame(QPoint(windows.right() + 1 + gap, windows.top()), frameSize);
    if (frame.right() > available.right()) {
        const int left = windows.left() - gap - frameSize.width();
        frame.moveLeft(left >= available.left() ? left : available.right() + 1 - frameSize.width());
    }
    frame.setHeight(std::min(frame.height(), available.height()));
    frame.moveLeft(
        std::max(available.left(), std::min(frame.left(), available.right() + 1 - frame.width())));
    frame.moveTop(
        std::max(available.top(), std::min(frame.top(), available.bottom() + 1 - frame.height())));
    return frame;
}
