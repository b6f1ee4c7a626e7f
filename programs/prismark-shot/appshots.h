// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include "prismark-shot/shotoptions.h"

#include <QJsonArray>
#include <QStringList>

struct ShotCombination;
struct ShotSubjects;

// The folder under a theme's that holds its application renders.
constexpr char kAppFolder[] = "app";

// prismark-shot SHEET -- PROGRAM: the author's application started once per base
// style, direction and scale with SHEET in place of its own sheet, its windows
// rendered once it has settled to DIR/<theme>/app/<window>.png (a combination's
// suffix as for the gallery's tabs) and compared with a baseline as those are.
// Returns the exit code.
int runAppShots(const ShotOptions &options);

// One run of the application: its windows' names and files in the scratch
// folder, or the exit code it came to; with --audit, whether the application wrote
// the audit's results there.
struct AppRun
{
    int status = ShotNotAttached;
    QJsonArray windows;
    bool audited = false;
};

// The application started once for a combination, with a template's variant (or
// its first for ""), its windows rendered (and with --audit audited) into scratch
// once it has settled.
AppRun runOnce(const ShotOptions &options, const QString &variant, ColorScheme scheme,
               const ShotCombination &combination, const QString &scratch);

// A theme template's variants, each a theme of its own, DIR/<theme>-<variant>, as
// prismark-build names the variant's sheet: those asked for, or every one. One
// theme and no variant for a plain sheet. Returns the exit code.
int chooseVariants(const ShotOptions &options, ShotSubjects &subjects, QStringList *variants);
// The variant of run `run` of the themes chooseVariants leaves, one run per variant and
// colour scheme; "" for a plain sheet.
QString variantOfRun(const ShotOptions &options, const QStringList &variants, int run);

// The window names a baseline folder's files stand for: each file read back
// against the known windows (longest first), else against the shortest name its
// combination suffix leaves, so a window this run did not show still counts.
QStringList baselineWindowNames(const QStringList &files, const QStringList &knownWindows);
