// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include "prismark-lsp/protocol/protocol.h"

#include <QSet>
#include <QString>
#include <QStringList>
#include <QVector>

#include <functional>
#include <optional>

// The templates and token files a token feature looks at, with where each token is
// declared and used in their texts.

// The text of a file as the editor has it: an open document's, else the file on disk;
// nothing when it cannot be read.
using SourceReader = std::function<std::optional<QString>(const QString &path)>;
// Reads from disk only, within the theme sources' size limit.
std::optional<QString> readSourceFromDisk(const QString &path);

// "dark.tokens.json": the name the token format gives its files.
bool isTokenFilePath(const QString &path);
// A character of a token path as an editor meets it in a reference, a key or a
// completion: a name's letters, digits, "-" and "_", and the "." between names.
bool isTokenPathChar(QChar c);

// A stretch of one file's text.
struct FileSpan
{
    QString file;
    TextSpan span;
    bool operator==(const FileSpan &other) const
    {
        return file == other.file && span == other.span;
    }
};

// A token or a group as one token file writes it.
struct TokenDeclaration
{
    QString path;
    bool group = false;
    TextSpan key;   // the key's characters inside its quotes; start -1 when escaped
    TextSpan value; // the "$value" as written: a string with its quotes, a whole object
    QString alias;  // the path a "{...}" value names, else empty
    QString type;   // its own "$type"
    QString description;
};

// "{path}" in a template or as an alias in a token file: the span of the path.
struct TokenUse
{
    QString path;
    TextSpan span;
};

struct TokenSource
{
    QString file; // absolute and clean
    QString text;
    bool isTemplate = false;
    QVector<TokenUse> uses;
    QVector<TokenDeclaration> declarations; // a token file's, in file order
};

// One variant of a template: the token files merged for it, in order.
struct TokenVariant
{
    QString name;
    QStringList files;
};

// What a position in a source stands on.
struct TokenTarget
{
    QString path;
    FileSpan span; // the path, or the key it is declared by
    bool declaration = false;
};

class TokenWorkspace
{
public:
    // A template and the token files it names, or a token file and the templates in
    // its folder and the folders above that name it, each with the token files they
    // name. text is the document's own, which may differ from the disk.
    static TokenWorkspace around(const QString &file, const QString &text,
                                 const SourceReader &read);

    const TokenSource *source(const QString &file) const;
    QVector<TokenSource> sources() const { return list; }
    // The first template's variants (the document's own when it is a template); a
    // token file no template names is one variant of its own.
    QVector<TokenVariant> variants() const { return variantList; }

    std::optional<TokenTarget> targetAt(const QString &file, int offset) const;
    // Every declaration of a token or group, with the file it is in.
    QVector<QPair<QString, TokenDeclaration>> declarationsOf(const QString &path) const;
    // Uses of path, or of a token under it when it is a group.
    QVector<QPair<QString, TokenUse>> usesOf(const QString &path, bool withDescendants) const;
    // The declaration that wins for path in a variant: the last file declaring it.
    std::optional<TokenDeclaration> declarationIn(const TokenVariant &variant,
                                                  const QString &path) const;

private:
    void addSource(const QString &file, const QString &text, bool isTemplate);
    void addTemplate(const QString &file, const QString &text, const SourceReader &read, bool own);

    QVector<TokenSource> list;
    QVector<TokenVariant> variantList;
};
