// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "theme/palettedirectives.h"

#include "theme/stylesheetloader.h"

#include <QBrush>
#include <QColor>
#include <QStringView>

namespace {
const struct
{
    const char *name;
    QPalette::ColorRole role;
} kRoles[] = {
    {"Window", QPalette::Window},
    {"WindowText", QPalette::WindowText},
    {"Base", QPalette::Base},
    {"AlternateBase", QPalette::AlternateBase},
    {"Text", QPalette::Text},
    {"Button", QPalette::Button},
    {"ButtonText", QPalette::ButtonText},
    {"Highlight", QPalette::Highlight},
    {"HighlightedText", QPalette::HighlightedText},
};
} // namespace

bool paletteRoleFromName(const QString &name, QPalette::ColorRole &role)
{
    for (const auto &entry : kRoles) {
        if (name == QLatin1String(entry.name)) {
            role = entry.role;
            return true;
        }
    }
    return false;
}

QStringList paletteRoleNames()
{
    QStringList names;
    for (const auto &entry : kRoles)
        names.append(QLatin1String(entry.name));
    return names;
}

namespace {
// The whitespace of the directive grammar: blank, tab and the line and page breaks.
bool isDirectiveSpace(QChar c)
{
    return c == QLatin1Char(' ') || (c.unicode() >= 0x09 && c.unicode() <= 0x0d);
}

bool isHexDigit(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= '0' && u <= '9') || (u >= 'a' && u <= 'f') || (u >= 'A' && u <= 'F');
}

// A directive whose keyword starts at from: where its name starts and ends, and where its
// colour ends (its "#" is just before the digits); false where the grammar fails.
bool directiveAt(QStringView line, int from, int *nameStart, int *nameEnd, int *colourStart,
                 int *end)
{
    const int size = int(line.size());
    int at = from + int(kPaletteKeyword.size());
    const int afterKeyword = at;
    while (at < size && isDirectiveSpace(line[at]))
        ++at;
    if (at == afterKeyword)
        return false;
    *nameStart = at;
    while (at < size &&
           (line[at] == QLatin1Char('.') || (line[at].unicode() < 0x80 && line[at].isLetter())))
        ++at;
    *nameEnd = at;
    if (at == *nameStart)
        return false;
    while (at < size && isDirectiveSpace(line[at]))
        ++at;
    if (at == size || line[at] != QLatin1Char('='))
        return false;
    ++at;
    while (at < size && isDirectiveSpace(line[at]))
        ++at;
    if (at == size || line[at] != QLatin1Char('#'))
        return false;
    *colourStart = at;
    int digits = 0;
    while (digits < 8 && at + 1 + digits < size && isHexDigit(line[at + 1 + digits]))
        ++digits;
    if (digits < 6)
        return false;
    *end = at + 1 + (digits == 8 ? 8 : 6);
    return true;
}
} // namespace

// Written out rather than as an expression: it runs on every palette line of every sheet
// read, and compiling an expression costs a start-up more than all the lines together.
PaletteDirectiveMatch matchPaletteDirective(QStringView line)
{
    PaletteDirectiveMatch result;
    int nameStart = 0, nameEnd = 0, colourStart = 0, end = 0;
    int keyword = int(line.indexOf(kPaletteKeyword));
    while (keyword >= 0 && !directiveAt(line, keyword, &nameStart, &nameEnd, &colourStart, &end))
        keyword = int(line.indexOf(kPaletteKeyword, keyword + 1));
    if (keyword < 0)
        return result;
    result.matched = true;
    result.start = keyword;
    result.end = end;
    result.name = line.mid(nameStart, nameEnd - nameStart).toString();
    result.colorText = line.mid(colourStart, end - colourStart).toString();
    result.color.setNamedColor(result.colorText);
    QString roleName = result.name;
    if (roleName.startsWith(kDisabledRolePrefix)) {
        result.group = QPalette::Disabled;
        roleName.remove(0, kDisabledRolePrefix.size());
    }
    result.knownRole = paletteRoleFromName(roleName, result.role);
    return result;
}

void applyPaletteDirectivesFromText(QPalette &palette, const QString &styleSheet)
{
    // One line at a time, so a directive never reaches into the next line.
    const QStringView text(styleSheet);
    for (qsizetype start = 0; start <= text.size();) {
        qsizetype end = text.indexOf(QLatin1Char('\n'), start);
        if (end < 0)
            end = text.size();
        const PaletteDirectiveMatch match = matchPaletteDirective(text.mid(start, end - start));
        start = end + 1;
        if (match.matched && match.knownRole && match.color.isValid())
            palette.setBrush(match.group, match.role, QBrush(match.color, Qt::SolidPattern));
    }
}

void applyPaletteDirectives(QPalette &palette, Theme theme)
{
    applyPaletteDirectivesFromText(palette, loadThemeStyleSheet(theme));
}

QVector<PaletteDirectiveLine> paletteDirectiveLines(const QString &text,
                                                    Qt::CaseSensitivity caseSensitivity)
{
    QVector<PaletteDirectiveLine> lines;
    for (int keyword = text.indexOf(kPaletteKeyword, 0, caseSensitivity); keyword >= 0;) {
        PaletteDirectiveLine line;
        line.keyword = keyword;
        line.lineStart = text.lastIndexOf(QLatin1Char('\n'), keyword) + 1;
        line.lineEnd = text.indexOf(QLatin1Char('\n'), keyword);
        if (line.lineEnd < 0)
            line.lineEnd = text.size();
        line.match = matchPaletteDirective(
            QStringView(text).mid(line.lineStart, line.lineEnd - line.lineStart));
        lines.append(line);
        keyword = line.lineEnd >= text.size()
                      ? -1
                      : text.indexOf(kPaletteKeyword, line.lineEnd + 1, caseSensitivity);
    }
    return lines;
}
