// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include "theme/schemepalette.h"
#include "theme/themecatalogue.h"

#include <QKeySequence>
#include <QWidget>
#include <QtGlobal>

#include <optional>

class QButtonGroup;
class QRadioButton;

// A theme number as the switcher requests it; carries Theme values unchanged.
using ThemeIndex = qint32;

// Small tool window with one radio button per theme and one per colour scheme
// (Light, Dark, and Desktop: the palette the platform gives); it only requests them.
class StyleSwitcherWindow : public QWidget
{
    Q_OBJECT
public:
    explicit StyleSwitcherWindow(QWidget *parent);

    // Marks a theme as current without emitting themeRequested.
    void setCurrentTheme(int index);
    // Leaves no theme marked (an author's own sheet is in force), again without
    // emitting themeRequested, so any theme can be picked to go back to it.
    void clearCurrentTheme();

    // The colour scheme marked: none for Desktop. Setting it emits nothing.
    std::optional<ColorScheme> currentColorScheme() const;
    void setCurrentColorScheme(std::optional<ColorScheme> scheme);

    // The main window's key for showing the switcher again once it is closed.
    static QKeySequence showShortcut();

signals:
    void themeRequested(ThemeIndex theme);
    // A scheme picked; none for Desktop.
    void colorSchemeRequested(std::optional<ColorScheme> scheme);

private:
    QRadioButton *themeButtons[ThemeCount];
    QButtonGroup *group;
    // Light, Dark, Desktop.
    QRadioButton *schemeButtons[3];
};
