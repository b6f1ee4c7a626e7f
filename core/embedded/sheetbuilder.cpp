// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "embedded/sheetbuilder.h"

#include "embedded/sheettemplates.h"
#include "embedded/textpositions.h"

#include <algorithm>

SheetBuilder::SheetBuilder(EmbeddingLanguage language, int offset)
{
    sheet.language = language;
    sheet.offset = offset;
}

void SheetBuilder::beginPiece(int sourceStart, LiteralSpelling spelling, const QString &closing,
                              bool singleLine)
{
    piece = EmbeddedPiece();
    piece.decodedStart = int(sheet.text.size());
    piece.sourceStart = sourceStart;
    piece.spelling = spelling;
    piece.closing = closing;
    piece.singleLine = singleLine;
    piece.syntax = templateSyntax;
}

void SheetBuilder::append(uint codePoint, int sourceOffset)
{
    // Nothing a sheet could hold: a lone surrogate or a value past Unicode reads as
    // the replacement character, as a decoder would give it.
    if (codePoint > 0x10FFFF)
        codePoint = 0xFFFD;
    if (QChar::requiresSurrogates(codePoint)) {
        sheet.text.append(QChar(QChar::highSurrogate(codePoint)));
        sheet.text.append(QChar(QChar::lowSurrogate(codePoint)));
        sheet.sourceOffsets.append(sourceOffset);
        sheet.sourceOffsets.append(sourceOffset);
        return;
    }
    sheet.text.append(QChar(ushort(codePoint)));
    sheet.sourceOffsets.append(sourceOffset);
}

void SheetBuilder::endPiece(int sourceEnd)
{
    const QVector<Placeholder> taken =
        takePlaceholders(piece.syntax, piece.decodedStart, &sheet.text, &sheet.sourceOffsets);
    for (const Placeholder &each : taken)
        placeholders.append({int(sheet.pieces.size()), each.at, each.sourceOffset});
    piece.decodedEnd = int(sheet.text.size());
    piece.sourceEnd = sourceEnd;
    sheet.pieces.append(piece);
}

// Each placeholder's stand-in, chosen from the text around it, last to first so the
// places still to fill stay where they were taken.
void SheetBuilder::putStandIns()
{
    const QString bare = sheet.text;
    for (int k = int(placeholders.size()) - 1; k >= 0; --k) {
        const PiecePlaceholder &each = placeholders.at(k);
        const QString standIn = standInFor(bare, each.at);
        const int length = int(standIn.size());
        sheet.text.insert(each.at, standIn);
        sheet.sourceOffsets.insert(each.at, length, each.sourceOffset);
        for (int p = each.piece; p < sheet.pieces.size(); ++p) {
            if (p > each.piece)
                sheet.pieces[p].decodedStart += length;
            sheet.pieces[p].decodedEnd += length;
        }
        for (SheetRange &later : sheet.standIns) {
            later.start += length;
            later.end += length;
        }
        sheet.standIns.prepend({each.at, each.at + length});
    }
    placeholders.clear();
}

EmbeddedSheet SheetBuilder::finish(int endOffset)
{
    putStandIns();
    // Fold CR LF as the analysis does, keeping the offsets and pieces in step: the LF
    // takes the CR's offset.
    QVector<int> kept(sheet.text.size() + 1); // new index of each old one
    QString text;
    QVector<int> offsets;
    for (int i = 0; i < sheet.text.size(); ++i) {
        kept[i] = int(text.size());
        if (sheet.text.at(i) == QLatin1Char('\r') && i + 1 < sheet.text.size() &&
            sheet.text.at(i + 1) == QLatin1Char('\n')) {
            sheet.sourceOffsets[i + 1] = sheet.sourceOffsets.at(i);
            continue;
        }
        text.append(sheet.text.at(i));
        offsets.append(sheet.sourceOffsets.at(i));
    }
    kept[sheet.text.size()] = int(text.size());
    for (EmbeddedPiece &each : sheet.pieces) {
        each.decodedStart = kept.at(each.decodedStart);
        each.decodedEnd = kept.at(each.decodedEnd);
    }
    for (SheetRange &standIn : sheet.standIns) {
        standIn.start = kept.at(standIn.start);
        standIn.end = kept.at(standIn.end);
    }
    sheet.text = text;
    sheet.sourceOffsets = offsets;
    if (!sheet.pieces.isEmpty())
        sheet.offset = sheet.pieces.constFirst().sourceStart;
    sheet.endOffset = endOffset;
    return sheet;
}

EmbeddedSheet uncheckableSheet(EmbeddingLanguage language, int offset, int endOffset,
                               const QString &reason)
{
    EmbeddedSheet sheet;
    sheet.language = language;
    sheet.checkable = false;
    sheet.reason = reason;
    sheet.offset = offset;
    sheet.endOffset = endOffset;
    return sheet;
}

void inFileOrder(QVector<EmbeddedSheet> &sheets)
{
    std::stable_sort(
        sheets.begin(), sheets.end(),
        [](const EmbeddedSheet &a, const EmbeddedSheet &b) { return a.offset < b.offset; });
    // One inside another (a value followed to a literal inside another call's
    // argument): the first is kept.
    QVector<EmbeddedSheet> kept;
    int end = 0;
    for (const EmbeddedSheet &sheet : qAsConst(sheets)) {
        if (!kept.isEmpty() && sheet.offset < end)
            continue;
        kept.append(sheet);
        end = sheet.endOffset;
    }
    sheets = kept;
}

void placeSheets(QVector<EmbeddedSheet> &sheets, const QString &fileText)
{
    const TextPositions positions(fileText);
    for (EmbeddedSheet &sheet : sheets)
        positions.lineColumn(sheet.offset, &sheet.line, &sheet.column);
}

int hexDigitValue(QChar c)
{
    const ushort u = c.unicode();
    if (u >= '0' && u <= '9')
        return u - '0';
    if (u >= 'a' && u <= 'f')
        return u - 'a' + 10;
    if (u >= 'A' && u <= 'F')
        return u - 'A' + 10;
    return -1;
}

int readEscapeDigits(const QString &text, int start, int limit, int maxDigits, int base,
                     uint *value)
{
    const auto digit = [base](QChar c) {
        const int hex = hexDigitValue(c);
        return hex < base ? hex : -1;
    };
    uint result = 0;
    int i = start;
    for (; i < limit && i - start < maxDigits && digit(text.at(i)) >= 0; ++i)
        result = qMin<uint>(result * uint(base) + uint(digit(text.at(i))), 0x110000);
    *value = result;
    return i;
}
