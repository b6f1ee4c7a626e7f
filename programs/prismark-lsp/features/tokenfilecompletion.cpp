// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "prismark-lsp/features/tokenfilecompletion.h"

#include "tokens/designtokens.h"

#include <QRegularExpression>

namespace {

// The protocol's CompletionItemKind values used here.
constexpr int KindVariable = 6;
constexpr int KindEnumMember = 20;

// The start of the JSON string offset is inside, on its line; -1 when it is in none.
int stringStartAround(const QString &text, int offset)
{
    const int lineStart = int(text.lastIndexOf(QLatin1Char('\n'), qMax(0, offset - 1))) + 1;
    int open = -1;
    for (int i = lineStart; i < offset; ++i) {
        const QChar c = text.at(i);
        if (open >= 0 && c == QLatin1Char('\\'))
            ++i;
        else if (c == QLatin1Char('"'))
            open = open >= 0 ? -1 : i;
    }
    return open;
}

QVector<CompletionItem> typeItems(TextSpan replaces)
{
    // The format's types; the first six are those a style sheet can take.
    const QStringList sheetTypes = {TokenTypes::Colour,     TokenTypes::Dimension,
                                    TokenTypes::Number,     TokenTypes::FontFamily,
                                    TokenTypes::FontWeight, TokenTypes::Duration};
    const QStringList otherTypes = {QStringLiteral("cubicBezier"), QStringLiteral("strokeStyle"),
                                    QStringLiteral("border"),      QStringLiteral("transition"),
                                    QStringLiteral("shadow"),      QStringLiteral("gradient"),
                                    QStringLiteral("typography")};
    QVector<CompletionItem> items;
    for (const QString &type : sheetTypes + otherTypes) {
        CompletionItem item;
        item.label = type;
        item.kind = KindEnumMember;
        item.detail = sheetTypes.contains(type) ? QStringLiteral("token type")
                                                : QStringLiteral("token type no style sheet takes");
        item.replaces = replaces;
        item.newText = type;
        items.append(item);
    }
    return items;
}

QVector<CompletionItem> aliasItems(const TokenWorkspace &workspace, TextSpan replaces, bool closed)
{
    QStringList names;
    QHash<QString, QString> types;
    for (const TokenSource &source : workspace.sources()) {
        for (const TokenDeclaration &declaration : source.declarations) {
            if (declaration.group || names.contains(declaration.path))
                continue;
            names << declaration.path;
            types.insert(declaration.path, declaration.type);
        }
    }
    names.sort();
    QVector<CompletionItem> items;
    for (const QString &name : qAsConst(names)) {
        CompletionItem item;
        item.label = name;
        item.kind = KindVariable;
        item.detail = types.value(name);
        item.replaces = replaces;
        item.newText = closed ? name : name + QLatin1Char('}');
        items.append(item);
    }
    return items;
}

} // namespace

QVector<CompletionItem> tokenFileCompletions(const TokenWorkspace &workspace, const QString &text,
                                             int offset)
{
    offset = qBound(0, offset, int(text.size()));
    const int open = stringStartAround(text, offset);
    if (open < 0)
        return {};
    const int lineStart = int(text.lastIndexOf(QLatin1Char('\n'), qMax(0, open - 1))) + 1;
    static const QRegularExpression typeKey(QStringLiteral("\"\\$type\"\\s*:\\s*$"));
    if (typeKey.match(text.mid(lineStart, open - lineStart)).hasMatch()) {
        int end = offset;
        while (end < text.size() && text.at(end).isLetter())
            ++end;
        return typeItems({open + 1, end});
    }
    const int start = open + 2;
    // Before the "{" is no place for a path yet.
    if (offset < start || text.at(open + 1) != QLatin1Char('{'))
        return {};
    for (int i = start; i < offset; ++i) {
        if (!isTokenPathChar(text.at(i)))
            return {};
    }
    int end = offset;
    while (end < text.size() && isTokenPathChar(text.at(end)))
        ++end;
    const bool closed = end < text.size() && text.at(end) == QLatin1Char('}');
    return aliasItems(workspace, {start, end}, closed);
}
