// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "attach/windowshots.h"

#include "attach/attachprotocol.h"
#include "attach/settledwindows.h"
#include "live/applicationsheet.h"
#include "support/safefilename.h"

#include <QCoreApplication>
#include <QDir>
#include <QImage>
#include <QJsonObject>
#include <QPixmap>
#include <QSet>
#include <QWidget>

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
    , settledWindows(new SettledWindows(applicationSheet, this))
{
    connect(settledWindows, &SettledWindows::settled, this, &WindowShots::renderAll);
}

void WindowShots::start(int settleMs)
{
    settledWindows->start(settleMs);
}

void WindowShots::renderAll()
{
    const QList<QWidget *> windows = settledWindows->windows();
    QStringList names;
    for (const QWidget *window : windows)
        names << ApplicationSheet::windowName(window);
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
