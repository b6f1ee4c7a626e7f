// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include "analysis/matchwork.h"
#include "profiling/ruleattribution.h"

#include <QByteArray>
#include <QString>

class ProfileStage;
class SheetModel;

// Everything a profile measures on its stage: taken in prismark-profile for the
// gallery and forms, or inside the author's application and handed back as JSON.
struct ProfileMeasurement
{
    Attribution time; // over profileUnits() of the sheet, in that order
    // The passes' figures are instructions counted under callgrind, not milliseconds.
    bool instructions = false;
    Spread switchTime;
    bool heapMeasured = false;
    qint64 heapSheet = 0;
    qint64 heapBaseline = 0;
    MatchWork work;
    // False through the Python agent: the toolkit's matching is counted only inside
    // an application the attach plugin is in.
    bool workCounted = true;
    int windows = 0;
    double countingMilliseconds = 0;
};

// Switches from the built-in Light theme are measured this many times (fewer when
// settings allow fewer rounds).
constexpr int kSwitchRounds = 5;

// The stage must be settled. The model's text is what is applied.
ProfileMeasurement measureProfile(ProfileStage &stage, const SheetModel &model,
                                  const AttributionSettings &settings);

QByteArray measurementJson(const ProfileMeasurement &measurement);

// Reads what measurementJson() wrote, for a sheet of ruleCount rules measured in
// unitCount units; the units are ranked again here rather than taken on trust.
// Anything else (another sheet's figures, a number that is none) is refused with
// the reason, and into is left as it was.
bool readMeasurement(const QByteArray &json, int ruleCount, int unitCount, ProfileMeasurement *into,
                     QString *error);
