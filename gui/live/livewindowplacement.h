// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include <QRect>
#include <QSize>

class QWidget;

// Where the live preview's three windows go: the main window, the style switcher at
// its top-right, and the diagnostics window below the switcher, all on one screen.

// The diagnostics window's frame: below the switcher's frame and up to frameSize
// tall, else above it when less than minimumHeight would remain below; always
// inside available.
QRect diagnosticsFrameRect(const QRect &switcherFrame, const QSize &frameSize, int minimumHeight,
                           const QRect &available);

// Moves the (not yet shown) main window sideways so that it and a tool window of
// toolFrameWidth at its right fit on its screen together, when they can.
void makeRoomBesideMainWindow(QWidget *mainWindow, int toolFrameWidth);

// A tool window's frame beside an application's windows (windows, the union of their
// frames, on a screen whose available area is available): at their right when it fits
// there, else at their left when it fits there, else at the screen's right edge; level
// with their top, and always inside available.
QRect besideWindowsFrameRect(const QRect &windows, const QSize &frameSize, const QRect &available);
