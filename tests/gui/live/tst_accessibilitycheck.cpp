// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "live/accessibilitypanel.h"
#include "live/livesheet.h"
#include "live/sheetdiagnosticswindow.h"
#include "shell/mainwindow.h"

#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <QtTest>

#include <memory>

// The Sheet Diagnostics window's accessibility check on an application's window, as
// prismark-live attached shows it: a fault planted in the sheet is listed with its
// criterion and rule, the check runs while the window stays usable, and a check
// after a save lists what the saved sheet does.
class TestAccessibilityCheck : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void plantedFaultIsListed_data();
    void plantedFaultIsListed();
    void checkAfterASaveListsTheNewSheet();
    void unnamedWidgetsAreListedByPlace();
    void oneRuleOnTwoButtonsIsOneGroup();
    void nothingToCheckIsSaid();
    void galleryChecksTheTabShown();

private:
    void save(const QString &text);
    QStringList check();

    std::unique_ptr<QTemporaryDir> dir;
    QString path;
    std::unique_ptr<QWidget> app;
    std::unique_ptr<LiveSheet> sheet;
    std::unique_ptr<SheetDiagnosticsWindow> diagnostics;
    int clicks = 0;
};

namespace {

// Black on white, a red focus border, an input border at 21:1; the planted line
// comes last.
const char kCleanSheet[] = "QWidget { background: #ffffff; color: #000000; }\n"
                           "QPushButton { border: 1px solid #000000; padding: 6px; }\n"
                           "QPushButton:focus { border: 3px solid #c00000; }\n"
                           "QLineEdit { border: 1px solid #000000; padding: 2px; }\n"
                           "QLineEdit:focus { border: 3px solid #c00000; }\n";
constexpr int kPlantedLine = 6;

// The rows of a criterion on a widget in a state, by their first five cells.
QStringList rowsOf(const QStringList &rows, const QString &start)
{
    QStringList found;
    for (const QString &row : rows)
        if (row.startsWith(start))
            found << row;
    return found;
}

} // namespace

void TestAccessibilityCheck::init()
{
    dir = std::make_unique<QTemporaryDir>();
    path = dir->filePath(QStringLiteral("app.qss"));
    save(QLatin1String(kCleanSheet));
    app = std::make_unique<QWidget>();
    app->setObjectName(QStringLiteral("appWindow"));
    auto *layout = new QVBoxLayout(app.get());
    auto *button = new QPushButton(QStringLiteral("Delete everything"));
    button->setObjectName(QStringLiteral("okButton"));
    connect(button, &QPushButton::clicked, this, [this] { ++clicks; });
    auto *edit = new QLineEdit(QStringLiteral("name"));
    edit->setObjectName(QStringLiteral("nameEdit"));
    layout->addWidget(button);
    layout->addWidget(edit);
    app->resize(260, 120);
    app->show();
    QVERIFY(QTest::qWaitForWindowExposed(app.get()));
    sheet =
        std::make_unique<LiveSheet>(path, [](const QString &text) { qApp->setStyleSheet(text); });
    sheet->apply();
    QTRY_COMPARE(sheet->outcome(), LiveSheet::Outcome::Applied);
    diagnostics = std::make_unique<SheetDiagnosticsWindow>(sheet.get(), nullptr);
    diagnostics->show();
    clicks = 0;
}

void TestAccessibilityCheck::cleanup()
{
    diagnostics.reset();
    sheet.reset();
    app.reset();
    qApp->setStyleSheet(QString());
}

void TestAccessibilityCheck::save(const QString &text)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(text.toUtf8());
}

QStringList TestAccessibilityCheck::check()
{
    AccessibilityPanel *panel = diagnostics->accessibilityPanel();
    QSignalSpy finished(panel, &AccessibilityPanel::checkFinished);
    panel->check();
    // A widget per turn of the event loop: the window answers meanwhile.
    if (!panel->isChecking())
        return {QStringLiteral("the check ran in one go")};
    if (!finished.wait(60000))
        return {QStringLiteral("the check did not finish")};
    return panel->rowTexts();
}

void TestAccessibilityCheck::plantedFaultIsListed_data()
{
    QTest::addColumn<QString>("planted");
    QTest::addColumn<QString>("row");
    QTest::newRow("a focus look painted like normal")
        << "QPushButton:focus { border: 1px solid #000000; }"
        << "2.4.7 Focus Visible\tAA\tfailure\tappWindow/okButton\tfocus\t";
    QTest::newRow("an input border at 1.3:1")
        << "QLineEdit { border: 1px solid #e0e0e0; }"
        << "1.4.11 Non-text Contrast\tAA\tfailure\tappWindow/nameEdit\tnormal\t";
    QTest::newRow("an input border at 1.3:1 on hover only")
        << "QLineEdit:hover { border: 1px solid #e0e0e0; }"
        << "1.4.11 Non-text Contrast\tAA\tfailure\tappWindow/nameEdit\thover\t";
}

void TestAccessibilityCheck::plantedFaultIsListed()
{
    QFETCH(QString, planted);
    QFETCH(QString, row);
    QCOMPARE(rowsOf(check(), row), QStringList());
    save(QLatin1String(kCleanSheet) + planted + QLatin1Char('\n'));
    QSignalSpy updated(sheet.get(), &LiveSheet::updated);
    sheet->apply();
    QVERIFY(updated.count() || updated.wait(10000));
    const QStringList rows = rowsOf(check(), row);
    QCOMPARE(rows.size(), 1);
    const QString rule = planted.section(QLatin1Char(' '), 0, 0);
    QVERIFY2(rows.first().endsWith(QStringLiteral("\t%1 (line %2)").arg(rule).arg(kPlantedLine)),
             qPrintable(rows.first()));
    // Activating it goes to the rule.
    auto *tree = diagnostics->accessibilityPanel()->findChild<QTreeWidget *>();
    QSignalSpy chosen(diagnostics->accessibilityPanel(), &AccessibilityPanel::ruleChosen);
    for (int index = 0; index < tree->topLevelItemCount(); ++index)
        if (tree->topLevelItem(index)->text(0).startsWith(row.section(QLatin1Char('\t'), 0, 0)))
            emit tree->itemActivated(tree->topLevelItem(index), 0);
    QCOMPARE(chosen.count(), 1);
    QCOMPARE(chosen.first().value(0).toString(), path);
    QCOMPARE(chosen.first().value(1).toInt(), kPlantedLine);
    // The application's handler never ran.
    QCOMPARE(clicks, 0);
}

void TestAccessibilityCheck::checkAfterASaveListsTheNewSheet()
{
    const QString row = QStringLiteral("2.4.7 Focus Visible\tAA\tfailure\tappWindow/okButton");
    save(QLatin1String(kCleanSheet) + QStringLiteral("QPushButton:focus { border: 1px solid "
                                                     "#000000; }\n"));
    sheet->apply();
    QTRY_COMPARE(qApp->styleSheet().count(QStringLiteral("QPushButton:focus")), 2);
    QCOMPARE(rowsOf(check(), row).size(), 1);
    save(QLatin1String(kCleanSheet));
    sheet->apply();
    QTRY_COMPARE(qApp->styleSheet().count(QStringLiteral("QPushButton:focus")), 1);
    QCOMPARE(rowsOf(check(), row), QStringList());
}

// Both buttons lose their focus look to one rule: one group row for it, both
// findings under it.
void TestAccessibilityCheck::oneRuleOnTwoButtonsIsOneGroup()
{
    auto *second = new QPushButton(QStringLiteral("Cancel"), app.get());
    second->setObjectName(QStringLiteral("cancelButton"));
    app->layout()->addWidget(second);
    save(QLatin1String(kCleanSheet) + QStringLiteral("QPushButton:focus { border: 1px solid "
                                                     "#000000; }\n"));
    sheet->apply();
    QTRY_COMPARE(qApp->styleSheet().count(QStringLiteral("QPushButton:focus")), 2);
    const QString criterion = QStringLiteral("2.4.7 Focus Visible\tAA\tfailure\t");
    const QStringList rows = check();
    QCOMPARE(rowsOf(rows, criterion).size(), 2);
    const QStringList groups = rowsOf(diagnostics->accessibilityPanel()->groupTexts(), criterion);
    QCOMPARE(groups.size(), 1);
    QVERIFY2(groups.first().startsWith(criterion + QStringLiteral("2 widgets\tfocus\t")) &&
                 groups.first().endsWith(
                     QStringLiteral("\tQPushButton:focus (line %1)").arg(kPlantedLine)),
             qPrintable(groups.first()));
}

// An application that names none of its widgets, as most do: each is checked, and
// listed by its window's class and its place.
void TestAccessibilityCheck::unnamedWidgetsAreListedByPlace()
{
    app->setObjectName(QString());
    for (QWidget *widget : app->findChildren<QWidget *>())
        widget->setObjectName(QString());
    save(QLatin1String(kCleanSheet) + QStringLiteral("QPushButton:focus { border: 1px solid "
                                                     "#000000; }\n"));
    sheet->apply();
    QTRY_COMPARE(qApp->styleSheet().count(QStringLiteral("QPushButton:focus")), 2);
    const QStringList rows = check();
    QVERIFY2(rowsOf(rows, QStringLiteral("2.4.7 Focus Visible\tAA\tfailure\tQWidget/"
                                         "QPushButton[1] \"Delete everything\"\tfocus\t"))
                     .size() == 1,
             qPrintable(rows.join(QLatin1Char('\n'))));
    QCOMPARE(clicks, 0);
}

// A window with nothing to check is not a clean result.
void TestAccessibilityCheck::nothingToCheckIsSaid()
{
    for (QWidget *widget : app->findChildren<QWidget *>())
        widget->hide();
    QCOMPARE(check(), QStringList());
    const QString status = diagnostics->accessibilityPanel()->status();
    QVERIFY2(status.startsWith(QStringLiteral("Nothing audited")), qPrintable(status));
}

// prismark-live's own mode: the gallery's tab on screen, filed under its title.
void TestAccessibilityCheck::galleryChecksTheTabShown()
{
    cleanup();
    save(QLatin1String(kCleanSheet) + QStringLiteral("QPushButton:focus { border: 1px solid "
                                                     "#000000; }\n"));
    MainWindow window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    sheet = std::make_unique<LiveSheet>(&window, path);
    sheet->apply();
    QTRY_COMPARE(sheet->outcome(), LiveSheet::Outcome::Applied);
    diagnostics = std::make_unique<SheetDiagnosticsWindow>(sheet.get(), &window);
    QString shownTab;
    const QStringList titles = window.galleryTabTitles();
    for (int tab = 0; tab < titles.size(); ++tab)
        if (window.galleryTabPage(tab)->isVisible())
            shownTab = titles[tab];
    QVERIFY(!shownTab.isEmpty());
    const QStringList rows = check();
    QVERIFY2(!rowsOf(rows, QStringLiteral("2.4.7 Focus Visible\tAA\tfailure\t%1/").arg(shownTab))
                  .isEmpty(),
             qPrintable(rows.join(QLatin1Char('\n'))));
    for (const QString &row : rows)
        QVERIFY2(row.section(QLatin1Char('\t'), 3, 3).startsWith(shownTab + QLatin1Char('/')),
                 qPrintable(row));
    diagnostics.reset();
    sheet.reset();
}

QTEST_MAIN(TestAccessibilityCheck)
#include "tst_accessibilitycheck.moc"
