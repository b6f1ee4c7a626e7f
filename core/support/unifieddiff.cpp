// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "support/unifieddiff.h"

#include <QStringList>
#include <QVector>

#include <algorithm>

namespace {
constexpr int kContext = 3;
// Beyond this many differing lines the middle is shown as replaced whole: the
// shortest edit script costs time and memory in the square of its length.
constexpr int kMaxEditDistance = 4000;

enum class Op
{
    Keep,
    Remove,
    Add,
};

struct Line
{
    Op op;
    int a; // index in before (Keep, Remove)
    int b; // index in after (Keep, Add)
};

// Lines with their newline kept, so a missing final newline shows as a change.
QStringList splitLines(const QString &text)
{
    QStringList lines;
    int start = 0;
    while (start < text.size()) {
        int end = int(text.indexOf(QLatin1Char('\n'), start));
        end = end < 0 ? int(text.size()) : end + 1;
        lines.append(text.mid(start, end - start));
        start = end;
    }
    return lines;
}

// Myers' shortest edit script over a[lo..) and b[lo..), both without their common
// tail; false when it is longer than kMaxEditDistance.
bool shortestScript(const QStringList &a, const QStringList &b, int lo, int aEnd, int bEnd,
                    QVector<Line> &script)
{
    const int n = aEnd - lo;
    const int m = bEnd - lo;
    const int max = std::min(n + m, kMaxEditDistance);
    const int offset = max + 1;
    QVector<int> v(2 * max + 3, 0);
    QVector<QVector<int>> trace;
    for (int d = 0; d <= max; ++d) {
        trace.append(v);
        for (int k = -d; k <= d; k += 2) {
            int x = (k == -d || (k != d && v[offset + k - 1] < v[offset + k + 1]))
                        ? v[offset + k + 1]
                        : v[offset + k - 1] + 1;
            int y = x - k;
            while (x < n && y < m && a.at(lo + x) == b.at(lo + y)) {
                ++x;
                ++y;
            }
            v[offset + k] = x;
            if (x >= n && y >= m) {
                QVector<Line> reversed;
                for (int back = d; back > 0; --back) {
                    const QVector<int> &prev = trace.at(back);
                    const int kk = x - y;
                    const bool down = kk == -back ||
                                      (kk != back && prev[offset + kk - 1] < prev[offset + kk + 1]);
                    const int prevK = down ? kk + 1 : kk - 1;
                    const int prevX = prev[offset + prevK];
                    const int prevY = prevX - prevK;
                    while (x > prevX && y > prevY) {
                        --x;
                        --y;
                        reversed.append({Op::Keep, lo + x, lo + y});
                    }
                    if (down)
                        reversed.append({Op::Add, lo + x, lo + --y});
                    else
                        reversed.append({Op::Remove, lo + --x, lo + y});
                }
                while (x > 0 && y > 0) {
                    --x;
                    --y;
                    reversed.append({Op::Keep, lo + x, lo + y});
                }
                std::reverse(reversed.begin(), reversed.end());
                script += reversed;
                return true;
            }
        }
    }
    return false;
}

QVector<Line> editScript(const QStringList &a, const QStringList &b)
{
    int lo = 0;
    while (lo < a.size() && lo < b.size() && a.at(lo) == b.at(lo))
        ++lo;
    int aEnd = int(a.size());
    int bEnd = int(b.size());
    while (aEnd > lo && bEnd > lo && a.at(aEnd - 1) == b.at(bEnd - 1)) {
        --aEnd;
        --bEnd;
    }
    QVector<Line> script;
    for (int i = 0; i < lo; ++i)
        script.append({Op::Keep, i, i});
    if (!shortestScript(a, b, lo, aEnd, bEnd, script)) {
        for (int i = lo; i < aEnd; ++i)
            script.append({Op::Remove, i, lo});
        for (int j = lo; j < bEnd; ++j)
            script.append({Op::Add, aEnd, j});
    }
    for (int i = aEnd, j = bEnd; i < a.size(); ++i, ++j)
        script.append({Op::Keep, i, j});
    return script;
}

QString rangeText(int start, int count)
{
    // A hunk that adds to an empty range names the line before it.
    if (count == 0)
        return QStringLiteral("%1,0").arg(start);
    if (count == 1)
        return QString::number(start + 1);
    return QStringLiteral("%1,%2").arg(start + 1).arg(count);
}

QString lineText(const QString &prefix, const QString &line)
{
    if (line.endsWith(QLatin1Char('\n')))
        return prefix + line;
    return prefix + line + QStringLiteral("\n\\ No newline at end of file\n");
}
} // namespace

QString unifiedDiff(const QString &before, const QString &after, const QString &name)
{
    if (before == after)
        return QString();
    const QStringList a = splitLines(before);
    const QStringList b = splitLines(after);
    const QVector<Line> script = editScript(a, b);
    // As git labels an absolute path: "a/tmp/x.qss", not "a//tmp/x.qss".
    QString label = name;
    while (label.startsWith(QLatin1Char('/')))
        label.remove(0, 1);
    QString out = QStringLiteral("--- a/%1\n+++ b/%1\n").arg(label);
    int i = 0;
    const int size = int(script.size());
    while (i < size) {
        if (script.at(i).op == Op::Keep) {
            ++i;
            continue;
        }
        // A hunk: from kContext kept lines before the first change to kContext after
        // the last change that is followed by fewer than 2 * kContext kept lines.
        const int start = std::max(0, i - kContext);
        int end = i;
        int kept = 0;
        while (end < size && kept <= 2 * kContext) {
            kept = script.at(end).op == Op::Keep ? kept + 1 : 0;
            ++end;
        }
        end = std::min(size, end - kept + std::min(kept, kContext));
        int aStart = script.at(start).a;
        int bStart = script.at(start).b;
        int aCount = 0;
        int bCount = 0;
        QString body;
        for (int k = start; k < end; ++k) {
            const Line &line = script.at(k);
            if (line.op != Op::Add)
                ++aCount;
            if (line.op != Op::Remove)
                ++bCount;
            body += line.op == Op::Keep     ? lineText(QStringLiteral(" "), a.at(line.a))
                    : line.op == Op::Remove ? lineText(QStringLiteral("-"), a.at(line.a))
                                            : lineText(QStringLiteral("+"), b.at(line.b));
        }
        out += QStringLiteral("@@ -%1 +%2 @@\n")
                   .arg(rangeText(aStart, aCount), rangeText(bStart, bCount)) +
               body;
        i = end;
    }
    return out;
}
