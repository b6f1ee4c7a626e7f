// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "profiling/ruleattribution.h"

#include "analysis/matchwork.h"
#include "analysis/sheetmodel.h"

#include <QElapsedTimer>
#include <QHash>

#include <algorithm>
#include <cmath>
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

void rankUnits(QVector<UnitCost> &units, double noiseFloor)
{
    QVector<int> order(units.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&units](int a, int b) {
        return units.at(a).cost.mean > units.at(b).cost.mean;
    });
    int leader = -1;
    int ranked = 0; // ranks count the groups above, as in a race; noise is not ranked
    for (int place = 0; place < order.size(); ++place) {
        UnitCost &unit = units[order.at(place)];
        // Beyond noise: above its own spread and the floor by its mean (what adds up)
        // and its median (what one slow pass cannot move); more than a quarter of its
        // steps below zero would leave it to chance.
        const double noise = qMax(unit.cost.width(), noiseFloor);
        unit.withinNoise =
            unit.cost.lower <= 0 || unit.cost.mean <= noise || unit.cost.median <= noise;
        unit.tied = false;
        unit.rank = 0;
        if (unit.withinNoise)
            continue;
        // Apart from the leader of the rank above only by more than either's spread.
        if (leader >= 0) {
            UnitCost &first = units[leader];
            const double apart = first.cost.mean - unit.cost.mean;
            if (apart <= qMax(first.cost.width(), unit.cost.width())) {
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

Attribution attributeTime(const ApplyPass &apply, const QString &sheet, int unitCount,
                          const SheetWithout &without, const AttributionSettings &settings)
{
    QElapsedTimer clock;
    clock.start();
    // The first passes load fonts and fill caches that every later pass finds full.
    apply(sheet);
    apply(kBaselineSheet);

    // A fixed seed: the same sheet is walked in the same orders run after run.
    std::mt19937 random(20261209);
    QVector<int> order(unitCount);
    std::iota(order.begin(), order.end(), 0);

    QVector<double> whole;
    QVector<double> baseline;
    QVector<double> added;
    QVector<QVector<double>> saved(unitCount);
    Attribution result;
    Attribution previous;
    for (int round = 0; round < settings.maxRounds; ++round) {
        std::shuffle(order.begin(), order.end(), random);
        // steps[k]: the sheet with the first k units of the order left out; the last
        // step is the baseline itself, so the round's steps sum to its added time.
        QVector<double> steps(unitCount + 1);
        const auto sheetAt = [&](int k) {
            if (k == 0)
                return sheet;
            if (k == unitCount)
                return kBaselineSheet;
            return without(order.mid(0, k));
        };
        // Every other round walks back up: a pass may run faster or slower for what
        // the one before it left warm or cold, and that should fall on no side.
        const bool down = round % 2 == 0;
        // The round's first pass follows the last round's last sheet, not its own
        // neighbour: run it once unmeasured, so that no group's step carries that.
        apply(sheetAt(down ? 0 : unitCount));
        for (int i = 0; i <= unitCount; ++i) {
            const int k = down ? i : unitCount - i;
            steps[k] = apply(sheetAt(k));
        }
        whole << steps.constFirst();
        baseline << steps.constLast();
        added << steps.constFirst() - steps.constLast();
        for (int k = 0; k < unitCount; ++k)
            saved[order.at(k)] << steps.at(k) - steps.at(k + 1);

        result.rounds = round + 1;
        if (settings.roundMeasured)
            settings.roundMeasured(result.rounds);
        result.apply = spreadOf(whole);
        result.baseline = spreadOf(baseline);
        result.added = spreadOf(added);
        result.units.resize(unitCount);
        for (int u = 0; u < unitCount; ++u)
            result.units[u].cost = spreadOf(saved.at(u));
        if (result.rounds < settings.minRounds) {
            previous = result;
            continue;
        }
        if (result.rounds > settings.minRounds) {
            // A move within a quarter of a mean's own spread changes no ranking.
            const double allowed = settings.settledChange * qMax(result.added.mean, 0.01);
            const auto movedFrom = [allowed](const Spread &now, const Spread &before) {
                return qAbs(now.mean - before.mean) > qMax(allowed, now.width() / 4);
            };
            bool moved = movedFrom(result.added, previous.added);
            for (int u = 0; !moved && u < result.units.size(); ++u)
                moved = movedFrom(result.units.at(u).cost, previous.units.at(u).cost);
            if (!moved) {
                result.settled = true;
                break;
            }
        }
        previous = result;
        if (clock.elapsed() > settings.budgetMilliseconds)
            break;
    }
    // A step is the difference of two passes, each as unsteady as the whole sheet's
    // or the baseline's: their spreads add, about as the root of two of the larger.
    rankUnits(result.units, std::sqrt(2.0) * qMax(result.apply.width(), result.baseline.width()));
    result.measuringMilliseconds = double(clock.nsecsElapsed()) / 1e6;
    return result;
}
