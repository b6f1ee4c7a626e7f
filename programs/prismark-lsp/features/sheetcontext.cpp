// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "prismark-lsp/features/sheetcontext.h"

#include "support/sheetlexer.h"
#include "theme/palettedirectives.h"

#include <QRegularExpression>
#include <QStringList>

#include <functional>

namespace {
bool isNameChar(QChar c)
{
    return c.isLetterOrNumber() || c == QLatin1Char('-') || c == QLatin1Char('_');
}

// The sheet's state at a position, walked span by span: whether it is inside a
// comment or string, the open blocks and where the current statement and
// declaration value begin.
class SheetWalker
{
public:
    explicit SheetWalker(const QString &text)
        : text(text)
        , lexer(text)
    {}

    // Advances to offset (or the end of the text).
    void walkTo(int offset);
    // Takes the next span whole; false at the end of the text.
    bool advance(SheetSpan *span);

    const QString &text;
    int commentStart = -1; // inside a comment
    int stringStart = -1;  // inside a string
    // Open blocks: their "{" and whether they hold declarations (not @media rules).
    QVector<QPair<int, bool>> blocks;
    int statementStart = 0;
    int colon = -1; // the ":" that began the current declaration's value
    // Called at each rule's "{" and "}" at the top level.
    std::function<void(int)> onOpen;
    std::function<void(int)> onClose;

    bool inDeclarations() const { return !blocks.isEmpty() && blocks.constLast().second; }

private:
    void take(const SheetSpan &span);
    void punctuation(int i);

    SheetLexer lexer;
    SheetSpan pending; // read from the lexer, reaching past where the walk stands
    bool hasPending = false;
};

void SheetWalker::walkTo(int offset)
{
    offset = qMin(offset, int(text.size()));
    while (hasPending || !lexer.atEnd()) {
        const SheetSpan span = hasPending ? pending : lexer.next();
        hasPending = false;
        if (span.start >= offset) {
            pending = span;
            hasPending = true;
            return;
        }
        if (span.end() <= offset) {
            take(span);
            continue;
        }
        // The position lies inside the span: only a comment or a string is a place
        // of its own.
        commentStart = span.kind == SheetSpanKind::Comment ? span.start : -1;
        stringStart = span.kind == SheetSpanKind::String ? span.start : -1;
        pending = span;
        hasPending = true;
        return;
    }
}

bool SheetWalker::advance(SheetSpan *span)
{
    if (!hasPending && lexer.atEnd())
        return false;
    *span = hasPending ? pending : lexer.next();
    hasPending = false;
    take(*span);
    return true;
}

void SheetWalker::take(const SheetSpan &span)
{
    // One left open still holds the position at its end.
    commentStart = -1;
    stringStart = -1;
    switch (span.kind) {
    case SheetSpanKind::Comment:
        if (span.unterminated)
            commentStart = span.start;
        // A comment before a statement is no part of it.
        else if (QStringView(text)
                     .mid(statementStart, span.start - statementStart)
                     .trimmed()
                     .isEmpty())
            statementStart = span.end();
        break;
    case SheetSpanKind::String:
        if (span.unterminated)
            stringStart = span.start;
        break;
    case SheetSpanKind::Punctuation:
        punctuation(span.start);
        break;
    default:
        break;
    }
}

void SheetWalker::punctuation(int i)
{
    const QChar c = text.at(i);
    if (c == QLatin1Char('{')) {
        const bool atRule = QStringView(text)
                                .mid(statementStart, i - statementStart)
                                .trimmed()
                                .startsWith(QLatin1String("@media"));
        if (blocks.isEmpty() && onOpen)
            onOpen(i);
        blocks.append(qMakePair(i, !atRule && !inDeclarations()));
        statementStart = i + 1;
        colon = -1;
    } else if (c == QLatin1Char('}')) {
        if (!blocks.isEmpty())
            blocks.removeLast();
        if (blocks.isEmpty() && onClose)
            onClose(i);
        statementStart = i + 1;
        colon = -1;
    } else if (c == QLatin1Char(';')) {
        statementStart = i + 1;
        colon = -1;
    } else if (c == QLatin1Char(':') && inDeclarations() && colon < 0) {
        colon = i;
    }
}

int wordStartBefore(const QString &text, int offset, int limit, bool dots)
{
    int start = offset;
    while (start > limit &&
           (isNameChar(text.at(start - 1)) || (dots && text.at(start - 1) == QLatin1Char('.'))))
        --start;
    return start;
}

void paletteContext(const QString &text, int offset, CursorContext &context)
{
    const int lineStart = text.lastIndexOf(QLatin1Char('\n'), qMax(0, offset - 1)) + 1;
    const QString before = text.mid(lineStart, offset - lineStart);
    const int keyword = before.indexOf(kPaletteKeyword);
    if (keyword < 0)
        return;
    const int afterKeyword = keyword + int(kPaletteKeyword.size());
    if (before.size() == afterKeyword || !before.at(afterKeyword).isSpace())
        return;
    const int equals = before.indexOf(QLatin1Char('='), afterKeyword);
    if (equals < 0) {
        context.place = CursorContext::Place::PaletteRole;
        context.wordStart = wordStartBefore(text, offset, lineStart + afterKeyword, true);
    } else {
        context.place = CursorContext::Place::PaletteColour;
        int start = offset;
        while (start > lineStart + equals + 1 &&
               (isNameChar(text.at(start - 1)) || text.at(start - 1) == QLatin1Char('#')))
            --start;
        context.wordStart = start;
    }
}

void selectorContext(const QString &text, int statementStart, int offset, CursorContext &context)
{
    using Place = CursorContext::Place;
    // The compound being written starts after the last combinator outside brackets.
    int compound = statementStart;
    int bracket = -1;
    int parentheses = 0;
    for (int k = statementStart; k < offset; ++k) {
        const QChar c = text.at(k);
        if (c == QLatin1Char('['))
            bracket = k;
        else if (c == QLatin1Char(']'))
            bracket = -1;
        else if (c == QLatin1Char('('))
            ++parentheses;
        else if (c == QLatin1Char(')'))
            parentheses = qMax(0, parentheses - 1);
        else if (bracket < 0 && parentheses == 0 &&
                 (c.isSpace() || c == QLatin1Char('>') || c == QLatin1Char('+') ||
                  c == QLatin1Char('~') || c == QLatin1Char(',')))
            compound = k + 1;
    }
    int nameEnd = compound;
    while (nameEnd < offset && isNameChar(text.at(nameEnd)))
        ++nameEnd;
    if (nameEnd > compound && text.at(compound).isLetter())
        context.element = text.mid(compound, nameEnd - compound);

    context.wordStart = wordStartBefore(text, offset, compound, false);
    const int before = context.wordStart - 1;
    const QChar mark = before >= compound ? text.at(before) : QChar();
    if (bracket >= 0) {
        const int equals = text.indexOf(QLatin1Char('='), bracket);
        if (equals >= 0 && equals < offset) {
            context.place = Place::AttributeValue;
            context.attribute = text.mid(bracket + 1, equals - bracket - 1).trimmed();
            context.attribute.remove(QRegularExpression(QStringLiteral("[~|]$")));
        } else {
            context.place = Place::AttributeName;
        }
    } else if (mark == QLatin1Char(':')) {
        context.place = before > compound && text.at(before - 1) == QLatin1Char(':')
                            ? Place::Subcontrol
                            : Place::PseudoState;
    } else if (mark == QLatin1Char('!') && before > compound &&
               text.at(before - 1) == QLatin1Char(':')) {
        context.place = Place::PseudoState;
        context.negated = true;
    } else if (mark == QLatin1Char('#')) {
        context.place = Place::ObjectName;
    } else if (mark.isNull() || mark == QLatin1Char('.') || mark == QLatin1Char('*')) {
        context.place = Place::TypeName;
    }
}

void valueContext(const QString &text, int statementStart, int colon, int offset,
                  CursorContext &context)
{
    context.place = CursorContext::Place::PropertyValue;
    context.property = text.mid(statementStart, colon - statementStart).trimmed().toLower();
    QVector<int> open;
    for (int k = colon + 1; k < offset; ++k) {
        if (text.at(k) == QLatin1Char('('))
            open.append(k);
        else if (text.at(k) == QLatin1Char(')') && !open.isEmpty())
            open.removeLast();
    }
    if (!open.isEmpty()) {
        const int start = wordStartBefore(text, open.constLast(), colon + 1, false);
        context.function = text.mid(start, open.constLast() - start).toLower();
    }
    int start = offset;
    while (start > colon + 1 &&
           (isNameChar(text.at(start - 1)) || text.at(start - 1) == QLatin1Char('.')))
        --start;
    context.wordStart = start;
}
} // namespace

CursorContext contextAt(const QString &text, int offset)
{
    using Place = CursorContext::Place;
    offset = qBound(0, offset, int(text.size()));
    SheetWalker walker(text);
    walker.walkTo(offset);
    CursorContext context;
    context.wordStart = offset;
    if (walker.commentStart >= 0) {
        context.place = Place::Comment;
        paletteContext(text, offset, context);
    } else if (walker.stringStart >= 0) {
        // Only a quoted attribute value is completed inside a string.
        CursorContext outer;
        selectorContext(text, walker.statementStart, walker.stringStart, outer);
        if (!walker.inDeclarations() && outer.place == Place::AttributeValue) {
            context = outer;
            context.wordStart = walker.stringStart + 1;
        }
    } else if (walker.inDeclarations()) {
        context.blockOpen = walker.blocks.constLast().first;
        if (walker.colon >= 0) {
            valueContext(text, walker.statementStart, walker.colon, offset, context);
        } else {
            context.place = Place::PropertyName;
            context.wordStart = wordStartBefore(text, offset, walker.statementStart, false);
        }
    } else {
        selectorContext(text, walker.statementStart, offset, context);
    }
    context.word = text.mid(context.wordStart, offset - context.wordStart);
    return context;
}

QString wordAround(const QString &text, int offset, int *start)
{
    offset = qBound(0, offset, int(text.size()));
    const auto wordChar = [](QChar c) { return isNameChar(c) || c == QLatin1Char('.'); };
    int begin = offset;
    while (begin > 0 && wordChar(text.at(begin - 1)))
        --begin;
    int end = offset;
    while (end < text.size() && wordChar(text.at(end)))
        ++end;
    // Dots join palette roles, not the end of a sentence or a class selector's start.
    while (begin < end && text.at(begin) == QLatin1Char('.'))
        ++begin;
    while (end > begin && text.at(end - 1) == QLatin1Char('.'))
        --end;
    *start = begin;
    return text.mid(begin, end - begin);
}

QVector<RuleSpan> ruleSpans(const QString &text)
{
    QVector<RuleSpan> spans;
    SheetWalker walker(text);
    bool open = false;
    walker.onOpen = [&](int brace) {
        int start = walker.statementStart;
        while (start < brace && text.at(start).isSpace())
            ++start;
        spans.append({start, brace, int(text.size())});
        open = true;
    };
    walker.onClose = [&](int brace) {
        // A stray "}" closes nothing.
        if (open)
            spans.last().end = brace + 1;
        open = false;
    };
    walker.walkTo(int(text.size()));
    return spans;
}

QStringList objectNamesIn(const QString &text)
{
    QStringList names;
    SheetWalker walker(text);
    // A "#" in a value is a colour.
    SheetSpan span;
    while (walker.advance(&span)) {
        if (span.kind != SheetSpanKind::Hash || walker.inDeclarations())
            continue;
        const QString name = text.mid(span.start + 1, span.length - 1);
        if (!names.contains(name))
            names.append(name);
    }
    return names;
}
