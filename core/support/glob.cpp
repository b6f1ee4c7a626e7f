// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "support/glob.h"

#include <QStringList>

namespace {
// The character at i, or none past either end.
QChar charAt(const QString &text, int i)
{
    return i >= 0 && i < text.size() ? text.at(i) : QChar();
}

bool isSlash(const QString &text, int i)
{
    return charAt(text, i) == QLatin1Char('/');
}

// A glob's body as a regular expression, read one construct at a time.
class GlobTranslator
{
public:
    // shown is the glob as written, for messages.
    GlobTranslator(const QString &glob, const QString &shown, GlobSyntax syntax)
        : glob(glob)
        , shown(shown)
        , syntax(syntax)
    {}

    // The expression, or "" with problem set.
    QString translate(QString *problem);

private:
    void stars();
    // Returns false when the set is never closed.
    bool set();
    void brace(QChar c);
    // The character at i as itself, both halves of a surrogate pair together.
    void plain();

    const QString &glob;
    const QString &shown;
    const GlobSyntax syntax;
    QString pattern;
    int i = 0;
    int braces = 0;
};

QString GlobTranslator::translate(QString *problem)
{
    const bool configuration = syntax == GlobSyntax::Configuration;
    for (; i < glob.size(); ++i) {
        const QChar c = glob.at(i);
        if (c == QLatin1Char('*')) {
            stars();
        } else if (c == QLatin1Char('?')) {
            pattern += QLatin1String("[^/]");
        } else if (c == QLatin1Char('[')) {
            if (set())
                continue;
            if (configuration) {
                *problem = QStringLiteral("\"[\" is never closed in \"%1\"").arg(shown);
                return QString();
            }
            plain();
        } else if (c == QLatin1Char('\\') && !configuration && i + 1 < glob.size()) {
            ++i;
            plain();
        } else if (configuration &&
                   (c == QLatin1Char('{') ||
                    (braces > 0 && (c == QLatin1Char(',') || c == QLatin1Char('}'))))) {
            brace(c);
        } else {
            plain();
        }
    }
    if (braces > 0) {
        *problem = QStringLiteral("\"{\" is never closed in \"%1\"").arg(shown);
        return QString();
    }
    return pattern;
}

// "**" spans folders only as a whole segment: "**/" any number of them, none
// included, and a trailing "/**" (or a lone "**") everything below. Elsewhere
// it is one "*", as git has it.
void GlobTranslator::stars()
{
    if (charAt(glob, i + 1) != QLatin1Char('*')) {
        pattern += QLatin1String("[^/]*");
        return;
    }
    const bool segmentStart = i == 0 || isSlash(glob, i - 1);
    ++i;
    if (segmentStart && isSlash(glob, i + 1)) {
        pattern += QLatin1String("(?:[^/]*/)*");
        ++i;
    } else if (segmentStart && i + 1 == glob.size()) {
        pattern += QLatin1String(".*");
    } else {
        pattern += QLatin1String("[^/]*");
    }
}

// "[...]" at i: one character of the set, or with "!" (and "^" in a .gitignore) not
// of it, and never a "/". A "]" right after the opening (or its "!") is a member.
bool GlobTranslator::set()
{
    int open = i + 1;
    const QChar first = charAt(glob, open);
    const bool negated =
        first == QLatin1Char('!') || (syntax == GlobSyntax::GitIgnore && first == QLatin1Char('^'));
    if (negated)
        ++open;
    const int close = int(glob.indexOf(QLatin1Char(']'), open + 1));
    if (close < 0)
        return false;
    QString members;
    for (const uint member : QStringView(glob).mid(open, close - open).toUcs4())
        members +=
            member == '-' ? QStringLiteral("-") : QStringLiteral("\\x{%1}").arg(member, 0, 16);
    pattern +=
        negated ? QStringLiteral("[^/%1]").arg(members) : QStringLiteral("(?!/)[%1]").arg(members);
    i = close;
    return true;
}

void GlobTranslator::plain()
{
    const int length = glob.at(i).isHighSurrogate() && charAt(glob, i + 1).isLowSurrogate() ? 2 : 1;
    pattern += QRegularExpression::escape(glob.mid(i, length));
    i += length - 1;
}

void GlobTranslator::brace(QChar c)
{
    if (c == QLatin1Char('{')) {
        ++braces;
        pattern += QLatin1String("(?:");
    } else if (c == QLatin1Char(',')) {
        pattern += QLatin1Char('|');
    } else {
        --braces;
        pattern += QLatin1Char(')');
    }
}

bool hasWildcard(const QString &segment)
{
    static const QRegularExpression wildcard(QStringLiteral("[*?\\[{]"));
    return segment.contains(wildcard);
}
} // namespace

PathGlob::PathGlob(const QString &glob, GlobSyntax syntax)
{
    QString body = glob;
    // "./a.qss" is anchored as "dir/a.qss" is, even without a "/" once stripped.
    nameOnly = !body.contains(QLatin1Char('/'));
    while (syntax == GlobSyntax::Configuration && body.startsWith(QLatin1String("./")))
        body.remove(0, 2);
    if (body.startsWith(QLatin1Char('/')))
        body.remove(0, 1);
    const QString pattern = GlobTranslator(body, glob, syntax).translate(&problem);
    if (!problem.isEmpty())
        return;
    // A file name may hold any character, a line break too.
    expression = QRegularExpression(QStringLiteral("\\A(?:%1)\\z").arg(pattern),
                                    QRegularExpression::DotMatchesEverythingOption);
    if (!expression.isValid())
        problem = QStringLiteral("\"%1\" is no glob: %2").arg(glob, expression.errorString());
}

bool PathGlob::matches(const QString &relativePath) const
{
    if (!problem.isEmpty())
        return false;
    const QStringView subject =
        nameOnly ? QStringView(relativePath).mid(relativePath.lastIndexOf(QLatin1Char('/')) + 1)
                 : QStringView(relativePath);
    return expression.match(subject).hasMatch();
}

QString globFixedFolders(const QString &glob)
{
    QStringList segments = glob.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    QString fixed;
    while (segments.size() > 1 && !hasWildcard(segments.first()))
        fixed += segments.takeFirst() + QLatin1Char('/');
    return fixed;
}

int globFolderDepth(const QString &glob)
{
    if (!glob.contains(QLatin1Char('/')))
        return -1;
    const QStringList segments = glob.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    if (segments.contains(QStringLiteral("**")))
        return -1;
    const int fixed = int(globFixedFolders(glob).count(QLatin1Char('/')));
    return int(segments.size()) - fixed - 1;
}
