// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include <QFileSystemWatcher>
#include <QObject>
#include <QString>

// One file watched by its name, whatever an editor does to save it: a write in
// place, a rename over the name, a delete and re-create, and a file missing at
// the start that is created later all wake it. Only the name is looked at, never
// opened, so a FIFO or a device at the name cannot block it.
class WatchedFile : public QObject
{
    Q_OBJECT
public:
    explicit WatchedFile(const QString &path, QObject *parent = nullptr);

    QString path() const { return filePath; }
    // Puts the watch on what stands at the name now. Called before each read, so a
    // write after the read is never missed.
    void renew();
    // Identity, size and modification time of what stands at the name, "" when
    // nothing does: tells a change from a mere event in the directory.
    QString stamp() const;
    // What the window says while the name is empty.
    QString missingText() const;

signals:
    // Something happened to the file or in its directory (an editor's swap and
    // backup files too); bursts are the owner's to settle.
    void changed();

private:
    const QString filePath;
    QFileSystemWatcher watcher;
    // Identity of the file the watch sits on; a rename over the name changes it.
    quint64 watchedDevice = 0;
    quint64 watchedInode = 0;
};
