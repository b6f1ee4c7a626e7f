// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include <QChar>
#include <QString>
#include <QVector>

// What the C++ and Python readers cut a call's surroundings into: enough to find the
// call and its argument, not a parser of either language.

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
    // An identifier's name, the punctuation, or a Python literal's prefix (lower case).
    QString text;
};

// The index of the ")" matching the "(" at open, or -1.
int matchingParenthesis(const QVector<SourceToken> &tokens, int open, int last);
