// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "analysis/sheetformatter.h"

#include "analysis/toolkitparse.h"
#include "support/sheetlexer.h"

#include <QStringList>
#include <QVector>

namespace {
// Runs of white space as one space, trimmed; every other span is copied byte for byte.
QString collapsed(QStringView text)
{
    QString out;
    out.reserve(int(text.size()));
    bool space = false;
    bool openString = false;
    for (SheetLexer lexer(text); !lexer.atEnd();) {
        const SheetSpan span = lexer.next();
        if (span.kind == SheetSpanKind::Whitespace) {
            // The line break that ends a string left open stays: as a space it would
            // join the string to what follows, and a second run would read otherwise.
            if (openString)
                out += QLatin1Char('\n');
            space = !openString || span.length > 1;
            openString = false;
            continue;
        }
        if (space && !out.isEmpty())
            out += QLatin1Char(' ');
        space = false;
        openString = span.kind == SheetSpanKind::String && span.unterminated;
        out.append(text.data() + span.start, span.length);
    }
    return out;
}

// The parts of text between separators at depth 0, outside comments, strings and
// url()s; balanced tells whether every bracket opened in text was closed.
QVector<QStringView> splitTopLevel(QStringView text, QChar separator, bool *balanced = nullptr)
{
    QVector<QStringView> parts;
    int depth = 0;
    int start = 0;
    for (SheetLexer lexer(text); !lexer.atEnd();) {
        const SheetSpan span = lexer.next();
        if (span.kind != SheetSpanKind::Punctuation)
            continue;
        const QChar c = text.at(span.start);
        if (c == QLatin1Char('(') || c == QLatin1Char('['))
            ++depth;
        else if ((c == QLatin1Char(')') || c == QLatin1Char(']')) && depth > 0)
            --depth;
        else if (c == separator && depth == 0) {
            parts.append(text.mid(start, span.start - start));
            start = span.end();
        }
    }
    parts.append(text.mid(start));
    if (balanced)
        *balanced = depth == 0;
    return parts;
}

// One chunk between ";"s: the comments before its declaration on lines of their own
// (those before a line break go back to the line before), then the declaration.
void formatChunk(QStringView chunk, const QString &indent, QStringList &lines)
{
    int declarationStart = int(chunk.size());
    bool sameLine = !lines.isEmpty();
    for (SheetLexer lexer(chunk); !lexer.atEnd();) {
        const SheetSpan span = lexer.next();
        if (span.kind == SheetSpanKind::Whitespace) {
            if (chunk.mid(span.start, span.length).contains(QLatin1Char('\n')))
                sameLine = false;
            continue;
        }
        if (span.kind != SheetSpanKind::Comment) {
            declarationStart = span.start;
            break;
        }
        const QStringView comment = chunk.mid(span.start, span.length);
        if (sameLine)
            lines.last().append(QLatin1Char(' ')).append(comment.data(), int(comment.size()));
        else
            lines.append(indent + comment.toString());
    }
    const QStringView declaration = chunk.mid(declarationStart);
    const QVector<QStringView> nameAndValue = splitTopLevel(declaration, QLatin1Char(':'));
    QString line = indent;
    if (nameAndValue.size() < 2) {
        const QString whole = collapsed(declaration);
        if (whole.isEmpty())
            return;
        line += whole;
    } else {
        const int colon = int(nameAndValue.first().size());
        line += collapsed(declaration.left(colon)) + QStringLiteral(": ") +
                collapsed(declaration.mid(colon + 1));
    }
    lines.append(line + QLatin1Char(';'));
}

struct Item
{
    QString text;
    bool rule = false;
    bool blankBefore = false;
    // A comment the sheet never closes runs to its end, trailing newlines included.
    bool openComment = false;
};

bool formatRule(QStringView selector, QStringView body, const QString &indent, int maxLineLength,
                QString *out)
{
    QStringList selectors;
    bool balanced = true;
    for (const QStringView part : splitTopLevel(selector, QLatin1Char(','), &balanced))
        selectors.append(collapsed(part));
    QStringList lines;
    bool bodyBalanced = true;
    const QVector<QStringView> chunks = splitTopLevel(body, QLatin1Char(';'), &bodyBalanced);
    // An unclosed bracket hides the ";"s after it, so a second run would read other
    // declarations than the first.
    if (!balanced || !bodyBalanced)
        return false;
    for (int c = 0; c < chunks.size(); ++c) {
        // A comment right after the ";" stays on the declaration's line.
        if (c == 0)
            lines.append(QString());
        formatChunk(chunks.at(c), indent, lines);
        if (c == 0)
            lines.removeFirst();
    }
    const QString oneLine = selectors.join(QStringLiteral(", "));
    const bool fits = oneLine.size() + 2 <= maxLineLength && !oneLine.contains(QLatin1Char('\n'));
    *out = (fits ? oneLine : selectors.join(QStringLiteral(",\n"))) + QStringLiteral(" {\n");
    for (const QString &line : qAsConst(lines))
        *out += line + QLatin1Char('\n');
    *out += QLatin1Char('}');
    return true;
}

// The top level: comments and rules; false for what is left to the author (an
// at-rule, a nested block, a stray "}").
bool splitItems(const QString &text, const QString &indent, int maxLineLength, QVector<Item> &items,
                QString *error)
{
    SheetLexer lexer(text);
    int newlines = 0;
    while (!lexer.atEnd()) {
        const SheetSpan first = lexer.next();
        if (first.kind == SheetSpanKind::Whitespace) {
            newlines +=
                int(QStringView(text).mid(first.start, first.length).count(QLatin1Char('\n')));
            continue;
        }
        Item item;
        item.blankBefore = newlines >= 2;
        newlines = 0;
        if (first.kind == SheetSpanKind::Comment) {
            item.text = text.mid(first.start, first.length);
            item.openComment = first.unterminated;
            items.append(item);
            continue;
        }
        if (isPunctuation(text, first, QLatin1Char('@')) ||
            isPunctuation(text, first, QLatin1Char('}'))) {
            *error = QStringLiteral("an at-rule or a stray \"}\" is left as it is");
            return false;
        }
        int open = first.start;
        for (SheetSpan span = first; !isPunctuation(text, span, QLatin1Char('{'));
             span = lexer.next()) {
            if (lexer.atEnd()) {
                *error = QStringLiteral("a rule without its braces is left as it is");
                return false;
            }
        }
        open = lexer.offset() - 1;
        int close = -1;
        while (close < 0 && !lexer.atEnd()) {
            const SheetSpan span = lexer.next();
            if (isPunctuation(text, span, QLatin1Char('{'))) {
                *error = QStringLiteral("a block inside a rule is left as it is");
                return false;
            }
            if (isPunctuation(text, span, QLatin1Char('}')))
                close = span.start;
        }
        if (close < 0) {
            *error = QStringLiteral("a rule without its braces is left as it is");
            return false;
        }
        item.rule = true;
        if (!formatRule(QStringView(text).mid(first.start, open - first.start),
                        QStringView(text).mid(open + 1, close - open - 1), indent, maxLineLength,
                        &item.text)) {
            *error = QStringLiteral("a rule with an unclosed bracket is left as it is");
            return false;
        }
        items.append(item);
    }
    return true;
}

struct LineEndingCount
{
    int lf = 0;   // a line feed alone
    int crLf = 0; // a carriage return and a line feed
    bool loneCr = false;
};

LineEndingCount countLineEndings(const QString &text)
{
    LineEndingCount count;
    const int size = int(text.size());
    for (int i = 0; i < size; ++i) {
        if (text.at(i) == QLatin1Char('\n')) {
            ++count.lf;
        } else if (text.at(i) == QLatin1Char('\r')) {
            if (i + 1 < size && text.at(i + 1) == QLatin1Char('\n')) {
                ++count.crLf;
                ++i;
            } else {
                count.loneCr = true;
            }
        }
    }
    return count;
}

// The items one after another, every line ending in LF.
QString joinItems(const QVector<Item> &items)
{
    QString out;
    for (int k = 0; k < items.size(); ++k) {
        if (k > 0) {
            // Rules stand a blank line apart; comments keep the one they had.
            const bool blank =
                items.at(k).blankBefore || (items.at(k).rule && items.at(k - 1).rule);
            out += blank ? QStringLiteral("\n\n") : QStringLiteral("\n");
        }
        out += items.at(k).text;
    }
    // A newline after an open comment would be part of it.
    if (!out.isEmpty() && !items.constLast().openComment)
        out += QLatin1Char('\n');
    return out;
}

void refuseAsRejected(SheetFormatResult &result)
{
    result.error = QStringLiteral("the toolkit rejects this sheet");
    result.toolkitRejects = true;
}

// An unchanged sheet need only be one the toolkit accepts; a new layout must read as
// the old one did. Both as they stand, carriage returns and all.
bool provedAlike(const QString &text, const QString &out, SheetFormatResult &result)
{
    if (out == text) {
        if (!toolkitParsesSheet(text)) {
            refuseAsRejected(result);
            return false;
        }
        return true;
    }
    QString before;
    if (!toolkitParseSummary(text, &before)) {
        refuseAsRejected(result);
        return false;
    }
    QString after;
    if (!toolkitParseSummary(out, &after) || after != before) {
        result.error = QStringLiteral("the layout would change what the toolkit reads; "
                                      "left as it is");
        return false;
    }
    return true;
}
} // namespace

SheetFormatResult formatStyleSheet(const QString &text, const SheetFormatOptions &options)
{
    SheetFormatResult result;
    if (text.contains(QChar(0))) {
        result.error = QStringLiteral("a NUL character is left as it is (the toolkit stops "
                                      "reading there)");
        return result;
    }
    const LineEndingCount endings = countLineEndings(text);
    if (endings.loneCr) {
        result.error = QStringLiteral("a carriage return without a line feed after it (old Mac "
                                      "line endings) is left as it is; LF and CR LF are "
                                      "formatted");
        return result;
    }
    result.lineEnding = endings.crLf > endings.lf ? LineEnding::CrLf : LineEnding::Lf;
    result.mixedLineEndings = endings.crLf > 0 && endings.lf > 0;
    // Laid out with LF alone, so no carriage return ends up inside a line; the
    // endings go back on at the end.
    const QString lfText =
        endings.crLf > 0 ? QString(text).replace(QLatin1String("\r\n"), QLatin1String("\n")) : text;
    QVector<Item> items;
    if (!splitItems(lfText, QString(qBound(0, options.indentWidth, 16), QLatin1Char(' ')),
                    options.maxLineLength, items, &result.error)) {
        if (!toolkitParsesSheet(text))
            refuseAsRejected(result);
        return result;
    }
    QString out = joinItems(items);
    if (result.lineEnding == LineEnding::CrLf)
        out.replace(QLatin1Char('\n'), QLatin1String("\r\n"));
    if (!provedAlike(text, out, result))
        return result;
    result.ok = true;
    result.text = out;
    return result;
}
