// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "switcher/styleswitcherwindow.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QRadioButton>
#include <QSignalSpy>
#include <QtTest>

#include <optional>

Q_DECLARE_METATYPE(std::optional<ColorScheme>)

namespace {

QList<int> requestedThemes(const QSignalSpy &spy)
{
    QList<int> themes;
    for (const QList<QVariant> &arguments : spy)
        themes << arguments.at(0).toInt();
    return themes;
}

QRadioButton *themeButton(const StyleSwitcherWindow &switcher, int id)
{
    return qobject_cast<QRadioButton *>(switcher.findChild<QButtonGroup *>()->button(id));
}

// Radio buttons take clicks on their indicator and label only, not on their whole width.
void clickButton(QRadioButton *button)
{
    QTest::mouseClick(button, Qt::LeftButton, Qt::NoModifier, QPoint(6, button->height() / 2));
}

} // namespace

class StyleSwitcherTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void window();
    void buttonLayout_data();
    void buttonLayout();
    void clickRequestsOnce_data();
    void clickRequestsOnce();
    void arrowKeysRequestLikeAClick_data();
    void arrowKeysRequestLikeAClick();
    void setCurrentTheme_data();
    void setCurrentTheme();
    void schemeClickRequestsOnce_data();
    void schemeClickRequestsOnce();
};

void StyleSwitcherTest::initTestCase()
{
    qRegisterMetaType<ThemeIndex>("ThemeIndex");
    qRegisterMetaType<std::optional<ColorScheme>>();
}

void StyleSwitcherTest::window()
{
    QWidget owner;
    StyleSwitcherWindow switcher(&owner);
    QCOMPARE(switcher.windowType(), Qt::Tool);
    QCOMPARE(switcher.windowTitle(), QStringLiteral("Style Switcher"));
    QCOMPARE(switcher.minimumSize(), QSize(640, 240));
    QCOMPARE(switcher.maximumSize(), QSize(640, 240));
    QCOMPARE(switcher.findChild<QGroupBox *>()->title(), QStringLiteral("Prismark Style"));
    QCOMPARE(switcher.findChild<QButtonGroup *>()->checkedId(), 0);
}

void StyleSwitcherTest::buttonLayout_data()
{
    QTest::addColumn<int>("id");
    QTest::addColumn<QString>("text");
    const char *const texts[] = {"Light",        "Blue Light",  "Arduino",      "VS17 Light",
                                 "Ayu Bordered", "Tokyo Light", "Absent Light", "Monochromator",
                                 "Neon Green",   "Horizon",     "Purple Blue",  "Dark"};
    for (int id = 0; id < 12; ++id) {
        const QString row = QStringLiteral("\"%1\" is button %2 at row %3, column %4")
                                .arg(QLatin1String(texts[id]))
                                .arg(id)
                                .arg(id / 4)
                                .arg(id % 4);
        QTest::newRow(qPrintable(row)) << id << QString::fromLatin1(texts[id]);
    }
}

void StyleSwitcherTest::buttonLayout()
{
    QFETCH(int, id);
    QFETCH(QString, text);
    QWidget owner;
    StyleSwitcherWindow switcher(&owner);
    QRadioButton *button = themeButton(switcher, id);
    QCOMPARE(button->text(), text);
    const auto *grid = qobject_cast<QGridLayout *>(switcher.findChild<QGroupBox *>()->layout());
    QVERIFY(grid);
    QCOMPARE(grid->itemAtPosition(id / 4, id % 4)->widget(), button);
}

void StyleSwitcherTest::clickRequestsOnce_data()
{
    QTest::addColumn<int>("current");
    QTest::addColumn<int>("clicked");
    QTest::addColumn<QList<int>>("requested");
    QTest::newRow("clicking Tokyo Light after Light requests 5 once") << 0 << 5 << QList<int>{5};
    QTest::newRow("clicking Dark after Horizon requests 11 once") << 9 << 11 << QList<int>{11};
    QTest::newRow("clicking Light after Dark requests 0 once") << 11 << 0 << QList<int>{0};
    QTest::newRow("clicking the checked button requests nothing") << 7 << 7 << QList<int>{};
}

void StyleSwitcherTest::clickRequestsOnce()
{
    QFETCH(int, current);
    QFETCH(int, clicked);
    QFETCH(QList<int>, requested);
    QWidget owner;
    StyleSwitcherWindow switcher(&owner);
    switcher.setCurrentTheme(current);
    switcher.show();
    QVERIFY(QTest::qWaitForWindowExposed(&switcher));
    QSignalSpy spy(&switcher, &StyleSwitcherWindow::themeRequested);

    clickButton(themeButton(switcher, clicked));
    QCOMPARE(requestedThemes(spy), requested);
    QCOMPARE(switcher.findChild<QButtonGroup *>()->checkedId(), clicked);
}

void StyleSwitcherTest::arrowKeysRequestLikeAClick_data()
{
    QTest::addColumn<int>("current");
    QTest::addColumn<int>("key");
    QTest::addColumn<QList<int>>("requested");
    QTest::newRow("right arrow from Light requests Blue Light")
        << 0 << int(Qt::Key_Right) << QList<int>{1};
    QTest::newRow("down arrow from Blue Light requests Tokyo Light")
        << 1 << int(Qt::Key_Down) << QList<int>{5};
    QTest::newRow("left arrow from Dark requests Purple Blue")
        << 11 << int(Qt::Key_Left) << QList<int>{10};
    QTest::newRow("up arrow from the top row requests nothing")
        << 2 << int(Qt::Key_Up) << QList<int>{};
}

void StyleSwitcherTest::arrowKeysRequestLikeAClick()
{
    QFETCH(int, current);
    QFETCH(int, key);
    QFETCH(QList<int>, requested);
    QWidget owner;
    StyleSwitcherWindow switcher(&owner);
    switcher.setCurrentTheme(current);
    switcher.show();
    switcher.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&switcher));
    themeButton(switcher, current)->setFocus();
    QSignalSpy spy(&switcher, &StyleSwitcherWindow::themeRequested);

    QTest::keyClick(themeButton(switcher, current), Qt::Key(key));
    QCOMPARE(requestedThemes(spy), requested);
}

void StyleSwitcherTest::setCurrentTheme_data()
{
    QTest::addColumn<int>("before");
    QTest::addColumn<QList<int>>("blockedBefore");
    QTest::addColumn<int>("index");
    QTest::addColumn<int>("checkedAfter");
    QTest::newRow("11 checks Dark") << 0 << QList<int>{} << 11 << 11;
    QTest::newRow("the current theme again keeps it checked") << 4 << QList<int>{} << 4 << 4;
    QTest::newRow("12 changes nothing") << 5 << QList<int>{} << 12 << 5;
    QTest::newRow("-1 changes nothing") << 5 << QList<int>{} << -1 << 5;
    QTest::newRow("buttons blocked beforehand stay blocked, the others unblocked")
        << 0 << QList<int>{0, 3, 11} << 11 << 11;
}

void StyleSwitcherTest::setCurrentTheme()
{
    QFETCH(int, before);
    QFETCH(QList<int>, blockedBefore);
    QFETCH(int, index);
    QFETCH(int, checkedAfter);
    QWidget owner;
    StyleSwitcherWindow switcher(&owner);
    switcher.setCurrentTheme(before);
    for (const int id : blockedBefore)
        themeButton(switcher, id)->blockSignals(true);
    QSignalSpy spy(&switcher, &StyleSwitcherWindow::themeRequested);

    switcher.setCurrentTheme(index);
    QCOMPARE(spy.count(), 0);
    int checkedCount = 0;
    for (int id = 0; id < 12; ++id) {
        QRadioButton *button = themeButton(switcher, id);
        checkedCount += button->isChecked() ? 1 : 0;
        QCOMPARE(button->signalsBlocked(), blockedBefore.contains(id));
    }
    QCOMPARE(checkedCount, 1);
    QCOMPARE(switcher.findChild<QButtonGroup *>()->checkedId(), checkedAfter);
}

void StyleSwitcherTest::schemeClickRequestsOnce_data()
{
    QTest::addColumn<std::optional<ColorScheme>>("current");
    QTest::addColumn<QString>("clicked");
    QTest::addColumn<int>("requests");
    QTest::addColumn<std::optional<ColorScheme>>("after");
    const std::optional<ColorScheme> desktop, light = ColorScheme::Light, dark = ColorScheme::Dark;
    QTest::newRow("Dark from Desktop") << desktop << QStringLiteral("Dark") << 1 << dark;
    QTest::newRow("Desktop from Light") << light << QStringLiteral("Desktop") << 1 << desktop;
    QTest::newRow("Light from Dark") << dark << QStringLiteral("Light") << 1 << light;
    QTest::newRow("the checked scheme again requests nothing")
        << dark << QStringLiteral("Dark") << 0 << dark;
}

// The scheme buttons, beside the themes: one request a change, and the theme stays.
void StyleSwitcherTest::schemeClickRequestsOnce()
{
    QFETCH(std::optional<ColorScheme>, current);
    QFETCH(QString, clicked);
    QFETCH(int, requests);
    QFETCH(std::optional<ColorScheme>, after);
    QWidget owner;
    StyleSwitcherWindow switcher(&owner);
    switcher.setCurrentTheme(Dark);
    switcher.setCurrentColorScheme(current);
    QCOMPARE(switcher.currentColorScheme(), current);
    switcher.show();
    QVERIFY(QTest::qWaitForWindowExposed(&switcher));
    QSignalSpy themes(&switcher, &StyleSwitcherWindow::themeRequested);
    QSignalSpy schemes(&switcher, &StyleSwitcherWindow::colorSchemeRequested);

    const QList<QGroupBox *> boxes = switcher.findChildren<QGroupBox *>();
    QCOMPARE(boxes.size(), 2);
    QRadioButton *button = nullptr;
    for (QRadioButton *candidate : boxes.at(1)->findChildren<QRadioButton *>()) {
        if (candidate->text() == clicked)
            button = candidate;
    }
    QVERIFY(button);
    clickButton(button);
    QCOMPARE(schemes.count(), requests);
    QCOMPARE(themes.count(), 0);
    QCOMPARE(switcher.currentColorScheme(), after);
    QCOMPARE(themeButton(switcher, Dark)->isChecked(), true);
}

QTEST_MAIN(StyleSwitcherTest)
#include "tst_styleswitcher.moc"
