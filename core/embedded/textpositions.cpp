// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "embedded/textpositions.h"

#include <algorithm>

TextPositions::TextPositions(const QString &text)
    : text(text)
{
    lineStarts.append(0);
    for (int i = 0; i < text.size(); ++i) {
        if (text.at(i) == QLatin1Char('\n'))
            lineStarts.append(i + 1);
    }
}

void TextPositions::lineColumn(int offset, int *line, int *column) const
{
    offset = qBound(0, offset, int(text.size()));
    const auto it = std::upper_bound(lineStarts.cbegin(), lineStarts.cend(), offset);
    const int lineIndex = int(it - lineStarts.cbegin()) - 1;
    int characters = 0;
    for (int i = lineStarts.at(lineIndex); i < offset; ++i) {
        if (!text.at(i).isLowSurrogate())
            ++characters;
    }
    *line = lineIndex + 1;
    *column = characters + 1;
}

int TextPositions::offset(int line, int column) const
{
    const int lineIndex = qBound(0, line - 1, int(lineStarts.size()) - 1);
    const int start = lineStarts.at(lineIndex);
    const int end =
        lineIndex + 1 < lineStarts.size() ? lineStarts.at(lineIndex + 1) - 1 : int(text.size());
    int at = start;
    for (int characters = 1; characters < column && at < end; ++characters) {
        ++at;
        if (at < end && text.at(at).isLowSurrogate())
            ++at;
    }
    return at;
}
