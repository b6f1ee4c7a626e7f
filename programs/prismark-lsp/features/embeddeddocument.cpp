// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "prismark-lsp/features/embeddeddocument.h"

#include "analysis/toolkitparse.h"
#include "embedded/embeddedlint.h"
#include "prismark-lsp/features/completion.h"
#include "prismark-lsp/features/hover.h"
#include "support/sheetlexer.h"

#include <QFileInfo>
#include <QUrl>

#include <algorithm>

namespace {
// A widget's sheet that does not read as a sheet: declarations when it opens no block
// and starts as a property does (widget classes start in capitals).
bool looksLikeDeclarations(const QString &sheet)
{
    if (sheet.contains(QLatin1Char('{')))
        return false;
    for (SheetLexer lexer(sheet); !lexer.atEnd();) {
        const SheetSpan span = lexer.next();
        if (span.kind == SheetSpanKind::Whitespace || span.kind == SheetSpanKind::Comment)
            continue;
        const QChar first = sheet.at(span.start);
        return first.isLower() || first == QLatin1Char('-');
    }
    return false;
}

// The text the sheet features read: the sheet, or, for a widget's declarations, the
// rule the toolkit takes them as. Which one a sheet being written is, the toolkit
// cannot say: it reads nearly any text as declarations.
WidgetSheet sheetView(const QString &sheet)
{
    if (!toolkitParsesSheet(sheet) && looksLikeDeclarations(sheet))
        return declarationsSheet(sheet);
    return {sheet, 0, false};
}

// A span of the view as a span of the file inside one literal; false when it reaches
// outside the literal.
bool spanInPiece(const EmbeddedSheet &sheet, const EmbeddedPiece &piece, const WidgetSheet &view,
                 const TextSpan &span, TextSpan *placed)
{
    const int start = span.start - view.prefixLength;
    const int end = span.end - view.prefixLength;
    if (start < piece.decodedStart || end > piece.decodedEnd || start > end)
        return false;
    const auto source = [&](int at) {
        return at < piece.decodedEnd ? sheet.sourceOffsets.at(at) : piece.sourceEnd;
    };
    *placed = {source(start), source(end)};
    return true;
}

// Characters a literal spells as themselves and that join nothing beside them into
// an escape, entity or delimiter: no backslash, quote, "&", "<", ">", "]" in a form, nor
// the literal's closing; nor, when lineBreaks is false, a line break.
bool isPlainIn(const QString &text, const EmbeddedPiece &piece, bool lineBreaks)
{
    const bool xml =
        piece.spelling == LiteralSpelling::XmlText || piece.spelling == LiteralSpelling::XmlCData;
    for (const QChar c : text) {
        if (QStringView(u"\\\"'").contains(c) || c.isSurrogate() ||
            (!lineBreaks && (c == QLatin1Char('\n') || c == QLatin1Char('\r'))) ||
            (xml && QStringView(u"&<>]").contains(c)) ||
            (!piece.closing.isEmpty() && c == piece.closing.at(0)))
            return false;
    }
    return true;
}

// The places of the file after [start, end) became delta characters longer. A piece's
// or sheet's start at start stays: what is inserted there goes inside it.
void shiftSheet(EmbeddedSheet &sheet, int start, int end, int delta)
{
    const auto shiftStart = [&](int &offset) {
        if (offset > start)
            offset += delta;
    };
    const auto shift = [&](int &offset) {
        if (offset >= end)
            offset += delta;
    };
    shiftStart(sheet.offset);
    shift(sheet.endOffset);
    for (int &offset : sheet.sourceOffsets)
        shift(offset);
    for (EmbeddedPiece &piece : sheet.pieces) {
        shiftStart(piece.sourceStart);
        shift(piece.sourceEnd);
    }
}
} // namespace

bool EmbeddedDocument::applyEdit(int start, int end, const QString &inserted,
                                 const QString &editedText)
{
    const auto place = placeAt(start);
    if (!place || end < start)
        return false;
    EmbeddedSheet &sheet = found[place->sheet];
    EmbeddedPiece &piece = sheet.pieces[place->piece];
    const int decoded = place->decoded;
    const int removed = end - start;
    if (end > piece.sourceEnd || decoded + removed > piece.decodedEnd)
        return false;
    // A template's stand-ins depend on what surrounds them, and a keystroke can make or
    // unmake a placeholder: such a sheet is read afresh.
    if (!sheet.standIns.isEmpty() || piece.syntax != TemplateSyntax::None)
        return false;
    // What is removed and inserted is plain, and so are the characters either side: no
    // escape is cut into, extended or begun, no quote or delimiter comes next to another.
    // No line break comes or goes, so no sheet changes line.
    const int before = qMax(piece.decodedStart, decoded - 1);
    const int beside = qMin(piece.decodedEnd, decoded + removed + 1);
    if (!isPlainIn(inserted, piece, false) ||
        !isPlainIn(sheet.text.mid(decoded, removed), piece, false) ||
        !isPlainIn(sheet.text.mid(before, beside - before), piece, true))
        return false;
    // The character before the place, each one removed and the one after stand for one
    // character of the file each.
    if (decoded > piece.decodedStart && sheet.sourceOffsets.at(decoded - 1) != start - 1)
        return false;
    for (int k = 0; k <= removed; ++k) {
        const int spelt =
            decoded + k < piece.decodedEnd ? sheet.sourceOffsets.at(decoded + k) : piece.sourceEnd;
        if (spelt != start + k)
            return false;
    }
    const int delta = int(inserted.size()) - removed;
    // A raw literal's content must not come to hold its closing ")delim\"".
    if (piece.spelling == LiteralSpelling::Raw && piece.closing.size() > 1 &&
        QStringView(editedText)
            .mid(piece.sourceStart, piece.sourceEnd + delta - piece.sourceStart)
            .contains(piece.closing))
        return false;
    for (int index = place->sheet; index < found.size(); ++index)
        shiftSheet(found[index], start, end, delta);
    sheet.text.replace(decoded, removed, inserted);
    sheet.sourceOffsets.remove(decoded, removed);
    sheet.sourceOffsets.insert(decoded, int(inserted.size()), 0);
    for (int k = 0; k < inserted.size(); ++k)
        sheet.sourceOffsets[decoded + k] = start + k;
    piece.decodedEnd += delta;
    for (int index = place->piece + 1; index < sheet.pieces.size(); ++index) {
        sheet.pieces[index].decodedStart += delta;
        sheet.pieces[index].decodedEnd += delta;
    }
    // No line break came or went: only the sheets later on the edit's line move.
    const int lineEnd = int(editedText.indexOf(QLatin1Char('\n'), start));
    for (int index = place->sheet + 1; index < found.size(); ++index) {
        if (lineEnd >= 0 && found.at(index).offset > lineEnd)
            break;
        found[index].column += delta;
    }
    return true;
}

EmbeddedDocument::EmbeddedDocument(EmbeddingLanguage language, const QString &text)
    : found(readEmbeddedSheets(language, text))
{}

std::optional<EmbeddedDocument::Place> EmbeddedDocument::placeAt(int offset) const
{
    // The sheets stand in file order and apart, so the one that may hold offset is the
    // first not ending before it.
    const auto sheet = std::lower_bound(
        found.cbegin(), found.cend(), offset,
        [](const EmbeddedSheet &candidate, int at) { return candidate.endOffset < at; });
    if (sheet == found.cend() || !sheet->checkable)
        return std::nullopt;
    for (int index = 0; index < sheet->pieces.size(); ++index) {
        const EmbeddedPiece &piece = sheet->pieces.at(index);
        if (offset < piece.sourceStart || offset > piece.sourceEnd)
            continue;
        // Every character before the place is spelt before it; an escape the place
        // falls inside counts as before.
        const auto first = sheet->sourceOffsets.cbegin();
        const auto decoded =
            std::lower_bound(first + piece.decodedStart, first + piece.decodedEnd, offset);
        return Place{int(sheet - found.cbegin()), index, int(decoded - first)};
    }
    return std::nullopt;
}

EmbeddingLanguage documentEmbedding(const QString &uri, const QString &languageId)
{
    const EmbeddingLanguage bySuffix = embeddingLanguage(QFileInfo(QUrl(uri).path()).fileName());
    if (bySuffix != EmbeddingLanguage::None)
        return bySuffix;
    if (languageId == QLatin1String("cpp") || languageId == QLatin1String("c"))
        return EmbeddingLanguage::Cpp;
    if (languageId == QLatin1String("python"))
        return EmbeddingLanguage::Python;
    return EmbeddingLanguage::None;
}

QVector<CompletionItem> embeddedCompletionItems(const EmbeddedDocument &document, int offset,
                                                const ClientCapabilities &client,
                                                const ApplicationObjects *application)
{
    const auto place = document.placeAt(offset);
    if (!place)
        return {};
    const EmbeddedSheet &sheet = document.sheets().at(place->sheet);
    const EmbeddedPiece &piece = sheet.pieces.at(place->piece);
    const WidgetSheet view = sheetView(sheet.text);
    QVector<CompletionItem> placed;
    for (CompletionItem item :
         completionItems(view.text, place->decoded + view.prefixLength, client, application)) {
        QString spelt;
        if (!spanInPiece(sheet, piece, view, item.replaces, &item.replaces) ||
            !spellInPiece(piece, item.newText, &spelt))
            continue;
        // A snippet's own escapes would read the literal's backslashes.
        if (item.snippet && spelt != item.newText)
            continue;
        item.newText = spelt;
        placed.append(item);
    }
    return placed;
}

std::optional<HoverInfo> embeddedHoverAt(const EmbeddedDocument &document, int offset,
                                         const ClientCapabilities &client)
{
    const auto place = document.placeAt(offset);
    if (!place)
        return std::nullopt;
    const EmbeddedSheet &sheet = document.sheets().at(place->sheet);
    const EmbeddedPiece &piece = sheet.pieces.at(place->piece);
    const WidgetSheet view = sheetView(sheet.text);
    std::optional<HoverInfo> hover = hoverAt(view.text, place->decoded + view.prefixLength, client);
    if (!hover)
        return std::nullopt;
    // A name split over two literals is shown in the one the place is in.
    const int lowest = piece.decodedStart + view.prefixLength;
    const int highest = piece.decodedEnd + view.prefixLength;
    const TextSpan clamped{qBound(lowest, hover->span.start, highest),
                           qBound(lowest, hover->span.end, highest)};
    if (!spanInPiece(sheet, piece, view, clamped, &hover->span))
        return std::nullopt;
    return hover;
}
