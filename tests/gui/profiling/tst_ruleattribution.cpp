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
    void verdictsHoldUnderLoad_data();
    void verdictsHoldUnderLoad();
    void tooNoisyToTellIsSaid();
    void roundsEndWhenNoneWouldPlaceAGroup();
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
    // Another program, as this machine's processor time feels it: while it runs, each
    // pass slowed by slowdown, give or take spread (a busy core slows passes unevenly);
    // it runs throughout (loadPasses < 0) or on for loadPasses passes and off for as
    // many (never when 0); and one pass in spikeEvery (none when 0) slowed by spike.
    double slowdown = 1;
    double spread = 0;
    int loadPasses = 0;
    int spikeEvery = 0;
    double spike = 0;
    int passes = 0;
    unsigned long passMicroseconds = 0; // the time a pass takes, at the least
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
        ++passes;
        if (passMicroseconds > 0)
            QThread::usleep(passMicroseconds);
        std::uniform_real_distribution<double> uneven(slowdown - spread, slowdown + spread);
        if (loadPasses < 0 || (loadPasses > 0 && (passes / loadPasses) % 2 == 1))
            time *= uneven(random);
        if (spikeEvery > 0 && passes % spikeEvery == 0)
            time += spike;
        return time + jitter(random);
    }
    Attribution attribute(int rounds, int minRounds = -1)
    {
        AttributionSettings settings;
        settings.maxRounds = rounds;
        settings.minRounds = minRounds < 0 ? rounds : minRounds;
        return attribute(settings);
    }
    Attribution attribute(const AttributionSettings &settings)
    {
        return attributeTime([this](const QString &sheet) { return apply(sheet); },
                             QStringLiteral("all"), costs.size(),
                             [this](const QVector<int> &leftOut) { return sheetWithout(leftOut); },
                             settings);
    }
};

UnitCost shareOf(double lower, double trimmed, double upper)
{
    UnitCost unit;
    unit.share.lower = lower;
    unit.share.trimmed = unit.share.mean = trimmed;
    unit.share.upper = upper;
    return unit;
}

// As the report writes a rank: "1", "=1", "-" for minor, "?" for not separable.
QString rankOf(const UnitCost &unit)
{
    if (unit.verdict == Verdict::NotSeparable)
        return QStringLiteral("?");
    if (unit.verdict == Verdict::Minor)
        return QStringLiteral("-");
    return (unit.tied ? QStringLiteral("=") : QString()) + QString::number(unit.rank);
}

} // namespace

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

// The verdicts a reader acts on come out the same on a quiet machine and under each
// load, and a cheap group is never blamed: the planted group alone ranked first, and
// the shares (of each round's own apply) still add up.
void TestRuleAttribution::verdictsHoldUnderLoad_data()
{
    QTest::addColumn<double>("spread");
    QTest::addColumn<int>("loadPasses");
    QTest::addColumn<int>("spikeEvery");
    // As measured beside builds on two cores: a pass's processor time varies by a
    // tenth to a sixth from one pass to the next, widely rather than in rare spikes.
    QTest::newRow("quiet") << 0.0 << 0 << 0;
    QTest::newRow("steady load") << 0.3 << -1 << 0;
    QTest::newRow("load that comes and goes") << 0.3 << 60 << 0;
    QTest::newRow("another program now and then") << 0.0 << 0 << 5;
    QTest::newRow("all of them") << 0.3 << 60 << 5;
}

void TestRuleAttribution::verdictsHoldUnderLoad()
{
    QFETCH(double, spread);
    QFETCH(int, loadPasses);
    QFETCH(int, spikeEvery);
    FakeMachine machine;
    machine.costs = {0.05, 0.02, 4, 0.03, 0.01, 0.02, 0.04};
    machine.noise = 0.2;
    machine.slowdown = 1.6;
    machine.spread = spread;
    machine.loadPasses = loadPasses;
    machine.spikeEvery = spikeEvery;
    machine.spike = 6; // more than the planted group costs
    const Attribution result = machine.attribute(400, 8);
    QVERIFY(result.settled);
    double shares = result.baselineShare.mean;
    for (int g = 0; g < machine.costs.size(); ++g) {
        shares += result.units.at(g).share.mean;
        QCOMPARE(rankOf(result.units.at(g)), g == 2 ? QStringLiteral("1") : QStringLiteral("-"));
    }
    QVERIFY(qAbs(shares - 1) < 1e-9);
}

// Passes far noisier than any group's cost, and too few rounds to see through them:
// every group is said to be not separable, none ranked, and the profile not settled.
void TestRuleAttribution::tooNoisyToTellIsSaid()
{
    FakeMachine machine;
    machine.costs = {0.05, 1.5, 0.03};
    machine.noise = 8;
    const Attribution result = machine.attribute(5);
    QVERIFY(!result.settled);
    for (const UnitCost &unit : result.units)
        QCOMPARE(rankOf(unit), QStringLiteral("?"));
}

// A group that costs just the costly share is never placed, however many rounds run:
// the rounds end once none is likely to place it before three budgets are spent (at
// 1 ms a pass or more, 4 passes a round: no round starts after the 75th), not at the cap.
void TestRuleAttribution::roundsEndWhenNoneWouldPlaceAGroup()
{
    FakeMachine machine;
    // 0.7379 of an apply of 14.7579: 5%.
    machine.costs = {0.02, 4, 0.7379};
    machine.noise = 0.4;
    machine.passMicroseconds = 1000;
    AttributionSettings settings;
    settings.maxRounds = 2000;
    settings.budgetMilliseconds = 100;
    const Attribution result = machine.attribute(settings);
    QVERIFY2(result.rounds <= 76, qPrintable(QString::number(result.rounds)));
    QCOMPARE(rankOf(result.units.at(1)), QStringLiteral("1"));
}

void TestRuleAttribution::ranks_data()
{
    // Each group's share interval: lower bound, trimmed share, upper bound.
    QTest::addColumn<QVector<double>>("shares");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("the costliest first, minor groups unranked")
        << QVector<double>{0.01, 0.02, 0.03, 0.4, 0.5, 0.6, 0.15, 0.2, 0.25}
        << QStringList{"-", "1", "2"};
    QTest::newRow("a group whose interval spans the costly share is never ranked")
        << QVector<double>{-0.1, 0.3, 0.8, 0.18, 0.2, 0.22} << QStringList{"?", "1"};
    QTest::newRow("groups whose intervals overlap share a rank")
        << QVector<double>{0.4, 0.5, 0.6, 0.35, 0.45, 0.55, 0.09, 0.1, 0.11}
        << QStringList{"=1", "=1", "3"};
    QTest::newRow("surely above zero but below the costly share")
        << QVector<double>{0.035, 0.04, 0.045} << QStringList{"-"};
}

void TestRuleAttribution::ranks()
{
    QFETCH(QVector<double>, shares);
    QFETCH(QStringList, expected);
    QVector<UnitCost> units;
    for (int i = 0; i + 2 < shares.size(); i += 3)
        units << shareOf(shares.at(i), shares.at(i + 1), shares.at(i + 2));
    rankUnits(units, 0.05);
    QStringList ranks;
    for (const UnitCost &unit : qAsConst(units)) {
        ranks << rankOf(unit);
        QCOMPARE(unit.withinNoise, unit.rank == 0);
    }
    QCOMPARE(ranks, expected);
}

QTEST_GUILESS_MAIN(TestRuleAttribution)
#include "tst_ruleattribution.moc"
