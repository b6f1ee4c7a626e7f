// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include <QString>
#include <QVector>

// One line of a comparison, as the table printed and the page show it.
struct DiffReportRow
{
    QString theme;
    QString tab;
    QString combination; // as combinationTitle() words it
    QString image;       // file name
    QString share;       // exactly as the printed table shows it
    bool failed = false;
    bool changed = false; // some pixel differs, or an image is missing on a side
    double percent = 0;   // for ordering; 100 when sizes differ or a side is missing
    // Paths relative to the page's folder; empty where that image does not exist.
    QString baseline;
    QString render;
    QString difference;
};

// A page that opens from the file system with no server and no network: every row
// with the baseline, the render and the difference side by side and a slider that
// blends render over baseline; changed images first, then by share; filters by
// theme, tab and combination. Images are referred to by relative paths only.
// summary is the line the printed table ends with.
QString diffReportHtml(QVector<DiffReportRow> rows, const QString &summary);
