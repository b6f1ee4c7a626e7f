// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "theme/palettedirectives.h"

#include "theme/stylesheetloader.h"

#include <QBrush>
#include <QColor>
#include <QRegularExpression>
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

PaletteDirectiveMatch matchPaletteDirective(QStringView line)
{
    static const QRegularExpression directive(
        QStringLiteral("@palette\\s+([A-Za-z.]+)\\s*=\\s*(#(?:[0-9A-Fa-f]{8}|[0-9A-Fa-f]{6}))"));
    PaletteDirectiveMatch result;
    if (!line.contains(kPaletteKeyword))
        return result;
    const QRegularExpressionMatch match = directive.match(line.toString());
    if (!match.hasMatch())
        return result;
    result.matched = true;
    result.start = int(match.capturedStart(0));
    result.end = int(match.capturedEnd(0));
    result.name = match.captured(1);
    result.colorText = match.captured(2);
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
