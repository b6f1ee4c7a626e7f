// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "analysis/templatelint.h"
#include "attach/attachedtools.h"
#include "attach/attachenvironment.h"
#include "attach/attachlauncher.h"
#include "live/inspector/liveinspector.h"
#include "live/livesheet.h"
#include "live/livewindowplacement.h"
#include "live/sheetdiagnosticswindow.h"
#include "prismark-live/liveforms.h"
#include "shell/mainwindow.h"
#include "support/programsupport.h"
#include "support/safefileread.h"
#include "switcher/styleswitcherwindow.h"
#include "theme/schemepalette.h"
#include "tokens/themetemplate.h"
#include "widgetstyles/sheetstyle.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QFileInfo>
#include <QTextBrowser>

#include <algorithm>
#include <cstdio>
#include <optional>

namespace {

enum ExitCode
{
    ExitClosed = 0,
    ExitUnreadable = 1,
    ExitUsage = 2,
};

const char description[] =
    "Shows FILE in the Prismark Preview gallery, as a built-in theme is shown, and\n"
    "applies it again whenever it changes on disk. A \"Sheet Diagnostics\" window lists\n"
    "what the style sheet analysis finds in it; a sheet the toolkit would reject\n"
    "leaves the last good one in place. Its Pick button (Ctrl+Shift+I) shows the\n"
    "rules that paint a widget clicked in the gallery. Each --form adds a Qt Designer\n"
    "form as a tab of the gallery, loaded again whenever it changes.\n"
    "A theme template (FILE.qss.in) is built in memory, one variant at a time (the\n"
    "first @variant, or --variant; a chooser in the Sheet Diagnostics window), and\n"
    "built again whenever it or a token file or icon it names changes; a build with\n"
    "errors leaves the last good one and lists the errors where they were written.\n"
    "\n"
    "With \"-- PROGRAM [ARGS...]\" it shows FILE in the author's own Qt Widgets\n"
    "application instead: PROGRAM is started with FILE as its application-wide style\n"
    "sheet, in place of its own. A C++ or Python program on the system's Qt " QT_VERSION_STR
    "\nis attached through a plugin, and the Sheet Diagnostics window and the inspector\n"
    "open inside it; a Python program on a Qt of its own (a binding installed with\n"
    "pip) through a Python agent, and the Sheet Diagnostics window and the inspector\n"
    "open in prismark-live's own process, beside its windows and untouched by FILE.\n"
    "--attach plugin or --attach python takes one way only.\n"
    "\n"
    "--color-scheme light or dark (light unless told) puts that scheme's palette under\n"
    "the sheet, in the gallery as in PROGRAM, which is told the scheme as its desktop\n"
    "would tell it.\n"
    "\n"
    "Exit status:\n"
    "  0  the window was closed\n"
    "  1  FILE could not be read at start-up (missing, not a regular file, over 16 MiB),\n"
    "     or a --form file is missing\n"
    "  2  wrong usage\n"
    "With PROGRAM, the application's own exit status when it ends, or:\n"
    "  3  no Qt application to attach to within 10 s (not a Qt program, another Qt\n"
    "     major version or build); PROGRAM was stopped\n"
    "  126  PROGRAM is not executable\n"
    "  127  PROGRAM was not found\n"
    "  128+N  PROGRAM was ended by signal N";

// The --variant of a theme template; an exit status when it cannot be shown.
int chooseVariant(LiveSheet *sheet, const QString &variant)
{
    if (!sheet->isTemplate()) {
        printProgramError(QStringLiteral("--variant is for a theme template (.qss.in)"));
        return ExitUsage;
    }
    if (!sheet->setVariant(variant)) {
        printProgramError(
            QStringLiteral("%1 has no variant \"%2\"; it has %3")
                .arg(sheet->path(), variant, sheet->variants().join(QLatin1String(", "))));
        return ExitUsage;
    }
    return 0;
}

// The author's forms as tabs of their own, with their report in the diagnostics window.
void showForms(MainWindow *window, const QStringList &forms, LiveInspector *inspector,
               SheetDiagnosticsWindow *diagnostics)
{
    auto *liveForms = new LiveForms(window, forms, window);
    // A form loaded again replaces its widgets, the one picked among them.
    QObject::connect(liveForms, &LiveForms::updated, inspector, &LiveInspector::refresh);
    auto *report = new QTextBrowser;
    diagnostics->addPanel(report, QStringLiteral("Forms"));
    const auto showReport = [liveForms, report] { report->setHtml(liveForms->reportHtml()); };
    QObject::connect(liveForms, &LiveForms::updated, report, showReport);
    showReport();
}

// The launcher of an attached application: the ways in, and what it says of each.
// Through the agent, the tools open here, in prismark-live's own process.
void prepareLauncher(AttachLauncher &launcher, Attach::Way way)
{
    launcher.setWay(way);
    launcher.setKeepSheetForAgent(true, true);
    launcher.setHelloNote(
        QStringLiteral("; the Sheet Diagnostics window and Ctrl+Shift+I are in it"),
        QStringLiteral("; each save is checked here and put on, and the Sheet Diagnostics "
                       "window opens beside it"));
    QObject::connect(&launcher, &AttachLauncher::attachedToApplication, &launcher, [&launcher] {
        if (launcher.attachedThroughAgent() && launcher.agentSheet())
            new AttachedTools(&launcher, launcher.agentSheet(), &launcher);
    });
}

// prismark-live SHEET -- PROGRAM [ARGS...]; the sheet is checked before the program starts.
int attachToProgram(int argc, char *argv[], AttachCommand command, Attach::Way way)
{
    quietRuntimeDirectoryNotice();
    // The tools' windows are this process's; the application's end decides the exit.
    QApplication application(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    const QByteArray adopted = qgetenv(Attach::adoptVariable);
    qunsetenv(Attach::adoptVariable);
    if (!adopted.isEmpty()) {
        // Started already by prismark-live's launcher, which checked what is checked below.
        AttachLauncher launcher(command, attachPluginFolder());
        prepareLauncher(launcher, way);
        QObject::connect(&launcher, &AttachLauncher::finished, &application,
                         &QCoreApplication::exit);
        if (!launcher.adopt(adopted)) {
            printProgramError(
                QStringLiteral("cannot take over %1 from the launcher").arg(command.program));
            return AttachNotAttached;
        }
        return application.exec();
    }
    const FileReadResult read = readRegularFile(command.sheet, maxAuthorSheetBytes, true);
    if (!read.ok) {
        printProgramError(QFileInfo::exists(command.sheet)
                              ? QStringLiteral("cannot read %1 (%2)").arg(command.sheet, read.error)
                              : QStringLiteral("%1: no such file").arg(command.sheet));
        return ExitUnreadable;
    }
    if (!command.variant.isEmpty()) {
        if (!isThemeTemplatePath(command.sheet)) {
            printProgramError(QStringLiteral("--variant is for a theme template (.qss.in)"));
            return ExitUsage;
        }
        // Checked here, where it can still be said: inside the application it cannot.
        QStringList names;
        for (const TemplateVariant &variant :
             ThemeTemplate::parse(QString::fromUtf8(read.bytes), command.sheet, nullptr).variants())
            names << variant.name;
        const bool known = std::any_of(names.begin(), names.end(), [&](const QString &name) {
            return name.compare(command.variant, Qt::CaseInsensitive) == 0 ||
                   kebabCaseName(name) == command.variant;
        });
        if (!known) {
            printProgramError(
                QStringLiteral("%1 has no variant \"%2\"; it has %3")
                    .arg(command.sheet, command.variant, names.join(QLatin1String(", "))));
            return ExitUsage;
        }
    }
    AttachLauncher launcher(command, attachPluginFolder());
    prepareLauncher(launcher, way);
    QObject::connect(&launcher, &AttachLauncher::finished, &application, &QCoreApplication::exit);
    launcher.start();
    return application.exec();
}

const char formOption[] = "form";
const char variantOption[] = "variant";

void declareOptions(QCommandLineParser &parser)
{
    parser.setApplicationDescription(QString::fromLatin1(description));
    addHelpAndVersionOptions(parser);
    parser.addPositionalArgument(QStringLiteral("FILE"),
                                 QStringLiteral("The style sheet (.qss) to show and watch."));
    parser.addOption(QCommandLineOption(
        QLatin1String(formOption),
        QStringLiteral("A Qt Designer form (.ui) to show as a tab of its own and watch. "
                       "Repeatable."),
        QStringLiteral("DIALOG.ui")));
    parser.addOption(QCommandLineOption(
        QLatin1String(variantOption),
        QStringLiteral("Of a theme template, the variant to show first."), QStringLiteral("NAME")));
    parser.addOption(QCommandLineOption(
        QLatin1String(Attach::wayOption),
        QStringLiteral("How to get into PROGRAM: auto (the default: the plugin where it fits "
                       "the program's Qt, the Python agent for a Python program where it does "
                       "not), plugin or python."),
        QStringLiteral("WAY"), QLatin1String(Attach::autoWay)));

    parser.addOption(QCommandLineOption(
        kColorSchemeOption,
        QStringLiteral("The colour scheme to show FILE under: light (the default) or dark."),
        QStringLiteral("SCHEME"), QLatin1String(Attach::defaultColorScheme)));

    parser.addPositionalArgument(QStringLiteral("-- PROGRAM [ARGS...]"),
                                 QStringLiteral("The author's application to show FILE in."));
}

// Usage, help and version, answered before the toolkit needs a display; the exit
// status when the command line is answered so.
std::optional<int> answerCommandLine(QCommandLineParser &parser, const SplitCommandLine &split,
                                     int argc, char *argv[])
{
    if (!parser.parse(split.ours)) {
        printProgramError(parser.errorText());
        return ExitUsage;
    }
    if (asksForHelpOrVersion(parser)) {
        QCoreApplication application(argc, argv);
        QCoreApplication::setApplicationName(QStringLiteral("prismark-live"));
        QCoreApplication::setApplicationVersion(QStringLiteral(PRISMARK_VERSION));
        answerHelpOrVersion(parser);
        return ExitClosed;
    }
    if (parser.positionalArguments().size() != 1) {
        printProgramError(QStringLiteral("expects exactly one FILE; see --help"));
        return ExitUsage;
    }
    ColorScheme scheme = ColorScheme::Light;
    if (!colorSchemeFromName(parser.value(kColorSchemeOption), &scheme)) {
        printProgramError(colorSchemeOptionError(parser.value(kColorSchemeOption)));
        return ExitUsage;
    }
    return std::nullopt;
}

// --color-scheme, checked by answerCommandLine.
ColorScheme chosenScheme(const QCommandLineParser &parser)
{
    ColorScheme scheme = ColorScheme::Light;
    colorSchemeFromName(parser.value(kColorSchemeOption), &scheme);
    return scheme;
}

// prismark-live FILE -- PROGRAM [ARGS...]
int showInProgram(const QCommandLineParser &parser, const SplitCommandLine &split, int argc,
                  char *argv[])
{
    if (split.program.isEmpty()) {
        printProgramError(QStringLiteral("expects PROGRAM after \"--\"; see --help"));
        return ExitUsage;
    }
    if (parser.isSet(QLatin1String(formOption))) {
        printProgramError(QStringLiteral("--form is for the gallery, not for PROGRAM"));
        return ExitUsage;
    }
    Attach::Way way = Attach::Way::Auto;
    if (!Attach::wayNamed(parser.value(QLatin1String(Attach::wayOption)).toStdString(), &way)) {
        printProgramError(QStringLiteral("--attach takes auto, plugin or python; see --help"));
        return ExitUsage;
    }
    AttachCommand command;
    command.sheet = parser.positionalArguments().constFirst();
    command.variant = parser.value(QLatin1String(variantOption));
    command.program = split.program;
    command.arguments = split.programArguments;
    command.colorScheme = chosenScheme(parser);
    return attachToProgram(argc, argv, command, way);
}

// prismark-live FILE: the gallery with the sheet, its diagnostics and the forms.
int showInGallery(const QCommandLineParser &parser, int argc, char *argv[])
{
    if (parser.isSet(QLatin1String(Attach::wayOption))) {
        printProgramError(QStringLiteral("--attach is for PROGRAM, not for the gallery"));
        return ExitUsage;
    }
    const QStringList forms = parser.values(QLatin1String(formOption));
    for (const QString &form : forms) {
        if (!QFileInfo::exists(form)) {
            printProgramError(QStringLiteral("%1: no such file").arg(form));
            return ExitUnreadable;
        }
    }

    quietRuntimeDirectoryNotice();
    QApplication application(argc, argv);
    MainWindow window;
    window.setColorScheme(chosenScheme(parser));
    LiveSheet sheet(&window, parser.positionalArguments().constFirst());
    sheet.apply();
    if (sheet.outcome() == LiveSheet::Outcome::Missing) {
        printProgramError(QStringLiteral("%1: no such file").arg(sheet.path()));
        return ExitUnreadable;
    }
    if (sheet.outcome() == LiveSheet::Outcome::Unreadable) {
        printProgramError(sheet.problem());
        return ExitUnreadable;
    }
    if (parser.isSet(QLatin1String(variantOption))) {
        if (const int code = chooseVariant(&sheet, parser.value(QLatin1String(variantOption))))
            return code;
    }
    auto *diagnostics = new SheetDiagnosticsWindow(&sheet, &window);
    auto *inspector = new LiveInspector(&window, &sheet, diagnostics);
    if (!forms.isEmpty())
        showForms(&window, forms, inspector, diagnostics);
    makeRoomBesideMainWindow(&window, window.styleSwitcherWindow()->width() + 16);
    window.show();
    diagnostics->show();
    return application.exec();
}

} // namespace

int main(int argc, char *argv[])
{
    // The name the user started, not this executable's (see launcher.cpp).
    QCoreApplication::setApplicationName(QStringLiteral("prismark-live"));
    QCommandLineParser parser;
    declareOptions(parser);
    QStringList given;
    for (int i = 0; i < argc; ++i)
        given << QString::fromLocal8Bit(argv[i]);
    const SplitCommandLine split = splitAtProgram(given);
    if (const std::optional<int> answered = answerCommandLine(parser, split, argc, argv))
        return *answered;
    if (split.hasProgram)
        return showInProgram(parser, split, argc, argv);
    return showInGallery(parser, argc, argv);
}
