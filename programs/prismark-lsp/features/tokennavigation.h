// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include "prismark-lsp/features/tokenworkspace.h"

#include <QString>
#include <QVector>

#include <optional>

// Moving between a token's declarations in its token files and its uses in the
// templates and the token files' aliases, and renaming it in all of them.

// The "$value" of each declaration of the token at offset (a use or a declaration).
QVector<FileSpan> tokenDefinitions(const TokenWorkspace &workspace, const QString &file,
                                   int offset);

// The uses of the token at offset, and its declarations' keys when asked.
QVector<FileSpan> tokenReferences(const TokenWorkspace &workspace, const QString &file, int offset,
                                  bool includeDeclaration);

struct RenameTarget
{
    TextSpan span;       // in the document the rename starts from
    QString placeholder; // the whole path on a use, the key's own name on a key
};

std::optional<RenameTarget> prepareTokenRename(const TokenWorkspace &workspace, const QString &file,
                                               int offset);

struct FileEdits
{
    QString file;
    QVector<PublishedFix> edits;
};

// The edits of a rename, or the reason it is refused (and no edits).
struct TokenRename
{
    QVector<FileEdits> files;
    QString error;
};

// Renames the token or group at offset to newName: either its last segment alone
// ("bg") or the whole path with only the last segment changed ("color.button.bg").
TokenRename renameToken(const TokenWorkspace &workspace, const QString &file, int offset,
                        const QString &newName);
