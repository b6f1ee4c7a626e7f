// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "prismark-lsp/features/tokenworkspace.h"

#include "analysis/templatelint.h"
#include "support/safefileread.h"
#include "tokens/jsonreader.h"
#include "tokens/themebuild.h"
#include "tokens/themetemplate.h"

#include <QDir>
#include <QFileInfo>

namespace {

// How far above a token file templates are looked for: "theme/tokens/x.tokens.json"
// beside "theme/x.qss.in" is one level, and a few more cover deeper layouts.
constexpr int kFolderLevelsUp = 3;
// A folder full of templates is not read past this many.
constexpr int kMaxTemplates = 64;

// Offsets of the reader's positions: lines end at LF, columns count characters.
class LineIndex
{
public:
    explicit LineIndex(const QString &text)
        : text(text)
    {
        starts.append(0);
        for (int i = 0; i < text.size(); ++i) {
            if (text.at(i) == QLatin1Char('\n'))
                starts.append(i + 1);
        }
    }
    int offset(int line, int column) const
    {
        const int start = starts.value(qBound(1, line, int(starts.size())) - 1);
        return qBound(0, start + column - 1, int(text.size()));
    }
    // The end of the JSON string whose quote is at offset, past its closing quote.
    int stringEnd(int quote) const
    {
        int i = quote + 1;
        while (i < text.size()) {
            if (text.at(i) == QLatin1Char('\\'))
                i += 2;
            else if (text.at(i) == QLatin1Char('"'))
                return i + 1;
            else
                ++i;
        }
        return int(text.size());
    }

    // The end of the object or array that opens at offset, past its closing bracket.
    int bracketEnd(int open) const
    {
        int depth = 0;
        for (int i = open; i < text.size(); ++i) {
            const QChar c = text.at(i);
            if (c == QLatin1Char('"')) {
                i = stringEnd(i) - 1;
            } else if (c == QLatin1Char('{') || c == QLatin1Char('[')) {
                ++depth;
            } else if ((c == QLatin1Char('}') || c == QLatin1Char(']')) && --depth == 0) {
                return i + 1;
            }
        }
        return int(text.size());
    }

private:
    const QString &text;
    QVector<int> starts;
};

QString aliasOf(const JsonNode &node)
{
    if (node.kind != JsonNode::String)
        return QString();
    const QString &s = node.string;
    if (s.size() < 3 || !s.startsWith(QLatin1Char('{')) || !s.endsWith(QLatin1Char('}')))
        return QString();
    const QString inner = s.mid(1, s.size() - 2).trimmed();
    if (inner.isEmpty() || !std::all_of(inner.begin(), inner.end(), isTokenPathChar))
        return QString();
    return inner;
}

class TokenFileScanner
{
public:
    TokenFileScanner(TokenSource &source)
        : source(source)
        , lines(source.text)
    {}

    void scan()
    {
        const JsonReadResult json = readJson(source.text);
        if (json.ok && json.root.kind == JsonNode::Object)
            group(json.root, QString());
    }

private:
    TextSpan keySpan(const JsonMember &member) const
    {
        const int quote = lines.offset(member.line, member.column);
        const int end = lines.stringEnd(quote) - 1;
        // A key written with escapes cannot be edited character for character.
        if (source.text.mid(quote + 1, end - quote - 1) != member.key)
            return {-1, -1};
        return {quote + 1, end};
    }

    void aliases(const JsonNode &node)
    {
        const QString alias = aliasOf(node);
        if (!alias.isEmpty()) {
            const int quote = lines.offset(node.line, node.column);
            const int end = lines.stringEnd(quote) - 1;
            const int at = source.text.mid(quote + 1, end - quote - 1).indexOf(alias);
            if (at >= 0)
                source.uses.append({alias, {quote + 1 + at, quote + 1 + at + int(alias.size())}});
        }
        for (const JsonNode &item : node.items)
            aliases(item);
        for (const JsonMember &member : node.members)
            aliases(member.value);
    }

    void group(const JsonNode &node, const QString &prefix)
    {
        for (const JsonMember &member : node.members) {
            if (member.key.startsWith(QLatin1Char('$')) || member.key.isEmpty() ||
                !std::all_of(member.key.begin(), member.key.end(), isTokenPathChar) ||
                member.key.contains(QLatin1Char('.')) || member.value.kind != JsonNode::Object)
                continue;
            TokenDeclaration declaration;
            declaration.path =
                prefix.isEmpty() ? member.key : prefix + QLatin1Char('.') + member.key;
            declaration.key = keySpan(member);
            const JsonNode *value = member.value.member(QStringLiteral("$value"));
            declaration.group = !value;
            const auto text = [&member](const char *key) {
                const JsonNode *node = member.value.member(QLatin1String(key));
                return node && node->kind == JsonNode::String ? node->string : QString();
            };
            declaration.type = text("$type");
            declaration.description = text("$description");
            if (value) {
                const int start = lines.offset(value->line, value->column);
                const bool nested =
                    value->kind == JsonNode::Object || value->kind == JsonNode::Array;
                const int end = value->kind == JsonNode::String ? lines.stringEnd(start)
                                : nested                        ? lines.bracketEnd(start)
                                                                : start + 1;
                declaration.value = {start, end};
                declaration.alias = aliasOf(*value);
                aliases(*value);
            }
            source.declarations.append(declaration);
            if (!value)
                group(member.value, declaration.path);
        }
    }

    TokenSource &source;
    LineIndex lines;
};

// The uses in a template: "{path}" anywhere, its header's @palette lines included.
QVector<TokenUse> templateUses(const QString &text)
{
    QVector<TokenUse> uses;
    for (int i = 0; i < text.size(); ++i) {
        if (text.at(i) != QLatin1Char('{'))
            continue;
        int end = i + 1;
        while (end < text.size() && isTokenPathChar(text.at(end)))
            ++end;
        if (end > i + 1 && end < text.size() && text.at(end) == QLatin1Char('}'))
            uses.append({text.mid(i + 1, end - i - 1), {i + 1, end}});
    }
    return uses;
}

QString cleanAbsolute(const QString &path)
{
    return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}

bool contains(TextSpan span, int offset)
{
    return span.start >= 0 && offset >= span.start && offset <= span.end;
}

QVector<TokenVariant> templateVariants(const QString &file, const QString &text)
{
    const ThemeTemplate theme = ThemeTemplate::parse(text, file, nullptr);
    const QDir folder = QFileInfo(file).dir();
    QStringList base;
    for (const QString &name : theme.baseFiles())
        base << cleanAbsolute(folder.filePath(name));
    QVector<TokenVariant> variants;
    for (const TemplateVariant &variant : theme.variants()) {
        TokenVariant v{variant.name, base};
        for (const QString &name : variant.files)
            v.files << cleanAbsolute(folder.filePath(name));
        variants.append(v);
    }
    return variants;
}

QStringList filesOf(const QVector<TokenVariant> &variants)
{
    QStringList files;
    for (const TokenVariant &variant : variants) {
        for (const QString &file : variant.files) {
            if (!files.contains(file))
                files << file;
        }
    }
    return files;
}

// The templates in folder and the folders above it.
QStringList templatesAbove(const QString &folder)
{
    QStringList found;
    QDir dir(folder);
    for (int level = 0; level <= kFolderLevelsUp; ++level) {
        const QStringList names = dir.entryList({QStringLiteral("*.qss.in")}, QDir::Files);
        for (const QString &name : names) {
            if (found.size() < kMaxTemplates)
                found << cleanAbsolute(dir.filePath(name));
        }
        if (!dir.cdUp())
            break;
    }
    return found;
}

} // namespace

std::optional<QString> readSourceFromDisk(const QString &path)
{
    const FileReadResult read = readRegularFile(path, kMaxThemeSourceBytes);
    if (!read.ok)
        return std::nullopt;
    return QString::fromUtf8(read.bytes);
}

bool isTokenFilePath(const QString &path)
{
    return path.endsWith(QLatin1String(".tokens.json"), Qt::CaseInsensitive) ||
           path.endsWith(QLatin1String(".tokens"), Qt::CaseInsensitive);
}

TokenWorkspace TokenWorkspace::around(const QString &file, const QString &text,
                                      const SourceReader &read)
{
    TokenWorkspace workspace;
    const QString own = cleanAbsolute(file);
    if (isThemeTemplatePath(own)) {
        workspace.addTemplate(own, text, read, true);
    } else {
        workspace.addSource(own, text, false);
        for (const QString &path : templatesAbove(QFileInfo(own).path())) {
            const std::optional<QString> templateText = read(path);
            if (templateText && filesOf(templateVariants(path, *templateText)).contains(own))
                workspace.addTemplate(path, *templateText, read, false);
        }
        if (workspace.variantList.isEmpty())
            workspace.variantList.append({QFileInfo(own).fileName(), {own}});
    }
    return workspace;
}

void TokenWorkspace::addTemplate(const QString &file, const QString &text, const SourceReader &read,
                                 bool own)
{
    const QVector<TokenVariant> variants = templateVariants(file, text);
    if (variantList.isEmpty())
        variantList = variants;
    addSource(file, text, true);
    for (const QString &tokenFile : filesOf(variants)) {
        if (source(tokenFile))
            continue;
        if (const std::optional<QString> tokenText = read(tokenFile))
            addSource(tokenFile, *tokenText, false);
    }
    if (!own)
        return;
    // The other templates of the folder tree that share a token file use its tokens too.
    const QStringList tokenFiles = filesOf(variants);
    for (const QString &path : templatesAbove(QFileInfo(file).path())) {
        if (source(path))
            continue;
        const std::optional<QString> other = read(path);
        if (!other)
            continue;
        const QStringList otherFiles = filesOf(templateVariants(path, *other));
        if (std::any_of(otherFiles.begin(), otherFiles.end(),
                        [&tokenFiles](const QString &f) { return tokenFiles.contains(f); }))
            addSource(path, *other, true);
    }
}

void TokenWorkspace::addSource(const QString &file, const QString &text, bool isTemplate)
{
    TokenSource source;
    source.file = file;
    source.text = text;
    source.isTemplate = isTemplate;
    if (isTemplate)
        source.uses = templateUses(text);
    else
        TokenFileScanner(source).scan();
    list.append(source);
}

const TokenSource *TokenWorkspace::source(const QString &file) const
{
    for (const TokenSource &source : list) {
        if (source.file == file)
            return &source;
    }
    return nullptr;
}

std::optional<TokenTarget> TokenWorkspace::targetAt(const QString &file, int offset) const
{
    const TokenSource *in = source(cleanAbsolute(file));
    if (!in)
        return std::nullopt;
    for (const TokenUse &use : in->uses) {
        if (contains(use.span, offset))
            return TokenTarget{use.path, {in->file, use.span}, false};
    }
    for (const TokenDeclaration &declaration : in->declarations) {
        // The key with its quotes, or the value it gives.
        const bool onKey = declaration.key.start >= 0 &&
                           contains({declaration.key.start - 1, declaration.key.end + 1}, offset);
        if (onKey || (!declaration.group && contains(declaration.value, offset)))
            return TokenTarget{declaration.path, {in->file, declaration.key}, true};
    }
    return std::nullopt;
}

QVector<QPair<QString, TokenDeclaration>> TokenWorkspace::declarationsOf(const QString &path) const
{
    QVector<QPair<QString, TokenDeclaration>> found;
    for (const TokenSource &source : list) {
        for (const TokenDeclaration &declaration : source.declarations) {
            if (declaration.path == path)
                found.append({source.file, declaration});
        }
    }
    return found;
}

QVector<QPair<QString, TokenUse>> TokenWorkspace::usesOf(const QString &path,
                                                         bool withDescendants) const
{
    const QString prefix = path + QLatin1Char('.');
    QVector<QPair<QString, TokenUse>> found;
    for (const TokenSource &source : list) {
        for (const TokenUse &use : source.uses) {
            if (use.path == path || (withDescendants && use.path.startsWith(prefix)))
                found.append({source.file, use});
        }
    }
    return found;
}

std::optional<TokenDeclaration> TokenWorkspace::declarationIn(const TokenVariant &variant,
                                                              const QString &path) const
{
    std::optional<TokenDeclaration> found;
    for (const QString &file : variant.files) {
        if (const TokenSource *in = source(file)) {
            for (const TokenDeclaration &declaration : in->declarations) {
                if (declaration.path == path && !declaration.group)
                    found = declaration;
            }
        }
    }
    return found;
}

bool isTokenPathChar(QChar c)
{
    return c.isLetterOrNumber() || c == QLatin1Char('.') || c == QLatin1Char('-') ||
           c == QLatin1Char('_');
}
