// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include "theme/schemepalette.h"

#include <QString>
#include <QStringList>
#include <QVector>
#include <Qt>

// The base styles a theme can be drawn over, by the names the command line takes
// (the style factory's keys in lower case); the first is the default.
const QStringList &shotBaseStyles();
// The style factory key for a name of shotBaseStyles().
QString baseStyleFactoryKey(const QString &name);

// What an image depends on besides its theme and tab. The default of every part
// (Fusion, left to right, enabled, scale 1) adds nothing to the file name, so the
// names of the default combination stay what they always were.
struct ShotCombination
{
    QString baseStyle = shotBaseStyles().first();
    Qt::LayoutDirection direction = Qt::LeftToRight;
    bool disabled = false;
    qreal scale = 1;

    bool operator==(const ShotCombination &other) const;
};

// "-windows-rtl-disabled@2x" for a combination, "" for the default one.
QString combinationSuffix(const ShotCombination &combination);
// "<tab>[-windows][-rtl][-disabled][@<scale>x].png"
QString shotFileName(const QString &tab, const ShotCombination &combination);
// For people: "Windows, right to left, 1.25x"; "Fusion" for the default.
QString combinationTitle(const ShotCombination &combination);
// The scale as it appears in names: 1.25 -> "1.25", 2 -> "2".
QString scaleText(qreal scale);

// Reads a file name back into its tab and combination, given the tabs that may
// stand at its start (longest match wins); false when it is no such name.
bool parseShotFileName(const QString &fileName, const QStringList &tabs, QString *tab,
                       ShotCombination *combination);

// Option values (repeatable, comma separated) read as lists; each sets *error to a
// line for the user and returns false on a bad value. Duplicates are dropped.
bool parseBaseStyles(const QStringList &values, QStringList *styles, QString *error);
bool parseScales(const QStringList &values, QVector<qreal> *scales, QString *error);
bool parseDirections(const QStringList &values, QVector<Qt::LayoutDirection> *directions,
                     QString *error);
bool parseColorSchemes(const QStringList &values, QVector<ColorScheme> *schemes, QString *error);
