// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "support/sourcetree.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

// The expression of a glob's body: "*" and "?" stop at "/", "**" crosses folders.
QString globExpression(const QString &glob)
{
    QString expression;
    for (int i = 0; i < glob.size(); ++i) {
        const QChar c = glob.at(i);
        const bool atSegmentStart = i == 0 || glob.at(i - 1) == QLatin1Char('/');
        if (c == QLatin1Char('*') && i + 1 < glob.size() && glob.at(i + 1) == QLatin1Char('*')) {
            const bool segmentEnd = i + 2 == glob.size() || glob.at(i + 2) == QLatin1Char('/');
            if (atSegmentStart && segmentEnd && i + 2 < glob.size()) {
                expression += QStringLiteral("(?:.*/)?"); // "**/": any folders, or none
                i += 2;
            } else {
                expression += QStringLiteral(".*");
                ++i;
            }
        } else if (c == QLatin1Char('*')) {
            expression += QStringLiteral("[^/]*");
        } else if (c == QLatin1Char('?')) {
            expression += QStringLiteral("[^/]");
        } else if (c == QLatin1Char('[')) {
            const int close = glob.indexOf(QLatin1Char(']'), i + 2);
            if (close < 0) {
                expression += QStringLiteral("\\[");
                continue;
            }
            QString set = glob.mid(i + 1, close - i - 1);
            const bool negatedSet =
                set.startsWith(QLatin1Char('!')) || set.startsWith(QLatin1Char('^'));
            if (negatedSet)
                set.remove(0, 1);
            set.replace(QLatin1String("\\"), QLatin1String("\\\\"))
                .replace(QLatin1String("["), QLatin1String("\\["));
            expression += QLatin1Char('[') + (negatedSet ? QStringLiteral("^") : QString()) + set +
                          QLatin1Char(']');
            i = close;
        } else if (c == QLatin1Char('\\') && i + 1 < glob.size()) {
            expression += QRegularExpression::escape(glob.mid(++i, 1));
        } else {
            expression += QRegularExpression::escape(QString(c));
        }
    }
    return expression;
}

} // namespace

QRegularExpression gitIgnorePattern(QString line, bool *negated, bool *folderOnly)
{
    *negated = false;
    *folderOnly = false;
    if (line.endsWith(QLatin1Char('\r')))
        line.chop(1);
    // Trailing blanks go unless a backslash keeps them.
    while (line.endsWith(QLatin1Char(' ')) && !line.endsWith(QLatin1String("\\ ")))
        line.chop(1);
    if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
        return QRegularExpression();
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
    if (line.isEmpty())
        return QRegularExpression();
    // A pattern with a "/" before its end is taken from its file's folder; one
    // without matches a name at any depth.
    const bool anchored = line.contains(QLatin1Char('/'));
    if (line.startsWith(QLatin1Char('/')))
        line.remove(0, 1);
    const QString prefix = anchored ? QStringLiteral("^") : QStringLiteral("^(?:.*/)?");
    return QRegularExpression(prefix + globExpression(line) + QLatin1Char('$'),
                              QRegularExpression::DotMatchesEverythingOption);
}

void GitIgnore::addFile(const QString &folder, const QString &content)
{
    const QString base = folder.isEmpty() ? QString() : folder + QLatin1Char('/');
    for (const QString &line : content.split(QLatin1Char('\n'))) {
        Pattern pattern;
        pattern.base = base;
        pattern.expression = gitIgnorePattern(line, &pattern.negated, &pattern.folderOnly);
        if (!pattern.expression.pattern().isEmpty() && pattern.expression.isValid())
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
        if (pattern.expression.match(QStringView(path).mid(pattern.base.size())).hasMatch())
            result = !pattern.negated;
    }
    return result;
}

namespace {
void walkFolder(const QString &root, const QString &relative, GitIgnore ignore,
                const std::function<bool(const QString &)> &wanted, QStringList *files)
{
    const QDir folder(relative.isEmpty() ? root : root + QLatin1Char('/') + relative);
    QFile gitignore(folder.filePath(QStringLiteral(".gitignore")));
    if (gitignore.open(QIODevice::ReadOnly))
        ignore.addFile(relative, QString::fromUtf8(gitignore.read(1024 * 1024)));
    const QFileInfoList entries = folder.entryInfoList(
        QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden, QDir::Name);
    for (const QFileInfo &entry : entries) {
        const QString path =
            relative.isEmpty() ? entry.fileName() : relative + QLatin1Char('/') + entry.fileName();
        if (entry.isDir()) {
            if (entry.fileName() == QLatin1String(".git") || entry.isSymLink() ||
                ignore.ignored(path, true))
                continue;
            walkFolder(root, path, ignore, wanted, files);
        } else if (wanted(entry.fileName()) && !ignore.ignored(path, false)) {
            files->append(QDir::cleanPath(QDir(root).filePath(path)));
        }
    }
}
} // namespace

QStringList walkSourceTree(const QString &root, const std::function<bool(const QString &)> &wanted)
{
    QStringList files;
    walkFolder(QDir::cleanPath(root), QString(), GitIgnore(), wanted, &files);
    return files;
}
