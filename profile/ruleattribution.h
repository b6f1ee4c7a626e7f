// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include <QString>
#include <QVector>

#include <functional>

class SheetModel;

// The time a sheet adds, attributed to its rules by leaving them out: in each round
// the sheet without each group of rules, and a sheet that matches nothing, is
// measured once, each right after a pass of the whole sheet, and the difference is
// taken within that pair, so that a machine drifting over the rounds moves both
// sides of it alike.

// Median and quartiles of repeated measurements.
struct Spread
{
    double median = 0;
    double lower = 0; // first quartile
    double upper = 0; // third quartile
    double width() const { return upper - lower; }
};
Spread spreadOf(QVector<double> samples);

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

// A sheet with one rule that no widget matches: it costs what the toolkit spends on
// a sheet at all, polishing every widget through the style sheet style.
extern const QString kBaselineSheet;

struct AttributionSettings
{
    int minRounds = 5;
    int maxRounds = 12;
    // Settled when, from one round to the next, no median moves by more than this
    // share of the added time or a quarter of its own spread, whichever is larger.
    double settledChange = 0.05;
    // No round starts after this much measuring, once minRounds are done.
    double budgetMilliseconds = 15000;
};

struct UnitCost
{
    Spread cost;             // whole sheet minus the sheet without the unit, per round
    bool withinNoise = true; // its median is inside its own spread, or below zero
    int rank = 0;            // 1 for the costliest; 0 within noise
    bool tied = false;       // as costly as another of the same rank, within the spread
};

struct Attribution
{
    Spread apply;    // the whole sheet
    Spread baseline; // the sheet that matches nothing
    Spread added;    // the whole sheet minus the baseline, per pair
    QVector<UnitCost> units;
    int rounds = 0;
    bool settled = false;
    double measuringMilliseconds = 0; // wall time of every pass, warm-up included
    // The attributions' medians summed, as a share of the added time's median.
    double coverage() const;
};

using ApplyPass = std::function<double(const QString &sheet)>;

Attribution attributeTime(const ApplyPass &apply, const QString &sheet,
                          const QVector<QString> &withoutUnits,
                          const AttributionSettings &settings);

// Sets withinNoise, rank and tied from the costs. noiseFloor: the spread of the
// whole sheet's own passes, below which no cost is told from the machine's noise.
void rankUnits(QVector<UnitCost> &units, double noiseFloor);
