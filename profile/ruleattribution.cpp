// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "profile/ruleattribution.h"

#include "analysis/matchwork.h"
#include "analysis/sheetmodel.h"

#include <QElapsedTimer>
#include <QHash>

#include <algorithm>
#include <numeric>

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

double Attribution::coverage() const
{
    if (added.median <= 0)
        return 0;
    double sum = 0;
    for (const UnitCost &unit : units)
        sum += unit.cost.median;
    return sum / added.median;
}

void rankUnits(QVector<UnitCost> &units, double noiseFloor)
{
    QVector<int> order(units.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&units](int a, int b) {
        return units.at(a).cost.median > units.at(b).cost.median;
    });
    int leader = -1;
    for (int place = 0; place < order.size(); ++place) {
        UnitCost &unit = units[order.at(place)];
        // Beyond noise: above its own spread and the floor, and more than a quarter of
        // its pairs below zero would leave it to chance.
        unit.withinNoise =
            unit.cost.lower <= 0 || unit.cost.median <= qMax(unit.cost.width(), noiseFloor);
        unit.tied = false;
        unit.rank = 0;
        if (unit.withinNoise)
            continue;
        // Apart from the leader of the rank above only by more than either's spread.
        if (leader >= 0) {
            UnitCost &first = units[leader];
            const double apart = first.cost.median - unit.cost.median;
            if (apart <= qMax(first.cost.width(), unit.cost.width())) {
                unit.rank = first.rank;
                unit.tied = first.tied = true;
                continue;
            }
        }
        unit.rank = place + 1;
        leader = order.at(place);
    }
}

Attribution attributeTime(const ApplyPass &apply, const QString &sheet,
                          const QVector<QString> &withoutUnits, const AttributionSettings &settings)
{
    QElapsedTimer clock;
    clock.start();
    // The baseline and each sheet with a unit left out, each measured right after a
    // pass of the whole sheet of its own: summed over many units, one shared
    // measurement of the whole sheet would add its error once per unit.
    QVector<QString> others{kBaselineSheet};
    others += withoutUnits;
    // The first passes load fonts and fill caches that every later pass finds full.
    apply(sheet);
    apply(kBaselineSheet);

    QVector<double> whole;
    QVector<double> baseline;
    QVector<QVector<double>> differences(others.size());
    Attribution result;
    Attribution previous;
    const auto summarise = [&](Attribution &into) {
        into.apply = spreadOf(whole);
        into.added = spreadOf(differences.at(0));
        into.baseline = spreadOf(baseline);
        into.units.resize(withoutUnits.size());
        for (int u = 0; u < withoutUnits.size(); ++u)
            into.units[u].cost = spreadOf(differences.at(u + 1));
    };
    for (int round = 0; round < settings.maxRounds; ++round) {
        // Each round starts one place later, so no text always follows the same one.
        for (int k = 0; k < others.size(); ++k) {
            const int i = (k + round) % others.size();
            // Which of the pair goes first alternates: a pass may run faster or slower
            // for what the one before it left warm or cold.
            const bool wholeFirst = (k + round) % 2 == 0;
            double full = wholeFirst ? apply(sheet) : 0;
            const double other = apply(others.at(i));
            if (!wholeFirst)
                full = apply(sheet);
            whole << full;
            differences[i] << full - other;
            if (i == 0)
                baseline << other;
        }
        result.rounds = round + 1;
        summarise(result);
        if (result.rounds < settings.minRounds)
            continue;
        if (result.rounds > settings.minRounds) {
            // A move within a quarter of a median's own spread changes no ranking.
            const double allowed = settings.settledChange * qMax(result.added.median, 0.01);
            const auto movedFrom = [allowed](const Spread &now, const Spread &before) {
                return qAbs(now.median - before.median) > qMax(allowed, now.width() / 4);
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
    rankUnits(result.units, result.apply.width());
    result.measuringMilliseconds = double(clock.nsecsElapsed()) / 1e6;
    return result;
}
