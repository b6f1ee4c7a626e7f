// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "prismark-lint/lintcommandline.h"

#include "analysis/applicationobjects.h"
#include "analysis/checkexplanation.h"
#include "analysis/checkregistry.h"
#include "analysis/lintconfig.h"
#include "analysis/stylesheetlint.h"
#include "analysis/templatelint.h"
#include "analysis/toolkitparse.h"
#include "embedded/embeddedlint.h"
#include "prismark-lint/configprinter.h"
#include "prismark-lint/gallerycontrast.h"
#include "prismark-lint/lintfixing.h"
#include "prismark-lint/lintreport.h"
#include "prismark-lint/objectlisting.h"
#include "support/findingreport.h"
#include "support/programsupport.h"
#include "support/safefileread.h"
#include "support/sourcetree.h"
#include "tokens/uniformtokens.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QSaveFile>
#include <QTextStream>

#include <algorithm>

namespace {
enum ExitStatus
{
    ExitClean = 0,
    ExitWarnings = 1,
    ExitErrors = 2,
    ExitUnreadable = 3,
};

QString programName()
{
    return QCoreApplication::applicationName();
}

// What the command line asked for.
struct Settings
{
    const LintReportFormat *format = nullptr;
    bool werror = false;
    int maxWarnings = -1; // no budget
    bool summaryTable = false;
    QString configFile; // --config
    bool noConfig = false;
    bool gallery = false;
    QStringList enabled;
    QStringList disabled;
    QStringList variants; // of a theme template; all when empty
    // --tokens: what a plain sheet's literals are compared with; null when not given.
    std::shared_ptr<const UniformTokens> tokens;
    QStringList files;
    // --stdin-filename: the path standard input stands for, or empty.
    QString standardInputName;
    LintFixMode fixMode;
    QString printConfig; // the sheet whose configuration is printed instead of a run
    bool listObjects = false;
};

QStringList splitIds(const QStringList &values)
{
    QStringList ids;
    for (const QString &value : values) {
        for (const QString &id : value.split(QLatin1Char(','), Qt::SkipEmptyParts))
            ids.append(id.trimmed());
    }
    return ids;
}

// The registry as docs/lint.md shows it.
QString checkTable()
{
    QString table = QStringLiteral("| check id | severity | on by default | what |\n"
                                   "|---|---|---|---|\n");
    for (const LintCheck &check : lintChecks()) {
        table += QStringLiteral("| `%1` | %2 | %3 | %4 |\n")
                     .arg(QLatin1String(check.id), lintSeverityName(check.severity),
                          check.onByDefault ? QStringLiteral("yes") : QStringLiteral("no"),
                          QString::fromUtf8(check.description));
    }
    return table;
}

// Every check's page as DIR/<id>.md; what went wrong, or empty.
QString writeCheckPages(const QString &directory)
{
    if (!QDir().mkpath(directory))
        return QStringLiteral("cannot make the directory \"%1\"").arg(directory);
    for (const LintCheck &check : lintChecks()) {
        QSaveFile page(QDir(directory).filePath(QLatin1String(check.id) + QStringLiteral(".md")));
        if (!page.open(QIODevice::WriteOnly) ||
            page.write(checkExplanationPage(check).toUtf8()) < 0 || !page.commit())
            return page.fileName() + QStringLiteral(": ") + page.errorString();
    }
    return QString();
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
                       "working directory): name, class, the class a promoted one extends, "
                       "form and line, sorted by name; as JSON with --format=json. Exit: 0, or 3 "
                       "when the configuration cannot be read or names no forms."));
    parser.addOption(listObjectsOption);
    const QCommandLineOption standardInputNameOption(
        QStringLiteral("stdin-filename"),
        QStringLiteral("The path standard input (\"-\") stands for, as an editor or a hook "
                       "knows it: its configuration and overrides are found from it, and the "
                       "findings name it."),
        QStringLiteral("PATH"));
    parser.addOption(standardInputNameOption);
}

// The options, written once for the parser and --help.
void declareOptions(QCommandLineParser &parser)
{
    parser.setApplicationDescription(
        QStringLiteral("Checks Qt style sheets for what the toolkit rejects, ignores or draws "
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
            .arg(lintCheckIds().join(QLatin1String(", ")), kLintConfigFileName,
                 kEmbeddedSheetCheckId));
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

// Help, version, the check list and explanations: printed here, and done is set.
bool answerAndStop(const QCommandLineParser &parser, bool &done, QString &usageError)
{
    if (answerHelpOrVersion(parser)) {
        done = true;
        return true;
    }
    QTextStream out(stdout);
    if (parser.isSet(QStringLiteral("list-checks"))) {
        out << checkTable();
        done = true;
        return true;
    }
    if (parser.isSet(QStringLiteral("explain"))) {
        const LintCheck *check = lintCheck(parser.value(QStringLiteral("explain")));
        if (!check) {
            usageError = QStringLiteral("unknown check id \"%1\"")
                             .arg(parser.value(QStringLiteral("explain")));
            return false;
        }
        out << checkExplanationPage(*check);
        done = true;
        return true;
    }
    if (parser.isSet(QStringLiteral("explain-markdown"))) {
        done = true;
        usageError = writeCheckPages(parser.value(QStringLiteral("explain-markdown")));
        return usageError.isEmpty();
    }

    return true;
}

// What the run is to do, from parsed arguments; usageError says what is wrong.
void readSettings(const QCommandLineParser &parser, Settings &settings, QString &usageError)
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
    if (!settings.format)
        usageError =
            unknownReportFormatError(lintReportFormats(), parser.value(QStringLiteral("format")));
    for (const QString &id : settings.enabled + settings.disabled) {
        if (!lintCheckIds().contains(id))
            usageError = QStringLiteral("unknown check id \"%1\"").arg(id);
    }
    if (settings.noConfig && !settings.configFile.isEmpty())
        usageError = QStringLiteral("--config and --no-config exclude each other");
    settings.standardInputName = parser.value(QStringLiteral("stdin-filename"));
    if (parser.isSet(QStringLiteral("stdin-filename")) &&
        (settings.standardInputName.isEmpty() || !settings.files.contains(QStringLiteral("-"))))
        usageError = QStringLiteral("--stdin-filename names a path, for \"-\" among the files");
    settings.printConfig = parser.value(QStringLiteral("print-config"));
    settings.listObjects = parser.isSet(QStringLiteral("list-objects"));
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

// Parses the arguments; false with usageError set when they are wrong. Help,
// version and the check list are printed here (done is then set).
bool parseArguments(const QStringList &arguments, Settings &settings, bool &done,
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
    return usageError.isEmpty();
}

// Finds and reads each configuration once, says what is wrong with it once.
class Configurations
{
public:
    explicit Configurations(const Settings &settings)
        : settings(settings)
    {}

    // The configuration in force for one sheet, without the command line's options.
    LintConfigResult configurationFor(const QString &sheet)
    {
        if (settings.noConfig)
            return LintConfigResult();
        const QString file =
            settings.configFile.isEmpty() ? findLintConfig(sheet) : settings.configFile;
        return file.isEmpty() ? LintConfigResult() : load(file).forSheet(sheet);
    }

    // The options for one sheet: its configuration, then the command line on top.
    LintOptions optionsFor(const QString &sheet)
    {
        LintOptions options = configurationFor(sheet).options;
        options.gallery = options.gallery || settings.gallery;
        if (settings.gallery)
            options.contrastTree = gallery();
        for (const QString &id : settings.enabled) {
            options.disabledChecks.removeAll(id);
            options.enabledChecks.append(id);
        }
        options.disabledChecks += settings.disabled;
        if (settings.tokens)
            options.tokens = settings.tokens;
        if (!walkedForms.isEmpty()) {
            // Whatever the forms' own problems, linting them says so.
            QStringList formWarnings;
            if (options.applicationObjects) {
                addApplicationForms(options, walkedForms, &formWarnings);
            } else {
                // Read once per walk and shared: a walk may hold thousands of files.
                if (!walkedObjects)
                    walkedObjects = readApplicationForms(walkedForms, &formWarnings);
                options.forms += walkedForms;
                options.applicationObjects = walkedObjects;
            }
        }
        return options;
    }

    bool failed = false;
    // The Designer forms of the folder being walked: the application the sheets in it
    // are written for.
    QStringList walkedForms;
    std::shared_ptr<const ApplicationObjects> walkedObjects;

private:
    // Each file is read once (with its .qrc files); its overrides apply per sheet.
    const LintConfigResult &load(const QString &file)
    {
        const auto cached = loaded.constFind(file);
        if (cached != loaded.cend())
            return *cached;
        const LintConfigResult result = readLintConfig(file);
        QTextStream err(stderr);
        if (!result.ok) {
            err << programName() << ": " << result.error << '\n';
            failed = true;
        }
        for (const QString &warning : result.warnings)
            err << programName() << ": warning: " << warning << '\n';
        err.flush();
        return *loaded.insert(file, result);
    }

    // Built once, on first use; only a GUI application can build widgets.
    std::shared_ptr<const ContrastTree> gallery()
    {
        if (!galleryTree && qobject_cast<QApplication *>(QCoreApplication::instance()))
            galleryTree = galleryContrastTree();
        return galleryTree;
    }

    const Settings &settings;
    QHash<QString, LintConfigResult> loaded;
    std::shared_ptr<const ContrastTree> galleryTree;
};

QString summaryTable(const QStringList &files, const QVector<LintDiagnostic> &diagnostics,
                     const QStringList &ids)
{
    QString table = QStringLiteral("| Sheet |");
    QString rule = QStringLiteral("|---|");
    for (const QString &id : ids) {
        table += QStringLiteral(" %1 |").arg(id);
        rule += QStringLiteral("---:|");
    }
    table += QStringLiteral("\n") + rule + QStringLiteral("\n");
    for (const QString &file : files) {
        table += QStringLiteral("| %1 |").arg(QFileInfo(file).fileName());
        for (const QString &id : ids) {
            const auto count = std::count_if(
                diagnostics.cbegin(), diagnostics.cend(), [&](const LintDiagnostic &diagnostic) {
                    return diagnostic.file == file && diagnostic.check == id;
                });
            table += QStringLiteral(" %1 |").arg(count);
        }
        table += QLatin1Char('\n');
    }
    return table;
}

// A column for every check that ran or was asked for, in the registry's order.
QStringList summaryColumns(const Settings &settings)
{
    // A disabled check keeps its column: it was asked about.
    LintOptions asked;
    asked.enabledChecks = settings.enabled;
    asked.gallery = settings.gallery;
    QStringList ids;
    for (const LintCheck &check : lintChecks()) {
        if (lintCheckRuns(check, asked))
            ids.append(QLatin1String(check.id));
    }
    return ids;
}
} // namespace

namespace {

// What the files checked so far came to.
struct LintRun
{
    bool unreadable = false;
    int fixed = 0;
    QStringList checkedFiles;
    QVector<LintDiagnostic> diagnostics;
};

void complain(QTextStream &err, const QString &what)
{
    err << programName() << ": " << what << '\n';
    err.flush();
}

// Checks one FILE (a sheet, standard input or a theme template), fixing it when asked.
// What a folder walk checks: style sheets, forms and sources.
bool isLintedFileName(const QString &name)
{
    return name.endsWith(QLatin1String(".qss")) ||
           embeddingLanguage(name) != EmbeddingLanguage::None;
}

// A file found by walking a folder is checked only when it names a style sheet.
void checkFile(const QString &file, const Settings &settings, Configurations &configurations,
               LintRun *run, QTextStream &err, bool walked = false)
{
    // What the findings and the configuration go by: standard input by the path it
    // stands for, when one is given.
    const QString name = file == QLatin1String("-") && !settings.standardInputName.isEmpty()
                             ? settings.standardInputName
                             : file;
    const LintOptions options = configurations.optionsFor(name);
    if (isThemeTemplatePath(file)) {
        const TemplateLint lint = lintThemeTemplate(file, options, settings.variants);
        if (!lint.usageError.isEmpty()) {
            complain(err, lint.usageError);
            run->unreadable = true;
            return;
        }
        run->unreadable = run->unreadable || lint.unreadable;
        run->checkedFiles.append(file);
        run->diagnostics += lint.diagnostics;
        return;
    }
    const FileReadResult input = readFileOrStandardInput(file, kMaxSheetBytes);
    if (!input.ok) {
        complain(err, (file == QLatin1String("-") ? QStringLiteral("standard input") : file) +
                          QStringLiteral(": ") + input.error);
        run->unreadable = true;
        return;
    }
    const EmbeddingLanguage language = embeddingLanguage(name);
    // A walked source that never names a style sheet is no file the run checked.
    if (walked && language != EmbeddingLanguage::None && !input.bytes.contains("tyleSheet"))
        return;
    run->checkedFiles.append(name);
    if (!settings.fixMode.fix) {
        run->diagnostics +=
            language == EmbeddingLanguage::None
                ? lintStyleSheet(input.bytes, name, options)
                : lintEmbeddedSheets(QString::fromUtf8(input.bytes), language, name, options);
        return;
    }
    const LintFixOutcome outcome =
        language == EmbeddingLanguage::None
            ? fixLintInput(file, input.bytes, options, settings.fixMode, name)
            : fixEmbeddedInput(file, input.bytes, language, options, settings.fixMode, name);
    if (!outcome.ok || !outcome.notice.isEmpty()) {
        complain(err, name + QStringLiteral(": ") + (outcome.ok ? outcome.notice : outcome.error));
        run->unreadable = run->unreadable || !outcome.ok;
    }
    run->fixed += outcome.fixed;
    run->diagnostics += outcome.remaining;
}

// The diagnostics in the format asked for, and the count of fixes after --fix.
void printReport(const Settings &settings, const LintRun &run, QTextStream &out, QTextStream &err)
{
    // Standard output carries the fixed text or the diff; the report goes beside it.
    const bool outputTaken = settings.fixMode.diff ||
                             (settings.fixMode.fix && settings.files.contains(QStringLiteral("-")));
    QTextStream &report = outputTaken ? err : out;
    const QVector<LintDiagnostic> &diagnostics = run.diagnostics;
    if (settings.summaryTable)
        report << summaryTable(run.checkedFiles, diagnostics, summaryColumns(settings));
    else
        report << settings.format->write(
            LintReport{diagnostics, int(run.checkedFiles.size()), settings.fixMode.fix, run.fixed});
    report.flush();
}

} // namespace

// --print-config: the configuration the run would use for one sheet.
int printConfiguration(const Settings &settings, QTextStream &out)
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
int listObjects(const Settings &settings, QTextStream &out, QTextStream &err)
{
    Configurations configurations(settings);
    const QString sheet = settings.files.value(0, QStringLiteral("-"));
    const LintConfigResult config = configurations.configurationFor(sheet);
    if (configurations.failed)
        return ExitUnreadable;
    const auto &objects = config.options.applicationObjects;
    if (!objects) {
        err << programName() << ": "
            << (config.options.forms.isEmpty()
                    ? QStringLiteral("no \"forms\" in %1")
                          .arg(config.file.isEmpty()
                                   ? QStringLiteral("the configuration (no %1 applies)")
                                         .arg(kLintConfigFileName)
                                   : config.file)
                    : QStringLiteral("no form of \"forms\" could be read"))
            << '\n';
        return ExitUnreadable;
    }
    out << (qstrcmp(settings.format->name, "json") == 0 ? objectListingJson(*objects)
                                                        : objectListingText(*objects));
    out.flush();
    return ExitClean;
}

int runLintCommandLine(const QStringList &arguments)
{
    quietToolkitParserMessages();
    QTextStream out(stdout);
    QTextStream err(stderr);

    Settings settings;
    bool done = false;
    QString usageError;
    if (!parseArguments(arguments, settings, done, usageError)) {
        err << programName() << ": " << usageError << '\n'
            << "Try '" << programName() << " --help'.\n";
        return ExitUnreadable;
    }
    if (done)
        return ExitClean;
    if (!settings.printConfig.isEmpty())
        return printConfiguration(settings, out);
    if (settings.listObjects)
        return listObjects(settings, out, err);

    Configurations configurations(settings);
    LintRun run;
    for (const QString &file : qAsConst(settings.files)) {
        if (file == QLatin1String("-") || !QFileInfo(file).isDir()) {
            checkFile(file, settings, configurations, &run, err);
            continue;
        }
        const QStringList walked = walkSourceTree(file, isLintedFileName);
        configurations.walkedForms.clear();
        configurations.walkedObjects.reset();
        for (const QString &found : walked) {
            if (found.endsWith(QLatin1String(".ui"), Qt::CaseInsensitive))
                configurations.walkedForms << found;
        }
        for (const QString &found : walked)
            checkFile(found, settings, configurations, &run, err, true);
        configurations.walkedForms.clear();
    }
    sortLintDiagnostics(run.diagnostics);
    printReport(settings, run, out, err);

    const int errors = countWithSeverity(run.diagnostics, LintSeverity::Error);
    const int warnings = countWithSeverity(run.diagnostics, LintSeverity::Warning);
    if (run.unreadable || configurations.failed)
        return ExitUnreadable;
    if (errors > 0)
        return ExitErrors;
    if (warnings > 0 && settings.werror)
        return ExitWarnings;
    if (settings.maxWarnings >= 0 && warnings > settings.maxWarnings)
        return ExitWarnings;
    return ExitClean;
}
