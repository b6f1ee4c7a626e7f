// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "shell/mainwindow.h"
#include "switcher/styleswitcherwindow.h"
#include "theme/themecatalogue.h"
#include "widgetstyles/themestyles.h"

#include <QApplication>
#include <QButtonGroup>
#include <QProxyStyle>
#include <QRadioButton>
#include <QSet>
#include <QtTest>

namespace {

// Watches the theme styles the application installs: each proxy style seen for the
// first time counts as constructed, and its destroyed signal, like that of its
// Fusion base, as destroyed. Nothing in the program needs to know about it.
class StyleLedger : public QObject
{
public:
    int proxiesConstructed = 0;
    int proxiesDestroyed = 0;
    int basesConstructed = 0;
    int basesDestroyed = 0;
    int proxiesWithoutFusionBase = 0;

    // The installed proxies; the application wraps them in its style sheet style
    // once a sheet is set, so they are looked for among its descendants.
    static QList<QProxyStyle *> installedProxies() { return qApp->findChildren<QProxyStyle *>(); }

    void observe()
    {
        for (QProxyStyle *proxy : installedProxies()) {
            if (proxy->property(seenProperty).toBool())
                continue;
            proxy->setProperty(seenProperty, true);
            ++proxiesConstructed;
            connect(proxy, &QObject::destroyed, this, [this] { ++proxiesDestroyed; });
            QStyle *base = proxy->baseStyle();
            if (!base ||
                base->objectName().compare(QLatin1String("fusion"), Qt::CaseInsensitive) != 0)
                ++proxiesWithoutFusionBase;
            if (base && !bases.contains(base)) {
                bases.insert(base);
                ++basesConstructed;
                connect(base, &QObject::destroyed, this, [this, base] {
                    bases.remove(base);
                    ++basesDestroyed;
                });
            }
        }
    }

private:
    static constexpr const char *seenProperty = "soakLedgerSeen";
    QSet<QObject *> bases;
};

int directStylesOfApplication()
{
    return qApp->findChildren<QStyle *>(QString(), Qt::FindDirectChildrenOnly).size();
}

template <typename Style> bool installed()
{
    const QList<QProxyStyle *> proxies = StyleLedger::installedProxies();
    return proxies.size() == 1 && dynamic_cast<Style *>(proxies.first()) != nullptr;
}

} // namespace

class tst_ThemeSoak : public QObject
{
    Q_OBJECT

private slots:
    void switchingThemesLeavesOneStyleAlive_data();
    void switchingThemesLeavesOneStyleAlive();
};

void tst_ThemeSoak::switchingThemesLeavesOneStyleAlive_data()
{
    QTest::addColumn<bool>("throughSwitcher");
    QTest::addColumn<int>("rounds");

    QTest::newRow("twelve themes in turn, applied directly") << false << 25;
    QTest::newRow("twelve themes in turn, clicked in the switcher") << true << 5;
}

void tst_ThemeSoak::switchingThemesLeavesOneStyleAlive()
{
    QFETCH(bool, throughSwitcher);
    QFETCH(int, rounds);

    MainWindow window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    auto *switcher = window.findChild<StyleSwitcherWindow *>();
    QVERIFY(switcher);
    // The theme buttons, the first group's; the colour scheme's come after.
    QList<QAbstractButton *> buttons = switcher->findChild<QButtonGroup *>()->buttons();
    QCOMPARE(buttons.size(), ThemeCount);

    StyleLedger ledger;
    ledger.observe();
    QCOMPARE(ledger.proxiesConstructed, 1);

    // The first click goes to a theme other than the current Light, so each click
    // below is a real change and requests exactly one theme.
    int switches = 0;
    for (int round = 0; round < rounds; ++round) {
        for (int id = 0; id < ThemeCount; ++id) {
            const Theme theme = static_cast<Theme>((id + 1) % ThemeCount);
            if (throughSwitcher) {
                // On the indicator: a radio button ignores clicks beyond its label.
                auto *button = qobject_cast<QRadioButton *>(buttons.at(theme));
                QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(6, button->height() / 2));
            } else
                window.applyTheme(theme);
            ++switches;
            ledger.observe();
            QCOMPARE(ledger.proxiesConstructed, switches + 1);
            QCOMPARE(ledger.proxiesDestroyed, switches);
        }
    }
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();

    QVERIFY(installed<AppLightStyle>());
    QCOMPARE(ledger.proxiesWithoutFusionBase, 0);
    QCOMPARE(ledger.proxiesConstructed, switches + 1);
    QCOMPARE(ledger.proxiesDestroyed, switches);
    QCOMPARE(ledger.basesConstructed, switches + 1);
    QCOMPARE(ledger.basesDestroyed, switches);
    QCOMPARE(directStylesOfApplication(), 1);
}

QTEST_MAIN(tst_ThemeSoak)
#include "tst_themesoak.moc"
