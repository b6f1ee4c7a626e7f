// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "embedded/sourcetokens.h"

#include <QStringList>

bool CppTokenizer::skipBlanksAndComments()
{
    while (at < text.size()) {
        const QChar c = text.at(at);
        if (c.isSpace()) {
            ++at;
        } else if (c == QLatin1Char('\\') &&
                   (peek(1) == QLatin1Char('\n') ||
                    (peek(1) == QLatin1Char('\r') && peek(2) == QLatin1Char('\n')))) {
            at += peek(1) == QLatin1Char('\r') ? 3 : 2;
        } else if (c == QLatin1Char('/') && peek(1) == QLatin1Char('/')) {
            while (at < text.size() && text.at(at) != QLatin1Char('\n'))
                ++at;
        } else if (c == QLatin1Char('/') && peek(1) == QLatin1Char('*')) {
            const int close = int(text.indexOf(QLatin1String("*/"), at + 2));
            at = close < 0 ? int(text.size()) : close + 2;
        } else {
            return true;
        }
    }
    return false;
}

// R"DELIM( ... )DELIM" with its quote at quote; false when it is none.
bool CppTokenizer::readRawLiteral(int quote, SourceToken *token) const
{
    const int paren = int(text.indexOf(QLatin1Char('('), quote + 1));
    if (paren < 0 || paren - quote - 1 > 16)
        return false;
    const QString delimiter = text.mid(quote + 1, paren - quote - 1);
    for (const QChar c : delimiter) {
        if (c.isSpace() || c == QLatin1Char(')') || c == QLatin1Char('\\') || c == QLatin1Char('"'))
            return false;
    }
    token->closing = QLatin1Char(')') + delimiter + QLatin1Char('"');
    token->contentStart = paren + 1;
    token->contentEnd = int(text.indexOf(token->closing, token->contentStart));
    if (token->contentEnd < 0)
        return false;
    token->end = token->contentEnd + int(token->closing.size());
    return true;
}

// The string literal at the token's start, with any prefix and suffix; false when
// none starts there or it does not close.
bool CppTokenizer::readLiteral(SourceToken *token) const
{
    static const QStringList prefixes{QStringLiteral("u8R"), QStringLiteral("uR"),
                                      QStringLiteral("UR"),  QStringLiteral("LR"),
                                      QStringLiteral("R"),   QStringLiteral("u8"),
                                      QStringLiteral("u"),   QStringLiteral("U"),
                                      QStringLiteral("L"),   QString()};
    const int from = token->start;
    int quote = -1;
    for (const QString &prefix : prefixes) {
        const int after = from + int(prefix.size());
        if (QStringView(text).mid(from).startsWith(prefix) && after < text.size() &&
            text.at(after) == QLatin1Char('"')) {
            quote = after;
            token->text = prefix;
            break;
        }
    }
    if (quote < 0)
        return false;
    token->raw = token->text.endsWith(QLatin1Char('R'));
    if (token->raw) {
        if (!readRawLiteral(quote, token))
            return false;
    } else {
        int i = quote + 1;
        while (i < text.size() && text.at(i) != QLatin1Char('"') && text.at(i) != QLatin1Char('\n'))
            i += text.at(i) == QLatin1Char('\\') && i + 1 < text.size() ? 2 : 1;
        if (i >= text.size() || text.at(i) != QLatin1Char('"'))
            return false;
        token->closing = QStringLiteral("\"");
        token->contentStart = quote + 1;
        token->contentEnd = i;
        token->end = i + 1;
    }
    // A user-defined literal's suffix (_s, _L1) belongs to it.
    while (token->end < text.size() && isIdentifierPart(text.at(token->end)))
        ++token->end;
    return true;
}

// A number, digit separators and exponents included.
void CppTokenizer::readNumber()
{
    ++at;
    while (at < text.size()) {
        const QChar d = text.at(at);
        if ((d == QLatin1Char('+') || d == QLatin1Char('-')) &&
            QStringLiteral("eEpP").contains(text.at(at - 1)))
            ++at;
        else if (isIdentifierPart(d) || d == QLatin1Char('.') || d == QLatin1Char('\''))
            ++at;
        else
            break;
    }
}

bool CppTokenizer::next(SourceToken *token)
{
    if (!skipBlanksAndComments())
        return false;
    *token = SourceToken();
    token->start = at;
    const QChar c = text.at(at);
    if ((c == QLatin1Char('"') || isIdentifierStart(c)) && readLiteral(token)) {
        token->kind = SourceTokenKind::Literal;
        at = token->end;
        return true;
    }
    *token = SourceToken();
    token->start = at;
    if (isIdentifierStart(c)) {
        token->kind = SourceTokenKind::Identifier;
        while (at < text.size() && isIdentifierPart(text.at(at)))
            ++at;
    } else if (c.isDigit() || (c == QLatin1Char('.') && peek(1).isDigit())) {
        token->kind = SourceTokenKind::Number;
        readNumber();
    } else if (c == QLatin1Char('\'')) {
        // A character literal, stepped over whole.
        ++at;
        while (at < text.size() && text.at(at) != QLatin1Char('\'') &&
               text.at(at) != QLatin1Char('\n'))
            at += text.at(at) == QLatin1Char('\\') ? 2 : 1;
        at = qMin(int(text.size()), at + 1);
    } else if (c == QLatin1Char('"')) {
        // A string that does not close on its line: to the line's end.
        while (at < text.size() && text.at(at) != QLatin1Char('\n'))
            ++at;
    } else {
        const bool pair = (c == QLatin1Char(':') && peek(1) == QLatin1Char(':')) ||
                          (c == QLatin1Char('-') && peek(1) == QLatin1Char('>'));
        at += pair ? 2 : 1;
    }
    token->end = at;
    token->text = text.mid(token->start, at - token->start);
    return true;
}

void PythonTokenizer::skipBlanksAndComments()
{
    for (;;) {
        while (at < text.size() && (text.at(at).isSpace() || text.at(at) == QLatin1Char('\\')))
            ++at;
        if (at >= text.size() || text.at(at) != QLatin1Char('#'))
            return;
        while (at < text.size() && text.at(at) != QLatin1Char('\n'))
            ++at;
    }
}

// The string at the token's start, prefix and quotes included; false when none
// starts there or it does not close.
bool PythonTokenizer::readString(SourceToken *token) const
{
    const int from = token->start;
    int quote = from;
    while (quote < text.size() && quote - from < 2 &&
           QStringLiteral("rRuUbBfF").contains(text.at(quote)))
        ++quote;
    if (quote >= text.size() ||
        (text.at(quote) != QLatin1Char('\'') && text.at(quote) != QLatin1Char('"')))
        return false;
    static const QStringList prefixes{
        QString(),           QStringLiteral("r"),  QStringLiteral("u"),  QStringLiteral("b"),
        QStringLiteral("f"), QStringLiteral("br"), QStringLiteral("rb"), QStringLiteral("fr"),
        QStringLiteral("rf")};
    token->text = text.mid(from, quote - from).toLower();
    if (!prefixes.contains(token->text))
        return false;
    token->raw = token->text.contains(QLatin1Char('r'));
    const QChar q = text.at(quote);
    const bool triple =
        quote + 2 < text.size() && text.at(quote + 1) == q && text.at(quote + 2) == q;
    token->closing = triple ? QString(3, q) : QString(q);
    token->contentStart = quote + int(token->closing.size());
    // A backslash always takes the next character along, raw or not, so an escaped
    // quote never closes the string.
    for (int i = token->contentStart; i < text.size();) {
        const QChar c = text.at(i);
        if (c == QLatin1Char('\\')) {
            i += 2;
            continue;
        }
        if (!triple && c == QLatin1Char('\n'))
            return false;
        if (QStringView(text).mid(i).startsWith(token->closing)) {
            token->contentEnd = i;
            token->end = i + int(token->closing.size());
            return true;
        }
        ++i;
    }
    return false;
}

bool PythonTokenizer::next(SourceToken *token)
{
    skipBlanksAndComments();
    if (at >= text.size())
        return false;
    *token = SourceToken();
    token->start = at;
    const QChar c = text.at(at);
    const bool quote = c == QLatin1Char('\'') || c == QLatin1Char('"');
    if ((quote || isIdentifierStart(c)) && readString(token)) {
        token->kind = SourceTokenKind::Literal;
        at = token->end;
        return true;
    }
    *token = SourceToken();
    token->start = at;
    if (quote) {
        // A string that does not close: the rest of its line.
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
        token->text = QString(c);
        ++at;
    }
    token->end = at;
    return true;
}

bool readCallArgument(SourceTokenizer &tokenizer, QVector<SourceToken> *tokens, int *end)
{
    int depth = 0;
    SourceToken token;
    while (tokenizer.next(&token)) {
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
            } else if (token.text == QLatin1String(";") && depth == 0) {
                return false;
            }
        }
        tokens->append(token);
    }
    return false;
}

int matchingParenthesis(const QVector<SourceToken> &tokens, int open, int last)
{
    int depth = 0;
    for (int i = open; i < last; ++i) {
        if (tokens.at(i).text == QLatin1String("("))
            ++depth;
        else if (tokens.at(i).text == QLatin1String(")") && --depth == 0)
            return i;
    }
    return -1;
}

int trailingCalls(const QVector<SourceToken> &tokens, int first, int last, const QString &method)
{
    while (last - first >= 4 && tokens.at(last - 1).text == QLatin1String(")")) {
        int depth = 0;
        int open = last - 1;
        for (; open >= first; --open) {
            if (tokens.at(open).text == QLatin1String(")"))
                ++depth;
            else if (tokens.at(open).text == QLatin1String("(") && --depth == 0)
                break;
        }
        if (open - 2 < first || tokens.at(open - 1).kind != SourceTokenKind::Identifier ||
            tokens.at(open - 1).text != method || tokens.at(open - 2).text != QLatin1String("."))
            break;
        last = open - 2;
    }
    return last;
}
