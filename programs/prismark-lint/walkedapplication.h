// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include "analysis/applicationobjects.h"

#include <QByteArray>
#include <QHash>
#include <QStringList>

#include <memory>

// What a walk of a folder learns of the application in it before any file is checked:
// its Designer forms, its .qrc files, and the widget classes and object names its C++
// and Python sources declare. Each source is read once; what was read is kept for the
// check that follows.
struct WalkedApplication
{
    // The files the walk checks, in path order.
    QStringList files;
    QStringList forms;
    QStringList qrcFiles;
    // The sources' classes and names; null when they declare none.
    std::shared_ptr<const ApplicationObjects> sources;
    // Each source as read, by path.
    QHash<QString, QByteArray> sourceBytes;
};

WalkedApplication walkApplication(const QString &folder);
