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

// One theme's renders side by side, four to a row, each under its label, with the
// theme's name on top. Thumbnails are scaled to a fixed width so sheets stay small.
QImage makeContactSheet(const QString &title, const QVector<ContactSheetCell> &cells);

struct ContactSheetEntry
{
    QString title;
    QString fileName;
};

// A page that shows every contact sheet with its theme name.
QString contactSheetIndexHtml(const QVector<ContactSheetEntry> &entries);
