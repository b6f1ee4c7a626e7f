// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "analysis/rulematcher.h"
#include "analysis/sheetmodel.h"
#include "live/inspector/liveinspector.h"
#include "live/inspector/ruleinspector.h"
#include "live/inspector/rulesview.h"
#include "live/inspector/widgetoutline.h"
#include "live/inspector/widgetpicker.h"
#include "live/livesheet.h"
#include "live/sheetdiagnosticswindow.h"
#include "shell/mainwindow.h"
#include "switcher/styleswitcherwindow.h"
#include "theme/themecatalogue.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QToolTip>
#include <QVBoxLayout>
#include <QtTest>

namespace {

// A known cascade, one rule a line.
const QString kSheet =
    QStringLiteral("QPushButton { background: #101010; color: #000001; border: none; }\n"
                   "#special { background: #202020; }\n"
                   "QPushButton:checked { background: #303030; }\n"
                   "QPushButton[variant=\"success\"] { background: #404040; }\n"
                   "QGroupBox QPushButton { color: #505050; }\n"
                   "QCheckBox::indicator { background: #606060; }\n"
                   "QPushButton:!enabled { background: #707070; }\n"
                   "QToolButton { background: #808080; }\n"
                   "QCalendarWidget { color: #909090; }\n");

QPushButton *button(QWidget *parent, const QString &name, bool checked = false)
{
    auto *made = new QPushButton(parent);
    made->setObjectName(name);
    made->setMinimumSize(60, 30);
    made->setCheckable(checked);
    made->setChecked(checked);
    parent->layout()->addWidget(made);
    return made;
}

// Buttons without text, so the middle of each shows its background alone.
struct Widgets
{
    Widgets()
    {
        new QVBoxLayout(&root);
        button(&root, QStringLiteral("plain"));
        button(&root, QStringLiteral("special"));
        button(&root, QStringLiteral("checked"), true);
        button(&root, QStringLiteral("variant"), true)->setProperty("variant", "success");
        QPushButton *disabled = button(&root, QStringLiteral("disabled"));
        disabled->setProperty("variant", "success");
        disabled->setEnabled(false);
        auto *box = new QGroupBox(&root);
        new QVBoxLayout(box);
        button(box, QStringLiteral("grouped"));
        root.layout()->addWidget(box);
        auto *check = new QCheckBox(&root);
        check->setObjectName(QStringLiteral("check"));
        root.layout()->addWidget(check);
    }

    QWidget *named(const QString &name) { return root.findChild<QWidget *>(name); }

    QWidget root;
};

int lineOf(const SheetModel &model, int offset)
{
    int line = 0, column = 0;
    model.lineColumn(offset, &line, &column);
    return line;
}

QString matchedLines(const SheetModel &model, const QVector<RuleMatch> &matches)
{
    QStringList lines;
    for (const RuleMatch &match : matches)
        lines << QString::number(lineOf(model, model.rules.at(match.rule).offset));
    return lines.join(QLatin1Char(' '));
}

} // namespace

// The inspector as an author relies on it: the rules it lists for a widget are the
// ones the toolkit applies, in the order it applies them, and what it says wins is
// what the widget shows.
class TestInspector : public QObject
{
    Q_OBJECT

private slots:
    void cleanup();
    void rulesOfAWidgetInCascadeOrder_data();
    void rulesOfAWidgetInCascadeOrder();
    void attributesMatchAsTheToolkitPaints_data();
    void attributesMatchAsTheToolkitPaints();
    void rulesLineUpWithTheToolkits_data();
    void rulesLineUpWithTheToolkits();
    void ruleOutlinesTheWidgetsItMatches_data();
    void ruleOutlinesTheWidgetsItMatches();
    void toolTipIsMatchedBelowTheWidgetItExplains();
    void pickInTheLivePreview();
};

void TestInspector::cleanup()
{
    qApp->setStyleSheet(QString());
}

void TestInspector::rulesOfAWidgetInCascadeOrder_data()
{
    QTest::addColumn<QString>("widget");
    QTest::addColumn<QString>("lines");  // of the matching rules, the winner first
    QTest::addColumn<QString>("struck"); // line:property<winning line
    QTest::addColumn<QString>("background");
    QTest::newRow("an id rule wins over the class rule in every state")
        << "special"
        << "2 7 3 1"
        << "1:background<2 3:background<2 7:background<2"
        << "#202020";
    QTest::newRow("a state rule wins over a plain one in its state") << "checked"
                                                                     << "7 3 1"
                                                                     << "1:background<3"
                                                                     << "#303030";
    QTest::newRow("a variant rule wins over the state rule: no checked look")
        << "variant"
        << "7 4 3 1"
        << "1:background<4 3:background<4"
        << "#404040";
    QTest::newRow("a negated state wins on a disabled variant button")
        << "disabled"
        << "7 4 3 1"
        << "1:background<7 3:background<4 4:background<7"
        << "#707070";
    QTest::newRow("a descendant selector sets the colour inside a group box") << "grouped"
                                                                              << "7 3 5 1"
                                                                              << "1:color<5"
                                                                              << "#101010";
    QTest::newRow("a subcontrol rule is listed apart") << "check"
                                                       << "6"
                                                       << ""
                                                       << "";
}

void TestInspector::rulesOfAWidgetInCascadeOrder()
{
    QFETCH(QString, widget);
    QFETCH(QString, lines);
    QFETCH(QString, struck);
    QFETCH(QString, background);
    Widgets widgets;
    qApp->setStyleSheet(kSheet);
    widgets.root.show();
    QVERIFY(QTest::qWaitForWindowExposed(&widgets.root));

    RuleInspector inspector;
    inspector.setSheet(kSheet, QStringLiteral("known.qss"), QString());
    QVERIFY2(inspector.isValid(), qPrintable(inspector.problem()));
    QWidget *inspected = widgets.named(widget);
    const RuleInspection inspection = inspector.inspect(inspected);
    const SheetModel &model = inspector.model();
    QVector<RuleMatch> matches;
    QStringList overridden;
    for (const CascadeEntry &entry : inspection.entries) {
        matches << entry.match;
        const SheetRule &rule = model.rules.at(entry.match.rule);
        for (const CascadeDeclaration &declaration : entry.declarations) {
            if (declaration.overridden)
                overridden << QStringLiteral("%1:%2<%3")
                                  .arg(lineOf(model, rule.offset))
                                  .arg(rule.declarations.at(declaration.index).property)
                                  .arg(
                                      lineOf(model, model.rules.at(declaration.winnerRule).offset));
        }
    }
    QCOMPARE(matchedLines(model, matches), lines);
    std::sort(overridden.begin(), overridden.end());
    QCOMPARE(overridden.join(QLatin1Char(' ')), struck);
    if (background.isEmpty())
        return;

    // The winner the inspector names is the colour the toolkit paints.
    const SheetDeclaration *winner =
        winningDeclaration(model, inspection.entries, QString(), QStringLiteral("background"));
    QVERIFY(winner);
    QCOMPARE(winner->valueText, background);
    const QImage painted = inspected->grab().toImage();
    QCOMPARE(painted.pixelColor(painted.rect().center()), QColor(background));
}

void TestInspector::attributesMatchAsTheToolkitPaints_data()
{
    QTest::addColumn<QString>("selector");
    QTest::newRow("an enum property by its number") << "QLineEdit[echoMode=\"2\"]";
    // Qt 6 compares an enum by its key, Qt 5 only by its number.
    QTest::newRow("an enum property by its key") << "QLineEdit[echoMode=\"Password\"]";
    QTest::newRow("a word of a string list property") << "QLineEdit[class~=\"warning\"]";
    QTest::newRow("class where no property answers it") << "#outer[class=\"QWidget\"] QLineEdit";
    QTest::newRow("a boolean property") << "QLineEdit[readOnly=\"true\"]";
    QTest::newRow("a property the widget does not have") << "QLineEdit[variant]";
    QTest::newRow("an object name above it") << "#outer QLineEdit";
}

// Whether a rule matches is the toolkit's answer, seen in what it paints.
void TestInspector::attributesMatchAsTheToolkitPaints()
{
    QFETCH(QString, selector);
    const QString sheet =
        QStringLiteral("QLineEdit { background: #101010; border: none; }\n%1 { background: "
                       "#202020; }\n")
            .arg(selector);
    QWidget outer;
    outer.setObjectName(QStringLiteral("outer"));
    auto *edit = new QLineEdit(&outer);
    edit->resize(80, 24);
    edit->setEchoMode(QLineEdit::Password);
    edit->setReadOnly(true);
    edit->setProperty("class", QStringList{QStringLiteral("big"), QStringLiteral("warning")});
    qApp->setStyleSheet(sheet);
    const SheetModel model(sheet.toUtf8(), QStringLiteral("attributes.qss"));
    const RuleMatcher matcher(model);
    QVERIFY2(matcher.isValid(), qPrintable(matcher.problem()));
    const QImage painted = edit->grab().toImage();
    const bool paintedByRule =
        painted.pixelColor(painted.rect().center()) == QColor(0x20, 0x20, 0x20);
    QCOMPARE(matcher.matchesRule(edit, 1), paintedByRule);
}

void TestInspector::rulesLineUpWithTheToolkits_data()
{
    QTest::addColumn<QString>("sheet");
    QTest::addColumn<QString>("lines"); // matching a QLabel, the winner first
    for (int theme = 0; theme < ThemeCount; ++theme) {
        QFile file(QStringLiteral(":/styles/") +
                   QLatin1String(themeInfo(static_cast<Theme>(theme)).styleSheetFile));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QTest::newRow(qPrintable(QStringLiteral("built-in %1").arg(file.fileName())))
            << QString::fromUtf8(file.readAll()) << "";
    }
    QTest::newRow("a dropped declaration, an @media block and an at-rule keep positions")
        << QStringLiteral("QLabel { colr red; color: #111111; }\n"
                          "@media print { QLabel { color: #222222; } }\n"
                          "@font-face { font-family: x; }\n"
                          "QLabel, QWidget { color: #333333; }\n")
        << "4 4 1";
    QTest::newRow("specificity before order: an earlier type selector beats a later *")
        << QStringLiteral("QLabel { color: #111111; }\n* { color: #222222; }\n") << "1 2";
}

void TestInspector::rulesLineUpWithTheToolkits()
{
    QFETCH(QString, sheet);
    QFETCH(QString, lines);
    const SheetModel model(sheet.toUtf8(), QStringLiteral("sheet.qss"));
    const RuleMatcher matcher(model);
    QVERIFY2(matcher.isValid(), qPrintable(matcher.problem()));
    if (lines.isEmpty())
        return;
    QLabel label;
    QCOMPARE(matchedLines(model, matcher.matches(&label)), lines);
}

void TestInspector::ruleOutlinesTheWidgetsItMatches_data()
{
    QTest::addColumn<int>("line");
    QTest::addColumn<QStringList>("widgets");
    QTest::newRow("a variant rule") << 4 << QStringList{"variant", "disabled"};
    QTest::newRow("a descendant selector") << 5 << QStringList{"grouped"};
    QTest::newRow("a rule for a class that is not there") << 8 << QStringList();
}

void TestInspector::ruleOutlinesTheWidgetsItMatches()
{
    QFETCH(int, line);
    QFETCH(QStringList, widgets);
    Widgets tree;
    RuleInspector inspector;
    inspector.setSheet(kSheet, QStringLiteral("known.qss"), QString());
    QStringList names;
    const auto matching =
        inspector.widgetsMatching(inspector.ruleAt(line, 1), tree.root.findChildren<QWidget *>());
    for (const QWidget *widget : matching)
        names << widget->objectName();
    QCOMPARE(names, widgets);
}

void TestInspector::toolTipIsMatchedBelowTheWidgetItExplains()
{
    // The toolkit names its tool tip label QToolTip, never QLabel, and matches it as a
    // child of the widget it explains.
    const QString sheet = QStringLiteral("QLabel { color: green; }\n"
                                         "QToolTip { color: red; }\n"
                                         "#outer QToolTip { color: blue; }\n"
                                         "#elsewhere QToolTip { color: gray; }\n");
    qApp->setStyleSheet(sheet);
    QWidget outer;
    outer.setObjectName(QStringLiteral("outer"));
    auto *tipped = new QPushButton(QStringLiteral("tipped"), &outer);
    outer.show();
    QVERIFY(QTest::qWaitForWindowExposed(&outer));
    QToolTip::showText(tipped->mapToGlobal(QPoint(2, 2)), QStringLiteral("a tip"), tipped);
    QWidget *tip = nullptr;
    QTRY_VERIFY([&tip] {
        for (QWidget *widget : QApplication::topLevelWidgets()) {
            if (widget->isVisible() && widget->inherits("QTipLabel"))
                tip = widget;
        }
        return tip != nullptr;
    }());

    RuleInspector inspector;
    inspector.setSheet(sheet, QStringLiteral("tips.qss"), QString());
    QVERIFY2(inspector.isValid(), qPrintable(inspector.problem()));
    QVector<RuleMatch> matches;
    for (const CascadeEntry &entry : inspector.inspect(tip).entries)
        matches << entry.match;
    QToolTip::hideText();
    QCOMPARE(matchedLines(inspector.model(), matches), QStringLiteral("3 2"));
}

void TestInspector::pickInTheLivePreview()
{
    QTemporaryDir directory;
    const QString path = directory.filePath(QStringLiteral("author.qss"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(kSheet.toUtf8()) > 0);
    file.close();
    MainWindow window;
    LiveSheet sheet(&window, path);
    sheet.apply();
    auto *diagnostics = new SheetDiagnosticsWindow(&sheet, &window);
    LiveInspector inspector(&window, &sheet, diagnostics);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    window.showGalleryTab(window.galleryTabTitles().indexOf(QStringLiteral("Buttons")));

    // The gallery's checked button carries the success variant and sits in a group box.
    auto *checked = window.findChild<QPushButton *>(QStringLiteral("checkablePushButton"));
    QVERIFY(checked && checked->isChecked());
    const auto centreOf = [&window](QWidget *widget) {
        return widget->mapTo(&window, widget->rect().center());
    };
    inspector.startPicking();
    QTest::mouseMove(window.windowHandle(), centreOf(checked));
    QCOMPARE(inspector.outline()->outlined(), QVector<QWidget *>{checked});
    QTest::mouseClick(window.windowHandle(), Qt::LeftButton, Qt::NoModifier, centreOf(checked));
    QVERIFY(!inspector.picker()->isPicking());
    // The choosing click never reached the button.
    QVERIFY(checked->isChecked());
    const QStringList rows = inspector.rulesView()->rowTexts();
    QVERIFY2(rows.value(0).startsWith(QLatin1String("7:1  QPushButton:!enabled")),
             qPrintable(rows.join('\n')));
    QVERIFY2(rows.contains(QStringLiteral("  ~~background: #303030;~~ line 4 wins")),
             qPrintable(rows.join('\n')));

    // A theme switch clears the outline; the rules shown are the theme's now.
    emit window.styleSwitcherWindow()->themeRequested(Dark);
    QVERIFY(inspector.outline()->outlined().isEmpty());
    QVERIFY(inspector.rulesView()->rowTexts().value(0).contains(QLatin1String("[variant]:hover")));
    sheet.apply();

    // Disabled widgets are picked like any other; Esc ends a pick without choosing.
    auto *disabled = window.findChild<QPushButton *>(QStringLiteral("disabledPushButton"));
    inspector.startPicking();
    QTest::mouseClick(window.windowHandle(), Qt::LeftButton, Qt::NoModifier, centreOf(disabled));
    QVERIFY(inspector.rulesView()->rowTexts().value(0).startsWith(QLatin1String("7:1")));
    inspector.startPicking();
    QTest::keyClick(&window, Qt::Key_Escape);
    QVERIFY(!inspector.picker()->isPicking());

    // The other way round, and a tab switch clears the outline.
    inspector.chooseRule(3);
    QCOMPARE(inspector.outlineNote(),
             QStringLiteral("Line 4: QPushButton[variant=\"success\"] matches 2 widgets here (2 on "
                            "this tab)."));
    QCOMPARE(inspector.outline()->outlined().size(), 2);
    window.showGalleryTab(0);
    QVERIFY(inspector.outline()->outlined().isEmpty());
    // A diagnostic chosen in the list outlines what its rule matches.
    emit diagnostics->diagnosticChosen(5, 3);
    QCOMPARE(
        inspector.outlineNote(),
        QStringLiteral("Line 5: QGroupBox QPushButton matches 24 widgets here (2 on this tab)."));
    inspector.chooseRule(8);
    QCOMPARE(inspector.outlineNote(),
             QStringLiteral("Line 9: QCalendarWidget matches no widget here."));
}

QTEST_MAIN(TestInspector)
#include "tst_inspector.moc"
