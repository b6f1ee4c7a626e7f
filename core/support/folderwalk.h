// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include <QString>
#include <QStringList>

#include <functional>

// The one walk of a folder's files, for every search that goes through folders: the
// linter's walk of a project, a configuration's .qrc files and forms. Links to
// folders are never followed, so a walk always ends.
struct FolderWalk
{
    // As git keeps a project: hidden files and folders and links to files are walked
    // too, but not .git nor what the .gitignore files (the root's and those inside
    // it) ignore. Otherwise hidden entries and every link are left out.
    bool asGitKeepsIt = false;
    // How many folders below the root are entered (0: the root alone); < 0 no bound.
    int maxDepth = -1;
    // How many folders are read at most, nearest first; < 0 no bound.
    int maxFolders = -1;
    // The files found in path order (each folder's entries by name, a folder's files
    // where its name falls), else nearest folder first.
    bool pathOrder = false;
    // Which files are found, by their path relative to the root ("/"-separated).
    std::function<bool(const QString &relativePath)> wanted;
};

struct WalkedFiles
{
    // Paths starting with the root, as cleaned.
    QStringList files;
    // False when the walk stopped at maxFolders; the files found up to there are kept.
    bool complete = true;
};

WalkedFiles walkFolder(const QString &root, const FolderWalk &walk);

// The file name of a "/"-separated path.
QString fileNameOf(const QString &path);
