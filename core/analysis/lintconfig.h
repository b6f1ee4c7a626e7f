// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include "analysis/lintoptions.h"

#include <QJsonObject>
#include <QJsonValue>
#include <QMap>
#include <QString>
#include <QVector>

// A project's .prismark-lint.json: which checks run and how severe they are, the
// application's own widget classes and properties, the toolkit version its sheets
// target, its compiled-in resources and the contrast it asks for. Every program
// that runs the analysis finds it the same way, from the sheet's directory up, and
// asks it for the configuration in force for one sheet: a file may extend others
// and override keys for the sheets its globs match.

inline const QLatin1String kLintConfigFileName(".prismark-lint.json");

// One entry of "overrides": keys for the sheets one of its globs matches, by their
// path relative to the directory of the file it is written in.
struct LintConfigOverride
{
    QString file;
    int index = 0; // its place in that file's "overrides"
    QStringList globs;
    QJsonObject keys;
};

// A value in force as written, and where it came from: a configuration file, that
// file followed by " overrides[N]", or empty for the default.
struct LintConfigSetting
{
    QJsonValue value;
    QString origin;
};

struct LintConfigResult
{
    bool ok = true;
    // The configuration file in force, "" when none was found.
    QString file;
    // Every key applied to a default LintOptions.
    LintOptions options;
    // When not ok: "FILE:LINE: what is wrong"; the options are then the defaults.
    QString error;
    // Problems that leave the rest usable (a .qrc that cannot be read, a file it
    // names that is missing), each "FILE:LINE: what".
    QStringList warnings;
    // The overrides of this file and of the files it extends, in the order they
    // apply (the extended files' first); not yet applied to the options.
    QVector<LintConfigOverride> overrides;
    // Every value set, by its key ("qt") or, in the keys whose objects merge key by
    // key, by key and name ("checks.contrast", "widgets.VolumeMeter").
    QMap<QString, LintConfigSetting> settings;

    // This configuration with every override whose globs match the sheet applied on
    // top, later ones winning; a sheet without a path ("-") gets none.
    LintConfigResult forSheet(const QString &sheetPath) const;
};

// Whether a path relative to a configuration's directory matches a glob of its
// "overrides": "*" and "?" stay within one directory, "**/" spans any number of
// them, "[a-z]" and "{qss,css}" as in a shell. A glob without a "/" is matched
// against the file name alone. An invalid glob matches nothing.
bool lintGlobMatches(const QString &glob, const QString &relativePath);
// What is wrong with a glob, or "" when it is valid.
QString lintGlobError(const QString &glob);

// The nearest configuration file from the sheet's directory up to the root, or ""
// ("-" and other names without a directory start at the working directory).
QString findLintConfig(const QString &sheetPath);

// Reads one configuration file (a regular file of at most 1 MiB) and every file it
// extends; its overrides are kept for forSheet.
LintConfigResult readLintConfig(const QString &configPath);

// Adds Designer forms found otherwise (by a walk of a folder) to those the
// configuration's "forms" names, each once; what cannot be read is a warning.
void addApplicationForms(LintOptions &options, const QStringList &formPaths, QStringList *warnings);

// The configuration in force for a sheet: the nearest file (or configPath when one
// is named) with the overrides that match the sheet, or the defaults.
LintConfigResult lintConfigForSheet(const QString &sheetPath, const QString &configPath = {});
