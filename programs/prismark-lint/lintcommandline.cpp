// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "prismark-lint/lintcommandline.h"

#include "analysis/toolkitparse.h"
#include "prismark-lint/checkpages.h"
#include "prismark-lint/commandoptions.h"
#include "prismark-lint/configprinter.h"
#include "prismark-lint/configurationcache.h"
#include "prismark-lint/lintrun.h"
#include "prismark-lint/objectlisting.h"
#include "prismark-lint/settingscheck.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace {
// Parses the arguments; false with usageError set when they are wrong. Help,
// version and the check list are printed here (done is then set).
bool parseArguments(const QStringList &arguments, LintSettings &settings, bool &done,
                    QString &usageError)
{
    QCommandLineParser parser;
    declareOptions(parser);
    done = false;
    if (!parser.parse(arguments)) {
        usageError = parser.errorText();
        return false;
    }
    if (!answerAndStop(parser, done, usageError) || done)
        return usageError.isEmpty();
    readSettings(parser, settings, usageError);
    checkSettings(parser, settings, usageError);
    return usageError.isEmpty();
}

// --print-config: the configuration the run would use for one sheet.
int printConfiguration(const LintSettings &settings, QTextStream &out)
{
    Configurations configurations(settings);
    const QString &sheet = settings.printConfig;
    const LintConfigResult config = configurations.configurationFor(sheet);
    if (configurations.failed)
        return ExitUnreadable;
    out << configurationText(config, configurations.optionsFor(sheet), sheet,
                             {settings.enabled, settings.disabled, settings.gallery});
    out.flush();
    return ExitClean;
}

// --list-objects: the objects of the forms the configuration names.
int listObjects(const LintSettings &settings, QTextStream &out, QTextStream &err)
{
    Configurations configurations(settings);
    const QString sheet = settings.files.value(0, QStringLiteral("-"));
    // A folder is walked as a run walks it: its forms and sources are the application's.
    const bool folder = sheet != QLatin1String("-") && QFileInfo(sheet).isDir();
    WalkedApplication walked;
    if (folder) {
        walked = walkApplication(sheet);
        configurations.setWalk(&walked);
    }
    const LintConfigResult config = configurations.configurationFor(sheet);
    if (configurations.failed)
        return ExitUnreadable;
    const auto objects = folder ? configurations.optionsFor(sheet).applicationObjects
                                : config.options.applicationObjects;
    if (!objects) {
        complain(err, config.options.forms.isEmpty()
                          ? QStringLiteral("no \"forms\" in %1")
                                .arg(config.file.isEmpty()
                                         ? QStringLiteral("the configuration (no %1 applies)")
                                               .arg(kLintConfigFileName)
                                         : config.file)
                          : QStringLiteral("no form of \"forms\" could be read"));
        return ExitUnreadable;
    }
    out << (qstrcmp(settings.format->name, "json") == 0 ? objectListingJson(*objects)
                                                        : objectListingText(*objects));
    out.flush();
    return ExitClean;
}
} // namespace

int runLintCommandLine(const QStringList &arguments)
{
    quietToolkitParserMessages();
    QTextStream out(stdout);
    QTextStream err(stderr);

    LintSettings settings;
    bool done = false;
    QString usageError;
    if (!parseArguments(arguments, settings, done, usageError)) {
        const QString program = QCoreApplication::applicationName();
        err << program << ": " << usageError << '\n' << "Try '" << program << " --help'.\n";
        return ExitUnreadable;
    }
    if (done)
        return ExitClean;
    if (!settings.printConfig.isEmpty())
        return printConfiguration(settings, out);
    if (settings.listObjects)
        return listObjects(settings, out, err);
    return runLint(settings);
}
