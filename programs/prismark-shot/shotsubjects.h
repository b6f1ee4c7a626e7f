// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include "prismark-shot/shotnames.h"

#include <QString>
#include <QStringList>
#include <QVector>

class ShotRenderer;
struct ShotOptions;

// A tab or form to render, by its index in the window.
struct TabChoice
{
    int tab;
    QString file; // the file name's stem: the tab text or form name in kebab case
    QString label;
};

// What a run renders: its themes with their sheets' text, and the tabs and forms,
// found from the options' names; each step prints its error and returns the exit code.
struct ShotSubjects
{
    QVector<ShotTheme> themes;
    // The sheet of each theme, in the order of themes; empty for a built-in one.
    QVector<QString> sheetTexts;
    QVector<TabChoice> tabs;
    // The file stems of tabs, and of the forms that may be added to them.
    QStringList tabFiles;
    QStringList formPaths;
    QStringList formFiles; // "form-<name>", in the order of formPaths
    // A form could not be shown; the rest is rendered and the exit code tells.
    bool formFailed = false;
    // --shard: the cells of the whole matrix (see matrixCellIndex) this part renders;
    // empty for every cell.
    QVector<bool> heldCells;

    bool holds(int cell) const { return heldCells.isEmpty() || heldCells.value(cell); }

    // The built-in themes, then each --sheet read from disk.
    int loadThemes(const ShotOptions &options);
    // Every form exists and gets a file name of its own.
    int checkForms(const QStringList &paths);
    // tabTexts: the gallery's tabs, in order.
    int chooseTabs(const QStringList &names, const QStringList &tabTexts);
    // The checked forms as tabs after the gallery's own.
    void addForms(ShotRenderer &renderer);
};
