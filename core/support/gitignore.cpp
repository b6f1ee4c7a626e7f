// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "support/gitignore.h"

#include <QStringList>

namespace {
// A .gitignore line as a glob: "" for a blank line or a comment. negated and
// folderOnly say what its "!" and trailing "/" said.
QString patternOfLine(QString line, bool *negated, bool *folderOnly)
{
    *negated = false;
    *folderOnly = false;
    if (line.endsWith(QLatin1Char('\r')))
        line.chop(1);
    // Trailing blanks go unless a backslash keeps them.
    while (line.endsWith(QLatin1Char(' ')) && !line.endsWith(QLatin1String("\\ ")))
        line.chop(1);
    if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
        return QString();
    if (line.startsWith(QLatin1Char('!'))) {
        *negated = true;
        line.remove(0, 1);
    } else if (line.startsWith(QLatin1String("\\!")) || line.startsWith(QLatin1String("\\#"))) {
        line.remove(0, 1);
    }
    if (line.endsWith(QLatin1Char('/'))) {
        *folderOnly = true;
        line.chop(1);
    }
    return line;
}
} // namespace

void GitIgnore::addFile(const QString &folder, const QString &content)
{
    const QString base = folder.isEmpty() ? QString() : folder + QLatin1Char('/');
    for (const QString &line : content.split(QLatin1Char('\n'))) {
        bool negated = false;
        bool folderOnly = false;
        const QString glob = patternOfLine(line, &negated, &folderOnly);
        if (glob.isEmpty())
            continue;
        Pattern pattern{base, PathGlob(glob, GlobSyntax::GitIgnore), negated, folderOnly};
        if (pattern.glob.isValid())
            patterns.append(pattern);
    }
}

bool GitIgnore::ignored(const QString &path, bool folder) const
{
    bool result = false;
    for (const Pattern &pattern : patterns) {
        if (pattern.folderOnly && !folder)
            continue;
        if (pattern.negated == !result || !path.startsWith(pattern.base))
            continue; // it could change nothing
        if (pattern.glob.matches(path.mid(pattern.base.size())))
            result = !pattern.negated;
    }
    return result;
}
