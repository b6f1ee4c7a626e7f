// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include <QString>
#include <QVector>

// Offsets in a text as lines and columns the way the analysis counts them: 1-based,
// a line ends at LF (a CR before it belongs to no column), a column counts
// characters, so a surrogate pair is one.
class TextPositions
{
public:
    explicit TextPositions(const QString &text);

    void lineColumn(int offset, int *line, int *column) const;
    // The offset of (line, column), clamped into the text and its line.
    int offset(int line, int column) const;

private:
    const QString &text;
    QVector<int> lineStarts;
};
