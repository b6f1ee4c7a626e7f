// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "support/folderwalk.h"

#include "support/gitignore.h"
#include "support/safefileread.h"

#include <QDir>
#include <QFileInfo>
#include <QVector>

#include <algorithm>
#include <memory>

namespace {
constexpr qint64 kMaxGitIgnoreBytes = 1024 * 1024;

struct Folder
{
    QString relative; // "" for the root
    int depth = 0;
    // What the .gitignore files from the root down to this folder ignore.
    std::shared_ptr<const GitIgnore> ignore;
};

// Where the segment of path that starts at from ends: at its "/" or the end.
int segmentEnd(const QString &path, int from)
{
    const int slash = int(path.indexOf(QLatin1Char('/'), from));
    return slash < 0 ? int(path.size()) : slash;
}

// Whether a comes before b when each folder lists its entries by name: segment by
// segment, as QDir::Name compares names.
bool inPathOrder(const QString &a, const QString &b)
{
    for (int i = 0, j = 0;;) {
        const int endA = segmentEnd(a, i);
        const int endB = segmentEnd(b, j);
        const int order = QStringView(a).mid(i, endA - i).compare(QStringView(b).mid(j, endB - j));
        if (order != 0)
            return order < 0;
        if (endA == a.size() || endB == b.size())
            return endA == a.size() && endB != b.size();
        i = endA + 1;
        j = endB + 1;
    }
}

class Walker
{
public:
    Walker(const QString &root, const FolderWalk &walk)
        : root(QDir::cleanPath(root))
        , walk(walk)
    {}

    WalkedFiles run();

private:
    // By value: reading appends to the folders.
    void read(Folder folder);
    // The ignore rules inside folder: its parent's, with its own .gitignore on top.
    std::shared_ptr<const GitIgnore> ignoreIn(const Folder &folder) const;
    QString pathOf(const QString &relative) const
    {
        return relative.isEmpty() ? root : root + QLatin1Char('/') + relative;
    }

    const QString root;
    const FolderWalk &walk;
    QVector<Folder> folders;
    WalkedFiles found;
};

WalkedFiles Walker::run()
{
    folders.append({QString(), 0, std::make_shared<const GitIgnore>()});
    for (int i = 0; i < folders.size(); ++i) {
        if (i == walk.maxFolders) {
            found.complete = false;
            break;
        }
        read(folders.at(i));
    }
    // Breadth first, sorted: the order a walk down each folder in name order gives.
    if (walk.pathOrder)
        std::sort(found.files.begin(), found.files.end(), inPathOrder);
    return found;
}

std::shared_ptr<const GitIgnore> Walker::ignoreIn(const Folder &folder) const
{
    const FileReadResult file = readRegularFile(
        pathOf(folder.relative) + QStringLiteral("/.gitignore"), kMaxGitIgnoreBytes);
    if (!file.ok)
        return folder.ignore;
    auto ignore = std::make_shared<GitIgnore>(*folder.ignore);
    ignore->addFile(folder.relative, QString::fromUtf8(file.bytes));
    return ignore;
}

void Walker::read(Folder folder)
{
    const std::shared_ptr<const GitIgnore> ignore =
        walk.asGitKeepsIt ? ignoreIn(folder) : folder.ignore;
    const QDir::Filters filters = QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot |
                                  (walk.asGitKeepsIt ? QDir::Hidden : QDir::NoSymLinks);
    const bool deeper = walk.maxDepth < 0 || folder.depth < walk.maxDepth;
    for (const QFileInfo &entry :
         QDir(pathOf(folder.relative)).entryInfoList(filters, QDir::Name)) {
        const QString relative = folder.relative.isEmpty()
                                     ? entry.fileName()
                                     : folder.relative + QLatin1Char('/') + entry.fileName();
        if (!entry.isDir()) {
            if ((!walk.wanted || walk.wanted(relative)) && !ignore->ignored(relative, false))
                found.files.append(QDir::cleanPath(pathOf(relative)));
        } else if (deeper && !entry.isSymLink() && entry.fileName() != QLatin1String(".git") &&
                   !ignore->ignored(relative, true)) {
            // One past the limit is enough to know it is passed.
            if (walk.maxFolders >= 0 && folders.size() > walk.maxFolders)
                continue;
            folders.append({relative, folder.depth + 1, ignore});
        }
    }
}
} // namespace

WalkedFiles walkFolder(const QString &root, const FolderWalk &walk)
{
    return Walker(root, walk).run();
}

QString fileNameOf(const QString &path)
{
    return path.mid(path.lastIndexOf(QLatin1Char('/')) + 1);
}
