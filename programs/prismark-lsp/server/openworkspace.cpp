// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "prismark-lsp/server/openworkspace.h"

#include "analysis/templatelint.h"

#include <QDir>
#include <QFileInfo>

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
    // What the editor holds is newer than the disk.
    const SourceReader read = [&open](const QString &path) -> std::optional<QString> {
        for (const auto &other : open) {
            if (!other->text.path.isEmpty() && QFileInfo(other->text.path) == QFileInfo(path))
                return other->text.text();
        }
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
