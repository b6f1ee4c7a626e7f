// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "prismark-profile/profilecommand.h"
#include "support/programsupport.h"

#include <QApplication>
#include <QStringList>

namespace {

QtMessageHandler toolkitHandler = nullptr;

// The gallery's show event raises its style switcher, and a sheet that changes a
// window's size hint asks for the window to follow; the offscreen platform does
// neither, and its complaints say nothing about the sheet.
void quietPlatformLimits(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    static const QStringList platformLimits{
        QStringLiteral("This plugin does not support raise()"),
        QStringLiteral("This plugin does not support propagateSizeHints()")};
    if (type == QtWarningMsg && platformLimits.contains(message))
        return;
    toolkitHandler(type, context, message);
}

} // namespace

int main(int argc, char *argv[])
{
    // Measured offscreen unless the user asks for a platform: a window system's
    // compositor would only add its own noise.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    quietRuntimeDirectoryNotice();
    toolkitHandler = qInstallMessageHandler(quietPlatformLimits);
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("prismark-profile"));
    QApplication::setApplicationVersion(QStringLiteral(PRISMARK_VERSION));
    QApplication::setEffectEnabled(Qt::UI_General, false);
    return runProfile(QApplication::arguments());
}
