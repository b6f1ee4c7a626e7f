// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include "shell/galleryhost.h"
#include "theme/schemepalette.h"
#include "theme/themecatalogue.h"

#include <QMainWindow>
#include <QPoint>
#include <QStringList>

#include <functional>

class PreviewContent;
class QDateTime;
class QRect;
class QSize;
class StyleSwitcherWindow;
class TitleBar;

// The frameless main window: frame, title bar, gallery and size grip, and the one
// place where themes are applied.
class MainWindow : public QMainWindow, public GalleryHost
{
    Q_OBJECT
public:
    explicit MainWindow(QWidget *parent = nullptr);

    // Installs a sheet that is no built-in theme (an author's own file) the way a
    // theme is installed; the status line names it displayName.
    // baseStyle is the style factory key the sheet is drawn over, scheme the desktop
    // colour scheme whose palette lies under the sheet's.
    void applyStyleSheet(const QString &styleSheet, const QString &displayName,
                         const QString &baseStyle = QStringLiteral("Fusion"),
                         ColorScheme scheme = ColorScheme::Light);

    // What the programs built on this window drive, by method rather than by
    // reaching into its widgets.
    StyleSwitcherWindow *styleSwitcherWindow() const;
    // The name the status line shows: a theme's display name or an author's sheet.
    QString currentStyleName() const;
    QStringList galleryTabTitles() const override;
    void showGalleryTab(int index);
    QWidget *galleryTabPage(int index) const override;
    // The gallery's own "Disable preview" switch.
    void setGalleryDisabled(bool disabled);
    void setGalleryDateTime(const QDateTime &dateTime);
    // A tab after the gallery's own, for an author's form; the gallery takes the
    // page. Returns the tab's index.
    int addGalleryTab(QWidget *page, const QString &title);
    void setGalleryTabTitle(int index, const QString &title);
    // Calls changed with the new index whenever another gallery tab is shown, for as
    // long as context lives. A call rather than a signal: the window's meta-object
    // offers applyTheme alone.
    void onGalleryTabChanged(QObject *context, std::function<void(int)> changed) override;

    QWidget *galleryWindow() override;
    QWidget *switcherWindow() const override;
    void installAuthorSheet(const QString &styleSheet, const QString &displayName) override;
    void clearThemeSelection() override;
    void onThemePicked(QObject *context, std::function<void(Theme)> picked) override;

public slots:
    void applyTheme(Theme theme);

protected:
    bool event(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void changeEvent(QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void showStyleName(const QString &displayName);
    void positionStyleSwitcher();
    void showStyleSwitcher();

    QWidget *frame;
    TitleBar *titleBar;
    PreviewContent *previewContent;
    StyleSwitcherWindow *styleSwitcher;
    bool placeSwitcherAfterResize = false;
    bool placeSwitcherWhenFramed = false;
};

// Where the switcher's frame goes: 12 pixels right of the main window's frame and 48
// down when it fits there wholly inside available, else the nearest position that does
// (overlapping the main window if it must). An empty available rectangle means no
// screen is known, and the position beside the window stands.
QPoint styleSwitcherPosition(const QRect &mainFrame, const QSize &switcherFrame,
                             const QRect &available);
