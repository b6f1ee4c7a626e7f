// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "prismark-build/buildcommandline.h"
#include "support/programsupport.h"

#include <QGuiApplication>

int main(int argc, char *argv[])
{
    // Drawing the icons needs no display unless the user asks for a platform.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    quietRuntimeDirectoryNotice();
    QGuiApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("prismark-build"));
    QCoreApplication::setApplicationVersion(QStringLiteral(PRISMARK_VERSION));
    return runBuildCommandLine(QCoreApplication::arguments());
}
