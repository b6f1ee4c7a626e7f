// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "lsp/features/symbols.h"

#include "analysis/colourliterals.h"
#include "lsp/features/sheetcontext.h"
#include "lsp/protocol/textdocument.h"
#include "theme/palettedirectives.h"
#include "theme/safefileread.h"

#include <QDir>
#include <QFileInfo>

#include <cmath>

namespace {
// The protocol's SymbolKind values used here.
constexpr int kSymbolClass = 5;
constexpr int kSymbolConstant = 14;

int channel(const QJsonObject &colour, const char *name)
{
    return qBound(0, int(std::lround(colour.value(QLatin1String(name)).toDouble() * 255)), 255);
}

QJsonObject symbol(const TextDocument &document, const QString &name, const QString &detail,
                   int kind, int start, int end, int nameStart, int nameEnd, bool hierarchical)
{
    QJsonObject result{{QStringLiteral("name"), name}, {QStringLiteral("kind"), kind}};
    if (hierarchical) {
        result.insert(QStringLiteral("detail"), detail);
        result.insert(QStringLiteral("range"), document.range(start, end));
        result.insert(QStringLiteral("selectionRange"), document.range(nameStart, nameEnd));
    } else {
        result.insert(QStringLiteral("location"),
                      QJsonObject{{QStringLiteral("uri"), document.uri},
                                  {QStringLiteral("range"), document.range(start, end)}});
    }
    return result;
}
} // namespace

QJsonArray documentColours(const TextDocument &document)
{
    QJsonArray result;
    for (const ColourLiteral &literal : findColourLiterals(document.text())) {
        const QColor rgb = literal.colour.toRgb();
        result.append(QJsonObject{
            {QStringLiteral("range"),
             document.range(literal.offset, literal.offset + literal.length)},
            {QStringLiteral("color"), QJsonObject{{QStringLiteral("red"), rgb.redF()},
                                                  {QStringLiteral("green"), rgb.greenF()},
                                                  {QStringLiteral("blue"), rgb.blueF()},
                                                  {QStringLiteral("alpha"), rgb.alphaF()}}},
        });
    }
    return result;
}

QJsonArray colourPresentations(const QJsonObject &colour)
{
    const QColor rgb(channel(colour, "red"), channel(colour, "green"), channel(colour, "blue"),
                     channel(colour, "alpha"));
    const bool opaque = rgb.alpha() == 255;
    const QString hex = opaque ? rgb.name() : rgb.name(QColor::HexArgb);
    const QString function =
        opaque ? QStringLiteral("rgb(%1, %2, %3)").arg(rgb.red()).arg(rgb.green()).arg(rgb.blue())
               : QStringLiteral("rgba(%1, %2, %3, %4)")
                     .arg(rgb.red())
                     .arg(rgb.green())
                     .arg(rgb.blue())
                     .arg(rgb.alpha());
    return QJsonArray{QJsonObject{{QStringLiteral("label"), hex}},
                      QJsonObject{{QStringLiteral("label"), function}}};
}

QJsonArray documentSymbols(const TextDocument &document, bool hierarchical)
{
    const QString &text = document.text();
    QJsonArray result;
    for (const RuleSpan &rule : ruleSpans(text)) {
        const QString selector =
            text.mid(rule.selectorStart, rule.selectorEnd - rule.selectorStart).simplified();
        if (selector.isEmpty())
            continue;
        int nameEnd = rule.selectorEnd;
        while (nameEnd > rule.selectorStart && text.at(nameEnd - 1).isSpace())
            --nameEnd;
        result.append(symbol(document, selector, QString(), kSymbolClass, rule.selectorStart,
                             rule.end, rule.selectorStart, nameEnd, hierarchical));
    }
    for (int keyword = text.indexOf(kPaletteKeyword); keyword >= 0;) {
        const int lineStart = text.lastIndexOf(QLatin1Char('\n'), keyword) + 1;
        int lineEnd = text.indexOf(QLatin1Char('\n'), keyword);
        if (lineEnd < 0)
            lineEnd = text.size();
        const PaletteDirectiveMatch match =
            matchPaletteDirective(QStringView(text).mid(lineStart, lineEnd - lineStart));
        if (match.matched) {
            const int start = lineStart + match.start;
            result.append(symbol(
                document, QStringLiteral("@palette %1").arg(match.name), match.colorText,
                kSymbolConstant, start, lineStart + match.end, start,
                start + int(kPaletteKeyword.size()) + 1 + int(match.name.size()), hierarchical));
        }
        keyword = text.indexOf(kPaletteKeyword, lineEnd);
    }
    return result;
}

QJsonValue definitionAt(const TextDocument &document, int offset)
{
    const QString &text = document.text();
    const int lineStart = text.lastIndexOf(QLatin1Char('\n'), qMax(0, offset - 1)) + 1;
    const int open = text.lastIndexOf(QLatin1String("url("), offset, Qt::CaseInsensitive);
    if (open < lineStart || offset < open)
        return QJsonValue::Null;
    const int close = text.indexOf(QLatin1Char(')'), open);
    const int lineEnd = text.indexOf(QLatin1Char('\n'), open);
    if (close < 0 || (lineEnd >= 0 && close > lineEnd) || offset > close)
        return QJsonValue::Null;
    QString name = text.mid(open + 4, close - open - 4).trimmed();
    if (name.size() >= 2 &&
        (name.startsWith(QLatin1Char('"')) || name.startsWith(QLatin1Char('\''))) &&
        name.endsWith(name.at(0)))
        name = name.mid(1, name.size() - 2);
    if (name.isEmpty() || name.startsWith(QLatin1Char(':')))
        return QJsonValue::Null;
    const QString path = QDir::current().absoluteFilePath(name);
    // Only a name is looked at: a FIFO or device there is never opened.
    if (!nonRegularFileKind(path).isEmpty() || !QFileInfo(path).isFile())
        return QJsonValue::Null;
    return QJsonObject{
        {QStringLiteral("uri"), uriOfLocalPath(QDir::cleanPath(path))},
        {QStringLiteral("range"),
         QJsonObject{{QStringLiteral("start"),
                      QJsonObject{{QStringLiteral("line"), 0}, {QStringLiteral("character"), 0}}},
                     {QStringLiteral("end"),
                      QJsonObject{{QStringLiteral("line"), 0}, {QStringLiteral("character"), 0}}}}},
    };
}
