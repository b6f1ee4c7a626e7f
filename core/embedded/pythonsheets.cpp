// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "embedded/embeddedsheets.h"
#include "embedded/sheetbuilder.h"
#include "embedded/sourcetokens.h"

#include <QStringList>

namespace {

// A string literal's parts: its prefix, quotes and content.
struct StringParts
{
    QString prefix;
    int contentStart = 0;
    int contentEnd = 0;
    int end = 0;
    QString quote; // ' " ''' or """
};

// Reads a Python source's tokens far enough to find setStyleSheet calls and their
// string arguments.
class PythonScanner
{
public:
    explicit PythonScanner(const QString &text)
        : text(text)
    {}

    QVector<EmbeddedSheet> run();

private:
    const QString &text;
    int at = 0;
    QString previousName; // the identifier before the current one ("def")

    bool readString(int from, StringParts *parts) const;
    void decodeString(const StringParts &parts, SheetBuilder *builder) const;
    int decodeEscape(int from, int limit, uint *value, bool *none) const;
    bool readToken(SourceToken *token);
    bool readArgument(QVector<SourceToken> *tokens, int *end);
    void readCall(QVector<EmbeddedSheet> *sheets);
};

bool PythonScanner::readString(int from, StringParts *parts) const
{
    int quote = from;
    while (quote < text.size() && quote - from < 2 &&
           QStringLiteral("rRuUbBfF").contains(text.at(quote)))
        ++quote;
    if (quote >= text.size() ||
        (text.at(quote) != QLatin1Char('\'') && text.at(quote) != QLatin1Char('"')))
        return false;
    parts->prefix = text.mid(from, quote - from).toLower();
    static const QStringList prefixes{
        QString(),           QStringLiteral("r"),  QStringLiteral("u"),  QStringLiteral("b"),
        QStringLiteral("f"), QStringLiteral("br"), QStringLiteral("rb"), QStringLiteral("fr"),
        QStringLiteral("rf")};
    if (!prefixes.contains(parts->prefix))
        return false;
    const QChar q = text.at(quote);
    const bool triple =
        quote + 2 < text.size() && text.at(quote + 1) == q && text.at(quote + 2) == q;
    parts->quote = triple ? QString(3, q) : QString(q);
    parts->contentStart = quote + int(parts->quote.size());
    // A backslash always takes the next character along, raw or not, so an escaped
    // quote never closes the string.
    for (int i = parts->contentStart; i < text.size();) {
        const QChar c = text.at(i);
        if (c == QLatin1Char('\\')) {
            i += 2;
            continue;
        }
        if (!triple && c == QLatin1Char('\n'))
            return false;
        if (QStringView(text).mid(i).startsWith(parts->quote)) {
            parts->contentEnd = i;
            parts->end = i + int(parts->quote.size());
            return true;
        }
        ++i;
    }
    return false;
}

int PythonScanner::decodeEscape(int from, int limit, uint *value, bool *none) const
{
    *none = false;
    const QChar kind = from + 1 < limit ? text.at(from + 1) : QChar();
    auto hex = [&](int digits) {
        uint result = 0;
        int i = from + 2;
        for (; i < limit && i < from + 2 + digits && hexDigitValue(text.at(i)) >= 0; ++i)
            result = qMin<uint>(result * 16 + uint(hexDigitValue(text.at(i))), 0x110000);
        *value = result;
        return i - from;
    };
    switch (kind.unicode()) {
    case '\n':
        *none = true;
        return 2;
    case '\r':
        *none = true;
        return from + 2 < limit && text.at(from + 2) == QLatin1Char('\n') ? 3 : 2;
    case '\\':
        *value = '\\';
        return 2;
    case '\'':
        *value = '\'';
        return 2;
    case '"':
        *value = '"';
        return 2;
    case 'a':
        *value = '\a';
        return 2;
    case 'b':
        *value = '\b';
        return 2;
    case 'f':
        *value = '\f';
        return 2;
    case 'n':
        *value = '\n';
        return 2;
    case 'r':
        *value = '\r';
        return 2;
    case 't':
        *value = '\t';
        return 2;
    case 'v':
        *value = '\v';
        return 2;
    case 'x':
        return hex(2);
    case 'u':
        return hex(4);
    case 'U':
        return hex(8);
    case 'N': {
        const int close = text.indexOf(QLatin1Char('}'), from);
        if (from + 2 < limit && text.at(from + 2) == QLatin1Char('{') && close > 0 &&
            close < limit) {
            *value = 0xFFFD; // a named character: no sheet needs one spelt so
            return close + 1 - from;
        }
        break;
    }
    default:
        break;
    }
    if (kind >= QLatin1Char('0') && kind <= QLatin1Char('7')) {
        uint result = 0;
        int i = from + 1;
        for (; i < limit && i < from + 4 && text.at(i) >= QLatin1Char('0') &&
               text.at(i) <= QLatin1Char('7');
             ++i)
            result = result * 8 + (text.at(i).unicode() - '0');
        *value = result;
        return i - from;
    }
    // Not an escape: the backslash stays, and the character after it is read as itself.
    *value = '\\';
    return 1;
}

void PythonScanner::decodeString(const StringParts &parts, SheetBuilder *builder) const
{
    const bool raw = parts.prefix.contains(QLatin1Char('r'));
    builder->beginPiece(parts.contentStart, raw ? LiteralSpelling::Raw : LiteralSpelling::Escaped,
                        parts.quote, parts.quote.size() == 1);
    for (int i = parts.contentStart; i < parts.contentEnd;) {
        const QChar c = text.at(i);
        if (c.isHighSurrogate() && i + 1 < parts.contentEnd && text.at(i + 1).isLowSurrogate()) {
            builder->append(QChar::surrogateToUcs4(c, text.at(i + 1)), i);
            i += 2;
            continue;
        }
        if (c != QLatin1Char('\\') || raw) {
            builder->append(c.unicode(), i);
            ++i;
            continue;
        }
        uint value = 0;
        bool none = false;
        const int length = decodeEscape(i, parts.contentEnd, &value, &none);
        if (!none)
            builder->append(value, i);
        i += length;
    }
    builder->endPiece(parts.contentEnd);
}

bool PythonScanner::readToken(SourceToken *token)
{
    for (;;) {
        while (at < text.size() && (text.at(at).isSpace() || text.at(at) == QLatin1Char('\\')))
            ++at;
        if (at < text.size() && text.at(at) == QLatin1Char('#')) {
            while (at < text.size() && text.at(at) != QLatin1Char('\n'))
                ++at;
            continue;
        }
        break;
    }
    if (at >= text.size())
        return false;
    token->start = at;
    const QChar c = text.at(at);
    StringParts parts;
    if ((c == QLatin1Char('\'') || c == QLatin1Char('"') || isIdentifierStart(c)) &&
        readString(at, &parts)) {
        token->kind = SourceTokenKind::Literal;
        token->text = parts.prefix;
        at = parts.end;
    } else if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
        // A string that does not close: the rest of its line.
        token->kind = SourceTokenKind::Punctuation;
        while (at < text.size() && text.at(at) != QLatin1Char('\n'))
            ++at;
        token->text = QStringLiteral("?");
    } else if (isIdentifierStart(c)) {
        token->kind = SourceTokenKind::Identifier;
        while (at < text.size() && isIdentifierPart(text.at(at)))
            ++at;
        token->text = text.mid(token->start, at - token->start);
    } else if (c.isDigit()) {
        token->kind = SourceTokenKind::Number;
        while (at < text.size() &&
               (isIdentifierPart(text.at(at)) || text.at(at) == QLatin1Char('.')))
            ++at;
        token->text = text.mid(token->start, at - token->start);
    } else {
        token->kind = SourceTokenKind::Punctuation;
        token->text = QString(c);
        ++at;
    }
    token->end = at;
    return true;
}

bool PythonScanner::readArgument(QVector<SourceToken> *tokens, int *end)
{
    int depth = 0;
    SourceToken token;
    while (readToken(&token)) {
        if (token.kind == SourceTokenKind::Punctuation) {
            if (token.text == QLatin1String("(") || token.text == QLatin1String("[") ||
                token.text == QLatin1String("{")) {
                ++depth;
            } else if (token.text == QLatin1String(")") || token.text == QLatin1String("]") ||
                       token.text == QLatin1String("}")) {
                if (depth == 0) {
                    *end = token.end;
                    return token.text == QLatin1String(")");
                }
                --depth;
            }
        }
        tokens->append(token);
    }
    return false;
}

QString runtimeReason(const QVector<SourceToken> &tokens, int first, int end)
{
    for (int i = first; i < end; ++i) {
        const SourceToken &token = tokens.at(i);
        if (token.kind == SourceTokenKind::Literal && token.text.contains(QLatin1Char('f')))
            return QStringLiteral("it is an f-string, filled in at run time");
        if (token.kind == SourceTokenKind::Literal && token.text.contains(QLatin1Char('b')))
            return QStringLiteral("it is bytes, not a string");
        if (token.kind == SourceTokenKind::Identifier &&
            (token.text == QLatin1String("tr") || token.text == QLatin1String("translate")))
            return QStringLiteral("it is translated at run time");
        if (token.kind == SourceTokenKind::Identifier && token.text == QLatin1String("format") &&
            i > first && tokens.at(i - 1).text == QLatin1String("."))
            return QStringLiteral("it is filled in at run time (.format())");
        if (token.text == QLatin1String("%"))
            return QStringLiteral("it is filled in at run time (%)");
    }
    for (int i = first; i < end; ++i) {
        if (tokens.at(i).text == QLatin1String("+"))
            return QStringLiteral("it is joined at run time");
    }
    if (end - first == 1 && tokens.at(first).kind == SourceTokenKind::Identifier)
        return QStringLiteral("it is the variable \"%1\"").arg(tokens.at(first).text);
    return QStringLiteral("it is built at run time");
}

void PythonScanner::readCall(QVector<EmbeddedSheet> *sheets)
{
    const int open = at;
    QVector<SourceToken> tokens;
    int end = 0;
    if (!readArgument(&tokens, &end)) {
        at = open;
        return;
    }
    at = end;
    int first = 0;
    int last = int(tokens.size());
    while (first < last && tokens.at(first).text == QLatin1String("(") &&
           matchingParenthesis(tokens, first, last) == last - 1) {
        ++first;
        --last;
    }
    if (first >= last)
        return;
    bool plain = true;
    for (int i = first; i < last; ++i) {
        const SourceToken &token = tokens.at(i);
        plain = plain && token.kind == SourceTokenKind::Literal &&
                !token.text.contains(QLatin1Char('f')) && !token.text.contains(QLatin1Char('b'));
    }
    if (!plain) {
        sheets->append(uncheckableSheet(EmbeddingLanguage::Python, tokens.at(first).start,
                                        tokens.at(last - 1).end,
                                        runtimeReason(tokens, first, last)));
        return;
    }
    SheetBuilder builder(EmbeddingLanguage::Python, tokens.at(first).start);
    for (int i = first; i < last; ++i) {
        StringParts parts;
        if (readString(tokens.at(i).start, &parts))
            decodeString(parts, &builder);
    }
    if (!builder.empty())
        sheets->append(builder.finish(tokens.at(last - 1).end));
}

QVector<EmbeddedSheet> PythonScanner::run()
{
    QVector<EmbeddedSheet> sheets;
    SourceToken token;
    while (readToken(&token)) {
        if (token.kind == SourceTokenKind::Identifier &&
            token.text == QLatin1String("setStyleSheet") && previousName != QLatin1String("def")) {
            const int afterName = at;
            SourceToken next;
            if (readToken(&next) && next.text == QLatin1String("("))
                readCall(&sheets);
            else
                at = afterName;
        }
        previousName = token.kind == SourceTokenKind::Identifier ? token.text : QString();
    }
    return sheets;
}

} // namespace

QVector<EmbeddedSheet> readPythonSheets(const QString &text)
{
    QVector<EmbeddedSheet> sheets = PythonScanner(text).run();
    placeSheets(sheets, text);
    return sheets;
}
