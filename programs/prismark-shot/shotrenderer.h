// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include <QImage>
#include <QRect>
#include <QSize>
#include <QStringList>

#include <memory>

class MainWindow;
class QWidget;

struct ShotTheme;

// Renders the whole main window, title bar and frame included, the same way every
// time: fixed dates, no focus, no hover, no caret, no animation.
class ShotRenderer
{
public:
    // Call after the application object exists and before any other widget is made.
    static void prepareApplication();

    explicit ShotRenderer(QSize size);
    ~ShotRenderer();

    QSize minimumSize() const;

    // The gallery's tab texts, in tab order.
    QStringList tabTexts() const;

    // Installs the theme over the base style (a name of shotBaseStyles()) with the
    // whole window in direction; every widget is polished afresh, so what was shown
    // before leaves nothing behind.
    void applyTheme(const ShotTheme &theme, const QString &styleSheetText, const QString &baseStyle,
                    Qt::LayoutDirection direction);
    // Forgets pixmaps the styles and icons keep, as a fresh process has none.
    void clearCaches();
    // Adds an author's form as a tab after the gallery's own; returns its index.
    int addFormTab(std::unique_ptr<QWidget> form, const QString &title);
    // Shows a tab, the gallery enabled or disabled, with its layout settled.
    void showTab(int tab, bool disabled);
    QImage render(int tab, bool disabled, qreal scale);
    // Part of the window as it stands, in window coordinates, at a scale.
    QImage renderArea(const QRect &area, qreal scale) const;

    QWidget *topLevel() const;
    QWidget *tabPage(int tab) const;

private:
    std::unique_ptr<MainWindow> window;
    QSize size;
};
