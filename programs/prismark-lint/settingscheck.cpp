// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "prismark-lint/settingscheck.h"

#include "analysis/checkregistry.h"
#include "support/findingreport.h"

void checkSettings(const QCommandLineParser &parser, const LintSettings &settings,
                   QString &usageError)
{
    if (!settings.format)
        usageError =
            unknownReportFormatError(lintReportFormats(), parser.value(QStringLiteral("format")));
    for (const QString &id : settings.enabled + settings.disabled) {
        if (!lintCheckIds().contains(id))
            usageError = QStringLiteral("unknown check id \"%1\"").arg(id);
    }
    if (settings.noConfig && !settings.configFile.isEmpty())
        usageError = QStringLiteral("--config and --no-config exclude each other");
    if (parser.isSet(QStringLiteral("stdin-filename")) &&
        (settings.standardInputName.isEmpty() || !settings.files.contains(QStringLiteral("-"))))
        usageError = QStringLiteral("--stdin-filename names a path, for \"-\" among the files");
    if (settings.listObjects) {
        if (settings.files.size() > 1 || !settings.printConfig.isEmpty())
            usageError = QStringLiteral("--list-objects takes at most one FILE");
        else if (settings.format && qstrcmp(settings.format->name, "text") != 0 &&
                 qstrcmp(settings.format->name, "json") != 0)
            usageError = QStringLiteral("--list-objects writes text or json");
        return;
    }
    if (!settings.printConfig.isEmpty() && !settings.files.isEmpty())
        usageError = QStringLiteral("--print-config takes its FILE alone");
    else if (settings.files.isEmpty() && settings.printConfig.isEmpty())
        usageError = QStringLiteral("no FILE given (\"-\" reads standard input)");
}
