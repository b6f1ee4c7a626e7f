// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "profiling/profilemeasurement.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QtTest>

#include <limits>

// What the attach plugin hands back from inside an application, read by
// prismark-profile: every figure comes back as written, the ranking is made again
// on this side, and figures that are not this sheet's are refused.
class TestProfileMeasurement : public QObject
{
    Q_OBJECT
private slots:
    void figuresReadBackAsWritten();
    void groupsAreRankedOnReading();
    void refusals_data();
    void refusals();
};

namespace {

Spread spread(double mean, double width)
{
    Spread value;
    value.mean = value.median = mean;
    value.lower = mean - width / 2;
    value.upper = mean + width / 2;
    return value;
}

// Three groups over four rules; the second group costs far more than the noise.
ProfileMeasurement planted()
{
    ProfileMeasurement measurement;
    measurement.time.apply = spread(40, 1);
    measurement.time.baseline = spread(20, 1);
    measurement.time.added = spread(20, 1);
    const double costs[] = {0.1, 19.0, 0.9};
    measurement.time.units.resize(3);
    for (int u = 0; u < 3; ++u) {
        const double cost = costs[u];
        UnitCost &unit = measurement.time.units[u];
        unit.cost = spread(cost, 0.5);
        unit.share.mean = unit.share.trimmed = cost / 40;
        unit.share.lower = unit.share.trimmed - 0.01;
        unit.share.upper = unit.share.trimmed + 0.01;
    }
    // One round alone bounds nothing: its interval is unbounded.
    measurement.time.baselineShare.mean = measurement.time.baselineShare.trimmed = 0.5;
    measurement.time.baselineShare.lower = -std::numeric_limits<double>::infinity();
    measurement.time.baselineShare.upper = std::numeric_limits<double>::infinity();
    measurement.time.rounds = 7;
    measurement.time.settled = true;
    measurement.time.measuringMilliseconds = 1234.5;
    measurement.switchTime = spread(50, 2);
    measurement.heapMeasured = true;
    measurement.heapSheet = 1500000;
    measurement.heapBaseline = -4096;
    for (int rule = 0; rule < 4; ++rule) {
        RuleWork work;
        work.rule = rule;
        work.tries = 100 + rule;
        work.matches = rule;
        work.ancestorSteps = 3 * rule;
        work.stateRestyles = rule == 2 ? 50 : 0;
        work.unindexed = rule == 1;
        work.descendant = rule == 3;
        work.relayout = rule == 2;
        work.qproperty = rule == 0;
        measurement.work.rules << work;
    }
    measurement.work.objects = 2044;
    measurement.work.deepestTree = 4;
    measurement.windows = 2;
    measurement.countingMilliseconds = 0.75;
    return measurement;
}

QByteArray edited(const std::function<void(QJsonObject &)> &edit)
{
    QJsonObject json = QJsonDocument::fromJson(measurementJson(planted())).object();
    edit(json);
    return QJsonDocument(json).toJson();
}

} // namespace

void TestProfileMeasurement::figuresReadBackAsWritten()
{
    const QByteArray written = measurementJson(planted());
    ProfileMeasurement read;
    QString error;
    QVERIFY2(readMeasurement(written, 4, 3, &read, &error), qPrintable(error));
    QCOMPARE(measurementJson(read), written);
    QCOMPARE(read.work.rules.at(3).rule, 3);
    QCOMPARE(read.heapBaseline, qint64(-4096));
    QCOMPARE(read.time.baselineShare.upper, std::numeric_limits<double>::infinity());
    // Memory the sheet gives back is a real outcome, not a figure to refuse.
    ProfileMeasurement givesBack = planted();
    givesBack.heapSheet = -65536;
    QVERIFY2(readMeasurement(measurementJson(givesBack), 4, 3, &read, &error), qPrintable(error));
    QCOMPARE(read.heapSheet, qint64(-65536));
}

void TestProfileMeasurement::groupsAreRankedOnReading()
{
    ProfileMeasurement read;
    QString error;
    QVERIFY(readMeasurement(measurementJson(planted()), 4, 3, &read, &error));
    QCOMPARE(read.time.units.at(1).rank, 1);
    QVERIFY(!read.time.units.at(1).withinNoise);
    QVERIFY(read.time.units.at(0).withinNoise);
}

void TestProfileMeasurement::refusals_data()
{
    QTest::addColumn<QByteArray>("json");
    QTest::addColumn<int>("rules");
    QTest::addColumn<int>("units");
    QTest::addColumn<QString>("reason");
    const QByteArray good = measurementJson(planted());
    QTest::newRow("not JSON") << QByteArray("{\"apply\":") << 4 << 3 << QString();
    QTest::newRow("another sheet's rules") << good << 5 << 3 << "\"rules\" holds 4 entries";
    QTest::newRow("another sheet's groups") << good << 4 << 2 << "\"units\" holds 3 entries";
    QTest::newRow("a count below zero") << edited([](QJsonObject &json) {
        QJsonArray rules = json.value("rules").toArray();
        QJsonObject rule = rules.at(0).toObject();
        rule.insert("tries", -1);
        rules.replace(0, rule);
        json.insert("rules", rules);
    }) << 4 << 3 << "\"tries\" is not a count";
    QTest::newRow("a figure missing") << edited([](QJsonObject &json) { json.remove("switch"); })
                                      << 4 << 3 << "\"switch\" is not an object";
    QTest::newRow("a time that is text") << edited([](QJsonObject &json) {
        QJsonObject apply = json.value("apply").toObject();
        apply.insert("median", "fast");
        json.insert("apply", apply);
    }) << 4 << 3 << "\"median\" is not a number";
    QTest::newRow("an interval the wrong way round") << edited([](QJsonObject &json) {
        QJsonArray units = json.value("units").toArray();
        QJsonObject unit = units.at(1).toObject();
        QJsonObject share = unit.value("share").toObject();
        share.insert("lower", 0.9);
        unit.insert("share", share);
        units.replace(1, unit);
        json.insert("units", units);
    }) << 4 << 3 << "wrong way round";
    QTest::newRow("a heap beyond any machine")
        << edited([](QJsonObject &json) { json.insert("heapSheet", 1e300); }) << 4 << 3
        << "\"heapSheet\" is not a count";
}

void TestProfileMeasurement::refusals()
{
    QFETCH(QByteArray, json);
    QFETCH(int, rules);
    QFETCH(int, units);
    QFETCH(QString, reason);
    ProfileMeasurement read = planted();
    read.windows = 99;
    QString error;
    QVERIFY(!readMeasurement(json, rules, units, &read, &error));
    QVERIFY2(error.contains(reason), qPrintable(error));
    QVERIFY(!error.isEmpty());
    QCOMPARE(read.windows, 99);
}

QTEST_MAIN(TestProfileMeasurement)
#include "tst_profilemeasurement.moc"
