// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include "support/glob.h"

#include <QString>
#include <QVector>

// The patterns of a folder's .gitignore files, each taken relative to the folder its
// file is in: a walked project keeps what git keeps.
class GitIgnore
{
public:
    // The patterns of one .gitignore file in folder (relative to the walk's root, "" for
    // the root itself, no trailing slash); later files take precedence, as deeper ones do.
    void addFile(const QString &folder, const QString &content);
    // Whether path (relative to the root, "/"-separated) is ignored; folder says whether
    // it names a folder.
    bool ignored(const QString &path, bool folder) const;
    bool isEmpty() const { return patterns.isEmpty(); }

private:
    struct Pattern
    {
        QString base; // "" or "dir/"
        PathGlob glob;
        bool negated = false;
        bool folderOnly = false;
    };
    QVector<Pattern> patterns;
};
