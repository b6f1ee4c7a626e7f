// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "embedded/folderapplication.h"

#include "analysis/lintoptions.h"
#include "embedded/applicationsources.h"
#include "embedded/embeddedsheets.h"
#include "support/folderwalk.h"
#include "support/safefileread.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QFileInfo>
#include <QMutex>
#include <QMutexLocker>

namespace {
struct Learned
{
    QByteArray fingerprint;
    std::shared_ptr<const ApplicationObjects> objects;
};

QStringList walkedFiles(const QString &folder)
{
    FolderWalk walk;
    walk.asGitKeepsIt = true;
    walk.pathOrder = true;
    walk.maxFolders = kMaxApplicationFolders;
    walk.wanted = [](const QString &path) {
        return embeddingLanguage(fileNameOf(path)) != EmbeddingLanguage::None;
    };
    return walkFolder(folder, walk).files;
}

// Which files there are, and as of when: what a change of any of them changes.
QByteArray fingerprintOf(const QStringList &files)
{
    QCryptographicHash hash(QCryptographicHash::Sha1);
    for (const QString &file : files) {
        const QFileInfo info(file);
        hash.addData(file.toUtf8());
        hash.addData(QByteArray::number(info.size()));
        hash.addData(QByteArray::number(info.lastModified().toMSecsSinceEpoch()));
    }
    return hash.result();
}

std::shared_ptr<const ApplicationObjects> learn(const QStringList &files)
{
    QStringList forms;
    SourceDeclarations sources;
    for (const QString &file : files) {
        const EmbeddingLanguage language = embeddingLanguage(fileNameOf(file));
        if (language == EmbeddingLanguage::Form) {
            forms.append(file);
            continue;
        }
        const FileReadResult read = readRegularFile(file, kMaxSheetBytes);
        if (!read.ok)
            continue;
        const QString text = QString::fromUtf8(read.bytes);
        if (language == EmbeddingLanguage::Cpp)
            sources.readCpp(text, file);
        else if (language == EmbeddingLanguage::Python)
            sources.readPython(text, file);
    }
    auto objects = std::make_shared<ApplicationObjects>();
    QStringList warnings;
    if (const auto read = readApplicationForms(forms, &warnings))
        objects->append(*read);
    objects->append(sources.applicationObjects());
    if (objects->forms.isEmpty() && objects->objects.isEmpty() && objects->classes.isEmpty())
        return nullptr;
    return objects;
}
} // namespace

std::shared_ptr<const ApplicationObjects> folderApplication(const QString &folder)
{
    static QMutex mutex;
    static QHash<QString, Learned> learned;
    if (folder.isEmpty())
        return nullptr;
    const QStringList files = walkedFiles(folder);
    const QByteArray fingerprint = fingerprintOf(files);
    {
        QMutexLocker lock(&mutex);
        const auto known = learned.constFind(folder);
        if (known != learned.cend() && known->fingerprint == fingerprint)
            return known->objects;
    }
    const auto objects = learn(files);
    QMutexLocker lock(&mutex);
    learned.insert(folder, {fingerprint, objects});
    return objects;
}
