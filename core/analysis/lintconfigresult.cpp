// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "analysis/lintconfigresult.h"

#include "analysis/lintconfigkeys.h"
#include "support/glob.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

namespace {
// The keys whose objects merge name by name when a later file or override sets
// them again; every other value replaces the earlier one whole.
bool mergesByName(const QString &key)
{
    return key == QLatin1String("checks") || key == QLatin1String("widgets") ||
           key == QLatin1String("contrast") || key == QLatin1String("format");
}
} // namespace

void recordSettings(const QJsonObject &keys, const QString &origin, LintConfigResult &result)
{
    for (auto it = keys.constBegin(); it != keys.constEnd(); ++it) {
        if (!mergesByName(it.key())) {
            result.settings.insert(it.key(), {it.value(), origin});
            continue;
        }
        const QJsonObject named = it.value().toObject();
        for (auto name = named.constBegin(); name != named.constEnd(); ++name)
            result.settings.insert(it.key() + QLatin1Char('.') + name.key(),
                                   {name.value(), origin});
    }
}

LintConfigResult LintConfigResult::forSheet(const QString &sheetPath) const
{
    LintConfigResult result = *this;
    if (!ok || sheetPath.isEmpty() || sheetPath == QLatin1String("-"))
        return result;
    const QString sheet = QFileInfo(sheetPath).absoluteFilePath();
    for (const LintConfigOverride &entry : overrides) {
        const QString relative = QFileInfo(entry.file).absoluteDir().relativeFilePath(sheet);
        if (relative.startsWith(QLatin1String("../")) || QFileInfo(relative).isAbsolute() ||
            std::none_of(entry.globs.cbegin(), entry.globs.cend(),
                         [&](const QString &glob) { return PathGlob(glob).matches(relative); }))
            continue;
        // Checked when read; the warnings it gave then are not repeated.
        QStringList warnings;
        ConfigKeyReader(entry.file, QString()).read(entry.keys, result.options, warnings);
        recordSettings(entry.keys,
                       QStringLiteral("%1 overrides[%2]").arg(entry.file).arg(entry.index), result);
    }
    return result;
}
