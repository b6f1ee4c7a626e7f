// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "analysis/suppressioncomments.h"

#include "support/sheetlexer.h"

#include <QRegularExpression>

namespace {
SuppressionComment::Kind kindOf(const QString &word)
{
    if (word == QLatin1String("disable-next-line"))
        return SuppressionComment::DisableNextLine;
    if (word == QLatin1String("disable-line"))
        return SuppressionComment::DisableLine;
    if (word == QLatin1String("enable"))
        return SuppressionComment::Enable;
    return SuppressionComment::Disable;
}
} // namespace

QVector<SuppressionComment> findSuppressionComments(const QString &text)
{
    static const QRegularExpression directive(
        QStringLiteral("^\\s*prismark-lint-(disable-next-line|disable-line|disable|enable)(?:\\s+(["
                       "^*]*?))?\\s*$"));
    QVector<SuppressionComment> comments;
    int line = 1;
    int lineStart = 0;
    int countedUpTo = 0;
    const auto countLinesTo = [&](int end) {
        for (; countedUpTo < end; ++countedUpTo) {
            if (text.at(countedUpTo) == QLatin1Char('\n')) {
                ++line;
                lineStart = countedUpTo + 1;
            }
        }
    };
    for (SheetLexer lexer(text); !lexer.atEnd();) {
        const SheetSpan span = lexer.next();
        if (span.kind != SheetSpanKind::Comment)
            continue;
        countLinesTo(span.start);
        const int startLine = line;
        const int startColumn = span.start - lineStart + 1;
        countLinesTo(span.end());
        // Most comments are prose; the expression is kept for those that may be one.
        const QStringView content = spanContent(text, span);
        if (!content.contains(QLatin1String("prismark-lint-")))
            continue;
        const QRegularExpressionMatch match = directive.match(content.toString());
        if (!match.hasMatch())
            continue;
        SuppressionComment comment;
        comment.kind = kindOf(match.captured(1));
        comment.offset = span.start;
        comment.line = startLine;
        comment.column = startColumn;
        comment.endLine = line;
        comment.closed = !span.unterminated;
        static const QRegularExpression separators(QStringLiteral("[\\s,]+"));
        comment.ids = match.captured(2).split(separators, Qt::SkipEmptyParts);
        comments.append(comment);
    }
    return comments;
}
