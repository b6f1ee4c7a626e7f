// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "prismark-lsp/server/workspaceoptions.h"

#include "analysis/applicationobjects.h"
#include "analysis/lintconfig.h"
#include "embedded/folderapplication.h"

#include <QDir>
#include <QFileInfo>
#include <QMutex>
#include <QMutexLocker>

namespace {
QMutex folderMutex;
QString workspaceFolder;

QString folderOf(const QString &sheet)
{
    QMutexLocker lock(&folderMutex);
    if (workspaceFolder.isEmpty())
        return QString();
    const QString path = QFileInfo(sheet).absoluteFilePath();
    return path.startsWith(workspaceFolder + QLatin1Char('/')) ? workspaceFolder : QString();
}
} // namespace

void setWorkspaceFolder(const QString &folder)
{
    QMutexLocker lock(&folderMutex);
    workspaceFolder =
        folder.isEmpty() ? QString() : QDir::cleanPath(QFileInfo(folder).absoluteFilePath());
}

LintOptions workspaceOptionsFor(const QString &sheet)
{
    LintOptions options = lintConfigForSheet(sheet).options;
    const auto application = folderApplication(folderOf(sheet));
    if (!application)
        return options;
    if (!options.applicationObjects) {
        options.applicationObjects = application;
        return options;
    }
    auto merged = std::make_shared<ApplicationObjects>(*options.applicationObjects);
    merged->append(*application);
    options.applicationObjects = merged;
    return options;
}
