// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "analysis/pseudostates.h"
#include "analysis/rulecascade.h"

#include <QtTest>

#include <algorithm>

// How the rules that match one object combine: by weight (specificity, then the
// sheet's order), state by state, subcontrols apart, the later declaration in a rule.
class TestRuleCascade : public QObject
{
    Q_OBJECT

private slots:
    void winner_data();
    void winner();
};

namespace {
// Every selector of the sheet as a match on one object, the winner first, as the
// matcher hands them over.
QVector<RuleMatch> everySelector(const SheetModel &model)
{
    QVector<RuleMatch> matches;
    for (int rule = 0; rule < model.rules.size(); ++rule) {
        const SheetRule &r = model.rules.at(rule);
        for (int selector = 0; selector < r.selectors.size(); ++selector)
            matches.append(
                {rule, selector, uint(cascadeWeight(r.selectors.at(selector), r.order))});
    }
    std::sort(matches.begin(), matches.end(),
              [](const RuleMatch &a, const RuleMatch &b) { return a.weight > b.weight; });
    return matches;
}
} // namespace

void TestRuleCascade::winner_data()
{
    QTest::addColumn<QString>("sheet");
    QTest::addColumn<quint64>("state");
    QTest::addColumn<QString>("subcontrol");
    QTest::addColumn<QString>("property");
    QTest::addColumn<QString>("value"); // empty: no declaration gives it
    // Whether the lowest-weight rule's first declaration loses, as "rule.declaration".
    QTest::addColumn<QString>("lowestLosesTo");
    const quint64 none = 0;
    QTest::newRow("of equal weight the later rule wins")
        << "QPushButton { color: red; } QPushButton { color: blue; }" << none << ""
        << "color"
        << "blue"
        << "1.0";
    QTest::newRow("a more specific rule wins over a later one")
        << "QPushButton#ok { color: red; } QPushButton { color: blue; }" << none << ""
        << "color"
        << "red"
        << "0.0";
    QTest::newRow("within a rule the later declaration wins")
        << "QPushButton { color: red; color: green; }" << none << ""
        << "color"
        << "green"
        << "0.1";
    QTest::newRow("a later shorthand replaces a longhand")
        << "QPushButton { border-top-color: red; border: 1px solid blue; }" << none << ""
        << "border-top-color"
        << "1px solid blue"
        << "0.1";
    QTest::newRow("a radius is no part of the border shorthand")
        << "QPushButton { border-radius: 2px; border: 1px solid blue; }" << none << ""
        << "border-radius"
        << "2px"
        << "";
    QTest::newRow("a state's rule out of its state")
        << "QPushButton { color: blue; } QPushButton:hover { color: red; }" << none << ""
        << "color"
        << "blue"
        << "";
    QTest::newRow("a state's rule in its state")
        << "QPushButton { color: blue; } QPushButton:hover { color: red; }"
        << quint64(PseudoState::Hover) << ""
        << "color"
        << "red"
        << "1.0";
    QTest::newRow("a negated state keeps its rule out")
        << "QPushButton:!pressed { color: red; }" << quint64(PseudoState::Pressed) << ""
        << "color"
        << ""
        << "";
    QTest::newRow("a subcontrol's rules leave the object's alone")
        << "QPushButton { color: blue; } QPushButton::menu-indicator { color: red; }" << none << ""
        << "color"
        << "blue"
        << "";
    QTest::newRow("the object's rules leave a subcontrol's alone")
        << "QPushButton::menu-indicator { color: red; } QPushButton { color: blue; }" << none
        << "menu-indicator"
        << "color"
        << "red"
        << "";
}

void TestRuleCascade::winner()
{
    QFETCH(QString, sheet);
    QFETCH(quint64, state);
    QFETCH(QString, subcontrol);
    QFETCH(QString, property);
    QFETCH(QString, value);
    QFETCH(QString, lowestLosesTo);
    const SheetModel model(sheet.toUtf8(), QStringLiteral("cascade.qss"));
    const QVector<CascadeEntry> entries = cascadeMatches(model, everySelector(model), state);
    const SheetDeclaration *winner = winningDeclaration(model, entries, subcontrol, property);
    QCOMPARE(winner ? winner->valueText : QString(), value);
    const CascadeDeclaration &lowest = entries.last().declarations.first();
    QCOMPARE(lowest.overridden
                 ? QStringLiteral("%1.%2").arg(lowest.winnerRule).arg(lowest.winnerDeclaration)
                 : QString(),
             lowestLosesTo);
}

QTEST_GUILESS_MAIN(TestRuleCascade)
#include "tst_rulecascade.moc"
