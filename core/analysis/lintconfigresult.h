// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include "analysis/lintoptions.h"

#include <QJsonObject>
#include <QJsonValue>
#include <QMap>
#include <QString>
#include <QStringList>
#include <QVector>

// A configuration as read, and as it stands for one sheet: its options, where each
// value came from, and the overrides still to apply.

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

// Notes each value of an applied object (a file's keys, an override's) as in force,
// and where it came from.
void recordSettings(const QJsonObject &keys, const QString &origin, LintConfigResult &result);
