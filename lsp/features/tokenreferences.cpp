// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "lsp/features/tokenreferences.h"

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

bool isPathChar(QChar c)
{
    return c.isLetterOrNumber() || c == QLatin1Char('.') || c == QLatin1Char('-') ||
           c == QLatin1Char('_');
}

// The reference around offset: the span of its path, without the braces; the start
// is -1 when offset is in none.
TextSpan referenceAt(const QString &text, int offset, bool needClose)
{
    offset = qBound(0, offset, int(text.size()));
    int start = offset;
    while (start > 0 && isPathChar(text.at(start - 1)))
        --start;
    if (start == 0 || text.at(start - 1) != QLatin1Char('{'))
        return {-1, -1};
    int end = offset;
    while (end < text.size() && isPathChar(text.at(end)))
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

std::optional<HoverInfo> tokenHover(const QString &text, int offset, const QString &templatePath,
                                    bool markdown)
{
    const TextSpan span = referenceAt(text, offset, true);
    if (span.start < 0 || span.end == span.start)
        return std::nullopt;
    const QString path = text.mid(span.start, span.end - span.start);
    const QVector<VariantTokens> variants = tokensOfTemplate(text, templatePath);
    QString type;
    QString where;
    for (const VariantTokens &v : variants) {
        if (const TokenValue *value = v.tokens.value(path)) {
            type = value->type;
            where = QStringLiteral("%1:%2:%3")
                        .arg(QFileInfo(templatePath).dir().relativeFilePath(value->where.file))
                        .arg(value->where.line)
                        .arg(value->where.column);
            break;
        }
    }
    if (type.isEmpty())
        return std::nullopt;
    const QString values =
        valuesText(variants, path, markdown ? QStringLiteral("  \n") : QStringLiteral("\n"));
    HoverInfo hover;
    hover.span = {span.start - 1, span.end + 1};
    hover.markdown = markdown;
    hover.contents =
        markdown ? QStringLiteral("**{%1}** (%2), in %3\n\n%4").arg(path, type, where, values)
                 : QStringLiteral("{%1} (%2), in %3\n%4").arg(path, type, where, values);
    return hover;
}
