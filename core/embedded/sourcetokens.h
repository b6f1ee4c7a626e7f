// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include <QChar>
#include <QString>
#include <QVector>

// The one tokenizer of each source language the sheet readers take: what a C++ or
// Python source's comments, blanks and literals are, read far enough to find a call
// and its argument, not a parser of either language.

inline bool isIdentifierStart(QChar c)
{
    return c.isLetter() || c == QLatin1Char('_');
}

inline bool isIdentifierPart(QChar c)
{
    return c.isLetterOrNumber() || c == QLatin1Char('_');
}

enum class SourceTokenKind
{
    Literal,
    Identifier,
    Number,
    Punctuation,
};

struct SourceToken
{
    SourceTokenKind kind = SourceTokenKind::Punctuation;
    int start = 0;
    int end = 0;
    // An identifier's name, the punctuation, or a literal's prefix (a Python one in
    // lower case).
    QString text;
    // A string literal: its content between the quotes, [contentStart, contentEnd),
    // what closes it (" ' """ ''' or a C++ raw literal's )DELIM") and whether its
    // backslashes are its own characters.
    int contentStart = 0;
    int contentEnd = 0;
    QString closing;
    bool raw = false;
};

// Reads a source's tokens one after another, blanks and comments stepped over.
class SourceTokenizer
{
public:
    explicit SourceTokenizer(const QString &text)
        : text(text)
    {}
    virtual ~SourceTokenizer() = default;

    // The next token; false at the end of the text.
    virtual bool next(SourceToken *token) = 0;
    int position() const { return at; }
    // Reads on from offset, where a token starts.
    void seek(int offset) { at = offset; }

protected:
    QChar peek(int ahead = 0) const
    {
        return at + ahead < text.size() ? text.at(at + ahead) : QChar();
    }

    const QString &text;
    int at = 0;
};

// C++: // and /* */ comments and line splices are blanks; a string literal of any
// prefix, raw or not, with its user-defined suffix is one token; a character literal
// and a string that does not close on its line are punctuation.
class CppTokenizer : public SourceTokenizer
{
public:
    using SourceTokenizer::SourceTokenizer;
    bool next(SourceToken *token) override;

private:
    bool skipBlanksAndComments();
    bool readLiteral(SourceToken *token) const;
    bool readRawLiteral(int quote, SourceToken *token) const;
    void readNumber();
};

// Python: # comments and backslashes are blanks; a string of any prefix, single or
// triple quoted, is one token; one that does not close is punctuation "?" to the end
// of its line.
class PythonTokenizer : public SourceTokenizer
{
public:
    using SourceTokenizer::SourceTokenizer;
    bool next(SourceToken *token) override;

private:
    void skipBlanksAndComments();
    bool readString(SourceToken *token) const;
};

// The tokens of a call's argument, read from just after its "(" up to the ")" that
// closes it; end is just past that ")". False when the call never closes: a "]" or
// "}" closes it, a ";" ends the statement first, or the text ends.
bool readCallArgument(SourceTokenizer &tokenizer, QVector<SourceToken> *tokens, int *end);

// The index of the ")" matching the "(" at open, or -1.
int matchingParenthesis(const QVector<SourceToken> &tokens, int open, int last);

// Where a run of method calls ".method(...)" at the end of [first, last) begins (last
// when there is none): "QStringLiteral(...).arg(a).arg(b)" for arg.
int trailingCalls(const QVector<SourceToken> &tokens, int first, int last, const QString &method);
