// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "attach/attachedsession.h"
#include "attach/attachprotocol.h"
#include "attach/plugin/forwardingtheme.h"

#include <QCoreApplication>
#include <QJsonObject>
#include <QMetaObject>
#include <qpa/qplatformthemeplugin.h>

#include <cstdio>
#include <unistd.h>

namespace {

// Sent before the application has an event loop.
void report(const QString &serverPath, const QByteArray &message)
{
    const int socket = Attach::connectToServer(serverPath);
    Attach::sendMessage(socket, message);
    if (socket >= 0)
        ::close(socket);
}

// The environment is the application's children's as well: they get the user's own
// theme back, and are not attached a second time.
void restoreEnvironment(const QByteArray &userTheme)
{
    for (const Attach::Variable &variable : Attach::environment) {
        if (variable.children == Attach::ForChildren::UsersOwn && !userTheme.isEmpty())
            qputenv(variable.name, userTheme);
        else if (variable.children != Attach::ForChildren::Same)
            qunsetenv(variable.name);
    }
}

} // namespace

// Loaded by the toolkit of any application started with QT_QPA_PLATFORMTHEME naming
// it: the way prismark-live gets into an application that knows nothing of it.
class AttachPlugin : public QPlatformThemePlugin
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID QPlatformThemeFactoryInterface_iid FILE "prismark.json")
public:
    QPlatformTheme *create(const QString &key, const QStringList &parameters) override;
};

QPlatformTheme *AttachPlugin::create(const QString &key, const QStringList &parameters)
{
    Q_UNUSED(parameters)
    if (key.compare(QLatin1String(Attach::themeKey), Qt::CaseInsensitive) != 0)
        return nullptr;
    const AttachSettings settings = AttachSettings::fromEnvironment();
    const QByteArray userTheme = qgetenv(Attach::forwardThemeVariable);
    std::optional<ColorScheme> scheme;
    ColorScheme named = ColorScheme::Light;
    if (colorSchemeFromName(QString::fromLatin1(qgetenv(Attach::colorSchemeVariable)), &named))
        scheme = named;
    QByteArray builtFor = qgetenv(Attach::testBuiltForVariable);
    if (builtFor.isEmpty())
        builtFor = QT_VERSION_STR;
    restoreEnvironment(userTheme);

    // The private interfaces used here are only those of the build the plugin was
    // made for; another build of the same major version declines rather than crash.
    if (builtFor != qVersion()) {
        std::fprintf(stderr,
                     "prismark-attach: this application runs Qt %s, the plugin was built "
                     "for Qt %s; not attaching\n",
                     qVersion(), builtFor.constData());
        report(settings.server,
               Attach::encodeMessage(QString::fromLatin1(Attach::declinedKind),
                                     {{QStringLiteral("qt"), QString::fromLatin1(qVersion())},
                                      {QStringLiteral("built"), QString::fromLatin1(builtFor)}}));
        return nullptr;
    }

    auto *session = new AttachedSession(settings, QCoreApplication::instance());
    // A Python application's agent, if it has one, stands aside.
    QCoreApplication::instance()->setProperty(Attach::attachedProperty, true);
    // Posted now, run once the application object is complete and its loop runs.
    QMetaObject::invokeMethod(session, &AttachedSession::start, Qt::QueuedConnection);
    return new ForwardingTheme(
        ForwardingTheme::createDesktopTheme(QString::fromLocal8Bit(userTheme)), scheme);
}

#include "attachplugin.moc"
