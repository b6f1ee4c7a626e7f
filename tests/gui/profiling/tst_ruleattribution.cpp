// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "profiling/ruleattribution.h"

#include <QtTest>

#include <random>

// The attribution walked on a machine of its own making: a pass's time is a sum the
// test chooses, so what each group gets and how it ranks can be told exactly.
class TestRuleAttribution : public QObject
{
    Q_OBJECT

private slots:
    void attributionsAddUpToTheAddedTime();
    void plantedCostRanksFirstAndCheapGroupsStayInNoise();
    void ranks_data();
    void ranks();
};

namespace {

// Sheets named by the groups still in them: "1,3", or "all".
struct FakeMachine
{
    QVector<double> costs; // each group's own cost
    double shared = 0;     // paid once when group 0 or 1 (or both) is there
    double noise = 0;      // each pass off by up to this, either way
    std::mt19937 random{7};

    QString sheetWithout(const QVector<int> &leftOut) const
    {
        QStringList present;
        for (int g = 0; g < costs.size(); ++g) {
            if (!leftOut.contains(g))
                present << QString::number(g);
        }
        return present.join(QLatin1Char(','));
    }
    double apply(const QString &sheet)
    {
        double time = 10;
        if (sheet != kBaselineSheet) {
            QVector<int> present;
            if (sheet == QLatin1String("all")) {
                for (int g = 0; g < costs.size(); ++g)
                    present << g;
            } else if (!sheet.isEmpty()) {
                for (const QString &g : sheet.split(QLatin1Char(',')))
                    present << g.toInt();
            }
            for (const int g : present)
                time += costs.at(g);
            if (present.contains(0) || present.contains(1))
                time += shared;
        }
        std::uniform_real_distribution<double> jitter(-noise, noise);
        return time + jitter(random);
    }
    Attribution attribute(int rounds)
    {
        AttributionSettings settings;
        settings.minRounds = settings.maxRounds = rounds;
        return attributeTime([this](const QString &sheet) { return apply(sheet); },
                             QStringLiteral("all"), costs.size(),
                             [this](const QVector<int> &leftOut) { return sheetWithout(leftOut); },
                             settings);
    }
};

UnitCost costOf(double lower, double median, double upper)
{
    UnitCost unit;
    unit.cost.lower = lower;
    unit.cost.median = unit.cost.mean = median;
    unit.cost.upper = upper;
    return unit;
}

} // namespace

Q_DECLARE_METATYPE(UnitCost)

// Two groups that share a cost (leaving either out alone saves nothing of it) still
// account, between them, for all of it: the sum closes in every round.
void TestRuleAttribution::attributionsAddUpToTheAddedTime()
{
    FakeMachine machine;
    machine.costs = {0.5, 0.5, 1, 0};
    machine.shared = 4;
    const Attribution result = machine.attribute(8);
    QCOMPARE(result.units.size(), 4);
    QCOMPARE(result.added.mean, 6.0);
    QVERIFY(qAbs(result.coverage() - 1) < 1e-9);
    const double split = result.units.at(0).cost.mean + result.units.at(1).cost.mean;
    QVERIFY(qAbs(split - 5) < 1e-9);
    QVERIFY(result.units.at(0).cost.mean > 0.5 && result.units.at(1).cost.mean > 0.5);
    QCOMPARE(result.units.at(2).cost.mean, 1.0);
    QCOMPARE(result.units.at(3).cost.mean, 0.0);
}

void TestRuleAttribution::plantedCostRanksFirstAndCheapGroupsStayInNoise()
{
    FakeMachine machine;
    machine.costs = {0.02, 0.01, 6, 0.03, 0.01, 0.02};
    machine.noise = 0.4;
    const Attribution result = machine.attribute(9);
    QVERIFY(qAbs(result.coverage() - 1) < 1e-9);
    for (int g = 0; g < machine.costs.size(); ++g) {
        const UnitCost &unit = result.units.at(g);
        if (g == 2) {
            QCOMPARE(unit.rank, 1);
            QVERIFY(!unit.withinNoise && !unit.tied);
        } else {
            QVERIFY2(unit.withinNoise, qPrintable(QString::number(g)));
            QCOMPARE(unit.rank, 0);
        }
    }
}

void TestRuleAttribution::ranks_data()
{
    QTest::addColumn<QVector<UnitCost>>("units");
    QTest::addColumn<QVector<int>>("expected"); // 0: within noise; negative: tied at -rank

    QTest::newRow("the costliest first, noise unranked")
        << QVector<UnitCost>{costOf(0.1, 0.2, 0.3), costOf(4, 5, 6), costOf(1.5, 2, 2.5)}
        << QVector<int>{0, 1, 2};
    QTest::newRow("noisy costlier group does not push the first ranked to second")
        << QVector<UnitCost>{costOf(-1, 3, 8), costOf(1.8, 2, 2.2)} << QVector<int>{0, 1};
    QTest::newRow("groups apart by less than their spread share a rank")
        << QVector<UnitCost>{costOf(4, 5, 6), costOf(3.5, 4.5, 5.5), costOf(0.9, 1, 1.1)}
        << QVector<int>{-1, -1, 3};
    QTest::newRow("below the machine's noise floor")
        << QVector<UnitCost>{costOf(0.35, 0.4, 0.45)} << QVector<int>{0};
}

void TestRuleAttribution::ranks()
{
    QFETCH(QVector<UnitCost>, units);
    QFETCH(QVector<int>, expected);
    rankUnits(units, 1.0 / 2);
    for (int i = 0; i < units.size(); ++i) {
        const UnitCost &unit = units.at(i);
        const int want = expected.at(i);
        QCOMPARE(unit.withinNoise, want == 0);
        QCOMPARE(unit.rank, qAbs(want));
        QCOMPARE(unit.tied, want < 0);
    }
}

QTEST_GUILESS_MAIN(TestRuleAttribution)
#include "tst_ruleattribution.moc"
