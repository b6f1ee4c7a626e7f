// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "embedded/sourcetokens.h"

int matchingParenthesis(const QVector<SourceToken> &tokens, int open, int last)
{
    int depth = 0;
    for (int i = open; i < last; ++i) {
        if (tokens.at(i).text == QLatin1String("("))
            ++depth;
        else if (tokens.at(i).text == QLatin1String(")") && --depth == 0)
            return i;
    }
    return -1;
}
