// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "analysis/qrcresources.h"

#include "support/folderwalk.h"
#include "support/safefileread.h"

#include <QDir>
#include <QFileInfo>
#include <QXmlStreamReader>

namespace {
constexpr qint64 kMaxQrcBytes = 16 * 1024 * 1024;

// The .qrc files in folder and its folders, nearest first, each folder's in name
// order; false when the folders ran over the limit (the files found up to there are
// kept).
bool findQrcFiles(const QString &folder, QStringList *found)
{
    FolderWalk walk;
    walk.maxDepth = kMaxQrcDepth - 1;
    walk.maxFolders = kMaxQrcFolders;
    // As a QDir name filter matches, whatever the case.
    walk.wanted = [](const QString &path) {
        return path.endsWith(QLatin1String(".qrc"), Qt::CaseInsensitive);
    };
    const WalkedFiles walked = walkFolder(folder, walk);
    *found = walked.files;
    return walked.complete;
}
} // namespace

void readResourceEntry(const QString &target, const QString &where, LintOptions &options,
                       QStringList &warnings)
{
    const QFileInfo info(target);
    if (info.isDir()) {
        QStringList found;
        if (!findQrcFiles(target, &found))
            warnings.append(QStringLiteral("%1 holds more than %2 folders; the .qrc files of the "
                                           "first %2 are read")
                                .arg(where)
                                .arg(kMaxQrcFolders));
        for (const QString &qrc : qAsConst(found))
            readQrcFile(qrc, options, warnings);
    } else if (info.exists()) {
        readQrcFile(target, options, warnings);
    } else {
        warnings.append(QStringLiteral("%1 does not exist").arg(where));
    }
}

void readQrcFile(const QString &qrcPath, LintOptions &options, QStringList &warnings)
{
    const FileReadResult file = readRegularFile(qrcPath, kMaxQrcBytes);
    if (!file.ok) {
        warnings.append(QStringLiteral("%1: cannot be read (%2)").arg(qrcPath, file.error));
        return;
    }
    const QDir base = QFileInfo(qrcPath).absoluteDir();
    const QString root = base.canonicalPath() + QLatin1Char('/');
    QXmlStreamReader xml(file.bytes);
    QString prefix;
    while (!xml.atEnd()) {
        xml.readNext();
        if (!xml.isStartElement())
            continue;
        if (xml.name() == QLatin1String("qresource")) {
            prefix = xml.attributes().value(QLatin1String("prefix")).toString();
        } else if (xml.name() == QLatin1String("file")) {
            const QString alias = xml.attributes().value(QLatin1String("alias")).toString();
            const int line = int(xml.lineNumber());
            const QString name = xml.readElementText().trimmed();
            if (xml.hasError() || name.isEmpty())
                continue;
            // Resource paths as the toolkit forms them: slashes folded, one leading.
            const QString path = QDir::cleanPath(QLatin1Char('/') + prefix + QLatin1Char('/') +
                                                 (alias.isEmpty() ? name : alias));
            const QString canonical = QFileInfo(base.filePath(name)).canonicalFilePath();
            if (canonical.isEmpty()) {
                warnings.append(
                    QStringLiteral("%1:%2: \"%3\" is missing").arg(qrcPath).arg(line).arg(name));
                options.missingResourceFiles.insert(
                    path, qMakePair(QStringLiteral("%1:%2").arg(qrcPath).arg(line), name));
                continue;
            }
            if (!canonical.startsWith(root)) {
                warnings.append(QStringLiteral("%1:%2: \"%3\" lies outside the directory of the "
                                               ".qrc file and is not followed")
                                    .arg(qrcPath)
                                    .arg(line)
                                    .arg(name));
                continue;
            }
            options.resourcePaths.insert(path);
        }
    }
    if (xml.hasError()) {
        warnings.append(QStringLiteral("%1:%2: not a resource collection: %3")
                            .arg(qrcPath)
                            .arg(xml.lineNumber())
                            .arg(xml.errorString()));
    }
}
