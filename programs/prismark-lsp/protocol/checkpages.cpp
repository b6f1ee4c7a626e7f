// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "prismark-lsp/protocol/checkpages.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QUrl>

namespace {
QString pagesDirectory()
{
    // A file URL, not a page name: the protocol's href is a URI, and an editor opens a
    // local file without a network or a documentation site of the right version.
    static const QString directory = [] {
        const QString installed = QDir(QCoreApplication::applicationDirPath())
                                      .filePath(QStringLiteral(PRISMARK_INSTALLED_CHECK_PAGES));
        if (QFileInfo(installed).isDir())
            return QDir::cleanPath(installed);
        return QStringLiteral(PRISMARK_SOURCE_CHECK_PAGES);
    }();
    return directory;
}
} // namespace

QString checkPageUrl(const QString &checkId)
{
    // Listed once: a sheet may have thousands of diagnostics.
    static const QStringList pages =
        QDir(pagesDirectory()).entryList({QStringLiteral("*.md")}, QDir::Files);
    const QString name = checkId + QStringLiteral(".md");
    if (!pages.contains(name))
        return QString();
    return QUrl::fromLocalFile(QDir(pagesDirectory()).filePath(name)).toString(QUrl::FullyEncoded);
}
