// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "prismark-profile/profilecommand.h"

#include "analysis/matchwork.h"
#include "analysis/sheetmodel.h"
#include "analysis/templatelint.h"
#include "attach/attachenvironment.h"
#include "forms/formloader.h"
#include "prismark-profile/appprofile.h"
#include "prismark-profile/profilereport.h"
#include "prismark-profile/profilesheet.h"
#include "profiling/profilemeasurement.h"
#include "profiling/profilestage.h"
#include "profiling/ruleattribution.h"
#include "support/atomicwrite.h"
#include "support/programsupport.h"
#include "theme/schemepalette.h"
#include "widgetstyles/sheetpalette.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <cstdio>

namespace {

const QString kFormatText = QStringLiteral("text");
const QString kFormatJson = QStringLiteral("json");
const QString kReportPage = QStringLiteral("index.html");

const char kExitCodes[] = "Exit codes:\n"
                          "  0  the profile was written\n"
                          "  2  a sheet or form cannot be read, the toolkit rejects the sheet,\n"
                          "     the report cannot be written, or valgrind cannot be run\n"
                          "  3  wrong usage\n"
                          "  4  PROGRAM was not found, is no Qt application prismark can\n"
                          "     attach to (said within 10 s), ended before the profile was\n"
                          "     done, showed no window or stopped answering; it is stopped\n";
constexpr double kMostSettleSeconds = 600;

struct ProfileOptions
{
    QString sheet;
    QString variant;
    QStringList forms;
    bool gallery = true;
    QString format = kFormatText;
    QString htmlDirectory;
    AttributionSettings attribution;
    int top = 10;
    bool deterministic = false;
    ColorScheme scheme = ColorScheme::Light;
    // SHEET -- PROGRAM [ARGS...]: the author's application instead of the gallery.
    AppProfileRequest application;
};

int parsePositive(const QCommandLineParser &parser, const QString &name, int *into)
{
    if (!parser.isSet(name))
        return ProfileSuccess;
    bool ok = false;
    const int value = parser.value(name).toInt(&ok);
    if (!ok || value < 1 || value > 1000) {
        printProgramError(QStringLiteral("--%1 takes a whole number from 1 to 1000, not \"%2\"")
                              .arg(name, parser.value(name)));
        return ProfileUsageError;
    }
    *into = value;
    return ProfileSuccess;
}

// --settle, and the gallery's options refused, for SHEET -- PROGRAM.
int readApplicationOptions(const QCommandLineParser &parser, ProfileOptions &options)
{
    // The application would have to start under valgrind, fifty times slower, and
    // show other windows in --settle than it does: its passes are timed, as robustly.
    for (const QString &option :
         {QStringLiteral("form"), QStringLiteral("no-gallery"), QStringLiteral("deterministic")}) {
        if (parser.isSet(option)) {
            printProgramError(
                QStringLiteral("--%1 is for the gallery and forms, not for PROGRAM").arg(option));
            return ProfileUsageError;
        }
    }
    if (parser.isSet(QStringLiteral("settle"))) {
        bool ok = false;
        const double seconds = parser.value(QStringLiteral("settle")).toDouble(&ok);
        if (!ok || !(seconds >= 0 && seconds <= kMostSettleSeconds)) {
            printProgramError(QStringLiteral("--settle wants seconds from 0 to 600"));
            return ProfileUsageError;
        }
        options.application.settleMs = qRound(seconds * 1000);
    }
    if (parser.isSet(QLatin1String(Attach::wayOption)) &&
        !Attach::wayNamed(parser.value(QLatin1String(Attach::wayOption)).toStdString(),
                          &options.application.way)) {
        printProgramError(QStringLiteral("--attach takes auto, plugin or python"));
        return ProfileUsageError;
    }
    return -1;
}

// The options and what --help says of them.
void describeOptions(QCommandLineParser &parser)
{
    parser.setApplicationDescription(
        QStringLiteral("Measures what a Qt style sheet costs to apply, on the gallery and on "
                       "Designer forms, and which of its rules the time goes to.\n\n"
                       "prismark-profile [OPTIONS] SHEET -- PROGRAM [ARGS...] measures it on "
                       "the author's own Qt Widgets application instead (C++ or Python, on "
                       "the system's Qt " QT_VERSION_STR ", or in Python on a binding's own "
                       "Qt, see --attach): started with SHEET in place of "
                       "its own application sheet, on every top-level window it shows within "
                       "--settle seconds; then it is stopped.\n\n"
                       "Either is measured under the palette of --color-scheme (light unless "
                       "told), with the sheet's own @palette over it.\n\n") +
        QLatin1String(kExitCodes));
    addHelpAndVersionOptions(parser);
    parser.addPositionalArgument(QStringLiteral("SHEET"),
                                 QStringLiteral("A style sheet (.qss) or a theme template "
                                                "(.qss.in)."));
    parser.addOptions(
        {{QStringLiteral("variant"),
          QStringLiteral("Of a theme template, the variant NAME to profile; the first by default."),
          QStringLiteral("NAME")},
         {QStringLiteral("form"),
          QStringLiteral("A Qt Designer form, styled as a window of its own. Repeatable."),
          QStringLiteral("FILE.ui")},
         {QStringLiteral("no-gallery"), QStringLiteral("Profile on the forms alone.")},
         {QStringLiteral("format"), QStringLiteral("text (the default) or json."),
          QStringLiteral("format")},
         {QStringLiteral("html"),
          QStringLiteral("Also write DIR/index.html: a page with the sortable table and the "
                         "sheet, each rule linked to its line."),
          QStringLiteral("DIR")},
         {QStringLiteral("rounds"),
          QStringLiteral("Measure in at most N rounds (default 100; at least 8 unless N is "
                         "smaller)."),
          QStringLiteral("N")},
         {QStringLiteral("top"), QStringLiteral("Rows of each ranking in text (default 10)."),
          QStringLiteral("N")},
         {QStringLiteral("deterministic"),
          QStringLiteral("Count instructions under valgrind's callgrind instead of timing: the "
                         "same figures however busy the machine, about fifty times slower. "
                         "Not with -- PROGRAM.")},
         {kColorSchemeOption,
          QStringLiteral("The colour scheme to measure under: light (the default) or dark."),
          QStringLiteral("SCHEME"), QLatin1String(Attach::defaultColorScheme)},
         {QStringLiteral("settle"),
          QStringLiteral("With -- PROGRAM: seconds the application runs, showing its windows, "
                         "before it is measured (default 3)."),
          QStringLiteral("seconds")},
         {QLatin1String(Attach::wayOption),
          QStringLiteral("With -- PROGRAM: how to get into it: auto (default: the attach "
                         "plugin where it fits the program's Qt, the Python agent for a Python "
                         "program where it does not), plugin or python."),
          QStringLiteral("way")}});
}

// Returns -1 to go on, else the exit code.
int parseOptions(const QStringList &givenArguments, ProfileOptions &options)
{
    const SplitCommandLine split = splitAtProgram(givenArguments);
    options.application.program = split.program;
    options.application.arguments = split.programArguments;
    QCommandLineParser parser;
    describeOptions(parser);

    if (!parser.parse(split.ours)) {
        printProgramError(parser.errorText());
        return ProfileUsageError;
    }
    if (answerHelpOrVersion(parser))
        return ProfileSuccess;
    if (split.hasProgram && options.application.program.isEmpty()) {
        printProgramError(QStringLiteral("expects PROGRAM after \"--\"; see --help"));
        return ProfileUsageError;
    }
    if (!split.hasProgram && parser.isSet(QLatin1String(Attach::wayOption))) {
        printProgramError(QStringLiteral("--attach is for \"SHEET -- PROGRAM\""));
        return ProfileUsageError;
    }
    if (!split.hasProgram && parser.isSet(QStringLiteral("settle"))) {
        printProgramError(QStringLiteral("--settle is for \"SHEET -- PROGRAM\""));
        return ProfileUsageError;
    }
    if (!colorSchemeFromName(parser.value(kColorSchemeOption), &options.scheme)) {
        printProgramError(colorSchemeOptionError(parser.value(kColorSchemeOption)));
        return ProfileUsageError;
    }
    options.application.colorScheme = options.scheme;
    if (split.hasProgram) {
        const int code = readApplicationOptions(parser, options);
        if (code >= 0)
            return code;
    }
    if (parser.positionalArguments().size() != 1) {
        printProgramError(QStringLiteral("give one SHEET to profile (see --help)"));
        return ProfileUsageError;
    }
    options.sheet = parser.positionalArguments().constFirst();
    options.variant = parser.value(QStringLiteral("variant"));
    if (!options.variant.isEmpty() && !isThemeTemplatePath(options.sheet)) {
        printProgramError(QStringLiteral("--variant is for a theme template (.qss.in)"));
        return ProfileUsageError;
    }
    options.forms = parser.values(QStringLiteral("form"));
    options.gallery = !parser.isSet(QStringLiteral("no-gallery"));
    if (!options.gallery && options.forms.isEmpty()) {
        printProgramError(
            QStringLiteral("--no-gallery leaves nothing to profile without a --form"));
        return ProfileUsageError;
    }
    if (parser.isSet(QStringLiteral("format")))
        options.format = parser.value(QStringLiteral("format"));
    if (options.format != kFormatText && options.format != kFormatJson) {
        printProgramError(
            QStringLiteral("unknown format \"%1\": use text or json").arg(options.format));
        return ProfileUsageError;
    }
    options.htmlDirectory = parser.value(QStringLiteral("html"));
    options.deterministic = parser.isSet(QStringLiteral("deterministic"));
    int code = parsePositive(parser, QStringLiteral("rounds"), &options.attribution.maxRounds);
    if (code == ProfileSuccess)
        code = parsePositive(parser, QStringLiteral("top"), &options.top);
    if (code != ProfileSuccess)
        return code;
    options.attribution.minRounds =
        qMin(options.attribution.minRounds, options.attribution.maxRounds);
    if (parser.isSet(QStringLiteral("rounds")))
        options.application.rounds = options.attribution.maxRounds;
    if (ProfileStage::countsInstructions()) {
        // Counts repeat exactly: what varies from round to round is only the order
        // the groups go in. Every pass is fifty times slower than timed.
        options.attribution.minRounds = qMin(3, options.attribution.maxRounds);
        options.attribution.budgetMilliseconds *= 20;
    }
    return -1;
}

// --deterministic: this program again, under callgrind, counting what the passes run.
int runUnderCallgrind(const QStringList &arguments)
{
    if (!instructionCountsBuilt()) {
        printProgramError(QStringLiteral("--deterministic: this build cannot count instructions "
                                         "(it was built without valgrind's callgrind.h)"));
        return ProfileUsageError;
    }
    const QString valgrind = QStandardPaths::findExecutable(QStringLiteral("valgrind"));
    if (valgrind.isEmpty()) {
        printProgramError(QStringLiteral("--deterministic needs valgrind on PATH (Debian's package "
                                         "valgrind)"));
        return ProfileInputError;
    }
    QTemporaryDir counts;
    const QString out = counts.filePath(QStringLiteral("counts"));
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QLatin1String(kCallgrindOutVariable), out);
    // The toolkit's hashes seeded alike, so that every run walks its tables alike.
    environment.insert(QStringLiteral("QT_HASH_SEED"), QStringLiteral("0"));
    QProcess process;
    process.setProcessEnvironment(environment);
    process.setProcessChannelMode(QProcess::ForwardedChannels);
    process.setInputChannelMode(QProcess::ForwardedInputChannel);
    process.start(valgrind,
                  QStringList{QStringLiteral("--quiet"), QStringLiteral("--tool=callgrind"),
                              QStringLiteral("--collect-atstart=no"),
                              QStringLiteral("--dump-instr=no"),
                              QStringLiteral("--callgrind-out-file=") + out,
                              QCoreApplication::applicationFilePath()} +
                      arguments.mid(1));
    process.waitForFinished(-1);
    if (process.exitStatus() != QProcess::NormalExit ||
        process.error() == QProcess::FailedToStart) {
        printProgramError(
            QStringLiteral("valgrind ended without a profile: %1").arg(process.errorString()));
        return ProfileInputError;
    }
    return process.exitCode();
}

QString rejectionOf(const SheetModel &model)
{
    if (model.isReference)
        return QStringLiteral("the sheet only names the file %1 to read; profile that file")
            .arg(model.reference.name);
    if (model.syntaxAccepted)
        return QString();
    int line = 0;
    int column = 0;
    model.lineColumn(model.symbolOffset(model.syntaxFailure.symbol), &line, &column);
    return QStringLiteral("%1:%2:%3: the toolkit rejects the sheet here%4")
        .arg(model.path)
        .arg(line)
        .arg(column)
        .arg(model.syntaxFailure.expected.isEmpty()
                 ? QString()
                 : QStringLiteral(" (expected %1)").arg(model.syntaxFailure.expected));
}

QString targetText(const ProfileOptions &options)
{
    if (!options.application.program.isEmpty())
        return applicationTitle(options.application);
    QStringList parts;
    if (options.gallery)
        parts << QStringLiteral("the gallery");
    if (!options.forms.isEmpty())
        parts << (options.forms.size() == 1 ? QStringLiteral("1 form")
                                            : QStringLiteral("%1 forms").arg(options.forms.size()));
    return parts.join(QLatin1String(" and "));
}

// The report's figures from a measurement taken here or in the author's application.
void describe(const ProfileMeasurement &measurement, const ProfileSheet &sheet,
              const SheetModel &model, ProfileReport &report)
{
    report.time = measurement.time;
    report.instructions = measurement.instructions;
    report.switchTime = measurement.switchTime;
    report.heapMeasured = measurement.heapMeasured;
    report.heapSheet = measurement.heapSheet;
    report.heapBaseline = measurement.heapBaseline;
    report.countingMilliseconds = measurement.countingMilliseconds;
    report.workCounted = measurement.workCounted;
    report.widgets = measurement.work.objects;
    report.deepestTree = measurement.work.deepestTree;
    report.windows = measurement.windows;
    describeRules(report, model, measurement.work, profileUnits(model),
                  [&sheet](int offset) { return sheet.authorLine(offset); });
}

// On the gallery and the forms, in this process.
int measureOnStage(const ProfileOptions &options, const SheetModel &model,
                   ProfileMeasurement *measurement)
{
    setSchemeUnderSheets(options.scheme);
    ProfileStage stage;
    if (options.gallery)
        stage.addGallery();
    for (const QString &form : options.forms) {
        LoadedForm loaded = loadForm(form);
        if (!loaded.widget) {
            printProgramError(QStringLiteral("cannot load form %1: %2").arg(form, loaded.error));
            return ProfileInputError;
        }
        loaded.widget->setWindowTitle(loaded.title);
        stage.addForm(std::move(loaded.widget));
    }
    stage.settle();
    *measurement = measureProfile(stage, model, options.attribution);
    return ProfileSuccess;
}

int writeHtml(const QString &directory, const ProfileReport &report)
{
    if (!QDir().mkpath(directory)) {
        printProgramError(QStringLiteral("cannot make the directory %1").arg(directory));
        return ProfileInputError;
    }
    const QString path = QDir(directory).filePath(kReportPage);
    QString error;
    if (!writeFileAtomically(path, htmlReport(report).toUtf8(), &error)) {
        printProgramError(QStringLiteral("cannot write %1: %2").arg(path, error));
        return ProfileInputError;
    }
    return ProfileSuccess;
}

} // namespace

int runProfile(const QStringList &arguments)
{
    QElapsedTimer clock;
    clock.start();
    ProfileOptions options;
    const int parsed = parseOptions(arguments, options);
    if (parsed >= 0)
        return parsed;
    if (options.deterministic && !ProfileStage::countsInstructions())
        return runUnderCallgrind(arguments);

    const ProfileSheet sheet = readProfileSheet(options.sheet, options.variant);
    if (!sheet.ok) {
        printProgramError(QStringLiteral("cannot read %1: %2").arg(options.sheet, sheet.error));
        return sheet.wrongRequest ? ProfileUsageError : ProfileInputError;
    }
    const SheetModel model(sheet.text.toUtf8(), options.sheet);
    const QString rejection = rejectionOf(model);
    if (!rejection.isEmpty()) {
        printProgramError(rejection);
        return ProfileInputError;
    }

    ProfileMeasurement measurement;
    const int measured =
        options.application.program.isEmpty()
            ? measureOnStage(options, model, &measurement)
            : measureInApplication(model.text, model.rules.size(), profileUnits(model).size(),
                                   options.application, &measurement);
    if (measured != ProfileSuccess)
        return measured;

    ProfileReport report;
    report.sheetPath = options.sheet;
    report.variant = sheet.variant;
    report.sheetText = sheet.authorText;
    report.target = targetText(options);
    describe(measurement, sheet, model, report);
    report.profileMilliseconds = double(clock.nsecsElapsed()) / 1e6;

    if (!options.htmlDirectory.isEmpty()) {
        const int code = writeHtml(options.htmlDirectory, report);
        if (code != ProfileSuccess)
            return code;
    }
    const QByteArray output = options.format == kFormatJson
                                  ? jsonReport(report)
                                  : textReport(report, options.top).toUtf8();
    std::fwrite(output.constData(), 1, size_t(output.size()), stdout);
    return ProfileSuccess;
}
