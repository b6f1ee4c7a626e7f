// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "profiling/ruleattribution.h"

#include "analysis/matchwork.h"
#include "analysis/sheetmodel.h"

#include <QElapsedTimer>
#include <QHash>

#include <algorithm>
#include <cmath>
#include <limits>
#include <numeric>
#include <random>

const QString kBaselineSheet = QStringLiteral("#prismarkProfileMatchesNothing { color: black; }");

namespace {

double quantile(const QVector<double> &sorted, double q)
{
    if (sorted.isEmpty())
        return 0;
    const double place = q * (sorted.size() - 1);
    const int below = int(place);
    const int above = qMin(below + 1, sorted.size() - 1);
    return sorted.at(below) + (sorted.at(above) - sorted.at(below)) * (place - below);
}

// Student's t, 0.99 one-sided, by degrees of freedom; beyond the table's last row
// the normal quantile.
double tQuantile(int freedom)
{
    static const double table[] = {31.821, 6.965, 4.541, 3.747, 3.365, 3.143, 2.998, 2.896,
                                   2.821,  2.764, 2.718, 2.681, 2.650, 2.624, 2.602, 2.583,
                                   2.567,  2.552, 2.539, 2.528, 2.518, 2.508, 2.500, 2.492,
                                   2.485,  2.479, 2.473, 2.467, 2.462, 2.457};
    constexpr int rows = int(sizeof(table) / sizeof(table[0]));
    if (freedom < 1)
        return std::numeric_limits<double>::infinity();
    if (freedom <= rows)
        return table[freedom - 1];
    return freedom <= 60 ? 2.423 : 2.326;
}

// The rounds a trimmed mean keeps: a fifth is trimmed at each end.
int trimmedCount(int rounds)
{
    return rounds - 2 * (rounds / 5);
}

QString unitKey(const SheetRule &rule)
{
    // An unindexed selector decides the group: it is what the rule costs most for.
    for (const SheetSelector &selector : rule.selectors) {
        if (toolkitIndexOf(selector) == ToolkitIndex::Unindexed)
            return toolkitIndexKey(selector);
    }
    return toolkitIndexKey(rule.selectors.constFirst());
}

} // namespace

Spread spreadOf(QVector<double> samples)
{
    std::sort(samples.begin(), samples.end());
    Spread spread;
    if (!samples.isEmpty())
        spread.mean = std::accumulate(samples.cbegin(), samples.cend(), 0.0) / samples.size();
    spread.median = quantile(samples, 0.5);
    spread.lower = quantile(samples, 0.25);
    spread.upper = quantile(samples, 0.75);
    return spread;
}

ShareEstimate shareEstimateOf(QVector<double> samples)
{
    ShareEstimate estimate;
    const int n = samples.size();
    if (n == 0)
        return estimate;
    std::sort(samples.begin(), samples.end());
    estimate.mean = std::accumulate(samples.cbegin(), samples.cend(), 0.0) / n;
    // Trimmed by a fifth at each end, with the Tukey-McLaughlin interval from the
    // winsorized variance: what a few passes slowed by another program do not move.
    const int g = n / 5;
    const int kept = trimmedCount(n);
    estimate.trimmed = std::accumulate(samples.cbegin() + g, samples.cend() - g, 0.0) / kept;
    if (n < 2) {
        estimate.lower = -std::numeric_limits<double>::infinity();
        estimate.upper = std::numeric_limits<double>::infinity();
        return estimate;
    }
    double winsorizedMean = 0;
    QVector<double> winsorized(n);
    for (int i = 0; i < n; ++i) {
        winsorized[i] = samples.at(qBound(g, i, n - 1 - g));
        winsorizedMean += winsorized.at(i) / n;
    }
    double variance = 0;
    for (const double value : qAsConst(winsorized))
        variance += (value - winsorizedMean) * (value - winsorizedMean) / (n - 1);
    const double error = std::sqrt(variance) * std::sqrt(double(n)) / kept;
    const double half = tQuantile(kept - 1) * error;
    estimate.lower = estimate.trimmed - half;
    estimate.upper = estimate.trimmed + half;
    return estimate;
}

QVector<ProfileUnit> profileUnits(const SheetModel &model)
{
    QVector<ProfileUnit> units;
    const bool oneByOne = model.rules.size() <= kRulesMeasuredOneByOne;
    QHash<QString, int> byKey;
    for (int i = 0; i < model.rules.size(); ++i) {
        const SheetRule &rule = model.rules.at(i);
        if (rule.selectors.isEmpty())
            continue;
        if (oneByOne) {
            QStringList texts;
            for (const SheetSelector &selector : rule.selectors)
                texts << selector.text;
            units.append({texts.join(QLatin1String(", ")), {i}});
            continue;
        }
        const QString key = unitKey(rule);
        const auto found = byKey.constFind(key);
        if (found != byKey.cend()) {
            units[*found].rules << i;
        } else {
            byKey.insert(key, units.size());
            units.append({key, {i}});
        }
    }
    return units;
}

QString sheetWithout(const SheetModel &model, const QVector<int> &rules)
{
    QString text = model.text;
    for (const int index : rules) {
        const SheetRule &rule = model.rules.at(index);
        for (int i = rule.offset; i < rule.endOffset && i < text.size(); ++i) {
            if (text.at(i) != QLatin1Char('\n'))
                text[i] = QLatin1Char(' ');
        }
    }
    // Without any rule the toolkit would not style through a sheet at all.
    if (rules.size() == model.rules.size())
        text += QLatin1Char('\n') + kBaselineSheet;
    return text;
}

QString sheetWithoutUnits(const SheetModel &model, const QVector<ProfileUnit> &units,
                          const QVector<int> &leftOut)
{
    QVector<int> rules;
    for (const int unit : leftOut)
        rules += units.at(unit).rules;
    return sheetWithout(model, rules);
}

double Attribution::coverage() const
{
    if (added.mean <= 0)
        return 0;
    double sum = 0;
    for (const UnitCost &unit : units)
        sum += unit.cost.mean;
    return sum / added.mean;
}

void rankUnits(QVector<UnitCost> &units, double costlyShare)
{
    QVector<int> order(units.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&units](int a, int b) {
        return units.at(a).share.trimmed > units.at(b).share.trimmed;
    });
    int leader = -1;
    int ranked = 0; // ranks count the groups above, as in a race; only costly groups rank
    for (int place = 0; place < order.size(); ++place) {
        UnitCost &unit = units[order.at(place)];
        // Decided only when the whole interval lies on one side of the costly share:
        // a group the rounds cannot place is said to be so, never guessed at.
        unit.verdict = unit.share.lower > costlyShare   ? Verdict::Costly
                       : unit.share.upper < costlyShare ? Verdict::Minor
                                                        : Verdict::NotSeparable;
        unit.withinNoise = unit.verdict != Verdict::Costly;
        unit.tied = false;
        unit.rank = 0;
        if (unit.withinNoise)
            continue;
        // Apart from the leader of the rank above only when their intervals are.
        if (leader >= 0) {
            UnitCost &first = units[leader];
            if (first.share.lower <= unit.share.upper) {
                unit.rank = first.rank;
                unit.tied = first.tied = true;
                ++ranked;
                continue;
            }
        }
        unit.rank = ++ranked;
        leader = order.at(place);
    }
}

namespace {

// The samples of every round so far.
struct RoundSamples
{
    QVector<double> whole;
    QVector<double> baseline;
    QVector<double> baselineShares;
    QVector<double> added;
    QVector<QVector<double>> saved;
    QVector<QVector<double>> shares;
};

// steps[k]: one pass of the sheet with the first k units of the order left out; the
// last step is the baseline itself, so the round's steps sum to its added time. Every
// other round walks back up: a pass may run faster or slower for what the one before
// it left warm or cold, and that should fall on no side. Each round starts on the
// sheet the one before it ended on, so no group's step carries that either.
QVector<double> walkRound(const ApplyPass &apply, const QString &sheet, const QVector<int> &order,
                          const SheetWithout &without, bool down)
{
    const int unitCount = order.size();
    QVector<double> steps(unitCount + 1);
    for (int i = 0; i <= unitCount; ++i) {
        const int k = down ? i : unitCount - i;
        steps[k] = apply(k == 0           ? sheet
                         : k == unitCount ? kBaselineSheet
                                          : without(order.mid(0, k)));
    }
    return steps;
}

void addRound(RoundSamples &samples, const QVector<double> &steps, const QVector<int> &order)
{
    samples.whole << steps.constFirst();
    samples.baseline << steps.constLast();
    samples.added << steps.constFirst() - steps.constLast();
    // Shares of this round's own apply: a round the machine slowed throughout counts
    // as much as any other.
    const double scale = steps.constFirst() > 0 ? steps.constFirst() : 1;
    samples.baselineShares << steps.constLast() / scale;
    for (int k = 0; k < order.size(); ++k) {
        samples.saved[order.at(k)] << steps.at(k) - steps.at(k + 1);
        samples.shares[order.at(k)] << (steps.at(k) - steps.at(k + 1)) / scale;
    }
}

void summarise(const RoundSamples &samples, double costlyShare, Attribution &result)
{
    result.apply = spreadOf(samples.whole);
    result.baseline = spreadOf(samples.baseline);
    result.added = spreadOf(samples.added);
    result.baselineShare = shareEstimateOf(samples.baselineShares);
    result.units.resize(samples.saved.size());
    for (int u = 0; u < samples.saved.size(); ++u) {
        result.units[u].cost = spreadOf(samples.saved.at(u));
        result.units[u].share = shareEstimateOf(samples.shares.at(u));
    }
    rankUnits(result.units, costlyShare);
}

// The rounds a group needs for its interval to clear the costly share: the interval
// narrows as the root of the rounds, and its quantile falls from the few rounds' towards
// the many's.
double roundsToPlace(const ShareEstimate &share, int rounds, double costlyShare)
{
    const double distance = qAbs(share.trimmed - costlyShare);
    const double half = (share.upper - share.lower) / 2;
    if (rounds < 2 || !std::isfinite(half))
        return rounds + 1;
    if (distance <= 0)
        return std::numeric_limits<double>::infinity();
    const double settledHalf =
        half * tQuantile(std::numeric_limits<int>::max()) / tQuantile(trimmedCount(rounds) - 1);
    return qMax(double(rounds), rounds * (settledHalf / distance) * (settledHalf / distance));
}

// Whether another round is worth its time: some group not yet placed is likely to be
// placed before its deadline, at the pace rounds have come so far. A group whose share
// is likely above the costly share (a culprit half found) may take three budgets; any
// other, one. A group that sits on the costly share is never placed, and waiting for it
// only makes the profile long.
bool worthAnotherRound(const Attribution &result, double elapsed,
                       const AttributionSettings &settings)
{
    const double perRound = qMax(elapsed / result.rounds, 1e-3);
    for (const UnitCost &unit : result.units) {
        if (unit.verdict != Verdict::NotSeparable)
            continue;
        const bool halfFound = unit.share.trimmed >= settings.costlyShare;
        const double deadline = (halfFound ? 3 : 1) * settings.budgetMilliseconds;
        const double affordable = result.rounds + (deadline - elapsed) / perRound;
        if (roundsToPlace(unit.share, result.rounds, settings.costlyShare) <= affordable)
            return true;
    }
    return false;
}

} // namespace

Attribution attributeTime(const ApplyPass &apply, const QString &sheet, int unitCount,
                          const SheetWithout &without, const AttributionSettings &settings)
{
    QElapsedTimer clock;
    clock.start();
    // The first passes load fonts and fill caches that later passes find full: one
    // round walked up unmeasured, ending on the whole sheet, where the first round
    // starts. (Two passes were not enough: counted under callgrind, the third pass
    // of the gallery with a font-size rule ran a fifth fewer instructions than every
    // later pass of the same sheet.)
    QVector<int> order(unitCount);
    std::iota(order.begin(), order.end(), 0);
    walkRound(apply, sheet, order, without, false);

    // A fixed seed: the same sheet is walked in the same orders run after run.
    std::mt19937 random(20261209);
    RoundSamples samples;
    samples.saved.resize(unitCount);
    samples.shares.resize(unitCount);
    Attribution result;
    for (int round = 0; round < settings.maxRounds; ++round) {
        std::shuffle(order.begin(), order.end(), random);
        const bool down = round % 2 == 0;
        addRound(samples, walkRound(apply, sheet, order, without, down), order);
        result.rounds = round + 1;
        if (settings.roundMeasured)
            settings.roundMeasured(result.rounds);
        summarise(samples, settings.costlyShare, result);
        if (result.rounds < settings.minRounds)
            continue;
        // Done when every group is placed on one side of the costly share, or when no
        // group left is likely to be in the time there is.
        result.settled =
            std::none_of(result.units.cbegin(), result.units.cend(), [](const UnitCost &unit) {
                return unit.verdict == Verdict::NotSeparable;
            });
        if (result.settled || !worthAnotherRound(result, double(clock.elapsed()), settings))
            break;
    }
    result.measuringMilliseconds = double(clock.nsecsElapsed()) / 1e6;
    return result;
}
