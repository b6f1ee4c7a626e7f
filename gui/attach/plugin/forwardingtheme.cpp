// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "attach/plugin/forwardingtheme.h"

#include "attach/attachprotocol.h"

#include <QFileInfo>
#include <QIcon>
#include <QPixmap>
#include <QVariant>
#include <private/qguiapplication_p.h>
#include <qpa/qplatformintegration.h>
#include <qpa/qplatformthemefactory_p.h>

ForwardingTheme::ForwardingTheme(QPlatformTheme *inner, std::optional<ColorScheme> scheme)
    : inner(inner)
    , scheme(scheme)
{
    if (scheme)
        schemeSystemPalette = schemePalette(*scheme);
}

ForwardingTheme::~ForwardingTheme() = default;

QPlatformTheme *ForwardingTheme::createDesktopTheme(const QString &userThemeName)
{
    // As the toolkit goes about it when no theme is named in the environment: the
    // names the platform offers, first as plugins and then built in.
    QStringList names;
    if (!userThemeName.isEmpty())
        names << userThemeName;
    QPlatformIntegration *integration = QGuiApplicationPrivate::platformIntegration();
    if (integration)
        names << integration->themeNames();
    names.removeAll(QString::fromLatin1(Attach::themeKey));
    for (const QString &name : qAsConst(names)) {
        if (QPlatformTheme *theme = QPlatformThemeFactory::create(name))
            return theme;
    }
    if (integration) {
        for (const QString &name : qAsConst(names)) {
            if (QPlatformTheme *theme = integration->createPlatformTheme(name))
                return theme;
        }
    }
    return nullptr;
}

QPlatformMenuItem *ForwardingTheme::createPlatformMenuItem() const
{
    return inner ? inner->createPlatformMenuItem() : QPlatformTheme::createPlatformMenuItem();
}

QPlatformMenu *ForwardingTheme::createPlatformMenu() const
{
    return inner ? inner->createPlatformMenu() : QPlatformTheme::createPlatformMenu();
}

QPlatformMenuBar *ForwardingTheme::createPlatformMenuBar() const
{
    return inner ? inner->createPlatformMenuBar() : QPlatformTheme::createPlatformMenuBar();
}

void ForwardingTheme::showPlatformMenuBar()
{
    if (inner)
        inner->showPlatformMenuBar();
}

bool ForwardingTheme::usePlatformNativeDialog(DialogType type) const
{
    return inner ? inner->usePlatformNativeDialog(type)
                 : QPlatformTheme::usePlatformNativeDialog(type);
}

QPlatformDialogHelper *ForwardingTheme::createPlatformDialogHelper(DialogType type) const
{
    return inner ? inner->createPlatformDialogHelper(type)
                 : QPlatformTheme::createPlatformDialogHelper(type);
}

QPlatformSystemTrayIcon *ForwardingTheme::createPlatformSystemTrayIcon() const
{
    return inner ? inner->createPlatformSystemTrayIcon()
                 : QPlatformTheme::createPlatformSystemTrayIcon();
}

#if QT_VERSION >= QT_VERSION_CHECK(6, 5, 0)
Qt::ColorScheme ForwardingTheme::colorScheme() const
{
    if (scheme)
        return *scheme == ColorScheme::Dark ? Qt::ColorScheme::Dark : Qt::ColorScheme::Light;
    return inner ? inner->colorScheme() : QPlatformTheme::colorScheme();
}
#elif QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
QPlatformTheme::Appearance ForwardingTheme::appearance() const
{
    if (scheme)
        return *scheme == ColorScheme::Dark ? Appearance::Dark : Appearance::Light;
    return inner ? inner->appearance() : QPlatformTheme::appearance();
}
#endif

const QPalette *ForwardingTheme::palette(Palette type) const
{
    // The desktop's palettes for single kinds of widget would paint over the scheme.
    if (scheme)
        return type == SystemPalette ? &schemeSystemPalette : nullptr;
    return inner ? inner->palette(type) : QPlatformTheme::palette(type);
}

const QFont *ForwardingTheme::font(Font type) const
{
    return inner ? inner->font(type) : QPlatformTheme::font(type);
}

QVariant ForwardingTheme::themeHint(ThemeHint hint) const
{
    return inner ? inner->themeHint(hint) : QPlatformTheme::themeHint(hint);
}

QPixmap ForwardingTheme::standardPixmap(StandardPixmap sp, const QSizeF &size) const
{
    return inner ? inner->standardPixmap(sp, size) : QPlatformTheme::standardPixmap(sp, size);
}

QIcon ForwardingTheme::fileIcon(const QFileInfo &fileInfo, IconOptions iconOptions) const
{
    return inner ? inner->fileIcon(fileInfo, iconOptions)
                 : QPlatformTheme::fileIcon(fileInfo, iconOptions);
}

QIconEngine *ForwardingTheme::createIconEngine(const QString &iconName) const
{
    return inner ? inner->createIconEngine(iconName) : QPlatformTheme::createIconEngine(iconName);
}

QList<QKeySequence> ForwardingTheme::keyBindings(QKeySequence::StandardKey key) const
{
    return inner ? inner->keyBindings(key) : QPlatformTheme::keyBindings(key);
}

QString ForwardingTheme::standardButtonText(int button) const
{
    return inner ? inner->standardButtonText(button) : QPlatformTheme::standardButtonText(button);
}

QKeySequence ForwardingTheme::standardButtonShortcut(int button) const
{
    return inner ? inner->standardButtonShortcut(button)
                 : QPlatformTheme::standardButtonShortcut(button);
}
