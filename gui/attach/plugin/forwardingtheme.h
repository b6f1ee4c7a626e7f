// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include "theme/schemepalette.h"

#include <qpa/qplatformtheme.h>

#include <memory>
#include <optional>

// The platform theme the application would have had, answering every question in
// its place: our plugin is there only to get into the application, so dialogs,
// fonts, palette, icons and menus stay the desktop's own. Asked for a colour scheme,
// it answers as the theme of that scheme: its palette and, where the toolkit asks,
// the scheme itself.
class ForwardingTheme : public QPlatformTheme
{
public:
    // Takes the theme to forward to; null forwards to the toolkit's defaults.
    explicit ForwardingTheme(QPlatformTheme *inner,
                             std::optional<ColorScheme> scheme = std::nullopt);
    ~ForwardingTheme() override;

    // The theme the toolkit would have made: the user's named one, or the platform's
    // choice; null when there is none but the defaults.
    static QPlatformTheme *createDesktopTheme(const QString &userThemeName);

    QPlatformMenuItem *createPlatformMenuItem() const override;
    QPlatformMenu *createPlatformMenu() const override;
    QPlatformMenuBar *createPlatformMenuBar() const override;
    void showPlatformMenuBar() override;
    bool usePlatformNativeDialog(DialogType type) const override;
    QPlatformDialogHelper *createPlatformDialogHelper(DialogType type) const override;
    QPlatformSystemTrayIcon *createPlatformSystemTrayIcon() const override;
#if QT_VERSION >= QT_VERSION_CHECK(6, 5, 0)
    Qt::ColorScheme colorScheme() const override;
#elif QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
    Appearance appearance() const override;
#endif
    const QPalette *palette(Palette type = SystemPalette) const override;
    const QFont *font(Font type = SystemFont) const override;
    QVariant themeHint(ThemeHint hint) const override;
    QPixmap standardPixmap(StandardPixmap sp, const QSizeF &size) const override;
    QIcon fileIcon(const QFileInfo &fileInfo, IconOptions iconOptions = {}) const override;
    QIconEngine *createIconEngine(const QString &iconName) const override;
    QList<QKeySequence> keyBindings(QKeySequence::StandardKey key) const override;
    QString standardButtonText(int button) const override;
    QKeySequence standardButtonShortcut(int button) const override;

private:
    std::unique_ptr<QPlatformTheme> inner;
    std::optional<ColorScheme> scheme;
    QPalette schemeSystemPalette;
};
