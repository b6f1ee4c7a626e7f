// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "tokens/contrastlevel.h"

#include <array>

namespace {
struct LevelRow
{
    ContrastLevel level;
    const char *name;
    double text;
    double nonText;
};

const std::array<LevelRow, 2> &levelRows()
{
    static const std::array<LevelRow, 2> rows = {{
        {ContrastLevel::AA, "AA", 4.5, 3.0},
        {ContrastLevel::AAA, "AAA", 7.0, 3.0},
    }};
    return rows;
}

const LevelRow *rowOf(ContrastLevel level)
{
    for (const LevelRow &row : levelRows()) {
        if (row.level == level)
            return &row;
    }
    return nullptr;
}
} // namespace

bool contrastLevelFromName(const QString &name, ContrastLevel *level)
{
    for (const LevelRow &row : levelRows()) {
        if (name.compare(QLatin1String(row.name), Qt::CaseInsensitive) == 0) {
            *level = row.level;
            return true;
        }
    }
    return false;
}

QString contrastLevelName(ContrastLevel level)
{
    const LevelRow *row = rowOf(level);
    return row ? QLatin1String(row->name) : QString();
}

QString contrastLevelNames()
{
    QString names;
    for (const LevelRow &row : levelRows())
        names += (names.isEmpty() ? QString() : QStringLiteral(", ")) + QLatin1String(row.name);
    return names;
}

double textContrastMinimum(ContrastLevel level)
{
    const LevelRow *row = rowOf(level);
    return row ? row->text : 1.0;
}

double nonTextContrastMinimum(ContrastLevel level)
{
    const LevelRow *row = rowOf(level);
    return row ? row->nonText : 1.0;
}
