// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include <QJsonArray>
#include <QObject>
#include <QString>
#include <QStringList>

class ApplicationSheet;
class SettledWindows;

// The files of windows by their names, in the order the windows were shown: each
// name made safe for a file, and a name shown before numbered from its second
// window on ("dialog", "dialog-2").
QStringList windowFileStems(const QStringList &names);

// prismark-shot inside the author's application: every top-level window on screen
// or shown until the application has settled, rendered then into a folder of
// prismark-shot's, each to <file stem>.png.
class WindowShots : public QObject
{
    Q_OBJECT
public:
    WindowShots(ApplicationSheet *applicationSheet, const QString &folder,
                QObject *parent = nullptr);

    // From now, for settleMs.
    void start(int settleMs);

signals:
    // Each window's name and file stem (see attach/attachprotocol.h); a window
    // whose file could not be written is left out.
    void rendered(const QJsonArray &windows);

private:
    void renderAll();

    const QString folder;
    SettledWindows *settledWindows;
};
