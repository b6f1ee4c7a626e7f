// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "profile/profilecommand.h"

#include "analysis/matchwork.h"
#include "analysis/sheetmodel.h"
#include "analysis/templatelint.h"
#include "forms/formloader.h"
#include "profile/profilereport.h"
#include "profile/profilesheet.h"
#include "profilekit/profilestage.h"
#include "profilekit/ruleattribution.h"
#include "support/atomicwrite.h"
#include "support/programsupport.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>

#include <cstdio>

namespace {

const QString kFormatText = QStringLiteral("text");
const QString kFormatJson = QStringLiteral("json");
const QString kReportPage = QStringLiteral("index.html");
constexpr int kSwitchRounds = 5;

const char kExitCodes[] = "Exit codes:\n"
                          "  0  the profile was written\n"
                          "  2  a sheet or form cannot be read, the toolkit rejects the sheet,\n"
                          "     or the report cannot be written\n"
                          "  3  wrong usage\n";

void printError(const QString &message)
{
    std::fprintf(stderr, "prismark-profile: %s\n", qPrintable(message));
}

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
};

int parsePositive(const QCommandLineParser &parser, const QString &name, int *into)
{
    if (!parser.isSet(name))
        return ProfileSuccess;
    bool ok = false;
    const int value = parser.value(name).toInt(&ok);
    if (!ok || value < 1 || value > 1000) {
        printError(QStringLiteral("--%1 takes a whole number from 1 to 1000, not \"%2\"")
                       .arg(name, parser.value(name)));
        return ProfileUsageError;
    }
    *into = value;
    return ProfileSuccess;
}

// Returns -1 to go on, else the exit code.
int parseOptions(const QStringList &arguments, ProfileOptions &options)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Measures what a Qt style sheet costs to apply, on the gallery and on "
                       "Designer forms, and which of its rules the time goes to.\n\n") +
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
          QStringLiteral("Measure in at most N rounds (default 12; at least 5 unless N is "
                         "smaller)."),
          QStringLiteral("N")},
         {QStringLiteral("top"), QStringLiteral("Rows of each ranking in text (default 10)."),
          QStringLiteral("N")}});
    if (!parser.parse(arguments)) {
        printError(parser.errorText());
        return ProfileUsageError;
    }
    if (answerHelpOrVersion(parser))
        return ProfileSuccess;
    if (parser.positionalArguments().size() != 1) {
        printError(QStringLiteral("give one SHEET to profile (see --help)"));
        return ProfileUsageError;
    }
    options.sheet = parser.positionalArguments().constFirst();
    options.variant = parser.value(QStringLiteral("variant"));
    if (!options.variant.isEmpty() && !isThemeTemplatePath(options.sheet)) {
        printError(QStringLiteral("--variant is for a theme template (.qss.in)"));
        return ProfileUsageError;
    }
    options.forms = parser.values(QStringLiteral("form"));
    options.gallery = !parser.isSet(QStringLiteral("no-gallery"));
    if (!options.gallery && options.forms.isEmpty()) {
        printError(QStringLiteral("--no-gallery leaves nothing to profile without a --form"));
        return ProfileUsageError;
    }
    if (parser.isSet(QStringLiteral("format")))
        options.format = parser.value(QStringLiteral("format"));
    if (options.format != kFormatText && options.format != kFormatJson) {
        printError(QStringLiteral("unknown format \"%1\": use text or json").arg(options.format));
        return ProfileUsageError;
    }
    options.htmlDirectory = parser.value(QStringLiteral("html"));
    int code = parsePositive(parser, QStringLiteral("rounds"), &options.attribution.maxRounds);
    if (code == ProfileSuccess)
        code = parsePositive(parser, QStringLiteral("top"), &options.top);
    if (code != ProfileSuccess)
        return code;
    options.attribution.minRounds =
        qMin(options.attribution.minRounds, options.attribution.maxRounds);
    return -1;
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
    QStringList parts;
    if (options.gallery)
        parts << QStringLiteral("the gallery");
    if (!options.forms.isEmpty())
        parts << (options.forms.size() == 1 ? QStringLiteral("1 form")
                                            : QStringLiteral("%1 forms").arg(options.forms.size()));
    return parts.join(QLatin1String(" and "));
}

void measure(ProfileStage &stage, const ProfileSheet &sheet, const SheetModel &model,
             const ProfileOptions &options, ProfileReport &report)
{
    const QVector<ProfileUnit> units = profileUnits(model);
    report.time =
        attributeTime([&stage](const QString &sheet) { return stage.applyMilliseconds(sheet); },
                      model.text, units.size(),
                      [&model, &units](const QVector<int> &leftOut) {
                          return sheetWithoutUnits(model, units, leftOut);
                      },
                      options.attribution);

    QVector<double> switches;
    for (int round = 0; round < qMin(kSwitchRounds, options.attribution.maxRounds); ++round)
        switches << stage.switchMilliseconds(model.text);
    report.switchTime = spreadOf(switches);
    report.heapMeasured = heapGrowthMeasured();
    if (report.heapMeasured) {
        report.heapBaseline = stage.heapGrowth(kBaselineSheet);
        report.heapSheet = stage.heapGrowth(model.text);
    }

    QElapsedTimer counting;
    counting.start();
    const QVector<const QObject *> widgets = stage.widgets();
    const MatchWork work = countMatchWork(model, widgets, QStringLiteral("QFusionStyle"));
    report.countingMilliseconds = double(counting.nsecsElapsed()) / 1e6;
    report.widgets = work.objects;
    report.deepestTree = work.deepestTree;
    report.windows = stage.windowCount();
    describeRules(report, model, work, units,
                  [&sheet](int offset) { return sheet.authorLine(offset); });
}

int writeHtml(const QString &directory, const ProfileReport &report)
{
    if (!QDir().mkpath(directory)) {
        printError(QStringLiteral("cannot make the directory %1").arg(directory));
        return ProfileInputError;
    }
    const QString path = QDir(directory).filePath(kReportPage);
    QString error;
    if (!writeFileAtomically(path, htmlReport(report).toUtf8(), &error)) {
        printError(QStringLiteral("cannot write %1: %2").arg(path, error));
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

    const ProfileSheet sheet = readProfileSheet(options.sheet, options.variant);
    if (!sheet.ok) {
        printError(QStringLiteral("cannot read %1: %2").arg(options.sheet, sheet.error));
        return sheet.wrongRequest ? ProfileUsageError : ProfileInputError;
    }
    const SheetModel model(sheet.text.toUtf8(), options.sheet);
    const QString rejection = rejectionOf(model);
    if (!rejection.isEmpty()) {
        printError(rejection);
        return ProfileInputError;
    }

    ProfileStage stage(options.gallery);
    for (const QString &form : qAsConst(options.forms)) {
        LoadedForm loaded = loadForm(form);
        if (!loaded.widget) {
            printError(QStringLiteral("cannot load form %1: %2").arg(form, loaded.error));
            return ProfileInputError;
        }
        loaded.widget->setWindowTitle(loaded.title);
        stage.addForm(std::move(loaded.widget));
    }
    stage.settle();

    ProfileReport report;
    report.sheetPath = options.sheet;
    report.variant = sheet.variant;
    report.sheetText = sheet.authorText;
    report.target = targetText(options);
    measure(stage, sheet, model, options, report);
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
