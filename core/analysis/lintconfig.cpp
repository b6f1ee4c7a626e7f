// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "analysis/lintconfig.h"

#include "analysis/lintconfigloader.h"

#include <QDir>
#include <QFileInfo>

QString findLintConfig(const QString &sheetPath)
{
    const bool named = !sheetPath.isEmpty() && sheetPath != QLatin1String("-");
    // By name, so that a sheet not written yet (--print-config) finds it too.
    QString directory =
        QDir::cleanPath(named ? QFileInfo(sheetPath).absolutePath() : QDir::currentPath());
    for (;;) {
        const QString candidate = QDir(directory).filePath(kLintConfigFileName);
        if (QFileInfo::exists(candidate))
            return candidate;
        const QString parent = QFileInfo(directory).path();
        if (parent == directory)
            return QString();
        directory = parent;
    }
}

LintConfigResult readLintConfig(const QString &configPath)
{
    LintConfigResult result;
    result.file = configPath;
    if (!loadLintConfig(configPath, result)) {
        const QString error = result.error;
        result = LintConfigResult();
        result.file = configPath;
        result.ok = false;
        result.error = error;
    }
    return result;
}

LintConfigResult lintConfigForSheet(const QString &sheetPath, const QString &configPath)
{
    const QString file = configPath.isEmpty() ? findLintConfig(sheetPath) : configPath;
    return file.isEmpty() ? LintConfigResult() : readLintConfig(file).forSheet(sheetPath);
}
