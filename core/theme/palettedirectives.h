// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include "theme/themecatalogue.h"

#include <QColor>
#include <QLatin1String>
#include <QPalette>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <QVector>

// Writes the "@palette Role = #rrggbb" directives of a theme's style sheet into a
// palette. Roles and groups that no directive names keep their values.
void applyPaletteDirectives(QPalette &palette, Theme theme);

// The same for a style sheet text already in memory.
void applyPaletteDirectivesFromText(QPalette &palette, const QString &styleSheet);

// Maps one of the nine role names the style sheets may use; leaves role untouched
// and returns false for any other name.
bool paletteRoleFromName(const QString &name, QPalette::ColorRole &role);

// The nine role names, in the order the style sheets list them.
QStringList paletteRoleNames();

// The keyword of a directive, and the prefix that puts a role in the disabled group.
inline const QLatin1String kPaletteKeyword("@palette");
inline const QLatin1String kDisabledRolePrefix("Disabled.");

// The first directive on one line, as the program reads it: "@palette", a name, "="
// and six or eight hexadecimal digits (eight tried first, so "#80ff0000" is alpha
// 0x80 red while a seventh digit after six is simply left over).
struct PaletteDirectiveMatch
{
    bool matched = false;
    int start = 0; // in the line, of "@palette"
    int end = 0;   // in the line, just after the colour
    QString name;  // as written, "Disabled." included
    QString colorText;
    QPalette::ColorGroup group = QPalette::All;
    QPalette::ColorRole role = QPalette::NoRole;
    bool knownRole = false;
    QColor color;
};
PaletteDirectiveMatch matchPaletteDirective(QStringView line);

// A line of a text that mentions the palette keyword, and what the program reads there.
struct PaletteDirectiveLine
{
    int keyword = 0;   // offset of the (first) keyword in the text
    int lineStart = 0; // offsets in the text; lineEnd at the "\n" or the end
    int lineEnd = 0;
    PaletteDirectiveMatch match;
};
// Every line that mentions the keyword, in order, each once: the program reads the
// directives on every line. Read from one keyword to the next, so a large text is
// read once; caseSensitivity finds "@Palette" too, which is no directive.
QVector<PaletteDirectiveLine>
paletteDirectiveLines(const QString &text, Qt::CaseSensitivity caseSensitivity = Qt::CaseSensitive);
