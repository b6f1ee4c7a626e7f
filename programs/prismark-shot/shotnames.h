// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include "theme/schemepalette.h"
#include "theme/themecatalogue.h"

#include <QString>
#include <QStringList>
#include <QVector>

// One thing to render: a built-in theme or an author's sheet file.
struct ShotTheme
{
    // As the user knows it: a built-in theme's file stem ("tokyoNightLight") or a
    // sheet file's base name; shown in progress lines.
    QString name;
    // The output folder and contact sheet name: name in kebab case.
    QString folder;
    // Shown in the window's status line and on the contact sheet.
    QString displayName;
    bool builtIn = true;
    Theme theme = Light;
    QString sheetPath;
    // The palette under the theme's own: its @palette roles and its sheet go over it.
    ColorScheme scheme = ColorScheme::Light;
};

// "tokyoNightLight" -> "tokyo-night-light", "My Theme" -> "my-theme": a hyphen
// where a capital follows a small letter or digit, runs of anything but letters
// and digits become one hyphen, all in lower case.
QString kebabCase(const QString &name);

// The built-in theme a user means by NAME: its sheet file stem or its display
// name, either in any letter case; false when none matches.
bool findBuiltInTheme(const QString &name, Theme *theme);

ShotTheme builtInShotTheme(Theme theme);
ShotTheme sheetShotTheme(const QString &path);

// Each theme once per scheme, theme by theme. Only a run that asks for more than the
// light scheme names it, as "<folder>-<scheme>" and "<name> (<scheme>)", so that
// the light-only run's folders stay what they always were.
QVector<ShotTheme> themesPerScheme(const QVector<ShotTheme> &themes,
                                   const QVector<ColorScheme> &schemes);

// Every built-in theme's accepted names, for error messages.
QStringList builtInThemeNames();

// The --tab value that chooses no gallery tab, only the forms.
inline constexpr char kNoTabName[] = "none";

// Splits repeatable option values that may also be comma separated.
QStringList splitOptionValues(const QStringList &values);
