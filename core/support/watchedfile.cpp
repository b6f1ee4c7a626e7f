// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "support/watchedfile.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

#include <sys/stat.h>

WatchedFile::WatchedFile(const QString &path, QObject *parent)
    : QObject(parent)
    , filePath(QFileInfo(path).absoluteFilePath())
{
    // The directory is watched as well: a rename over the file or a delete and
    // re-create ends the watch on the file itself, and only the directory sees the
    // new one arrive.
    connect(&watcher, &QFileSystemWatcher::fileChanged, this, &WatchedFile::changed);
    connect(&watcher, &QFileSystemWatcher::directoryChanged, this, &WatchedFile::changed);
    watcher.addPath(QFileInfo(filePath).absolutePath());
    renew();
}

void WatchedFile::renew()
{
    struct stat status;
    if (::stat(QFile::encodeName(filePath).constData(), &status) != 0) {
        watcher.removePath(filePath);
        watchedDevice = watchedInode = 0;
        return;
    }
    if (watcher.files().contains(filePath) && watchedDevice == quint64(status.st_dev) &&
        watchedInode == quint64(status.st_ino))
        return;
    // A watch follows the file it was put on, which after a rename over the name is
    // no longer the file at the name.
    watcher.removePath(filePath);
    watcher.addPath(filePath);
    watchedDevice = status.st_dev;
    watchedInode = status.st_ino;
}

QString WatchedFile::stamp() const
{
    struct stat status;
    if (::stat(QFile::encodeName(filePath).constData(), &status) != 0)
        return QString();
    return QStringLiteral("%1:%2:%3:%4.%5")
        .arg(status.st_dev)
        .arg(status.st_ino)
        .arg(status.st_size)
        .arg(status.st_mtim.tv_sec)
        .arg(status.st_mtim.tv_nsec);
}

QString WatchedFile::missingText() const
{
    return tr("%1 is missing; waiting for it to be created again.")
        .arg(QFileInfo(filePath).fileName());
}
