// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "prismark-shot/shotcommand.h"
#include "prismark-shot/shotrenderer.h"
#include "support/programsupport.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    // No display needed unless the user asks for a platform; an application started
    // with "-- PROGRAM" inherits the choice.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    quietRuntimeDirectoryNotice();
    // What follows "--" is the application's command: the toolkit must not take its
    // -style or -reverse for ours.
    int ownArguments = 1;
    while (ownArguments < argc && qstrcmp(argv[ownArguments], "--") != 0)
        ++ownArguments;
    QStringList programCommand;
    for (int index = ownArguments; index < argc; ++index)
        programCommand << QString::fromLocal8Bit(argv[index]);
    QApplication application(ownArguments, argv);
    QApplication::setApplicationName(QStringLiteral("prismark-shot"));
    QApplication::setApplicationVersion(QStringLiteral(PRISMARK_VERSION));
    ShotRenderer::prepareApplication();
    return runShot(QApplication::arguments() + programCommand);
}
