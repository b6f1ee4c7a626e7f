// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "prismark-lsp/features/definition.h"

#include "support/safefileread.h"

#include <QDir>
#include <QFileInfo>

std::optional<QString> definitionAt(const QString &text, int offset)
{
    const int lineStart = text.lastIndexOf(QLatin1Char('\n'), qMax(0, offset - 1)) + 1;
    const int open = text.lastIndexOf(QLatin1String("url("), offset, Qt::CaseInsensitive);
    if (open < lineStart || offset < open)
        return std::nullopt;
    const int close = text.indexOf(QLatin1Char(')'), open);
    const int lineEnd = text.indexOf(QLatin1Char('\n'), open);
    if (close < 0 || (lineEnd >= 0 && close > lineEnd) || offset > close)
        return std::nullopt;
    QString name = text.mid(open + 4, close - open - 4).trimmed();
    if (name.size() >= 2 &&
        (name.startsWith(QLatin1Char('"')) || name.startsWith(QLatin1Char('\''))) &&
        name.endsWith(name.at(0)))
        name = name.mid(1, name.size() - 2);
    if (name.isEmpty() || name.startsWith(QLatin1Char(':')))
        return std::nullopt;
    const QString path = QDir::current().absoluteFilePath(name);
    // Only a name is looked at: a FIFO or device there is never opened.
    if (!nonRegularFileKind(path).isEmpty() || !QFileInfo(path).isFile())
        return std::nullopt;
    return QDir::cleanPath(path);
}
