// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include <QString>
#include <QVector>

#include <functional>

class SheetModel;

// The time a sheet adds, attributed to its rules by taking them away one group at a
// time: each round walks from the whole sheet down to a sheet that matches nothing
// (or back up), the groups in an order of their own, and a group's cost in that
// round is the time its step saved. The steps of a round add up to that round's
// added time, so the attributions account for all of it; over rounds in shuffled
// orders each group's mean is its average share whichever groups are still there
// (rules interact: a widget two rules match is restyled once).

// Mean, median and quartiles of repeated measurements.
struct Spread
{
    double mean = 0;
    double median = 0;
    double lower = 0; // first quartile
    double upper = 0; // third quartile
    double width() const { return upper - lower; }
};
Spread spreadOf(QVector<double> samples);

// A group's cost as a share of the apply (the whole sheet's pass of the same round),
// over the rounds. A share of a pass measured beside it moves little when the machine
// slows every pass alike, and the trimmed mean moves little for a pass it slowed alone.
struct ShareEstimate
{
    double mean = 0;    // what adds up: the means of all groups and the baseline make 1
    double trimmed = 0; // the mean of the middle 60% of the rounds
    double lower = 0;   // the trimmed mean's 98% confidence interval
    double upper = 0;
};
ShareEstimate shareEstimateOf(QVector<double> samples);

// Rules measured together: those filed under the same rightmost selector (the type,
// #id, or an unindexed compound), or each rule alone on a sheet this short.
constexpr int kRulesMeasuredOneByOne = 24;
struct ProfileUnit
{
    QString key;
    QVector<int> rules; // in SheetModel::rules
};
QVector<ProfileUnit> profileUnits(const SheetModel &model);

// The sheet with these rules blanked out (line breaks kept, so lines still agree).
QString sheetWithout(const SheetModel &model, const QVector<int> &rules);
// The sheet without the rules of these units.
QString sheetWithoutUnits(const SheetModel &model, const QVector<ProfileUnit> &units,
                          const QVector<int> &leftOut);

// A sheet with one rule that no widget matches: it costs what the toolkit spends on
// a sheet at all, polishing every widget through the style sheet style.
extern const QString kBaselineSheet;

// A group costs enough to be ranked when it surely costs at least this share of the
// apply: a share, so that a machine that slows every pass does not move it.
constexpr double kCostlyShare = 0.05;

struct AttributionSettings
{
    // Each pass is run once per round: on a busy machine two passes in a row differ
    // about as much whether each is one try or the least of three, so rounds of single
    // tries tell more for the time. Eight rounds give a trimmed mean six to stand on.
    int minRounds = 8;
    int maxRounds = 100;
    double costlyShare = kCostlyShare;
    // Once minRounds are done, rounds go on only while a group not yet placed is
    // likely to be placed by this much measuring (three times this for a group likely
    // above the costly share).
    double budgetMilliseconds = 25000;
    // Told after each round, with the rounds done so far; may be empty.
    std::function<void(int rounds)> roundMeasured;
};

enum class Verdict
{
    Costly,       // surely at least the costly share of the apply: ranked
    Minor,        // surely less
    NotSeparable, // the rounds could not tell which
};

struct UnitCost
{
    Spread cost; // the time (or instructions) its step saved, per round
    ShareEstimate share;
    Verdict verdict = Verdict::NotSeparable;
    bool withinNoise = true; // not ranked: minor or not separable
    int rank = 0;            // 1 for the costliest; 0 when not ranked
    bool tied = false;       // as costly as another of the same rank, within their intervals
};

struct Attribution
{
    Spread apply;                // the whole sheet
    Spread baseline;             // the sheet that matches nothing
    Spread added;                // the whole sheet minus the baseline, per round
    ShareEstimate baselineShare; // the baseline as a share of the apply
    QVector<UnitCost> units;
    int rounds = 0;
    bool settled = false;             // every group's verdict was reached
    double measuringMilliseconds = 0; // wall time of every pass, warm-up included
    // The attributions' means summed, as a share of the added time's mean.
    double coverage() const;
};

using ApplyPass = std::function<double(const QString &sheet)>;
// The sheet with the given units (indexes into the unit list) left out.
using SheetWithout = std::function<QString(const QVector<int> &leftOut)>;

Attribution attributeTime(const ApplyPass &apply, const QString &sheet, int unitCount,
                          const SheetWithout &without, const AttributionSettings &settings);

// Sets verdict, withinNoise, rank and tied from the shares' intervals.
void rankUnits(QVector<UnitCost> &units, double costlyShare = kCostlyShare);
