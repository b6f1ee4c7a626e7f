// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "attach/settledwindows.h"

#include "live/applicationsheet.h"

#include <QWidget>

#include <algorithm>
#include <tuple>

SettledWindows::SettledWindows(ApplicationSheet *applicationSheet, QObject *parent)
    : QObject(parent)
{
    settleTimer.setSingleShot(true);
    connect(&settleTimer, &QTimer::timeout, this, &SettledWindows::settled);
    connect(applicationSheet, &ApplicationSheet::windowShown, this, &SettledWindows::remember);
}

void SettledWindows::start(int settleMs)
{
    // Those shown before the plugin could watch, in an order of their own: the
    // toolkit keeps its windows unordered.
    QList<QWidget *> onScreen = ApplicationSheet::topLevelWindows();
    std::stable_sort(onScreen.begin(), onScreen.end(), [](const QWidget *a, const QWidget *b) {
        const auto key = [](const QWidget *window) {
            const QRect place = window->geometry();
            return std::make_tuple(ApplicationSheet::windowName(window), window->windowTitle(),
                                   place.y(), place.x(), place.height(), place.width());
        };
        return key(a) < key(b);
    });
    for (QWidget *window : qAsConst(onScreen))
        remember(window);
    settleTimer.start(settleMs);
}

void SettledWindows::remember(QWidget *window)
{
    const Qt::WindowType type = window->windowType();
    if (type == Qt::ToolTip || type == Qt::Popup || type == Qt::Desktop ||
        std::find(shown.cbegin(), shown.cend(), window) != shown.cend())
        return;
    shown.append(window);
}

QList<QWidget *> SettledWindows::windows() const
{
    QList<QWidget *> kept;
    for (const QPointer<QWidget> &window : shown) {
        if (window)
            kept << window;
    }
    return kept;
}
