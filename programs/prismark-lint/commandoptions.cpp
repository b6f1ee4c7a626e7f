// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "prismark-lint/commandoptions.h"

#include "analysis/checkregistry.h"
#include "analysis/lintconfig.h"
#include "analysis/lintoptions.h"
#include "embedded/embeddedlint.h"
#include "support/findingreport.h"
#include "support/programsupport.h"
#include "support/safefileread.h"

#include <QCoreApplication>

namespace {
QStringList splitIds(const QStringList &values)
{
    QStringList ids;
    for (const QString &value : values) {
        for (const QString &id : value.split(QLatin1Char(','), Qt::SkipEmptyParts))
            ids.append(id.trimmed());
    }
    return ids;
}

// --fix and --explain and their companions.
void declareFixAndExplainOptions(QCommandLineParser &parser)
{
    const QCommandLineOption fixOption(
        QStringLiteral("fix"),
        QStringLiteral("Apply the safe fixes and write each file back (standard input: the "
                       "fixed text to standard output, the report to standard error)."));
    const QCommandLineOption unsafeFixesOption(
        QStringLiteral("unsafe-fixes"),
        QStringLiteral("With --fix or --diff, apply the guesses too (the closest known name)."));
    const QCommandLineOption diffOption(
        QStringLiteral("diff"),
        QStringLiteral("Print the fixes as a unified diff instead of writing them (the report "
                       "to standard error)."));
    parser.addOptions({fixOption, unsafeFixesOption, diffOption});
    const QCommandLineOption explainOption(
        QStringLiteral("explain"),
        QStringLiteral("Print what the check finds, why it matters, an example it reports and "
                       "one it does not, its options and its fix, and exit."),
        QStringLiteral("ID"));
    const QCommandLineOption explainMarkdownOption(
        QStringLiteral("explain-markdown"),
        QStringLiteral("Write every check's explanation as DIR/<id>.md and exit."),
        QStringLiteral("DIR"));
    parser.addOptions({explainOption, explainMarkdownOption});
    const QCommandLineOption printConfigOption(
        QStringLiteral("print-config"),
        QStringLiteral("Print the configuration in force for FILE (which need not exist), "
                       "each value with the file, override or option it came from, and exit: "
                       "0, or 3 when the configuration cannot be read."),
        QStringLiteral("FILE"));
    parser.addOption(printConfigOption);
    const QCommandLineOption listObjectsOption(
        QStringLiteral("list-objects"),
        QStringLiteral("Print the objects the application's Designer forms declare (the "
                       "configuration's \"forms\", in force for the one FILE given or the "
                       "working directory; a FOLDER given is walked for its forms and sources "
                       "too): name, class, the class a promoted one extends, form and line, "
                       "sorted by name, then the application's classes with their bases and "
                       "where each is declared; as JSON with --format=json. Exit: 0, or 3 when "
                       "the configuration cannot be read or names no forms."));
    parser.addOption(listObjectsOption);
    const QCommandLineOption standardInputNameOption(
        QStringLiteral("stdin-filename"),
        QStringLiteral("The path standard input (\"-\") stands for, as an editor or a hook "
                       "knows it: its configuration and overrides are found from it, and the "
                       "findings name it."),
        QStringLiteral("PATH"));
    parser.addOption(standardInputNameOption);
}

// What --help says before the options: what the program checks, how, and its exit
// statuses.
QString applicationDescription()
{
    return QStringLiteral("Checks Qt style sheets for what the toolkit rejects, ignores or draws "
                          "badly, and says where.\n\n"
                          "Checks: %1.\n\n"
                          "Each FILE is checked with the nearest %2 found from its directory "
                          "upwards, unless --config or --no-config says otherwise.\n\n"
                          "A Designer form (.ui), a C++ source or header (.cpp .cc .cxx .h .hpp "
                          ".hh) or a Python source (.py) is checked for the sheets it embeds: "
                          "each styleSheet property, each literal passed to setStyleSheet(), as "
                          "the sheet of its widget, told at the file's own lines; a sheet made at "
                          "run time gets one note (%3). A folder is walked for style sheets "
                          "(.qss), forms and sources, leaving out .git and what .gitignore files "
                          "ignore.\n\n"
                          "A theme template (FILE.qss.in) is built in memory and every variant "
                          "checked; each finding is told once, on the template's or the token "
                          "file's line, with the variants it occurs in. The build's own errors "
                          "have the id theme-build.\n\n"
                          "Exit status: 0 nothing failed; 1 only warnings, under --werror or over "
                          "--max-warnings; 2 errors; 3 a file or the configuration could not be "
                          "read or the usage is wrong (the other files are still checked).")
        .arg(lintCheckIds().join(QLatin1String(", ")), kLintConfigFileName, kEmbeddedSheetCheckId);
}

} // namespace

void declareOptions(QCommandLineParser &parser)
{
    parser.setApplicationDescription(applicationDescription());
    addHelpAndVersionOptions(parser);
    parser.addPositionalArgument(QStringLiteral("FILE"),
                                 QStringLiteral("Style sheets, forms, sources or folders to "
                                                "check; \"-\" reads standard input (up to %1).")
                                     .arg(byteLimitText(kMaxSheetBytes)),
                                 QStringLiteral("FILE..."));
    const QCommandLineOption formatOption(
        QStringLiteral("format"),
        QStringLiteral("Output format: %1.")
            .arg(reportFormatList(lintReportFormats(), ReportFormatNotes::Shown)),
        QStringLiteral("FORMAT"), QLatin1String(lintReportFormats().constFirst().name));
    const QCommandLineOption werrorOption(QStringLiteral("werror"),
                                          QStringLiteral("Treat warnings as failures."));
    const QCommandLineOption maxWarningsOption(
        QStringLiteral("max-warnings"),
        QStringLiteral("Fail (exit 1) when more than N warnings remain after suppressions."),
        QStringLiteral("N"));
    const QCommandLineOption disableOption(QStringLiteral("disable"),
                                           QStringLiteral("Do not report these check ids."),
                                           QStringLiteral("ID,..."));
    const QCommandLineOption enableOption(QStringLiteral("enable"),
                                          QStringLiteral("Report these check ids, also those "
                                                         "off by default."),
                                          QStringLiteral("ID,..."));
    const QCommandLineOption galleryOption(
        QStringLiteral("gallery"),
        QStringLiteral("Build the gallery offscreen and judge text contrast on its widgets; "
                       "add notes on what the sheet leaves unstyled there (coverage)."));
    const QCommandLineOption configOption(
        QStringLiteral("config"),
        QStringLiteral("Use this configuration file for every FILE instead of the nearest %1.")
            .arg(kLintConfigFileName),
        QStringLiteral("FILE"));
    const QCommandLineOption noConfigOption(QStringLiteral("no-config"),
                                            QStringLiteral("Use no configuration file."));
    const QCommandLineOption listOption(
        QStringLiteral("list-checks"),
        QStringLiteral("Print every check (id, severity, on by default, what it finds) as a "
                       "Markdown table and exit."));
    const QCommandLineOption tableOption(
        QStringLiteral("summary-table"),
        QStringLiteral("Print a Markdown table of diagnostic counts per file and check id "
                       "instead of the diagnostics."));
    const QCommandLineOption variantOption(
        QStringLiteral("variant"),
        QStringLiteral("Of a theme template (.qss.in), lint only variant NAME (repeatable); "
                       "every variant by default."),
        QStringLiteral("NAME"));
    const QCommandLineOption tokensOption(
        QStringLiteral("tokens"),
        QStringLiteral("Propose tokens for a plain sheet's literals (use-token): a token file "
                       "(.json) or a template whose tokens are used; over the \"tokens\" key."),
        QStringLiteral("FILE"));
    parser.addOptions({formatOption, werrorOption, maxWarningsOption, disableOption, enableOption,
                       galleryOption, configOption, noConfigOption, listOption, tableOption,
                       variantOption, tokensOption});
    declareFixAndExplainOptions(parser);
}

void readSettings(const QCommandLineParser &parser, LintSettings &settings, QString &usageError)
{
    settings.format = findReportFormat(lintReportFormats(), parser.value(QStringLiteral("format")));
    settings.werror = parser.isSet(QStringLiteral("werror"));
    settings.summaryTable = parser.isSet(QStringLiteral("summary-table"));
    settings.gallery = parser.isSet(QStringLiteral("gallery"));
    settings.enabled = splitIds(parser.values(QStringLiteral("enable")));
    settings.disabled = splitIds(parser.values(QStringLiteral("disable")));
    settings.configFile = parser.value(QStringLiteral("config"));
    settings.noConfig = parser.isSet(QStringLiteral("no-config"));
    settings.files = parser.positionalArguments();
    settings.fixMode.diff = parser.isSet(QStringLiteral("diff"));
    settings.fixMode.unsafeFixes = parser.isSet(QStringLiteral("unsafe-fixes"));
    settings.fixMode.fix = parser.isSet(QStringLiteral("fix")) || settings.fixMode.diff;
    if (settings.fixMode.unsafeFixes && !settings.fixMode.fix)
        usageError = QStringLiteral("--unsafe-fixes needs --fix or --diff");
    settings.variants = parser.values(QStringLiteral("variant"));
    if (parser.isSet(QStringLiteral("tokens"))) {
        UniformTokens tokens;
        QString error;
        if (readUniformTokens(parser.value(QStringLiteral("tokens")), &tokens, &error))
            settings.tokens = std::make_shared<const UniformTokens>(tokens);
        else
            usageError = QStringLiteral("--tokens: %1").arg(error);
    }
    if (parser.isSet(QStringLiteral("max-warnings"))) {
        bool ok = false;
        settings.maxWarnings = parser.value(QStringLiteral("max-warnings")).toInt(&ok);
        if (!ok || settings.maxWarnings < 0)
            usageError = QStringLiteral("--max-warnings takes a whole number from 0 up, not "
                                        "\"%1\"")
                             .arg(parser.value(QStringLiteral("max-warnings")));
    }
    settings.standardInputName = parser.value(QStringLiteral("stdin-filename"));
    settings.printConfig = parser.value(QStringLiteral("print-config"));
    settings.listObjects = parser.isSet(QStringLiteral("list-objects"));
}

void complain(QTextStream &err, const QString &what)
{
    err << QCoreApplication::applicationName() << ": " << what << '\n';
    err.flush();
}
