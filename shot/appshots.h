// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include <QStringList>

struct ShotOptions;

// The folder under a theme's that holds its application renders.
constexpr char kAppFolder[] = "app";

// prismark-shot SHEET -- PROGRAM: the author's application started once per base
// style, direction and scale with SHEET in place of its own sheet, its windows
// rendered once it has settled to DIR/<theme>/app/<window>.png (a combination's
// suffix as for the gallery's tabs) and compared with a baseline as those are.
// Returns the exit code.
int runAppShots(const ShotOptions &options);

// The window names a baseline folder's files stand for: each file read back
// against the known windows (longest first), else against the shortest name its
// combination suffix leaves, so a window this run did not show still counts.
QStringList baselineWindowNames(const QStringList &files, const QStringList &knownWindows);
