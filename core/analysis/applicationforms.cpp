// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "analysis/applicationforms.h"

#include "analysis/applicationobjects.h"
#include "support/folderwalk.h"
#include "support/glob.h"

#include <QFileInfo>
#include <QSet>

QStringList findFormFiles(const QDir &base, const QString &glob, const QString &where,
                          QStringList &warnings)
{
    // The walk starts at the glob's leading folders that hold no pattern, and without
    // "**" a glob with folders reaches only as deep as it has them.
    const QString fixed = globFixedFolders(glob);
    const int depth = globFolderDepth(glob);
    const PathGlob matcher(glob);
    FolderWalk walk;
    walk.maxDepth = depth < 0 ? kMaxFormDepth : depth;
    walk.maxFolders = kMaxFormFolders;
    walk.wanted = [&](const QString &path) {
        return matcher.matches(QDir::cleanPath(fixed + path));
    };
    const WalkedFiles walked = walkFolder(QDir::cleanPath(base.filePath(fixed)), walk);
    QStringList found;
    for (const QString &file : walked.files) {
        // Named as a user would name it from here, when it lies below.
        const QString relative = QDir::current().relativeFilePath(file);
        found.append(relative.startsWith(QLatin1String("../")) ? file : relative);
    }
    if (!walked.complete)
        warnings.append(QStringLiteral("%1 reaches more than %2 folders; the forms of the first "
                                       "%2 are read")
                            .arg(where)
                            .arg(kMaxFormFolders));
    if (found.isEmpty())
        warnings.append(QStringLiteral("%1 matches no file").arg(where));
    return found;
}

void addApplicationForms(LintOptions &options, const QStringList &formPaths, QStringList *warnings)
{
    QSet<QString> known;
    for (const QString &form : qAsConst(options.forms))
        known.insert(QFileInfo(form).absoluteFilePath());
    QStringList added;
    for (const QString &form : formPaths) {
        if (!known.contains(QFileInfo(form).absoluteFilePath())) {
            known.insert(QFileInfo(form).absoluteFilePath());
            added.append(form);
        }
    }
    if (added.isEmpty())
        return;
    options.forms += added;
    const auto more = readApplicationForms(added, warnings);
    if (!more)
        return;
    auto merged = std::make_shared<ApplicationObjects>();
    if (options.applicationObjects)
        merged->append(*options.applicationObjects);
    merged->append(*more);
    options.applicationObjects = merged;
}
