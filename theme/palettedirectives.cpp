// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "theme/palettedirectives.h"

#include "theme/stylesheetloader.h"

#include <QBrush>
#include <QColor>
#include <QRegularExpression>
#include <QStringView>

bool paletteRoleFromName(const QString &name, QPalette::ColorRole &role)
{
    static const struct
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
    for (const auto &entry : kRoles) {
        if (name == QLatin1String(entry.name)) {
            role = entry.role;
            return true;
        }
    }
    return false;
}

void applyPaletteDirectivesFromText(QPalette &palette, const QString &styleSheet)
{
    // Eight digits are tried before six, so "#80ff0000" is alpha 0x80 red while a
    // seventh digit after six is simply left over.
    static const QRegularExpression directive(
        QStringLiteral("@palette\\s+([A-Za-z.]+)\\s*=\\s*(#(?:[0-9A-Fa-f]{8}|[0-9A-Fa-f]{6}))"));
    static const QString disabledPrefix = QStringLiteral("Disabled.");

    // One line at a time, so a directive never reaches into the next line; only the
    // few lines that mention a directive are copied for the expression.
    const QStringView text(styleSheet);
    for (qsizetype start = 0; start <= text.size();) {
        qsizetype end = text.indexOf(QLatin1Char('\n'), start);
        if (end < 0)
            end = text.size();
        const QStringView line = text.mid(start, end - start);
        start = end + 1;
        if (!line.contains(QLatin1String("@palette")))
            continue;
        const QRegularExpressionMatch match = directive.match(line.toString());
        if (!match.hasMatch())
            continue;
        QColor color;
        color.setNamedColor(match.captured(2));
        if (!color.isValid())
            continue;
        QString name = match.captured(1);
        QPalette::ColorGroup group = QPalette::All;
        if (name.startsWith(disabledPrefix)) {
            group = QPalette::Disabled;
            name.remove(0, disabledPrefix.size());
        }
        QPalette::ColorRole role;
        if (!paletteRoleFromName(name, role))
            continue;
        palette.setBrush(group, role, QBrush(color, Qt::SolidPattern));
    }
}

void applyPaletteDirectives(QPalette &palette, Theme theme)
{
    applyPaletteDirectivesFromText(palette, loadThemeStyleSheet(theme));
}
