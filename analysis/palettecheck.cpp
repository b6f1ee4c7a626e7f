// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "analysis/lintcontext.h"

#include "theme/palettedirectives.h"

#include <QRegularExpression>

namespace {
QString colourText(const QColor &color)
{
    return color.name(QColor::HexRgb);
}

// End of the leading comment: the comment that opens the text (after blanks), or
// 0 when the text does not open with one.
int leadingCommentEnd(const QString &text)
{
    int i = 0;
    while (i < text.size() && text.at(i).isSpace())
        ++i;
    if (!QStringView(text).mid(i).startsWith(QLatin1String("/*")))
        return 0;
    const int end = text.indexOf(QLatin1String("*/"), i + 2);
    return end < 0 ? text.size() : end + 2;
}
} // namespace

void checkPalette(LintContext &context)
{
    // The same pattern the program reads the header with: eight digits before six.
    static const QRegularExpression directivePattern(
        QStringLiteral("@palette\\s+([A-Za-z.]+)\\s*=\\s*(#(?:[0-9A-Fa-f]{8}|[0-9A-Fa-f]{6}))"));
    static const QRegularExpression extraDigit(QStringLiteral("^[0-9A-Fa-f]"));
    static const QString disabledPrefix = QStringLiteral("Disabled.");
    const QString check = QStringLiteral("palette");
    const QString &text = context.text;
    const int commentEnd = leadingCommentEnd(text);

    QHash<QString, int> seenLine;
    int countedUpTo = 0;
    int lineNumber = 1;
    // From one keyword to the next, so a large sheet is read once.
    for (int keyword = text.indexOf(QLatin1String("@palette"), 0, Qt::CaseInsensitive);
         keyword >= 0;) {
        const int lineStart = text.lastIndexOf(QLatin1Char('\n'), keyword) + 1;
        int lineEnd = text.indexOf(QLatin1Char('\n'), keyword);
        if (lineEnd < 0)
            lineEnd = text.size();
        lineNumber +=
            QStringView(text).mid(countedUpTo, lineStart - countedUpTo).count(QLatin1Char('\n'));
        countedUpTo = lineStart;
        {
            const QString line = text.mid(lineStart, lineEnd - lineStart);
            const int column = keyword - lineStart + 1;
            const QRegularExpressionMatch match = directivePattern.match(line);
            if (!match.hasMatch()) {
                const QString written = text.mid(keyword, 8);
                context.reportAt(lineNumber, column, LintSeverity::Warning, check,
                                 written != QLatin1String("@palette")
                                     ? QStringLiteral("\"%1\" is not a directive: the keyword is "
                                                      "\"@palette\" in lower case")
                                           .arg(written)
                                     : QStringLiteral("malformed directive, the program skips "
                                                      "this line: write \"@palette Role = "
                                                      "#rrggbb\""));
            } else {
                const int matchColumn = match.capturedStart(0) + 1;
                PaletteDirective directive;
                directive.line = lineNumber;
                directive.column = matchColumn;
                directive.name = match.captured(1);
                directive.color.setNamedColor(match.captured(2));
                QString roleName = directive.name;
                if (roleName.startsWith(disabledPrefix)) {
                    directive.group = QPalette::Disabled;
                    roleName.remove(0, disabledPrefix.size());
                }
                directive.known = paletteRoleFromName(roleName, directive.role);
                const int offset = lineStart + match.capturedStart(0);
                if (!directive.known) {
                    context.reportAt(lineNumber, matchColumn, LintSeverity::Warning, check,
                                     QStringLiteral("unknown palette role \"%1\": the program "
                                                    "reads Window, WindowText, Base, "
                                                    "AlternateBase, Text, Button, ButtonText, "
                                                    "Highlight and HighlightedText, each also "
                                                    "with \"Disabled.\"")
                                         .arg(directive.name));
                }
                if (commentEnd == 0 || offset >= commentEnd) {
                    context.reportAt(lineNumber, matchColumn, LintSeverity::Warning, check,
                                     QStringLiteral("directive outside the leading comment: the "
                                                    "program applies it all the same, but the "
                                                    "style sheet engine reads it as text of "
                                                    "the sheet unless it stands in a comment"));
                }
                const QString digits = match.captured(2).mid(1);
                if (digits.size() == 8) {
                    const QColor asCss = QColor::fromRgb(
                        digits.mid(0, 2).toInt(nullptr, 16), digits.mid(2, 2).toInt(nullptr, 16),
                        digits.mid(4, 2).toInt(nullptr, 16), digits.mid(6, 2).toInt(nullptr, 16));
                    context.reportAt(
                        lineNumber, matchColumn, LintSeverity::Warning, check,
                        QStringLiteral("eight-digit colour is read as #AARRGGBB: colour %1 "
                                       "at alpha %2 (as CSS #RRGGBBAA it would be %3 at "
                                       "alpha %4)")
                            .arg(colourText(directive.color))
                            .arg(directive.color.alpha())
                            .arg(colourText(asCss))
                            .arg(asCss.alpha()));
                } else if (line.mid(match.capturedEnd(0)).contains(extraDigit)) {
                    context.reportAt(lineNumber, matchColumn, LintSeverity::Warning, check,
                                     QStringLiteral("colour has more than six digits: the "
                                                    "program reads %1 and ignores the rest")
                                         .arg(colourText(directive.color)));
                }
                if (directive.known) {
                    const QString key = directive.name;
                    if (seenLine.contains(key)) {
                        context.reportAt(lineNumber, matchColumn, LintSeverity::Warning, check,
                                         QStringLiteral("%1 is set twice (first on line %2): "
                                                        "this line wins")
                                             .arg(key)
                                             .arg(seenLine.value(key)));
                    }
                    // An unprefixed directive rewrites the disabled group as well.
                    if (directive.group == QPalette::All &&
                        seenLine.contains(disabledPrefix + roleName)) {
                        context.reportAt(
                            lineNumber, matchColumn, LintSeverity::Warning, check,
                            QStringLiteral("%1 comes after %2%1 (line %3) and overwrites it: "
                                           "put the Disabled. directive after the role it "
                                           "refines")
                                .arg(roleName, disabledPrefix)
                                .arg(seenLine.value(disabledPrefix + roleName)));
                    }
                    seenLine.insert(key, lineNumber);
                }
                context.palette.append(directive);
            }
        }
        keyword = lineEnd >= text.size()
                      ? -1
                      : text.indexOf(QLatin1String("@palette"), lineEnd + 1, Qt::CaseInsensitive);
    }
}
