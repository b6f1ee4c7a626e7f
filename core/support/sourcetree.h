// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include <QRegularExpression>
#include <QString>
#include <QStringList>
#include <QVector>

#include <functional>

// A folder walked as a project keeps it: .git left out, and whatever its .gitignore
// files (the folder's own and those inside it) ignore.

// The patterns of .gitignore files, each taken relative to the folder its file is in.
class GitIgnore
{
public:
    // The patterns of one .gitignore file in folder (relative to the walk's root, "" for
    // the root itself, no trailing slash); later files take precedence, as deeper ones do.
    void addFile(const QString &folder, const QString &content);
    // Whether path (relative to the root, "/"-separated) is ignored; folder says whether
    // it names a folder.
    bool ignored(const QString &path, bool folder) const;

private:
    struct Pattern
    {
        QString base; // "" or "dir/"
        QRegularExpression expression;
        bool negated = false;
        bool folderOnly = false;
    };
    QVector<Pattern> patterns;
};

// The regular expression a .gitignore pattern stands for, matched against a path
// relative to the folder of its file; invalid when the line is blank or a comment.
// negated and folderOnly say what its "!" and trailing "/" said.
QRegularExpression gitIgnorePattern(QString line, bool *negated, bool *folderOnly);

// Every file under root (recursively, folders not followed through symbolic links)
// whose name wanted accepts, in a stable order, as paths starting with root.
QStringList walkSourceTree(const QString &root, const std::function<bool(const QString &)> &wanted);
