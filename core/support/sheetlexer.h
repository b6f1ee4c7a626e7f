// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include <QStringView>
#include <QVector>

// A style sheet's text cut into typed spans that tile it exactly, in order: the one
// place that knows where comments, strings, url()s and escapes begin and end.
enum class SheetSpanKind : quint8
{
    Whitespace,
    Comment,     // "/* ... */"
    String,      // '"..."' or "'...'", escapes included
    Url,         // "url(...)" whole, a quoted path read as a string
    Identifier,  // name characters and escapes ("\\" and the character after it)
    Number,      // digits, with a sign, a fraction and a unit or "%"
    Hash,        // "#" and a name: an object name or a colour
    Punctuation, // any other character (a surrogate pair whole)
    Reference,   // "{group.token}" inside a template's block
};

enum class LexMode : quint8
{
    Sheet,
    // A theme template: a "{" inside a rule's block starts a token reference.
    Template,
};

struct SheetSpan
{
    SheetSpanKind kind = SheetSpanKind::Punctuation;
    // A comment, string, url() or reference the text leaves open. A comment and a
    // url() then run to the end of the text; a string and a reference stop before
    // the line break that ends their line (a reference before a ";" too).
    bool unterminated = false;
    int start = 0;
    int length = 0;

    int end() const { return start + length; }
};

// Reads spans one after another, without copying the text.
class SheetLexer
{
public:
    // Starts at from, which should be where a span starts.
    explicit SheetLexer(QStringView text, LexMode mode = LexMode::Sheet, int from = 0);

    bool atEnd() const { return position >= size; }
    int offset() const { return position; }
    // The next span; call only when !atEnd().
    SheetSpan next();
    // Goes on from offset, a span's start further on, as one does who has read the
    // text up to there some other way: a template's open blocks stay open.
    void skipTo(int offset);

private:
    int comment(int from, bool *closed) const;
    int quoted(int from, bool *closed) const;
    int url(int from, bool *closed) const;
    int reference(int from, bool *closed) const;
    int name(int from) const;
    int number(int from) const;

    QStringView text;
    int size = 0;
    int position = 0;
    LexMode mode = LexMode::Sheet;
    int blockDepth = 0; // templates only
};

QVector<SheetSpan> lexSheet(QStringView text, LexMode mode = LexMode::Sheet);

// Whether span is the punctuation mark.
inline bool isPunctuation(QStringView text, const SheetSpan &span, QChar mark)
{
    return span.kind == SheetSpanKind::Punctuation && text.at(span.start) == mark;
}

// What a comment, string, url() or reference holds between its marks (those it has);
// any other span whole.
QStringView spanContent(QStringView text, const SheetSpan &span);
