// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include "analysis/lintoptions.h"

#include <QString>
#include <QStringList>

// A configuration's "resources": the application's .qrc files, read for the resource
// paths they declare, and the folders searched for them.

// A resources folder is searched this deep for .qrc files, links not followed, and
// through no more folders than this: "resources": "/" must not walk the whole disk.
constexpr int kMaxQrcDepth = 8;
constexpr int kMaxQrcFolders = 10000;

// Adds the resource paths of one entry of "resources", a .qrc file or a folder of
// them (target, the entry's path). What is wrong goes to warnings, "WHERE what", where
// saying which entry it is ("FILE:LINE: \"resources\": \"ENTRY\"").
void readResourceEntry(const QString &target, const QString &where, LintOptions &options,
                       QStringList &warnings);

// Adds every resource path one .qrc file declares: its prefix, then the alias or
// the file as written. Names a file that is missing or lies outside the .qrc's
// own directory tree (a link out of it is not followed) as a warning.
void readQrcFile(const QString &qrcPath, LintOptions &options, QStringList &warnings);
