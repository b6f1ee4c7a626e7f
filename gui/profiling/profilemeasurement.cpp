// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "profiling/profilemeasurement.h"

#include "analysis/sheetmodel.h"
#include "profiling/profilestage.h"

#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cmath>
#include <limits>

namespace {

// The class of the base style the stage draws over, for [style="..."] selectors.
const QString kStageStyleClass = QStringLiteral("QFusionStyle");

const QString kApply = QStringLiteral("apply");
const QString kBaseline = QStringLiteral("baseline");
const QString kAdded = QStringLiteral("added");
const QString kUnits = QStringLiteral("units");
const QString kRounds = QStringLiteral("rounds");
const QString kSettled = QStringLiteral("settled");
const QString kMeasuring = QStringLiteral("measuringMilliseconds");
const QString kSwitch = QStringLiteral("switch");
const QString kHeapMeasured = QStringLiteral("heapMeasured");
const QString kHeapSheet = QStringLiteral("heapSheet");
const QString kHeapBaseline = QStringLiteral("heapBaseline");
const QString kRules = QStringLiteral("rules");
const QString kObjects = QStringLiteral("objects");
const QString kDeepest = QStringLiteral("deepestTree");
const QString kWindows = QStringLiteral("windows");
const QString kCounting = QStringLiteral("countingMilliseconds");
const QString kMean = QStringLiteral("mean");
const QString kMedian = QStringLiteral("median");
const QString kLower = QStringLiteral("lower");
const QString kUpper = QStringLiteral("upper");
const QString kTries = QStringLiteral("tries");
const QString kMatches = QStringLiteral("matches");
const QString kSteps = QStringLiteral("ancestorSteps");
const QString kRestyles = QStringLiteral("stateRestyles");
const QString kUnindexed = QStringLiteral("unindexed");
const QString kDescendant = QStringLiteral("descendant");
const QString kRelayout = QStringLiteral("relayout");
const QString kQProperty = QStringLiteral("qproperty");
const QString kShare = QStringLiteral("share");
const QString kBaselineShare = QStringLiteral("baselineShare");
const QString kTrimmed = QStringLiteral("trimmed");
const QString kInstructions = QStringLiteral("instructions");

// Counts a JSON double holds exactly; the largest trees are far below.
constexpr double kMostCount = 1e15;
constexpr int kMostRounds = 100000;

QJsonObject spreadJson(const Spread &spread)
{
    return {{kMean, spread.mean},
            {kMedian, spread.median},
            {kLower, spread.lower},
            {kUpper, spread.upper}};
}

// An interval of one round is unbounded, written as null.
QJsonValue boundJson(double bound)
{
    return std::isfinite(bound) ? QJsonValue(bound) : QJsonValue();
}

QJsonObject shareJson(const ShareEstimate &share)
{
    return {{kMean, share.mean},
            {kTrimmed, share.trimmed},
            {kLower, boundJson(share.lower)},
            {kUpper, boundJson(share.upper)}};
}

QJsonObject ruleWorkJson(const RuleWork &work)
{
    return {{kTries, double(work.tries)},         {kMatches, double(work.matches)},
            {kSteps, double(work.ancestorSteps)}, {kRestyles, double(work.stateRestyles)},
            {kUnindexed, work.unindexed},         {kDescendant, work.descendant},
            {kRelayout, work.relayout},           {kQProperty, work.qproperty}};
}

// Reading stops at the first value that is not what was written; the reader
// remembers which.
class Reader
{
public:
    QString problem;

    double number(const QJsonObject &object, const QString &key)
    {
        const QJsonValue value = object.value(key);
        if (!value.isDouble() || !std::isfinite(value.toDouble()))
            fail(QStringLiteral("\"%1\" is not a number").arg(key));
        return value.toDouble();
    }
    qint64 count(const QJsonObject &object, const QString &key, double most = kMostCount,
                 double least = 0)
    {
        const double value = number(object, key);
        if (!(value >= least && value <= most) || value != std::floor(value))
            fail(QStringLiteral("\"%1\" is not a count").arg(key));
        return problem.isEmpty() ? qint64(value) : 0;
    }
    bool flag(const QJsonObject &object, const QString &key)
    {
        const QJsonValue value = object.value(key);
        if (!value.isBool())
            fail(QStringLiteral("\"%1\" is not true or false").arg(key));
        return value.toBool();
    }
    QJsonArray array(const QJsonObject &parent, const QString &key, int size)
    {
        const QJsonArray items = parent.value(key).toArray();
        if (!parent.value(key).isArray() || items.size() != size)
            fail(QStringLiteral("\"%1\" holds %2 entries, not the sheet's %3")
                     .arg(key)
                     .arg(items.size())
                     .arg(size));
        return items;
    }
    Spread spread(const QJsonObject &parent, const QString &key)
    {
        return spread(parent.value(key), key);
    }
    Spread spread(const QJsonValue &value, const QString &what)
    {
        if (!value.isObject())
            fail(QStringLiteral("\"%1\" is not an object").arg(what));
        const QJsonObject fields = value.toObject();
        Spread spread;
        spread.mean = number(fields, kMean);
        spread.median = number(fields, kMedian);
        spread.lower = number(fields, kLower);
        spread.upper = number(fields, kUpper);
        return spread;
    }
    ShareEstimate share(const QJsonValue &value, const QString &what)
    {
        if (!value.isObject())
            fail(QStringLiteral("\"%1\" is not an object").arg(what));
        const QJsonObject fields = value.toObject();
        ShareEstimate share;
        share.mean = number(fields, kMean);
        share.trimmed = number(fields, kTrimmed);
        share.lower = bound(fields, kLower, -1);
        share.upper = bound(fields, kUpper, 1);
        if (share.lower > share.upper)
            fail(QStringLiteral("\"%1\" has its bounds the wrong way round").arg(what));
        return share;
    }
    double bound(const QJsonObject &fields, const QString &key, int side)
    {
        if (fields.value(key).isNull())
            return side * std::numeric_limits<double>::infinity();
        return number(fields, key);
    }
    RuleWork ruleWork(const QJsonValue &value, int rule)
    {
        if (!value.isObject())
            fail(QStringLiteral("a rule's work is not an object"));
        const QJsonObject fields = value.toObject();
        RuleWork work;
        work.rule = rule;
        work.tries = count(fields, kTries);
        work.matches = count(fields, kMatches);
        work.ancestorSteps = count(fields, kSteps);
        work.stateRestyles = count(fields, kRestyles);
        work.unindexed = flag(fields, kUnindexed);
        work.descendant = flag(fields, kDescendant);
        work.relayout = flag(fields, kRelayout);
        work.qproperty = flag(fields, kQProperty);
        return work;
    }

private:
    void fail(const QString &what)
    {
        if (problem.isEmpty())
            problem = what;
    }
};

} // namespace

ProfileMeasurement measureProfile(ProfileStage &stage, const SheetModel &model,
                                  const AttributionSettings &settings)
{
    ProfileMeasurement measurement;
    const QVector<ProfileUnit> units = profileUnits(model);
    measurement.time =
        attributeTime([&stage](const QString &sheet) { return stage.applyMilliseconds(sheet); },
                      model.text, units.size(),
                      [&model, &units](const QVector<int> &leftOut) {
                          return sheetWithoutUnits(model, units, leftOut);
                      },
                      settings);

    measurement.instructions = ProfileStage::countsInstructions();
    QVector<double> switches;
    // Counted instructions come out the same every time.
    const int switchRounds = measurement.instructions ? 1 : kSwitchRounds;
    for (int round = 0; round < qMin(switchRounds, settings.maxRounds); ++round)
        switches << stage.switchMilliseconds(model.text);
    measurement.switchTime = spreadOf(switches);
    measurement.heapMeasured = heapGrowthMeasured();
    if (measurement.heapMeasured) {
        measurement.heapBaseline = stage.heapGrowth(kBaselineSheet);
        measurement.heapSheet = stage.heapGrowth(model.text);
    }

    QElapsedTimer counting;
    counting.start();
    measurement.work = countMatchWork(model, stage.widgets(), kStageStyleClass);
    measurement.countingMilliseconds = double(counting.nsecsElapsed()) / 1e6;
    measurement.windows = stage.windowCount();
    return measurement;
}

QByteArray measurementJson(const ProfileMeasurement &measurement)
{
    const Attribution &time = measurement.time;
    QJsonArray units;
    for (const UnitCost &unit : time.units) {
        QJsonObject fields = spreadJson(unit.cost);
        fields.insert(kShare, shareJson(unit.share));
        units.append(fields);
    }
    QJsonArray rules;
    for (const RuleWork &work : measurement.work.rules)
        rules.append(ruleWorkJson(work));
    const QJsonObject json{{kApply, spreadJson(time.apply)},
                           {kBaseline, spreadJson(time.baseline)},
                           {kAdded, spreadJson(time.added)},
                           {kBaselineShare, shareJson(time.baselineShare)},
                           {kUnits, units},
                           {kInstructions, measurement.instructions},
                           {kRounds, time.rounds},
                           {kSettled, time.settled},
                           {kMeasuring, time.measuringMilliseconds},
                           {kSwitch, spreadJson(measurement.switchTime)},
                           {kHeapMeasured, measurement.heapMeasured},
                           {kHeapSheet, double(measurement.heapSheet)},
                           {kHeapBaseline, double(measurement.heapBaseline)},
                           {kRules, rules},
                           {kObjects, measurement.work.objects},
                           {kDeepest, measurement.work.deepestTree},
                           {kWindows, measurement.windows},
                           {kCounting, measurement.countingMilliseconds}};
    return QJsonDocument(json).toJson(QJsonDocument::Compact);
}

bool readMeasurement(const QByteArray &json, int ruleCount, int unitCount, ProfileMeasurement *into,
                     QString *error)
{
    QJsonParseError parseError{};
    const QJsonDocument document = QJsonDocument::fromJson(json, &parseError);
    if (!document.isObject()) {
        *error = parseError.error == QJsonParseError::NoError ? QStringLiteral("not a JSON object")
                                                              : parseError.errorString();
        return false;
    }
    const QJsonObject root = document.object();
    Reader read;
    ProfileMeasurement measurement;
    Attribution &time = measurement.time;
    time.apply = read.spread(root, kApply);
    time.baseline = read.spread(root, kBaseline);
    time.added = read.spread(root, kAdded);
    const QJsonArray units = read.array(root, kUnits, unitCount);
    time.units.resize(units.size());
    for (int unit = 0; unit < units.size() && read.problem.isEmpty(); ++unit) {
        UnitCost &cost = time.units[unit];
        cost.cost = read.spread(units.at(unit), kUnits);
        cost.share = read.share(units.at(unit).toObject().value(kShare), kShare);
    }
    time.baselineShare = read.share(root.value(kBaselineShare), kBaselineShare);
    measurement.instructions = read.flag(root, kInstructions);
    time.rounds = int(read.count(root, kRounds, kMostRounds));
    time.settled = read.flag(root, kSettled);
    time.measuringMilliseconds = read.number(root, kMeasuring);
    measurement.switchTime = read.spread(root, kSwitch);
    measurement.heapMeasured = read.flag(root, kHeapMeasured);
    // Growth may be below zero: a pass can hand memory back.
    measurement.heapSheet = read.count(root, kHeapSheet, kMostCount, -kMostCount);
    measurement.heapBaseline = read.count(root, kHeapBaseline, kMostCount, -kMostCount);
    const QJsonArray rules = read.array(root, kRules, ruleCount);
    for (int rule = 0; rule < rules.size() && read.problem.isEmpty(); ++rule)
        measurement.work.rules.append(read.ruleWork(rules.at(rule), rule));
    measurement.work.objects = int(read.count(root, kObjects, INT_MAX));
    measurement.work.deepestTree = int(read.count(root, kDeepest, INT_MAX));
    measurement.windows = int(read.count(root, kWindows, INT_MAX));
    measurement.countingMilliseconds = read.number(root, kCounting);
    if (!read.problem.isEmpty()) {
        *error = read.problem;
        return false;
    }
    rankUnits(time.units);
    *into = measurement;
    return true;
}
