// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "inkcolour.h"
#include "shell/mainwindow.h"
#include "switcher/styleswitcherwindow.h"
#include "theme/schemepalette.h"
#include "widgetstyles/sheetpalette.h"

#include <QApplication>
#include <QLabel>
#include <QtTest>

#include <optional>

Q_DECLARE_METATYPE(std::optional<ColorScheme>)

namespace {

// Paints labels and nothing else: their text is the palette's.
const char labelSheet[] = "QLabel { background: #272727; }";
const QColor labelBackground(0x27, 0x27, 0x27);

// The first label of the gallery's first page that shows text, as drawn now.
QImage firstLabel(const MainWindow &window)
{
    for (QLabel *label : window.galleryTabPage(0)->findChildren<QLabel *>()) {
        if (label->isVisible() && !label->text().isEmpty() && label->width() > 20)
            return label->grab().toImage();
    }
    return QImage();
}

} // namespace

// The gallery's colour scheme, picked in the Style Switcher, as pixels: the text of
// a sheet that paints only backgrounds is written in the scheme's ink.
class TestColorScheme : public QObject
{
    Q_OBJECT
private slots:
    // Each row starts on the desktop's palette, as the gallery does.
    void init() { setSchemeUnderSheets(std::nullopt); }
    void switcherSchemeWritesTheText_data();
    void switcherSchemeWritesTheText();
};

void TestColorScheme::switcherSchemeWritesTheText_data()
{
    QTest::addColumn<std::optional<ColorScheme>>("scheme");
    QTest::addColumn<bool>("authorSheet");
    QTest::addColumn<bool>("darkInk");
    QTest::newRow("an author's sheet under Light: black text on dark labels")
        << std::optional<ColorScheme>(ColorScheme::Light) << true << true;
    QTest::newRow("an author's sheet under Dark: light text")
        << std::optional<ColorScheme>(ColorScheme::Dark) << true << false;
    // The Dark theme's @palette names WindowText: the theme's own ink wins over any scheme.
    QTest::newRow("the Dark theme under Light keeps its own light text")
        << std::optional<ColorScheme>(ColorScheme::Light) << false << false;
}

void TestColorScheme::switcherSchemeWritesTheText()
{
    QFETCH(std::optional<ColorScheme>, scheme);
    QFETCH(bool, authorSheet);
    QFETCH(bool, darkInk);
    MainWindow window;
    window.resize(1040, 720);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    if (authorSheet)
        window.applyStyleSheet(QString::fromLatin1(labelSheet), QStringLiteral("author.qss"));
    else
        window.applyTheme(Dark);
    const QPalette desktop = QApplication::palette();

    StyleSwitcherWindow *switcher = window.styleSwitcherWindow();
    QCOMPARE(switcher->currentColorScheme(), std::optional<ColorScheme>());
    // As a click: the switcher requests, the window restyles at once.
    emit switcher->colorSchemeRequested(scheme);
    QCOMPARE(window.colorScheme(), scheme);
    QCOMPARE(switcher->currentColorScheme(), scheme);
    QApplication::processEvents();
    const QImage label = firstLabel(window);
    QVERIFY(!label.isNull());
    const QColor ink = inkOn(label, authorSheet ? labelBackground : label.pixelColor(0, 0));
    QVERIFY2(darkInk ? isDarkInk(ink) : isLightInk(ink), qPrintable(ink.name()));

    // Desktop gives the palette the platform gives back.
    emit switcher->colorSchemeRequested(std::nullopt);
    QCOMPARE(QApplication::palette().color(QPalette::WindowText),
             desktop.color(QPalette::WindowText));
    QCOMPARE(QApplication::palette().color(QPalette::Window), desktop.color(QPalette::Window));
}

QTEST_MAIN(TestColorScheme)
#include "tst_colorscheme.moc"
