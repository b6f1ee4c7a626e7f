// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "analysis/closestname.h"

#include <QVector>

#include <climits>

namespace {
// Edits with adjacent letters swapped counting once (optimal string alignment).
int editDistance(const QString &a, const QString &b)
{
    const int n = int(a.size());
    const int m = int(b.size());
    QVector<QVector<int>> d(n + 1, QVector<int>(m + 1));
    for (int i = 0; i <= n; ++i)
        d[i][0] = i;
    for (int j = 0; j <= m; ++j)
        d[0][j] = j;
    for (int i = 1; i <= n; ++i) {
        for (int j = 1; j <= m; ++j) {
            const int cost = a.at(i - 1) == b.at(j - 1) ? 0 : 1;
            d[i][j] = qMin(qMin(d[i - 1][j] + 1, d[i][j - 1] + 1), d[i - 1][j - 1] + cost);
            if (i > 1 && j > 1 && a.at(i - 1) == b.at(j - 2) && a.at(i - 2) == b.at(j - 1))
                d[i][j] = qMin(d[i][j], d[i - 2][j - 2] + 1);
        }
    }
    return d[n][m];
}
} // namespace

QString closestName(const QString &word, const QStringList &candidates)
{
    if (word.isEmpty())
        return QString();
    const QString lower = word.toLower();
    int best = INT_MAX;
    int second = INT_MAX;
    QString closest;
    for (const QString &candidate : candidates) {
        if (candidate == word)
            return QString();
        const int distance = editDistance(lower, candidate.toLower());
        if (distance < best) {
            second = best;
            best = distance;
            closest = candidate;
        } else if (distance < second) {
            second = distance;
        }
    }
    // Close: a few edits, fewer than a third of the word; clear: nothing else as close.
    const int allowed = qBound(1, int(word.size()) / 3, 3);
    if (best > allowed || second == best)
        return QString();
    return closest;
}
