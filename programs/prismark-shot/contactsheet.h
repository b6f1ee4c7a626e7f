// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include <QImage>
#include <QString>
#include <QVector>

struct ContactSheetCell
{
    QString label;
    QImage image;
};

// The renders of one combination (base style, direction, scale); a sheet of a single
// section shows no section title.
struct ContactSheetSection
{
    QString title;
    QVector<ContactSheetCell> cells;
};

// The width thumbnails are scaled to, so sheets stay small.
constexpr int kContactSheetThumbnailWidth = 360;

// One theme's renders side by side, four to a row, each under its label, with the
// theme's name on top and each section under its own title.
QImage makeContactSheet(const QString &title, const QVector<ContactSheetSection> &sections);

struct ContactSheetEntry
{
    QString title;
    QString fileName;
};

// A page that shows every contact sheet with its theme name.
QString contactSheetIndexHtml(const QVector<ContactSheetEntry> &entries);
