// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "analysis/suppressioncomments.h"

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
    QChar quote;
    for (int i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == QLatin1Char('\n')) {
            ++line;
            lineStart = i + 1;
            quote = QChar(); // a string does not run past the end of its line
            continue;
        }
        if (!quote.isNull()) {
            if (c == QLatin1Char('\\'))
                ++i;
            else if (c == quote)
                quote = QChar();
            continue;
        }
        if (c == QLatin1Char('"') || c == QLatin1Char('\'')) {
            quote = c;
            continue;
        }
        if (c != QLatin1Char('/') || i + 1 >= text.size() || text.at(i + 1) != QLatin1Char('*'))
            continue;
        const int start = i;
        const int startLine = line;
        const int startColumn = i - lineStart + 1;
        const int end = text.indexOf(QLatin1String("*/"), i + 2);
        const int bodyEnd = end < 0 ? text.size() : end;
        const QString body = text.mid(i + 2, bodyEnd - i - 2);
        for (int k = i; k < bodyEnd; ++k) {
            if (text.at(k) == QLatin1Char('\n')) {
                ++line;
                lineStart = k + 1;
            }
        }
        i = end < 0 ? text.size() : end + 1;
        const QRegularExpressionMatch match = directive.match(body);
        if (!match.hasMatch())
            continue;
        SuppressionComment comment;
        comment.kind = kindOf(match.captured(1));
        comment.offset = start;
        comment.line = startLine;
        comment.column = startColumn;
        comment.endLine = line;
        comment.closed = end >= 0;
        static const QRegularExpression separators(QStringLiteral("[\\s,]+"));
        comment.ids = match.captured(2).split(separators, Qt::SkipEmptyParts);
        comments.append(comment);
    }
    return comments;
}
