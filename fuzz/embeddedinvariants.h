// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

// What every embedded-sheet reader must keep on any bytes, for the three fuzz targets:
// besides no crash, hang or sanitizer report, every sheet and every piece lies inside
// the file, the pieces tile the sheet in file order, each character maps inside its
// piece, in order, and a raw piece spells its characters as they stand.

#include "embedded/embeddedsheets.h"
#include "fuzzrequire.h"

#include <QString>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace embeddedfuzz {

inline void checkSheet(const QString &text, const EmbeddedSheet &sheet, int previousEnd)
{
    require(sheet.offset >= previousEnd && sheet.offset <= sheet.endOffset &&
            sheet.endOffset <= text.size());
    require(sheet.line >= 1 && sheet.column >= 1);
    if (!sheet.checkable) {
        require(sheet.text.isEmpty() && sheet.pieces.isEmpty() && !sheet.reason.isEmpty());
        return;
    }
    require(sheet.sourceOffsets.size() == sheet.text.size());
    int decoded = 0;
    int source = sheet.offset;
    for (const EmbeddedPiece &piece : sheet.pieces) {
        require(piece.decodedStart == decoded && piece.decodedEnd >= piece.decodedStart);
        require(piece.sourceStart >= source && piece.sourceEnd >= piece.sourceStart &&
                piece.sourceEnd <= sheet.endOffset);
        int last = piece.sourceStart;
        for (int i = piece.decodedStart; i < piece.decodedEnd; ++i) {
            const int at = sheet.sourceOffset(i);
            require(at >= last && at < piece.sourceEnd);
            last = at;
            const bool verbatim =
                piece.spelling == LiteralSpelling::Raw ||
                (piece.spelling == LiteralSpelling::XmlCData && text.at(at) != QLatin1Char('\r'));
            // A stand-in's characters all name its placeholder's first.
            if (verbatim && text.at(at) != QLatin1Char('\r') && !sheet.touchesStandIn(i, i + 1))
                require(sheet.text.at(i) == text.at(at));
        }
        require(sheet.pieceOf(piece.decodedStart, piece.decodedEnd) >= 0);
        decoded = piece.decodedEnd;
        source = piece.sourceEnd;
    }
    require(decoded == sheet.text.size());
    require(sheet.sourceOffset(int(sheet.text.size())) <= sheet.endOffset);
}

inline int run(EmbeddingLanguage language, const uint8_t *data, size_t size)
{
    if (size > 64 * 1024)
        return 0;
    const QString utf8 = QString::fromUtf8(reinterpret_cast<const char *>(data), int(size));
    const QString utf16(reinterpret_cast<const QChar *>(data), int(size / 2));
    for (const QString &text : {utf8, utf16}) {
        const QVector<EmbeddedSheet> sheets = readEmbeddedSheets(language, text);
        int previousEnd = 0;
        for (const EmbeddedSheet &sheet : sheets) {
            checkSheet(text, sheet, previousEnd);
            previousEnd = sheet.endOffset;
        }
        // The same text reads the same.
        const QVector<EmbeddedSheet> again = readEmbeddedSheets(language, text);
        require(again.size() == sheets.size());
        for (int i = 0; i < sheets.size(); ++i)
            require(again.at(i).text == sheets.at(i).text &&
                    again.at(i).sourceOffsets == sheets.at(i).sourceOffsets);
    }
    return 0;
}

} // namespace embeddedfuzz
