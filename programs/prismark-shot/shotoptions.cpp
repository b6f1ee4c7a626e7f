// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "prismark-shot/shotoptions.h"

#include "analysis/templatelint.h"
#include "prismark-shot/shotmatrix.h"
#include "prismark-shot/shotnames.h"
#include "support/programsupport.h"

#include <QCommandLineParser>
#include <QFileInfo>
#include <QRegularExpression>

namespace {

const QString kAuditPrefix = QStringLiteral("--audit=");
const QString kWcagAudit = QStringLiteral("wcag");

const char kExitCodeHelp[] = "Exit codes:\n"
                             "  0  success\n"
                             "  1  --compare: an image differs beyond the threshold, or is\n"
                             "     missing on either side; --audit: a warning was found;\n"
                             "     --audit=wcag: a criterion failed (advice alone is 0)\n"
                             "  2  bad command line: unknown option, theme or tab, bad value\n"
                             "  3  a sheet or form cannot be read, or an output file cannot be\n"
                             "     written (a form that is no form: the rest is still rendered);\n"
                             "     with PROGRAM, also: the toolkit rejected SHEET\n"
                             "  4  PROGRAM was not found, is no Qt application prismark-shot can\n"
                             "     attach to (said within 10 s), ended before its windows were\n"
                             "     rendered or showed none; it is stopped\n"
                             "  5  --audit: not one widget to audit, in a theme or in\n"
                             "     PROGRAM's windows (and no failure found elsewhere)\n";

// Gallery options that mean nothing for an application of the author's.
const char *const kGalleryOnlyOptions[] = {"theme",    "sheet",         "tab",   "form", "size",
                                           "disabled", "contact-sheet", "shard", "merge"};
constexpr double kMostSettleSeconds = 600;

QString description()
{
    return QStringLiteral(
               "Renders the Prismark Preview window in each theme and tab to PNG files, "
               "without a display, the same bytes run after run.\n\n"
               "prismark-shot [OPTIONS] SHEET -- PROGRAM [ARGS...] renders the author's own "
               "Qt Widgets application instead (C++ or Python, on the system's Qt " QT_VERSION_STR
               "), or in Python on a binding's own Qt (through the Python agent, see "
               "--attach): started with SHEET in place of its own application "
               "sheet, once per base style, direction and scale, every top-level window "
               "it shows within --settle seconds goes to DIR/<theme>/app/<window object "
               "name or class>.png; with --audit, its windows are audited instead.\n\n") +
           QLatin1String(kExitCodeHelp);
}

// What is rendered, and how.
QList<QCommandLineOption> renderOptions()
{
    return {
        {QStringLiteral("theme"),
         QStringLiteral("A built-in theme by sheet file stem (tokyoNightLight) or display name "
                        "(\"Tokyo Night Light\"), any letter case, or all. Repeatable."),
         QStringLiteral("name")},
        {QStringLiteral("sheet"),
         QStringLiteral("A style sheet file, installed the way a built-in theme is. Repeatable."),
         QStringLiteral("file.qss")},
        {QStringLiteral("tab"),
         QStringLiteral("A gallery tab by its text (Overview ... Editors), all (default), or "
                        "none (only the --form forms). Repeatable."),
         QStringLiteral("name")},
        {QStringLiteral("form"),
         QStringLiteral("A Qt Designer form rendered as a tab of its own, to "
                        "DIR/<theme>/form-<name>.png. Repeatable."),
         QStringLiteral("DIALOG.ui")},
        {QStringLiteral("disabled"),
         QStringLiteral("Also render each tab with \"Disable preview widgets\" checked.")},
        {QStringLiteral("size"), QStringLiteral("Window size (default 1040x720)."),
         QStringLiteral("WxH")},
        {QStringLiteral("base-style"),
         QStringLiteral("The style a theme is drawn over: fusion (default) or windows. "
                        "Repeatable or comma separated."),
         QStringLiteral("name")},
        {QStringLiteral("scale"),
         QStringLiteral("Device pixel ratios, such as 1,1.25,1.5,2 (default 1). Repeatable or "
                        "comma separated."),
         QStringLiteral("N")},
        {QStringLiteral("direction"),
         QStringLiteral("Layout directions: ltr (default), rtl. Repeatable or comma separated."),
         QStringLiteral("ltr|rtl")},
        {QStringLiteral("color-scheme"),
         QStringLiteral("The desktop colour schemes whose palette goes under each theme: light "
                        "(default), dark. Asked for, a scheme names the folders: "
                        "DIR/<theme>-<scheme>. Repeatable or comma separated."),
         QStringLiteral("light|dark")},
    };
}

// Where it goes, and what else is done with it.
QList<QCommandLineOption> runOptions()
{
    return {
        {QStringLiteral("out"), QStringLiteral("Output folder (default shots)."),
         QStringLiteral("dir")},
        {QStringLiteral("contact-sheet"),
         QStringLiteral("Also write DIR/<theme>.png, all tabs in a grid, and DIR/index.html.")},
        {QStringLiteral("compare"),
         QStringLiteral("Compare each image with the same-named one under this folder; diff "
                        "images go to DIR/diff."),
         QStringLiteral("baseline-dir")},
        {QStringLiteral("update-baseline"),
         QStringLiteral("With --compare: copy this run's images over the baseline's.")},
        {QStringLiteral("audit"),
         QStringLiteral("Render each interactive widget in its states to "
                        "DIR/<theme>/states/<tab>/<object>.png and report focus, hover, pressed, "
                        "disabled and checked looks that cannot be told apart. --audit=wcag "
                        "reports by WCAG 2.2 success criterion instead. With PROGRAM: its "
                        "windows audited inside it to DIR/<theme>/app/states/<window>/, their "
                        "widgets driven without clicking, focusing or activating anything; "
                        "states that cannot be shown so are reported as not audited.")},
        {QStringLiteral("html"),
         QStringLiteral("With --audit=wcag: a page per theme, DIR/<theme>/index.html, with the "
                        "criteria table and each finding's crop and rule."),
         QStringLiteral("dir")},
        {QStringLiteral("format"),
         QStringLiteral("--audit's findings as %1.")
             .arg(reportFormatList(auditReportFormats(), ReportFormatNotes::Shown)),
         QStringLiteral("format")},
        {QStringLiteral("threshold"),
         QStringLiteral("Share of differing pixels that fails --compare (default 0.1)."),
         QStringLiteral("percent")},
        {QStringLiteral("settle"),
         QStringLiteral("With PROGRAM: seconds it runs before its windows are rendered "
                        "(default 3)."),
         QStringLiteral("seconds")},
        {QStringLiteral("variant"),
         QStringLiteral("With PROGRAM and a theme template SHEET (.qss.in): the variant to "
                        "render, to DIR/<theme>-<variant>/app (default: each variant). "
                        "Repeatable or comma separated."),
         QStringLiteral("name")},
        {QLatin1String(Attach::wayOption),
         QStringLiteral("With PROGRAM: how to get into it: auto (default: the attach plugin "
                        "where it fits the program's Qt, the Python agent for a Python program "
                        "where it does not), plugin or python."),
         QStringLiteral("way")},
        {QStringLiteral("shard"),
         QStringLiteral("Render part K of N of the whole matrix, balanced by expected cost, and "
                        "write DIR/shard.json for --merge."),
         QStringLiteral("K/N")},
        {QStringLiteral("merge"),
         QStringLiteral("prismark-shot --merge OUT PART...: join the --shard parts' folders into "
                        "OUT, with the contact sheets, reports and exit code of one run."),
         QStringLiteral("OUT")},
        {QStringLiteral("quiet"), QStringLiteral("No progress display.")},
        {QStringLiteral("list"), QStringLiteral("Print the files written on standard output.")},
    };
}

void declareOptions(QCommandLineParser &parser)
{
    parser.setApplicationDescription(description());
    parser.addOptions(renderOptions());
    parser.addOptions(runOptions());
    addHelpAndVersionOptions(parser);
}

bool parseSize(const QString &text, QSize *size)
{
    static const QRegularExpression pattern(QStringLiteral("^(\\d{1,5})[xX](\\d{1,5})$"));
    const QRegularExpressionMatch match = pattern.match(text);
    if (!match.hasMatch())
        return false;
    *size = QSize(match.captured(1).toInt(), match.captured(2).toInt());
    return true;
}

// Each reader below returns the usage error, or an empty string; all of them are
// usage errors (ShotUsageError).

// The base styles, scales and directions every image is rendered in.
QString readMatrix(const QCommandLineParser &parser, ShotOptions &options)
{
    QString error;
    if (!parseBaseStyles(parser.values(QStringLiteral("base-style")), &options.baseStyles,
                         &error) ||
        !parseScales(parser.values(QStringLiteral("scale")), &options.scales, &error) ||
        !parseDirections(parser.values(QStringLiteral("direction")), &options.directions, &error) ||
        !parseColorSchemes(parser.values(QStringLiteral("color-scheme")), &options.colorSchemes,
                           &error))
        return error;
    options.disabledToo = parser.isSet(QStringLiteral("disabled"));
    options.audit = parser.isSet(QStringLiteral("audit"));
    if (!options.audit)
        return QString();
    // The strips' names carry no combination, so an audit is of one.
    if (options.baseStyles.size() > 1 || options.scales.size() > 1 || options.directions.size() > 1)
        return QStringLiteral("--audit takes one base style, one scale and one direction");
    for (const char *option : {"compare", "contact-sheet", "disabled"}) {
        if (parser.isSet(QLatin1String(option)))
            return QStringLiteral("--audit renders states only; leave out --%1")
                .arg(QLatin1String(option));
    }
    return QString();
}

// Where the images go, what they are compared with, and how findings are printed.
QString readOutputs(const QCommandLineParser &parser, ShotOptions &options)
{
    if (parser.isSet(QStringLiteral("threshold"))) {
        bool ok = false;
        options.threshold = parser.value(QStringLiteral("threshold")).toDouble(&ok);
        if (!ok || !(options.threshold >= 0 && options.threshold <= 100))
            return QStringLiteral("--threshold wants a percentage from 0 to 100");
    }
    if (parser.isSet(QStringLiteral("out")))
        options.outPath = parser.value(QStringLiteral("out"));
    options.contactSheet = parser.isSet(QStringLiteral("contact-sheet"));
    options.comparePath = parser.value(QStringLiteral("compare"));
    const QFileInfo compare(options.comparePath);
    if (!options.comparePath.isEmpty() && compare.exists() &&
        compare.canonicalFilePath() == QFileInfo(options.outPath).canonicalFilePath())
        return QStringLiteral("--compare needs a baseline folder other than --out");
    options.updateBaseline = parser.isSet(QStringLiteral("update-baseline"));
    if (options.updateBaseline && options.comparePath.isEmpty())
        return QStringLiteral("--update-baseline needs --compare BASELINE_DIR");
    const QString format = parser.isSet(QStringLiteral("format"))
                               ? parser.value(QStringLiteral("format"))
                               : QLatin1String(auditReportFormats().constFirst().name);
    options.auditFormat = findReportFormat(auditReportFormats(), format);
    if (!options.auditFormat)
        return unknownReportFormatError(auditReportFormats(), format);
    options.htmlPath = parser.value(QStringLiteral("html"));
    if (parser.isSet(QStringLiteral("html")) && !options.wcag)
        return QStringLiteral("--html writes --audit=wcag's pages; add --audit=wcag");
    if (parser.isSet(QStringLiteral("html")) && options.htmlPath.isEmpty())
        return QStringLiteral("--html wants a folder");
    options.quiet = parser.isSet(QStringLiteral("quiet"));
    options.listFiles = parser.isSet(QStringLiteral("list"));
    return QString();
}

QString readBuiltInThemes(const QStringList &names, QVector<Theme> &themes)
{
    for (const QString &name : names) {
        Theme theme = Light;
        if (name.compare(QLatin1String("all"), Qt::CaseInsensitive) == 0) {
            for (int value = 0; value < ThemeCount; ++value)
                if (!themes.contains(static_cast<Theme>(value)))
                    themes << static_cast<Theme>(value);
        } else if (findBuiltInTheme(name, &theme)) {
            if (!themes.contains(theme))
                themes << theme;
        } else {
            return QStringLiteral("unknown theme \"%1\"; valid names, as file stem or display "
                                  "name in any letter case, or all:\n  %2")
                .arg(name, builtInThemeNames().join(QLatin1String("\n  ")));
        }
    }
    return QString();
}

// SHEET -- PROGRAM: one sheet, the matrix, the outputs and --settle.
QString readAttachOptions(const QCommandLineParser &parser, ShotOptions &options)
{
    if (options.program.isEmpty())
        return QStringLiteral("expects PROGRAM after \"--\"; see --help");
    if (parser.positionalArguments().size() != 1)
        return QStringLiteral("expects exactly one SHEET before \"-- PROGRAM\"; see --help");
    for (const char *option : kGalleryOnlyOptions) {
        if (parser.isSet(QLatin1String(option)))
            return QStringLiteral("--%1 is for the gallery, not for PROGRAM")
                .arg(QLatin1String(option));
    }
    if (parser.isSet(QStringLiteral("settle"))) {
        bool ok = false;
        const double seconds = parser.value(QStringLiteral("settle")).toDouble(&ok);
        if (!ok || !(seconds >= 0 && seconds <= kMostSettleSeconds))
            return QStringLiteral("--settle wants seconds from 0 to 600");
        options.settleMs = qRound(seconds * 1000);
    }
    if (parser.isSet(QLatin1String(Attach::wayOption)) &&
        !Attach::wayNamed(parser.value(QLatin1String(Attach::wayOption)).toStdString(),
                          &options.attachWay))
        return QStringLiteral("--attach takes auto, plugin or python");
    if (options.attachWay == Attach::Way::Python && parser.isSet(QStringLiteral("audit")))
        return QStringLiteral("--audit runs inside the application through the attach plugin; "
                              "leave out --attach python");
    options.sheetPaths = parser.positionalArguments();
    options.variants = splitOptionValues(parser.values(QStringLiteral("variant")));
    if (parser.isSet(QStringLiteral("variant")) &&
        !isThemeTemplatePath(options.sheetPaths.constFirst()))
        return QStringLiteral("--variant is for a theme template (SHEET.qss.in)");
    if (parser.isSet(QStringLiteral("variant")) && options.variants.isEmpty())
        return QStringLiteral("--variant wants a variant's name");
    QString error = readMatrix(parser, options);
    if (error.isEmpty())
        error = readOutputs(parser, options);
    return error;
}

// "K/N" with 1 <= K <= N.
QString readShard(const QString &value, ShotOptions &options)
{
    static const QRegularExpression pattern(QStringLiteral("^(\\d{1,6})/(\\d{1,6})$"));
    const QRegularExpressionMatch match = pattern.match(value);
    const int shard = match.captured(1).toInt(), shards = match.captured(2).toInt();
    if (!match.hasMatch() || shards < 1 || shard < 1 || shard > shards)
        return QStringLiteral("--shard wants K/N, part K of N parts with 1 <= K <= N, such as 2/4");
    options.shard = shard;
    options.shards = shards;
    return QString();
}

// --merge OUT PART...: the parts say what the matrix was; nothing else is asked.
QString readMerge(const QCommandLineParser &parser, ShotOptions &options)
{
    for (const QString &name : parser.optionNames()) {
        if (name != QLatin1String("merge") && name != QLatin1String("quiet") &&
            name != QLatin1String("html"))
            return QStringLiteral("--merge OUT PART... takes --html and --quiet alone; the "
                                  "parts hold the rest of the command line");
    }
    options.mergeOut = parser.value(QStringLiteral("merge"));
    options.mergeHtmlPath = parser.value(QStringLiteral("html"));
    options.auditFormat = &auditReportFormats().constFirst();
    if (parser.isSet(QStringLiteral("html")) && options.mergeHtmlPath.isEmpty())
        return QStringLiteral("--html wants a folder");
    options.mergeParts = parser.positionalArguments();
    options.quiet = parser.isSet(QStringLiteral("quiet"));
    if (options.mergeOut.isEmpty())
        return QStringLiteral("--merge wants the output folder OUT");
    if (options.mergeParts.isEmpty())
        return QStringLiteral("--merge OUT wants the parts' folders after it");
    return QString();
}

// The command line of the whole matrix: what every part of it shares.
QStringList matrixArguments(const QStringList &arguments)
{
    static const QStringList ownValues{QStringLiteral("--shard"), QStringLiteral("--out"),
                                       QStringLiteral("--html")};
    static const QStringList ownFlags{QStringLiteral("--quiet"), QStringLiteral("--list")};
    QStringList kept;
    for (int index = 1; index < arguments.size(); ++index) {
        const QString &argument = arguments[index];
        if (ownValues.contains(argument)) {
            ++index;
            continue;
        }
        if (ownFlags.contains(argument) || argument.startsWith(QLatin1String("--shard=")) ||
            argument.startsWith(QLatin1String("--out=")) ||
            argument.startsWith(QLatin1String("--html=")))
            continue;
        kept << argument;
    }
    return kept;
}

QString readOptions(const QCommandLineParser &parser, ShotOptions &options)
{
    if (parser.isSet(QStringLiteral("merge")))
        return readMerge(parser, options);
    if (parser.isSet(QStringLiteral("shard"))) {
        const QString error = readShard(parser.value(QStringLiteral("shard")), options);
        if (!error.isEmpty())
            return error;
    }
    if (parser.isSet(QStringLiteral("settle")))
        return QStringLiteral("--settle is for \"SHEET -- PROGRAM\"");
    if (parser.isSet(QStringLiteral("variant")))
        return QStringLiteral("--variant is for \"SHEET.qss.in -- PROGRAM\"");
    if (parser.isSet(QLatin1String(Attach::wayOption)))
        return QStringLiteral("--attach is for \"SHEET -- PROGRAM\"");
    if (!parser.positionalArguments().isEmpty())
        return QStringLiteral("unexpected argument: %1").arg(parser.positionalArguments()[0]);
    if (!parser.isSet(QStringLiteral("theme")) && !parser.isSet(QStringLiteral("sheet")))
        return QStringLiteral("nothing to render: give --theme NAME|all or --sheet FILE");
    if (parser.isSet(QStringLiteral("size")) &&
        !parseSize(parser.value(QStringLiteral("size")), &options.windowSize))
        return QStringLiteral("--size wants WIDTHxHEIGHT, such as 1040x720");
    QString error = readMatrix(parser, options);
    if (error.isEmpty())
        error = readOutputs(parser, options);
    if (error.isEmpty())
        error = readBuiltInThemes(splitOptionValues(parser.values(QStringLiteral("theme"))),
                                  options.builtInThemes);
    options.sheetPaths = parser.values(QStringLiteral("sheet"));
    options.tabNames = splitOptionValues(parser.values(QStringLiteral("tab")));
    if (options.tabNames.isEmpty())
        options.tabNames << QStringLiteral("all");
    options.formPaths = parser.values(QStringLiteral("form"));
    if (error.isEmpty() &&
        options.tabNames.contains(QLatin1String(kNoTabName), Qt::CaseInsensitive) &&
        options.formPaths.isEmpty())
        return QStringLiteral("--tab none leaves only forms to render; give --form DIALOG.ui");
    return error;
}

// --audit takes a value only as --audit=wcag; the parser's options either always or
// never take one, so the value is read here and --audit passed on alone.
QString readAuditKind(QStringList *arguments, bool *wcag)
{
    for (QString &argument : *arguments) {
        if (argument == QLatin1String("--"))
            break;
        if (!argument.startsWith(kAuditPrefix))
            continue;
        const QString kind = argument.mid(kAuditPrefix.size());
        if (kind != kWcagAudit)
            return QStringLiteral("unknown audit \"%1\": use --audit or --audit=wcag").arg(kind);
        *wcag = true;
        argument = kAuditPrefix.chopped(1);
    }
    return QString();
}

} // namespace

ParsedShotOptions parseShotOptions(const QStringList &givenArguments)
{
    ParsedShotOptions parsed;
    QCommandLineParser parser;
    declareOptions(parser);
    const SplitCommandLine split = splitAtProgram(givenArguments);
    QStringList ours = split.ours;
    parsed.options.matrixArguments = matrixArguments(ours);
    parsed.options.program = split.program;
    parsed.options.programArguments = split.programArguments;
    parsed.error = readAuditKind(&ours, &parsed.options.wcag);
    if (!parsed.error.isEmpty()) {
        parsed.exitCode = ShotUsageError;
        return parsed;
    }
    if (!parser.parse(ours)) {
        parsed.exitCode = ShotUsageError;
        parsed.error = parser.errorText();
        return parsed;
    }
    parsed.answer = helpOrVersionText(parser);
    if (!parsed.answer.isEmpty())
        return parsed;
    parsed.error = split.hasProgram ? readAttachOptions(parser, parsed.options)
                                    : readOptions(parser, parsed.options);
    if (!parsed.error.isEmpty())
        parsed.exitCode = ShotUsageError;
    return parsed;
}
