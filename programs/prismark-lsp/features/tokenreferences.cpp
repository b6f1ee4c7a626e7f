// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "prismark-lsp/features/tokenreferences.h"

#include "support/safefileread.h"
#include "tokens/designtokens.h"
#include "tokens/themebuild.h"
#include "tokens/themetemplate.h"

#include <QDir>
#include <QFileInfo>

namespace {

// The protocol's CompletionItemKind values used here.
constexpr int KindVariable = 6;
constexpr int KindColor = 16;

struct VariantTokens
{
    QString variant;
    DesignTokens tokens;
};

QVector<VariantTokens> tokensOfTemplate(const QString &text, const QString &templatePath)
{
    const ThemeTemplate theme = ThemeTemplate::parse(text, templatePath, nullptr);
    const QDir folder = QFileInfo(templatePath).dir();
    const auto add = [&folder](DesignTokens &tokens, const QString &file) {
        const QString path = folder.filePath(file);
        const FileReadResult read = readRegularFile(path, kMaxThemeSourceBytes);
        if (read.ok)
            tokens.addDocument(QString::fromUtf8(read.bytes), path, nullptr);
    };
    QVector<VariantTokens> variants;
    for (const TemplateVariant &variant : theme.variants()) {
        VariantTokens v{variant.name, {}};
        for (const QString &file : theme.baseFiles())
            add(v.tokens, file);
        for (const QString &file : variant.files)
            add(v.tokens, file);
        v.tokens.resolve(nullptr);
        variants.append(v);
    }
    return variants;
}

// The reference around offset: the span of its path, without the braces; the start
// is -1 when offset is in none.
TextSpan referenceAt(const QString &text, int offset, bool needClose)
{
    offset = qBound(0, offset, int(text.size()));
    int start = offset;
    while (start > 0 && isTokenPathChar(text.at(start - 1)))
        --start;
    if (start == 0 || text.at(start - 1) != QLatin1Char('{'))
        return {-1, -1};
    int end = offset;
    while (end < text.size() && isTokenPathChar(text.at(end)))
        ++end;
    if (needClose && (end >= text.size() || text.at(end) != QLatin1Char('}')))
        return {-1, -1};
    return {start, end};
}

// "Light #ffffff, Dark #202020": the value in each variant.
QString valuesText(const QVector<VariantTokens> &variants, const QString &path,
                   const QString &separator)
{
    QStringList values;
    for (const VariantTokens &v : variants) {
        const TokenValue *value = v.tokens.value(path);
        values << QStringLiteral("%1 %2").arg(v.variant, value ? value->sheetText()
                                                               : QStringLiteral("(none)"));
    }
    return values.join(separator);
}

} // namespace

QVector<CompletionItem> tokenCompletions(const QString &text, int offset,
                                         const QString &templatePath)
{
    const TextSpan span = referenceAt(text, offset, false);
    if (span.start < 0)
        return {};
    const QVector<VariantTokens> variants = tokensOfTemplate(text, templatePath);
    QStringList names;
    for (const VariantTokens &v : variants) {
        for (const QString &name : v.tokens.names()) {
            if (!names.contains(name))
                names << name;
        }
    }
    const bool closed = span.end < text.size() && text.at(span.end) == QLatin1Char('}');
    QVector<CompletionItem> items;
    for (const QString &name : qAsConst(names)) {
        CompletionItem item;
        item.label = name;
        const TokenValue *first =
            variants.isEmpty() ? nullptr : variants.first().tokens.value(name);
        item.kind = first && first->isColour() ? KindColor : KindVariable;
        item.detail = valuesText(variants, name, QStringLiteral(", "));
        // A colour item shows its swatch from the documentation's colour.
        if (first && first->isColour())
            item.documentation = first->colour.name(QColor::HexRgb);
        item.replaces = span;
        item.newText = closed ? name : name + QLatin1Char('}');
        items.append(item);
    }
    return items;
}

namespace {

// "{a} → {b} → #ffffff": the aliases the variant follows to the value.
QString chainText(const TokenWorkspace &workspace, const TokenVariant &variant,
                  const DesignTokens &tokens, const QString &path)
{
    const TokenValue *value = tokens.value(path);
    if (!value)
        return QStringLiteral("(none)");
    QStringList chain{path};
    for (auto declaration = workspace.declarationIn(variant, path);
         declaration && !declaration->alias.isEmpty() && !chain.contains(declaration->alias);
         declaration = workspace.declarationIn(variant, declaration->alias))
        chain << declaration->alias;
    QStringList steps;
    if (chain.size() > 1) {
        for (const QString &step : qAsConst(chain))
            steps << QLatin1Char('{') + step + QLatin1Char('}');
    }
    steps << value->sheetText();
    return steps.join(QStringLiteral(" → "));
}

DesignTokens variantTokens(const TokenWorkspace &workspace, const TokenVariant &variant)
{
    DesignTokens tokens;
    for (const QString &file : variant.files) {
        if (const TokenSource *source = workspace.source(file))
            tokens.addDocument(source->text, file, nullptr);
    }
    tokens.resolve(nullptr);
    return tokens;
}

} // namespace

std::optional<HoverInfo> tokenHover(const TokenWorkspace &workspace, const QString &file,
                                    int offset, bool markdown)
{
    const std::optional<TokenTarget> target = workspace.targetAt(file, offset);
    if (!target)
        return std::nullopt;
    const QString path = target->path;
    QString type;
    QString description;
    QString where;
    QStringList values;
    const QDir folder = QFileInfo(file).dir();
    for (const TokenVariant &variant : workspace.variants()) {
        const DesignTokens tokens = variantTokens(workspace, variant);
        values << QStringLiteral("%1 %2").arg(variant.name,
                                              chainText(workspace, variant, tokens, path));
        const TokenValue *value = tokens.value(path);
        if (value && type.isEmpty()) {
            type = value->type;
            where = QStringLiteral("%1:%2:%3")
                        .arg(folder.relativeFilePath(value->where.file))
                        .arg(value->where.line)
                        .arg(value->where.column);
        }
        const auto declaration = workspace.declarationIn(variant, path);
        if (declaration && description.isEmpty())
            description = declaration->description;
    }
    if (type.isEmpty())
        return std::nullopt;
    HoverInfo hover;
    hover.span = target->span.span;
    hover.markdown = markdown;
    const QString head =
        markdown ? QStringLiteral("**{%1}** (%2), in %3") : QStringLiteral("{%1} (%2), in %3");
    QStringList parts{head.arg(path, type, where)};
    if (!description.isEmpty())
        parts << description;
    parts << values.join(markdown ? QStringLiteral("  \n") : QStringLiteral("\n"));
    hover.contents = parts.join(markdown ? QStringLiteral("\n\n") : QStringLiteral("\n"));
    return hover;
}
