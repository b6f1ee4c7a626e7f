// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "prismark-lsp/server/openworkspace.h"

#include "analysis/templatelint.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>

namespace {
QString cleanAbsolutePath(const QString &path)
{
    return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}
} // namespace

bool isTokenDocument(const OpenDocument &document)
{
    return isThemeTemplatePath(document.text.path) || isTokenFilePath(document.text.path);
}

TokenWorkspace tokenWorkspace(const OpenDocuments &open, const OpenDocument &document)
{
    // What the editor holds is newer than the disk. An open document is found by its
    // path or by where it really is (through a symlink), each path resolved once per
    // workspace: one is built for every open theme source on each change to one of them.
    QHash<QString, QString> held;
    for (const auto &other : open) {
        if (other->text.path.isEmpty())
            continue;
        const QString canonical = QFileInfo(other->text.path).canonicalFilePath();
        if (!canonical.isEmpty())
            held.insert(canonical, other->text.text());
        held.insert(other->text.path, other->text.text());
    }
    const SourceReader read = [&held](const QString &path) -> std::optional<QString> {
        auto found = held.constFind(path);
        if (found == held.cend()) {
            const QString canonical = QFileInfo(path).canonicalFilePath();
            if (!canonical.isEmpty())
                found = held.constFind(canonical);
        }
        if (found != held.cend())
            return *found;
        return readSourceFromDisk(path);
    };
    return TokenWorkspace::around(document.text.path, document.text.text(), read);
}

TokenContext tokenContext(const OpenDocuments &open, const OpenDocument &document)
{
    TokenContext context;
    if (isTokenFilePath(document.text.path)) {
        // The folder tree's templates that name it, read as the editor holds them.
        const QString self = cleanAbsolutePath(document.text.path);
        const TokenWorkspace workspace = tokenWorkspace(open, document);
        for (const TokenSource &source : workspace.sources()) {
            if (source.file == self)
                continue;
            if (source.isTemplate)
                context.templates.append(source.file);
            context.texts.insert(source.file, source.text);
        }
        return context;
    }
    for (const auto &other : open) {
        if (!other->tooLarge && isTokenFilePath(other->text.path))
            context.texts.insert(cleanAbsolutePath(other->text.path), other->text.text());
    }
    return context;
}
