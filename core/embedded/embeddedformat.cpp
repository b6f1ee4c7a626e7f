// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "embedded/embeddedformat.h"

#include "analysis/toolkitparse.h"
#include "embedded/embeddedlint.h"

namespace {

// The sheet's new text and the file edit that writes it.
struct SheetLayout
{
    QString sheet;
    int start = 0;
    int end = 0;
    QString replacement;
};

bool isBlank(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('\t');
}

// The blanks that open every line of text that holds more than blanks.
QString commonIndent(const QString &text)
{
    QString indent;
    bool first = true;
    for (const QString &line : text.split(QLatin1Char('\n'))) {
        if (line.trimmed().isEmpty())
            continue;
        int blanks = 0;
        while (blanks < line.size() && isBlank(line.at(blanks)))
            ++blanks;
        const QString own = line.left(blanks);
        if (first) {
            indent = own;
            first = false;
            continue;
        }
        int common = 0;
        while (common < indent.size() && common < own.size() && indent.at(common) == own.at(common))
            ++common;
        indent.truncate(common);
    }
    return indent;
}

// A sheet written over several lines inside one literal (a form's text, a triple-quoted
// or raw string): its blank opening and closing kept, every line indented as before.
bool layoutInPlace(const EmbeddedSheet &sheet, const QString &formatted, const QString &lineEnd,
                   SheetLayout *layout)
{
    const QString &text = sheet.text;
    int head = 0;
    while (head < text.size() && text.at(head).isSpace())
        ++head;
    // The opening keeps whole lines only: the first sheet line starts after it.
    while (head > 0 && text.at(head - 1) != QLatin1Char('\n'))
        --head;
    int tail = int(text.size());
    while (tail > head && text.at(tail - 1).isSpace())
        --tail;
    const QString indent = commonIndent(text.mid(head, tail - head));
    QStringList lines = formatted.split(QLatin1Char('\n'));
    while (!lines.isEmpty() && lines.constLast().isEmpty())
        lines.removeLast();
    for (QString &line : lines) {
        if (!line.isEmpty())
            line.prepend(indent);
    }
    layout->sheet = text.left(head) + lines.join(QLatin1Char('\n')) + text.mid(tail);
    const EmbeddedPiece &piece = sheet.pieces.constFirst();
    QString spelt;
    if (!spellInPiece(piece, layout->sheet, &spelt))
        return false;
    if (lineEnd != QLatin1String("\n"))
        spelt.replace(QLatin1Char('\n'), lineEnd);
    layout->start = piece.sourceStart;
    layout->end = sheet.pieces.constLast().sourceEnd;
    layout->replacement = spelt;
    return true;
}

// A sheet written as literals joined one after another (C++, or Python inside the
// call's parentheses): one literal per line, each where the first one starts.
bool layoutAsLiterals(const EmbeddedSheet &sheet, const QString &fileText, const QString &formatted,
                      const QString &lineEnd, SheetLayout *layout)
{
    const EmbeddedPiece &first = sheet.pieces.constFirst();
    const EmbeddedPiece &last = sheet.pieces.constLast();
    // The first literal's opening (its prefix and quote) and closing (quote, suffix).
    int open = first.sourceStart - int(first.closing.size());
    while (open > 0 && fileText.at(open - 1).isLetterOrNumber())
        --open;
    int close = first.sourceEnd + int(first.closing.size());
    while (close < fileText.size() &&
           (fileText.at(close).isLetterOrNumber() || fileText.at(close) == QLatin1Char('_')))
        ++close;
    const QString opening = fileText.mid(open, first.sourceStart - open);
    const QString closing = fileText.mid(first.sourceEnd, close - first.sourceEnd);
    int end = last.sourceEnd + int(last.closing.size());
    while (end < fileText.size() &&
           (fileText.at(end).isLetterOrNumber() || fileText.at(end) == QLatin1Char('_')))
        ++end;
    // Anything but blanks between the literals (a comment) would be lost.
    for (int i = 1; i < sheet.pieces.size(); ++i) {
        const QStringView between = QStringView(fileText).mid(
            sheet.pieces.at(i - 1).sourceEnd + int(sheet.pieces.at(i - 1).closing.size()),
            sheet.pieces.at(i).sourceStart - sheet.pieces.at(i - 1).sourceEnd);
        for (const QChar c : between) {
            if (c == QLatin1Char('/') || c == QLatin1Char('#'))
                return false;
        }
    }
    const int lineStart = int(fileText.lastIndexOf(QLatin1Char('\n'), open - 1)) + 1;
    QString indent = fileText.mid(lineStart, open - lineStart);
    for (QChar &c : indent) {
        if (c != QLatin1Char('\t'))
            c = QLatin1Char(' ');
    }
    QStringList lines = formatted.split(QLatin1Char('\n'));
    while (!lines.isEmpty() && lines.constLast().isEmpty())
        lines.removeLast();
    QStringList literals;
    for (int i = 0; i < lines.size(); ++i) {
        const QString text =
            lines.at(i) + (i + 1 < lines.size() ? QStringLiteral("\n") : QString());
        QString spelt;
        if (!spellInPiece(first, text, &spelt))
            return false;
        literals.append(opening + spelt + closing);
    }
    layout->sheet = lines.join(QLatin1Char('\n'));
    layout->start = open;
    layout->end = end;
    layout->replacement = literals.join(lineEnd + indent);
    return true;
}

// The line ending the file uses most: CR LF or LF.
QString fileLineEnd(const QString &text)
{
    const int crlf = int(text.count(QLatin1String("\r\n")));
    return crlf * 2 > int(text.count(QLatin1Char('\n'))) ? QStringLiteral("\r\n")
                                                         : QStringLiteral("\n");
}

// Why the sheet's literals cannot take a new layout, or empty when they can; inPlace
// says which of the two layouts they take.
QString layoutRefusal(const EmbeddedSheet &sheet, bool *inPlace)
{
    const EmbeddedPiece &first = sheet.pieces.constFirst();
    *inPlace = sheet.language == EmbeddingLanguage::Form ||
               first.spelling == LiteralSpelling::Raw || first.closing.size() == 3;
    if (sheet.language == EmbeddingLanguage::Form) {
        for (const EmbeddedPiece &piece : sheet.pieces) {
            if (piece.spelling != LiteralSpelling::XmlText)
                return QStringLiteral("it holds CDATA");
        }
        return QString();
    }
    if (*inPlace && sheet.pieces.size() > 1)
        return QStringLiteral("it joins a raw or triple-quoted literal with others");
    for (const EmbeddedPiece &piece : sheet.pieces) {
        if (piece.spelling != first.spelling || piece.closing != first.closing)
            return QStringLiteral("it joins literals of different kinds");
    }
    return QString();
}

} // namespace

EmbeddedFormatResult formatEmbeddedSheets(const QString &fileText, EmbeddingLanguage language,
                                          const SheetFormatOptions &options)
{
    EmbeddedFormatResult result;
    result.text = fileText;
    const QString lineEnd = fileLineEnd(fileText);
    const QVector<EmbeddedSheet> sheets = readEmbeddedSheets(language, fileText);
    // Last to first, so the places of the sheets before stay where they were read.
    for (int index = int(sheets.size()) - 1; index >= 0; --index) {
        const EmbeddedSheet &sheet = sheets.at(index);
        if (!sheet.checkable || sheet.text.trimmed().isEmpty())
            continue;
        const auto leave = [&](const QString &why) {
            result.notices.append(QStringLiteral("%1:%2: not formatted: %3")
                                      .arg(sheet.line)
                                      .arg(sheet.column)
                                      .arg(why));
        };
        if (!sheet.standIns.isEmpty()) {
            leave(QStringLiteral("it is a template, filled in at run time"));
            continue;
        }
        if (widgetSheet(sheet.text).wrapped) {
            leave(QStringLiteral("it holds the widget's declarations without a selector"));
            continue;
        }
        bool inPlace = false;
        const QString refusal = layoutRefusal(sheet, &inPlace);
        if (!refusal.isEmpty()) {
            leave(refusal);
            continue;
        }
        const SheetFormatResult formatted = formatStyleSheet(sheet.text, options);
        if (!formatted.ok) {
            leave(formatted.error);
            continue;
        }
        SheetLayout layout;
        const bool laidOut =
            inPlace ? layoutInPlace(sheet, formatted.text, lineEnd, &layout)
                    : layoutAsLiterals(sheet, result.text, formatted.text, lineEnd, &layout);
        if (!laidOut) {
            leave(QStringLiteral("its literals cannot take the new layout (a comment between "
                                 "them, or a character they cannot hold)"));
            continue;
        }
        if (layout.sheet == sheet.text)
            continue;
        QString candidate = result.text;
        candidate.replace(layout.start, layout.end - layout.start, layout.replacement);
        // Proven, not assumed: the file read again gives the new sheet in its place, and
        // the toolkit reads it as it read the old one.
        const QVector<EmbeddedSheet> reread = readEmbeddedSheets(language, candidate);
        QString before;
        QString after;
        if (reread.size() != sheets.size() || reread.at(index).text != layout.sheet ||
            !toolkitParseSummary(sheet.text, &before) ||
            !toolkitParseSummary(layout.sheet, &after) || before != after) {
            leave(QStringLiteral("the new layout would not read as the old one"));
            continue;
        }
        result.text = candidate;
        ++result.formatted;
    }
    return result;
}
