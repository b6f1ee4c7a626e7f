// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "analysis/suppressions.h"

#include "analysis/checkregistry.h"
#include "analysis/checkreporter.h"
#include "analysis/sheetmodel.h"

#include <QRegularExpression>

#include <algorithm>
#include <climits>

namespace {
// One stretch of text where some ids (or all, for "*") are silenced, and whether it
// silenced anything.
struct Range
{
    int comment; // index of the comment that opened it
    QString id;  // "*" for every check
    int fromLine;
    int fromColumn;
    int toLine; // exclusive end: (toLine, toColumn); INT_MAX for the end of the text
    int toColumn;
    bool used = false;
};

bool before(int lineA, int columnA, int lineB, int columnB)
{
    return lineA < lineB || (lineA == lineB && columnA < columnB);
}

// The ranges the comments open, and for each comment whether it closed anything
// (only enables care).
QVector<Range> rangesOf(const QVector<SuppressionComment> &comments,
                        QVector<bool> *enabledSomething)
{
    const QStringList known = lintCheckIds();
    QVector<Range> ranges;
    enabledSomething->fill(false, comments.size());
    for (int i = 0; i < comments.size(); ++i) {
        const SuppressionComment &comment = comments.at(i);
        if (!comment.closed)
            continue;
        QStringList ids;
        for (const QString &id : comment.ids) {
            if (known.contains(id))
                ids.append(id);
        }
        if (comment.ids.isEmpty())
            ids.append(QStringLiteral("*"));
        switch (comment.kind) {
        case SuppressionComment::DisableNextLine:
        case SuppressionComment::DisableLine: {
            const int line = comment.kind == SuppressionComment::DisableLine ? comment.line
                                                                             : comment.endLine + 1;
            for (const QString &id : ids)
                ranges.append({i, id, line, 1, line + 1, 1});
            break;
        }
        case SuppressionComment::Disable:
            for (const QString &id : ids)
                ranges.append({i, id, comment.line, comment.column, INT_MAX, 1});
            break;
        case SuppressionComment::Enable:
            for (Range &range : ranges) {
                const bool open = range.toLine == INT_MAX &&
                                  comments.at(range.comment).kind == SuppressionComment::Disable;
                if (open && (comment.ids.isEmpty() || ids.contains(range.id))) {
                    range.toLine = comment.line;
                    range.toColumn = comment.column;
                    (*enabledSomething)[i] = true;
                }
            }
            break;
        }
    }
    return ranges;
}
} // namespace

QVector<bool> enablesClosingSomething(const QVector<SuppressionComment> &comments)
{
    QVector<bool> enabledSomething;
    rangesOf(comments, &enabledSomething);
    return enabledSomething;
}

void applySuppressions(const SheetModel &model, QVector<LintDiagnostic> &diagnostics,
                       CheckReporter *needless)
{
    if (model.suppressions.isEmpty())
        return;
    QVector<bool> enabledSomething;
    QVector<Range> ranges = rangesOf(model.suppressions, &enabledSomething);
    const auto silenced = [&ranges, needless](const LintDiagnostic &diagnostic) {
        if (needless && diagnostic.check == needless->checkId())
            return false;
        bool any = false;
        for (Range &range : ranges) {
            if ((range.id == QLatin1String("*") || range.id == diagnostic.check) &&
                !before(diagnostic.line, diagnostic.column, range.fromLine, range.fromColumn) &&
                before(diagnostic.line, diagnostic.column, range.toLine, range.toColumn)) {
                range.used = true;
                any = true;
            }
        }
        return any;
    };
    diagnostics.erase(std::remove_if(diagnostics.begin(), diagnostics.end(), silenced),
                      diagnostics.end());
    if (!needless)
        return;
    for (const Range &range : qAsConst(ranges)) {
        if (range.used)
            continue;
        const SuppressionComment &comment = model.suppressions.at(range.comment);
        needless->at(comment.offset,
                     range.id == QLatin1String("*")
                         ? QStringLiteral("this suppression suppresses nothing: remove it")
                         : QStringLiteral("this suppression of \"%1\" suppresses nothing: remove "
                                          "it or the id")
                               .arg(range.id));
    }
}
