// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include "embedded/embeddedsheets.h"

#include <QString>

// Builds an EmbeddedSheet one decoded character at a time, each with the offset of
// the source that spells it; shared by the three readers.
class SheetBuilder
{
public:
    SheetBuilder(EmbeddingLanguage language, int offset);

    void beginPiece(int sourceStart, LiteralSpelling spelling, const QString &closing = QString(),
                    bool singleLine = false);
    // A character (a code point above U+FFFF becomes two units with one offset).
    void append(uint codePoint, int sourceOffset);
    void endPiece(int sourceEnd);
    // The sheet, its line and column still to be placed; CR LF in the decoded text
    // folds to LF as the analysis folds it.
    EmbeddedSheet finish(int endOffset);

    bool empty() const { return sheet.text.isEmpty() && placeholders.isEmpty(); }
    // Whether the text is placeholders alone (and blanks): a sheet filled in whole.
    bool onlyPlaceholders() const
    {
        return !placeholders.isEmpty() && sheet.text.trimmed().isEmpty();
    }
    // The placeholders the pieces begun from now on hold.
    void setTemplate(TemplateSyntax syntax) { templateSyntax = syntax; }

private:
    void putStandIns();

    struct PiecePlaceholder
    {
        int piece = 0;
        int at = 0;
        int sourceOffset = 0;
    };

    EmbeddedSheet sheet;
    EmbeddedPiece piece;
    TemplateSyntax templateSyntax = TemplateSyntax::None;
    QVector<PiecePlaceholder> placeholders;
};

// A sheet made at run time: only where and why.
EmbeddedSheet uncheckableSheet(EmbeddingLanguage language, int offset, int endOffset,
                               const QString &reason);

// The sheets in the order the file writes them, each once: a literal followed from
// two calls, or marked and passed by name, is one sheet; no two overlap.
void inFileOrder(QVector<EmbeddedSheet> &sheets);

// Sets each sheet's line and column from its offset, the file's lines counted once.
void placeSheets(QVector<EmbeddedSheet> &sheets, const QString &fileText);

// The value of a hexadecimal digit, or -1.
int hexDigitValue(QChar c);
// The number an escape spells in octal or hexadecimal (base 8 or 16) with at most
// maxDigits digits from start, none at or past limit, held at 0x110000 (past Unicode)
// however many digits follow; where its digits end.
int readEscapeDigits(const QString &text, int start, int limit, int maxDigits, int base,
                     uint *value);
