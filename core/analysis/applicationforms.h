// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include "analysis/lintoptions.h"

#include <QDir>
#include <QString>
#include <QStringList>

// The application's Designer forms: those a configuration's "forms" globs find, and
// those found otherwise (by a walk of a folder) added to the options.

// The folders a glob of "forms" is searched through, at most, and how deep.
constexpr int kMaxFormFolders = 10000;
constexpr int kMaxFormDepth = 16;

// The files under base whose path relative to it matches glob, in the order found,
// each named from the working directory when it lies below it, else absolutely. What is
// wrong goes to warnings, "WHERE what", where saying which glob it is ("FILE:LINE:
// \"forms\": \"GLOB\"").
QStringList findFormFiles(const QDir &base, const QString &glob, const QString &where,
                          QStringList &warnings);

// Adds Designer forms found otherwise (by a walk of a folder) to those the
// configuration's "forms" names, each once; what cannot be read is a warning.
void addApplicationForms(LintOptions &options, const QStringList &formPaths, QStringList *warnings);
