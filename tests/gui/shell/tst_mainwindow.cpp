// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "shell/mainwindow.h"
#include "shell/titlebar.h"
#include "switcher/styleswitcherwindow.h"
#include "theme/shellobjectnames.h"
#include "widgetstyles/themestyles.h"

#include "glyphcolour.h"
#include "guitestsupport.h"

#include <QButtonGroup>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSignalSpy>
#include <QTimer>
#include <QtTest>

namespace {

StyleSwitcherWindow *switcherOf(const MainWindow &window)
{
    return window.findChild<StyleSwitcherWindow *>();
}

int checkedTheme(const MainWindow &window)
{
    return switcherOf(window)->findChild<QButtonGroup *>()->checkedId();
}

QString statusText(const MainWindow &window)
{
    return window.findChild<QLabel *>(QStringLiteral("statusLabel"))->text();
}

QPoint expectedSwitcherPosition(const MainWindow &window)
{
    return styleSwitcherPosition(window.frameGeometry(), switcherOf(window)->frameGeometry().size(),
                                 window.screen()->availableGeometry());
}

const QColor lightButtonText(0x20, 0x30, 0x40);
const QColor lightCloseText(0x40, 0x20, 0x30);
const QColor darkButtonText(0xf2, 0xf5, 0xf8);
const QColor darkCloseText(0xe8, 0xe0, 0xd0);

bool writeStyleSheet(const QString &fileName, const QColor &button, const QColor &close)
{
    QFile file(QDir(stylesBesideExecutable()).filePath(fileName));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    const QString sheet = QStringLiteral("#appWindowButton { color: %1; }\n"
                                         "#appCloseButton { color: %2; }\n")
                              .arg(button.name(), close.name());
    return file.write(sheet.toLatin1()) > 0;
}

} // namespace

class MainWindowTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();
    void startUp();
    void switcherPlacement_data();
    void switcherPlacement();
    void switcherPlacementRule_data();
    void switcherPlacementRule();
    void shortcutBringsBackAClosedSwitcher();
    void switcherRequestAppliesOnce();
    void glyphsFollowTheTheme();
    void darkSheetColoursTheGlyphs();
    void closingClosesTheSwitcherAndEndsTheLoop();
};

void MainWindowTest::initTestCase()
{
    qRegisterMetaType<ThemeIndex>("ThemeIndex");
}

void MainWindowTest::cleanup()
{
    QDir(stylesBesideExecutable()).removeRecursively();
}

void MainWindowTest::startUp()
{
    MainWindow window;
    QCOMPARE(window.size(), QSize(1040, 720));
    const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
    QCOMPARE(window.pos(), available.center() - QPoint(519, 359));
    QVERIFY(window.windowFlags() & Qt::FramelessWindowHint);
    QCOMPARE(window.centralWidget()->objectName(), QStringLiteral("windowFrame"));
    QCOMPARE(window.findChild<QLabel *>(QStringLiteral("appTitleLabel"))->text(),
             QStringLiteral("Prismark Preview"));
    QVERIFY(!switcherOf(window)->isVisible());

    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QVERIFY(switcherOf(window)->isVisible());
    QCOMPARE(switcherOf(window)->pos(), expectedSwitcherPosition(window));
    QCOMPARE(checkedTheme(window), 0);
    QCOMPARE(statusText(window), QStringLiteral("Current style: Light"));
}

void MainWindowTest::switcherPlacement_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<bool>("follows");
    QTest::newRow("a title change brings the switcher along") << "title" << true;
    QTest::newRow("minimising brings the switcher along") << "minimise" << true;
    QTest::newRow("maximising places it beside the maximised frame") << "maximise" << true;
    QTest::newRow("restoring places it beside the restored frame") << "restore" << true;
    QTest::newRow("showing again brings back a switcher the user closed") << "reshow" << true;
    QTest::newRow("moving alone leaves the switcher in place") << "none" << false;
}

void MainWindowTest::switcherPlacement()
{
    QFETCH(QString, action);
    QFETCH(bool, follows);
    MainWindow window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    StyleSwitcherWindow *switcher = switcherOf(window);
    const QPoint placedAtShow = switcher->pos();

    window.move(window.pos() + QPoint(70, 40));
    if (action == QLatin1String("title")) {
        window.setWindowTitle(QStringLiteral("Renamed"));
        QCOMPARE(window.findChild<QLabel *>(QStringLiteral("appTitleLabel"))->text(),
                 QStringLiteral("Renamed"));
    } else if (action == QLatin1String("minimise")) {
        window.showMinimized();
    } else if (action == QLatin1String("maximise") || action == QLatin1String("restore")) {
        // The new geometry of a state change arrives after the change event itself.
        window.showMaximized();
        QTRY_VERIFY(window.size() != QSize(1040, 720));
        if (action == QLatin1String("restore")) {
            window.showNormal();
            QTRY_COMPARE(window.size(), QSize(1040, 720));
        }
    } else if (action == QLatin1String("reshow")) {
        switcher->close();
        window.hide();
        window.show();
        QVERIFY(switcher->isVisible());
    }
    QCOMPARE(switcher->pos(), follows ? expectedSwitcherPosition(window) : placedAtShow);
}

void MainWindowTest::switcherPlacementRule_data()
{
    QTest::addColumn<QRect>("mainFrame");
    QTest::addColumn<QRect>("available");
    QTest::addColumn<QPoint>("expected");
    const QRect desktop(0, 0, 1920, 1040); // 1920 x 1080 less a 40 pixel panel
    QTest::newRow("fits beside the window")
        << QRect(100, 100, 1040, 720) << desktop << QPoint(1151, 148);
    QTest::newRow("window centred on 1920 x 1080 keeps it on the right edge")
        << QRect(440, 160, 1040, 720) << desktop << QPoint(1280, 208);
    QTest::newRow("window near the left edge leaves it beside the window")
        << QRect(-900, 100, 1040, 720) << desktop << QPoint(151, 148);
    QTest::newRow("window low on the screen lifts it")
        << QRect(100, 900, 1040, 720) << desktop << QPoint(1151, 860);
    QTest::newRow("main window filling the screen overlaps it")
        << QRect(0, 0, 1920, 1040) << desktop << QPoint(1280, 48);
    QTest::newRow("second screen to the right keeps it on that screen")
        << QRect(2000, 100, 1040, 720) << QRect(1920, 0, 1280, 1024) << QPoint(2560, 148);
    QTest::newRow("screen narrower than the switcher shows its left edge")
        << QRect(0, 0, 500, 300) << QRect(0, 0, 600, 400) << QPoint(0, 48);
}

void MainWindowTest::switcherPlacementRule()
{
    QFETCH(QRect, mainFrame);
    QFETCH(QRect, available);
    QFETCH(QPoint, expected);
    QCOMPARE(styleSwitcherPosition(mainFrame, QSize(640, 180), available), expected);
}

void MainWindowTest::shortcutBringsBackAClosedSwitcher()
{
    MainWindow window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    StyleSwitcherWindow *switcher = switcherOf(window);
    QVERIFY(switcher->toolTip().contains(QStringLiteral("Ctrl+Shift+S")));
    switcher->close();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QVERIFY(switcher->isHidden());

    QTest::keyClick(&window, Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
    QVERIFY(switcher->isVisible());
    QCOMPARE(switcher->pos(), expectedSwitcherPosition(window));
}

void MainWindowTest::switcherRequestAppliesOnce()
{
    MainWindow window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    StyleSwitcherWindow *switcher = switcherOf(window);
    QVERIFY(QTest::qWaitForWindowExposed(switcher));
    QSignalSpy spy(switcher, &StyleSwitcherWindow::themeRequested);

    auto *tokyo = qobject_cast<QRadioButton *>(switcher->findChild<QButtonGroup *>()->button(5));
    QTest::mouseClick(tokyo, Qt::LeftButton, Qt::NoModifier, QPoint(6, tokyo->height() / 2));
    QCOMPARE(spy.count(), 1);
    QVERIFY(dynamic_cast<const AppTokyoNightLightStyle *>(installedThemeStyle()));
    QCOMPARE(statusText(window), QStringLiteral("Current style: Tokyo Night Light"));
    QCOMPARE(checkedTheme(window), 5);
}

void MainWindowTest::glyphsFollowTheTheme()
{
    QVERIFY(QDir().mkpath(stylesBesideExecutable()));
    QVERIFY(writeStyleSheet(QStringLiteral("light.qss"), lightButtonText, lightCloseText));
    QVERIFY(writeStyleSheet(QStringLiteral("dark.qss"), darkButtonText, darkCloseText));
    MainWindow window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    const QList<QPushButton *> buttons =
        window.findChild<QWidget *>(ShellObjectNames::titleBar)->findChildren<QPushButton *>();
    QCOMPARE(buttons.size(), 3);

    const auto glyphsAre = [&buttons](const QColor &button, const QColor &close) {
        return glyphHasColour(buttons.at(0), button) && glyphHasColour(buttons.at(1), button) &&
               glyphHasColour(buttons.at(2), close);
    };
    QVERIFY(glyphsAre(lightButtonText, lightCloseText));
    // No hover or other event in between: applyTheme alone must recolour them.
    window.applyTheme(Dark);
    QVERIFY(glyphsAre(darkButtonText, darkCloseText));
    window.applyTheme(Light);
    QVERIFY(glyphsAre(lightButtonText, lightCloseText));
}

void MainWindowTest::darkSheetColoursTheGlyphs()
{
    MainWindow window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    window.applyTheme(Dark);
    const QColor darkTitleText(0xf2, 0xf5, 0xf8);
    for (QPushButton *button :
         window.findChild<QWidget *>(ShellObjectNames::titleBar)->findChildren<QPushButton *>()) {
        QString why;
        QVERIFY2(glyphHasColour(button, darkTitleText, &why), qPrintable(why));
    }
}

void MainWindowTest::closingClosesTheSwitcherAndEndsTheLoop()
{
    MainWindow window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    StyleSwitcherWindow *switcher = switcherOf(window);
    QVERIFY(switcher->isVisible());

    auto *closeButton = window.findChild<QPushButton *>(QStringLiteral("appCloseButton"));
    // Looked at before the loop winds down, since quitting closes every window anyway.
    bool switcherClosed = false;
    QTimer::singleShot(0, closeButton, [closeButton, switcher, &switcherClosed] {
        closeButton->click();
        switcherClosed = switcher->isHidden();
    });
    QCOMPARE(QApplication::exec(), 0);
    QVERIFY(switcherClosed);
    QVERIFY(!window.isVisible());
}

QTEST_MAIN(MainWindowTest)
#include "tst_mainwindow.moc"
