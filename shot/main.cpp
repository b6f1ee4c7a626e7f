#include "shot/shotcommand.h"
#include "shot/shotrenderer.h"

#include <QApplication>

namespace {

QtMessageHandler toolkitHandler = nullptr;

// Showing the window shows the style switcher, a tool window the offscreen platform
// cannot raise; its complaint would only confuse whoever reads the output.
void quietRaiseWarning(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (type == QtWarningMsg && message == QLatin1String("This plugin does not support raise()"))
        return;
    toolkitHandler(type, context, message);
}

} // namespace

int main(int argc, char *argv[])
{
    // No display needed unless the user asks for a platform.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    toolkitHandler = qInstallMessageHandler(quietRaiseWarning);
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("prismark-shot"));
    QApplication::setApplicationVersion(QStringLiteral(PRISMARK_VERSION));
    ShotRenderer::prepareApplication();
    return runShot(QApplication::arguments());
}
