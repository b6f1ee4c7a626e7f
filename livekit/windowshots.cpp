// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "livekit/windowshots.h"

#include "livekit/applicationsheet.h"
#include "support/attachprotocol.h"
#include "support/safefilename.h"

#include <QCoreApplication>
#include <QDir>
#include <QImage>
#include <QJsonObject>
#include <QPixmap>
#include <QSet>
#include <QWidget>

#include <algorithm>
#include <tuple>

QStringList windowFileStems(const QStringList &names)
{
    QSet<QString> taken;
    QStringList stems;
    for (const QString &name : names)
        stems << uniqueSafeFileStem(name, &taken);
    return stems;
}

WindowShots::WindowShots(ApplicationSheet *applicationSheet, const QString &folder, QObject *parent)
    : QObject(parent)
    , folder(folder)
{
    settleTimer.setSingleShot(true);
    connect(&settleTimer, &QTimer::timeout, this, &WindowShots::renderAll);
    connect(applicationSheet, &ApplicationSheet::windowShown, this, &WindowShots::remember);
}

void WindowShots::start(int settleMs)
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

void WindowShots::remember(QWidget *window)
{
    const Qt::WindowType type = window->windowType();
    if (type == Qt::ToolTip || type == Qt::Popup || type == Qt::Desktop ||
        std::find(shown.cbegin(), shown.cend(), window) != shown.cend())
        return;
    shown.append(window);
}

// Windows shown and closed since are rendered too, as long as the application
// keeps them.
void WindowShots::renderAll()
{
    QList<QWidget *> windows;
    QStringList names;
    for (const QPointer<QWidget> &window : qAsConst(shown)) {
        if (window) {
            windows << window;
            names << ApplicationSheet::windowName(window);
        }
    }
    // What a last restyle or resize posted is laid out before the pictures.
    QCoreApplication::sendPostedEvents();
    QCoreApplication::sendPostedEvents();
    const QStringList stems = windowFileStems(names);
    const QDir into(folder);
    QJsonArray rendered;
    for (int index = 0; index < windows.size(); ++index) {
        const QImage image = windows[index]->grab().toImage();
        if (!image.save(into.filePath(stems[index] + QStringLiteral(".png")), "PNG"))
            continue;
        rendered.append(QJsonObject{{QLatin1String(Attach::windowNameField), names[index]},
                                    {QLatin1String(Attach::windowFileField), stems[index]}});
    }
    emit this->rendered(rendered);
}
