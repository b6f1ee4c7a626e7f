// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "shot/shotcommand.h"
#include "shot/shotrenderer.h"
#include "support/programsupport.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    // No display needed unless the user asks for a platform.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    quietRuntimeDirectoryNotice();
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("prismark-shot"));
    QApplication::setApplicationVersion(QStringLiteral(PRISMARK_VERSION));
    ShotRenderer::prepareApplication();
    return runShot(QApplication::arguments());
}
