// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "live/livesheet.h"
#include "live/livewindowplacement.h"
#include "live/sheetdiagnosticswindow.h"
#include "shell/mainwindow.h"
#include "switcher/styleswitcherwindow.h"

#include <QApplication>
#include <QCommandLineParser>

#include <cstdio>

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
    "leaves the last good one in place.\n"
    "\n"
    "Exit status:\n"
    "  0  the window was closed\n"
    "  1  FILE could not be read at start-up (missing, not a regular file, over 16 MiB)\n"
    "  2  wrong usage";

void printError(const QString &message)
{
    std::fprintf(stderr, "prismark-live: %s\n", qPrintable(message));
}

} // namespace

int main(int argc, char *argv[])
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QString::fromLatin1(description));
    const QCommandLineOption helpOption = parser.addHelpOption();
    const QCommandLineOption versionOption = parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("FILE"),
                                 QStringLiteral("The style sheet (.qss) to show and watch."));

    // Usage, help and version are answered before the toolkit needs a display.
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    if (!parser.parse(arguments)) {
        printError(parser.errorText());
        return ExitUsage;
    }
    if (parser.isSet(helpOption) || parser.isSet(versionOption)) {
        QCoreApplication application(argc, argv);
        QCoreApplication::setApplicationName(QStringLiteral("prismark-live"));
        QCoreApplication::setApplicationVersion(QStringLiteral(PRISMARK_VERSION));
        if (parser.isSet(versionOption))
            parser.showVersion();
        parser.showHelp(ExitClosed);
    }
    if (parser.positionalArguments().size() != 1) {
        printError(QStringLiteral("expects exactly one FILE; see --help"));
        return ExitUsage;
    }

    QApplication application(argc, argv);
    MainWindow window;
    LiveSheet sheet(&window, parser.positionalArguments().constFirst());
    sheet.apply();
    if (sheet.outcome() == LiveSheet::Outcome::Missing) {
        printError(QStringLiteral("%1: no such file").arg(sheet.path()));
        return ExitUnreadable;
    }
    if (sheet.outcome() == LiveSheet::Outcome::Unreadable) {
        printError(sheet.problem());
        return ExitUnreadable;
    }
    auto *diagnostics = new SheetDiagnosticsWindow(&sheet, &window);
    makeRoomBesideMainWindow(&window, window.styleSwitcherWindow()->width() + 16);
    window.show();
    diagnostics->show();
    return application.exec();
}
