// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include "theme/schemepalette.h"

#include <QPalette>
#include <QString>
#include <QVector>

// A palette the contrast check judges sheets under: what the toolkit gives a sheet's
// widgets where the sheet sets no colour. One of the toolkit's own (light, dark), or
// an application's, read from the "@palette" header of its theme's sheet.
struct ContrastPalette
{
    // As the configuration names it: "light", "dark" or the sheet file as written.
    QString name;
    QPalette palette;
    // The roles the file's header sets; the others are the light palette's. Empty for
    // the toolkit's own palettes.
    QVector<QPalette::ColorRole> ownRoles;
    bool fromFile = false;

    // "the dark palette", "the palette of themes/app.qss": what a finding under it says.
    QString description() const;
    // Who gives its roles, as a finding names them: "the dark palette", "themes/app.qss".
    QString roleOwner() const;
    // Where the palette's colour of role comes from: "the light palette's WindowText",
    // "themes/app.qss's Window".
    QString roleOrigin(QPalette::ColorRole role) const;
};

// A toolkit's own palette.
ContrastPalette schemeContrastPalette(ColorScheme scheme);

// An application's palette named name, from a sheet's text: its "@palette" lines over
// the light palette. False when no line sets a role.
bool contrastPaletteFromSheet(const QString &name, const QString &text, ContrastPalette *palette);
