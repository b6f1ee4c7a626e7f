// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "support/sheetlexer.h"

namespace {
// ASCII first: nearly every character of a sheet is, and QChar's tables cost more.
bool isNameChar(QChar c)
{
    const ushort u = c.unicode();
    if (u < 0x80)
        return (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || (u >= '0' && u <= '9') ||
               u == '-' || u == '_';
    return c.isLetterOrNumber();
}

bool isSpace(QChar c)
{
    const ushort u = c.unicode();
    if (u < 0x80)
        return u == ' ' || (u >= '\t' && u <= '\r');
    return c.isSpace();
}

bool isDigit(QChar c)
{
    return c.unicode() >= '0' && c.unicode() <= '9';
}
} // namespace

SheetLexer::SheetLexer(QStringView text, LexMode mode, int from)
    : text(text)
    , size(int(text.size()))
    , position(qBound(0, from, int(text.size())))
    , mode(mode)
{}

int SheetLexer::comment(int from, bool *closed) const
{
    const int close = int(text.indexOf(QLatin1String("*/"), from + 2));
    *closed = close >= 0;
    return close < 0 ? size : close + 2;
}

int SheetLexer::quoted(int from, bool *closed) const
{
    const QChar quote = text.at(from);
    int i = from + 1;
    while (i < size) {
        const QChar c = text.at(i);
        if (c == quote) {
            *closed = true;
            return i + 1;
        }
        if (c == QLatin1Char('\n'))
            break;
        i += c == QLatin1Char('\\') ? 2 : 1;
    }
    *closed = false;
    return qMin(i, size);
}

int SheetLexer::url(int from, bool *closed) const
{
    int i = from + 4;
    while (i < size && isSpace(text.at(i)))
        ++i;
    if (i < size && (text.at(i) == QLatin1Char('"') || text.at(i) == QLatin1Char('\''))) {
        bool stringClosed = false;
        i = quoted(i, &stringClosed);
    }
    const int close = int(text.indexOf(QLatin1Char(')'), i));
    *closed = close >= 0;
    return close < 0 ? size : close + 1;
}

int SheetLexer::reference(int from, bool *closed) const
{
    int i = from + 1;
    while (i < size) {
        const QChar c = text.at(i);
        if (c == QLatin1Char('}')) {
            *closed = true;
            return i + 1;
        }
        if (c == QLatin1Char('\n') || c == QLatin1Char(';'))
            break;
        ++i;
    }
    *closed = false;
    return i;
}

int SheetLexer::name(int from) const
{
    int i = from;
    while (i < size) {
        const QChar c = text.at(i);
        if (c == QLatin1Char('\\'))
            i = qMin(size, i + 2);
        else if (isNameChar(c))
            ++i;
        else
            break;
    }
    return i;
}

int SheetLexer::number(int from) const
{
    int i = from;
    if (text.at(i) == QLatin1Char('-'))
        ++i;
    while (i < size && isDigit(text.at(i)))
        ++i;
    if (i + 1 < size && text.at(i) == QLatin1Char('.') && isDigit(text.at(i + 1))) {
        i += 2;
        while (i < size && isDigit(text.at(i)))
            ++i;
    }
    if (i < size && text.at(i) == QLatin1Char('%'))
        return i + 1;
    return name(i);
}

SheetSpan SheetLexer::next()
{
    SheetSpan span;
    span.start = position;
    const QChar c = text.at(position);
    const QChar after = position + 1 < size ? text.at(position + 1) : QChar();
    const auto startsNumber = [&](int at) {
        return at < size && (isDigit(text.at(at)) || (text.at(at) == QLatin1Char('.') &&
                                                      at + 1 < size && isDigit(text.at(at + 1))));
    };
    bool closed = true;
    int end = position + 1;
    if (isSpace(c)) {
        span.kind = SheetSpanKind::Whitespace;
        while (end < size && isSpace(text.at(end)))
            ++end;
    } else if (c == QLatin1Char('/') && after == QLatin1Char('*')) {
        span.kind = SheetSpanKind::Comment;
        end = comment(position, &closed);
    } else if (c == QLatin1Char('"') || c == QLatin1Char('\'')) {
        span.kind = SheetSpanKind::String;
        end = quoted(position, &closed);
    } else if ((c == QLatin1Char('u') || c == QLatin1Char('U')) &&
               text.mid(position).startsWith(QLatin1String("url("), Qt::CaseInsensitive)) {
        span.kind = SheetSpanKind::Url;
        end = url(position, &closed);
    } else if (startsNumber(position) || (c == QLatin1Char('-') && startsNumber(position + 1))) {
        span.kind = SheetSpanKind::Number;
        end = number(position);
    } else if (isNameChar(c) || c == QLatin1Char('\\')) {
        span.kind = SheetSpanKind::Identifier;
        end = name(position);
    } else if (c == QLatin1Char('#') && (isNameChar(after) || after == QLatin1Char('\\'))) {
        span.kind = SheetSpanKind::Hash;
        end = name(position + 1);
    } else if (mode == LexMode::Template && c == QLatin1Char('{') && blockDepth > 0) {
        span.kind = SheetSpanKind::Reference;
        end = reference(position, &closed);
    } else {
        span.kind = SheetSpanKind::Punctuation;
        if (c == QLatin1Char('{'))
            ++blockDepth;
        else if (c == QLatin1Char('}'))
            blockDepth = qMax(0, blockDepth - 1);
        else if (c.isHighSurrogate() && after.isLowSurrogate())
            ++end;
    }
    span.unterminated = !closed;
    span.length = end - position;
    position = end;
    return span;
}

void SheetLexer::skipTo(int offset)
{
    position = qBound(position, offset, size);
}

QVector<SheetSpan> lexSheet(QStringView text, LexMode mode)
{
    QVector<SheetSpan> spans;
    SheetLexer lexer(text, mode);
    while (!lexer.atEnd())
        spans.append(lexer.next());
    return spans;
}

QStringView spanContent(QStringView text, const SheetSpan &span)
{
    int open = 0;
    int close = span.unterminated ? 0 : 1;
    switch (span.kind) {
    case SheetSpanKind::Comment:
        open = 2;
        close *= 2;
        break;
    case SheetSpanKind::String:
    case SheetSpanKind::Reference:
        open = 1;
        break;
    case SheetSpanKind::Url:
        open = 4;
        break;
    default:
        close = 0;
        break;
    }
    return text.mid(span.start + open, span.length - open - close);
}
