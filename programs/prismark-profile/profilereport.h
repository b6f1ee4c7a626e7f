// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include "analysis/matchwork.h"
#include "profiling/ruleattribution.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVector>

#include <functional>

// What a profile found, and its three ways of telling it.

struct ProfiledRule
{
    int line = 0;
    QString selectors; // as written, joined by ", "
    RuleWork work;
    int workRank = 0; // 1 for the most matching work; equal work, equal rank
    int unit = 0;     // in ProfileReport::units
};

struct ProfiledUnit
{
    QString key;
    QVector<int> rules; // in ProfileReport::rules
    UnitCost time;
    qint64 tries = 0;
    qint64 matches = 0;
    qint64 ancestorSteps = 0;
    qint64 stateRestyles = 0;
    QStringList reasons;
};

struct ProfileReport
{
    QString sheetPath;
    QString variant;
    QString sheetText; // as the author wrote it: the template of a built sheet
    QString target;    // "the gallery", "2 forms", ...
    int windows = 0;
    int widgets = 0;
    int deepestTree = 0;
    Attribution time;
    bool instructions = false; // the figures are instructions counted, not milliseconds
    Spread switchTime;
    bool heapMeasured = false;
    bool workCounted = true; // the matching work was counted (not through the Python agent)
    qint64 heapSheet = 0;
    qint64 heapBaseline = 0;
    QVector<ProfiledRule> rules; // in the order of the sheet
    QVector<ProfiledUnit> units; // ranked first, by rank; then not separable; then minor
    double profileMilliseconds = 0;
    double countingMilliseconds = 0;
};

// Fills rules, units and their reasons from the model, the counts and the timing.
// authorLine: the line of the author's file a place of the model's text was written
// on (a template's, for a sheet built from one).
void describeRules(ProfileReport &report, const SheetModel &model, const MatchWork &work,
                   const QVector<ProfileUnit> &units,
                   const std::function<int(int offset)> &authorLine);

QString textReport(const ProfileReport &report, int top);
QByteArray jsonReport(const ProfileReport &report);
QString htmlReport(const ProfileReport &report);
