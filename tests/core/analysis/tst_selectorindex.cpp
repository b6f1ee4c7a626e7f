// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "analysis/rulecascade.h"
#include "analysis/selectorindex.h"

#include <QtTest>

// The rules that may style a class, as the cascade-aware checks look them up: the
// class's own, its bases', then those for any class, each group in sheet order.
class TestSelectorIndex : public QObject
{
    Q_OBJECT

private slots:
    void lookups_data();
    void lookups();
};

namespace {
const char kSheet[] = "QAbstractButton { color: red; }\n"
                      "QPushButton { color: blue; }\n"
                      "* { color: black; }\n"
                      "QPushButton#ok { color: green; }\n"
                      "QWidget QPushButton { color: gray; }\n"
                      "QPushButton::menu-indicator { width: 4px; }\n"
                      "QPushButton { color: blue; }\n"
                      "#ok, QLabel { color: white; }\n"
                      "QLabel { background: red; }\n"
                      "QLabel { color: red; }\n";

QString described(const SheetSelector &selector, const SheetDeclaration &declaration)
{
    return QStringLiteral("%1{%2:%3}")
        .arg(selector.text, declaration.property, declaration.valueText);
}
} // namespace

void TestSelectorIndex::lookups_data()
{
    QTest::addColumn<QString>("subcontrol");
    QTest::addColumn<QString>("element");
    QTest::addColumn<QString>("property"); // empty: every selector for the class
    QTest::addColumn<QString>("found");
    QTest::newRow("the class, its bases, any class; the earlier of two copies left out")
        << ""
        << "QPushButton"
        << ""
        << "QPushButton#ok{color:green}|QPushButton{color:blue}|QAbstractButton{color:red}|"
           "*{color:black}|#ok{color:white}";
    QTest::newRow("a subcontrol is a group of its own") << "menu-indicator"
                                                        << "QPushButton"
                                                        << ""
                                                        << "QPushButton::menu-indicator{width:4px}";
    QTest::newRow("rules of the same class and other content all stay")
        << ""
        << "QLabel"
        << ""
        << "QLabel{color:white}|QLabel{background:red}|QLabel{color:red}|*{color:black}|"
           "#ok{color:white}";
    QTest::newRow("a class no rule names gets those for any class")
        << ""
        << "QSlider"
        << ""
        << "*{color:black}|#ok{color:white}";
    QTest::newRow("setting a property: that class only, its declarations only")
        << ""
        << "QLabel"
        << "color"
        << "QLabel{color:white}|QLabel{color:red}";
    QTest::newRow("setting a property: ids and the universal selector are any class")
        << ""
        << ""
        << "color"
        << "*{color:black}|#ok{color:white}";
    QTest::newRow("setting a property: a selector with an ancestor is left out") << ""
                                                                                 << "QWidget"
                                                                                 << "color"
                                                                                 << "";
}

void TestSelectorIndex::lookups()
{
    QFETCH(QString, subcontrol);
    QFETCH(QString, element);
    QFETCH(QString, property);
    QFETCH(QString, found);
    const SheetModel model(kSheet, QStringLiteral("index.qss"));
    const SelectorIndex &index = model.selectorIndex();
    QStringList seen;
    if (property.isEmpty()) {
        index.forClass(subcontrol, element, [&seen](const IndexedSelector &entry) {
            seen << described(*entry.selector, entry.rule->declarations.first());
        });
    } else {
        for (const IndexedDeclaration &entry :
             index.settingPropertyOf(property, subcontrol, element)) {
            seen << described(*entry.selector, *entry.declaration);
            QCOMPARE(entry.weight, cascadeWeight(*entry.selector, entry.rule->order));
        }
    }
    QCOMPARE(seen.join(QLatin1Char('|')), found);
}

QTEST_GUILESS_MAIN(TestSelectorIndex)
#include "tst_selectorindex.moc"
