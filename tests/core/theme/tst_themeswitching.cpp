// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "shell/mainwindow.h"
#include "switcher/styleswitcherwindow.h"
#include "theme/stylesheetloader.h"
#include "widgetstyles/themestyles.h"

#include "guitestsupport.h"

#include "testsupport.h"

#include <QtTest>

#include <QButtonGroup>
#include <QLabel>
#include <QRadioButton>
#include <QStyleFactory>

#include <memory>
#include <sys/stat.h>
#include <typeinfo>

namespace {

const QPalette::ColorGroup kGroups[] = {QPalette::Active, QPalette::Inactive, QPalette::Disabled};
const QPalette::ColorRole kThemedRoles[] = {
    QPalette::Window,        QPalette::WindowText, QPalette::Base,
    QPalette::AlternateBase, QPalette::Text,       QPalette::Button,
    QPalette::ButtonText,    QPalette::Highlight,  QPalette::HighlightedText};

QString themeStyleClass(const QStyle *style)
{
    return style ? QString::fromLatin1(typeid(*style).name()) : QStringLiteral("none");
}

QVector<QRgb> themedPaletteEntries()
{
    const QPalette palette = QApplication::palette();
    QVector<QRgb> entries;
    for (QPalette::ColorGroup group : kGroups) {
        for (QPalette::ColorRole role : kThemedRoles)
            entries.append(palette.color(group, role).rgba());
    }
    return entries;
}

} // namespace

class TestThemeSwitching : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void cleanup();

    void startsInLight();
    void applyTheme_data();
    void applyTheme();
    void applyingTheCurrentThemeInstallsAFreshStyle();
    void darkToLightLeavesNothingBehind();
    void invokableByName();
    void badDiskCopy_data();
    void badDiskCopy();
    void polishStepsAreSafeOnTheirOwn();

private:
    QString checkedSwitcherButton() const;
    QString statusText() const;

    std::unique_ptr<MainWindow> window;
    QVector<QRgb> lightPalette;
};

void TestThemeSwitching::initTestCase()
{
    qRegisterMetaType<ThemeIndex>("ThemeIndex");
    window = std::make_unique<MainWindow>();
    lightPalette = themedPaletteEntries();
}

void TestThemeSwitching::cleanupTestCase()
{
    window.reset();
}

void TestThemeSwitching::cleanup()
{
    QDir(stylesBesideExecutable()).removeRecursively();
}

QString TestThemeSwitching::checkedSwitcherButton() const
{
    QStringList checked;
    // The theme buttons, the first group's; the colour scheme's come after.
    for (const QAbstractButton *button :
         window->findChild<StyleSwitcherWindow *>()->findChild<QButtonGroup *>()->buttons()) {
        if (button->isChecked())
            checked.append(button->text());
    }
    return checked.join(QLatin1Char('|'));
}

QString TestThemeSwitching::statusText() const
{
    return window->findChild<QLabel *>(QStringLiteral("statusLabel"))->text();
}

void TestThemeSwitching::startsInLight()
{
    QCOMPARE(themeStyleClass(installedThemeStyle()), QString(typeid(AppLightStyle).name()));
    QCOMPARE(checkedSwitcherButton(), QString("Light"));
    QCOMPARE(statusText(), QString("Current style: Light"));
    QCOMPARE(window->size(), QSize(1040, 720));
    QCOMPARE(window->windowTitle(), QString("Prismark Preview"));
    QCOMPARE(window->windowFlags(), Qt::Window | Qt::FramelessWindowHint);
    QCOMPARE(window->minimumSize(), QSize(860, 560));
}

void TestThemeSwitching::applyTheme_data()
{
    QTest::addColumn<int>("value");
    QTest::addColumn<QString>("styleClass");
    QTest::addColumn<QString>("switcherLabel");
    QTest::addColumn<QString>("displayName");
    QTest::addColumn<QColor>("window");
    QTest::addColumn<QColor>("buttonText");
    QTest::addColumn<QColor>("disabledText");

    const auto row = [](const char *name, int value, const std::type_info &type, const char *label,
                        const char *display, const char *window, const char *buttonText,
                        const char *disabledText) {
        QTest::newRow(name) << value << QString(type.name()) << QString(label) << QString(display)
                            << QColor(window) << QColor(buttonText) << QColor(disabledText);
    };
    row("0 Light", 0, typeid(AppLightStyle), "Light", "Light", "#f6f8fb", "#1d2228", "#919aa6");
    row("1 Blue Light", 1, typeid(AppBlueLightStyle), "Blue Light", "Blue Light", "#f5f7fa",
        "#303133", "#a8abb2");
    row("2 Arduino Light", 2, typeid(AppArduinoLightStyle), "Arduino", "Arduino Light", "#f5fbfb",
        "#266f6f", "#9aa8a8");
    row("3 VS17 Light", 3, typeid(AppVS17LightStyle), "VS17 Light", "VS17 Light", "#f3f3f3",
        "#1e1e1e", "#8a8886");
    row("4 Ayu Light Bordered", 4, typeid(AppAyuLightBorderedStyle), "Ayu Bordered",
        "Ayu Light Bordered", "#f8f9fa", "#5c6166", "#b1b9c3");
    row("5 Tokyo Night Light", 5, typeid(AppTokyoNightLightStyle), "Tokyo Light",
        "Tokyo Night Light", "#d6d8df", "#363c4d", "#707280");
    row("6 Absent Light", 6, typeid(AppAbsentLightStyle), "Absent Light", "Absent Light", "#f2f2f2",
        "#465360", "#a2a797");
    row("7 Monochromator Light", 7, typeid(AppMonochromatorLightStyle), "Monochromator",
        "Monochromator Light", "#f0f0f2", "#303034", "#76767c");
    row("8 Neon Green Light", 8, typeid(AppNeonGreenLightStyle), "Neon Green", "Neon Green Light",
        "#f0faf0", "#2a2d3e", "#7f927f");
    row("9 Horizon Modern Light", 9, typeid(AppHorizonModernLightStyle), "Horizon",
        "Horizon Modern Light", "#f4f6f8", "#1f2933", "#7b8794");
    row("10 Purple Blue", 10, typeid(AppPurpleBlueStyle), "Purple Blue", "Purple Blue", "#0b0f1a",
        "#cdd6f4", "#6c7086");
    row("11 Dark", 11, typeid(AppDarkStyle), "Dark", "Dark", "#1f2329", "#f2f5f8", "#7e8894");
    row("12 falls back to Light", 12, typeid(AppLightStyle), "Light", "Light", "#f6f8fb", "#1d2228",
        "#919aa6");
    row("-1 falls back to Light", -1, typeid(AppLightStyle), "Light", "Light", "#f6f8fb", "#1d2228",
        "#919aa6");
    row("far out of range falls back to Light", 1 << 30, typeid(AppLightStyle), "Light", "Light",
        "#f6f8fb", "#1d2228", "#919aa6");
}

void TestThemeSwitching::applyTheme()
{
    QFETCH(int, value);
    QFETCH(QString, styleClass);
    QFETCH(QString, switcherLabel);
    QFETCH(QString, displayName);
    QFETCH(QColor, window);
    QFETCH(QColor, buttonText);
    QFETCH(QColor, disabledText);

    // Start from a theme other than the expected one, so nothing passes by inertia.
    this->window->applyTheme(displayName == "Dark" ? Light : Dark);
    QSignalSpy requests(this->window->findChild<StyleSwitcherWindow *>(),
                        &StyleSwitcherWindow::themeRequested);
    this->window->applyTheme(Theme(value));
    QCOMPARE(requests.count(), 0); // marking the theme in the switcher asks for nothing

    const Theme effective = themeInfo(Theme(value)).theme;
    QCOMPARE(themeStyleClass(installedThemeStyle()), styleClass);
    QCOMPARE(qApp->styleSheet(), loadThemeStyleSheet(effective));
    QVERIFY(!qApp->styleSheet().isEmpty());
    QCOMPARE(checkedSwitcherButton(), switcherLabel);
    QCOMPARE(statusText(), "Current style: " + displayName);

    const QPalette palette = QApplication::palette();
    for (QPalette::ColorGroup group : kGroups) {
        QCOMPARE(palette.color(group, QPalette::Window), window);
        if (group != QPalette::Disabled)
            QCOMPARE(palette.color(group, QPalette::ButtonText), buttonText);
    }
    QCOMPARE(palette.color(QPalette::Disabled, QPalette::Text), disabledText);
    QCOMPARE(palette.color(QPalette::Disabled, QPalette::ButtonText), disabledText);
}

void TestThemeSwitching::applyingTheCurrentThemeInstallsAFreshStyle()
{
    window->applyTheme(TokyoNightLight);
    QPointer<QStyle> first = installedThemeStyle();
    const QString sheet = qApp->styleSheet();
    const QVector<QRgb> palette = themedPaletteEntries();
    window->findChild<QLabel *>(QStringLiteral("statusLabel"))->clear();

    window->applyTheme(TokyoNightLight);

    QVERIFY(first.isNull()); // the application disposed of the replaced style
    QCOMPARE(themeStyleClass(installedThemeStyle()),
             QString(typeid(AppTokyoNightLightStyle).name()));
    QCOMPARE(qApp->styleSheet(), sheet);
    QCOMPARE(themedPaletteEntries(), palette);
    QCOMPARE(statusText(), QString("Current style: Tokyo Night Light"));
}

void TestThemeSwitching::darkToLightLeavesNothingBehind()
{
    window->applyTheme(Dark);
    QVERIFY(themedPaletteEntries() != lightPalette);
    window->applyTheme(PurpleBlue);
    window->applyTheme(Light);
    QCOMPARE(themedPaletteEntries(), lightPalette);
    QCOMPARE(qApp->styleSheet(), loadThemeStyleSheet(Light));
}

void TestThemeSwitching::invokableByName()
{
    const QMetaObject *meta = window->metaObject();
    QCOMPARE(meta->methodCount() - meta->methodOffset(), 1);
    const QMetaMethod slot = meta->method(meta->methodOffset());
    QCOMPARE(slot.methodSignature(), QByteArray("applyTheme(Theme)"));
    QCOMPARE(slot.parameterNames(), QList<QByteArray>{"theme"});

    QVERIFY(QMetaObject::invokeMethod(window.get(), "applyTheme", Q_ARG(Theme, Dark)));
    QCOMPARE(statusText(), QString("Current style: Dark"));
    QCOMPARE(checkedSwitcherButton(), QString("Dark"));
}

void TestThemeSwitching::badDiskCopy_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<bool>("installsDiskText");

    QTest::newRow("binary garbage is installed as it is") << "garbage" << true;
    QTest::newRow("text that is not UTF-8 is installed decoded") << "latin1" << true;
    QTest::newRow("a file of tens of megabytes is installed") << "huge" << true;
    QTest::newRow("an empty file falls back to the next copy") << "empty" << false;
    QTest::newRow("a directory falls back to the next copy") << "directory" << false;
    QTest::newRow("a FIFO falls back instead of blocking") << "fifo" << false;
}

void TestThemeSwitching::badDiskCopy()
{
    QFETCH(QString, kind);
    QFETCH(bool, installsDiskText);

    QVERIFY(QDir().mkpath(stylesBesideExecutable()));
    const QString path = QDir(stylesBesideExecutable()).filePath("dark.qss");
    QByteArray bytes;
    if (kind == "garbage") {
        bytes.resize(64 * 1024);
        quint32 seed = 12345;
        for (char &byte : bytes) {
            seed = seed * 1664525u + 1013904223u;
            byte = char(seed >> 24);
        }
        bytes.prepend("@palette Window = #ff0000 \x01\x02{{{");
    } else if (kind == "latin1") {
        bytes = "/* caf\xe9 */\n@palette Window = #ff0000\nQWidget { color: #00ff00; }\n";
    } else if (kind == "huge") {
        bytes = QByteArray("@palette Window = #ff0000\n") + QByteArray(20 * 1024 * 1024, 'x');
    }
    if (kind == "directory") {
        QVERIFY(QDir().mkpath(path));
    } else if (kind == "fifo") {
        QVERIFY(makeFifo(path));
    } else {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    window->applyTheme(Dark);

    QCOMPARE(themeStyleClass(installedThemeStyle()), QString(typeid(AppDarkStyle).name()));
    QCOMPARE(statusText(), QString("Current style: Dark"));
    QCOMPARE(checkedSwitcherButton(), QString("Dark"));
    if (installsDiskText) {
        QCOMPARE(qApp->styleSheet(), decodeStyleSheetText(bytes));
        QCOMPARE(QApplication::palette().color(QPalette::Window), QColor("#ff0000"));
    } else {
        QCOMPARE(qApp->styleSheet(), readStyleSheetFile(":/styles/dark.qss"));
        QCOMPARE(QApplication::palette().color(QPalette::Window), QColor("#1f2329"));
    }
    window->applyTheme(Light);
}

void TestThemeSwitching::polishStepsAreSafeOnTheirOwn()
{
    window->applyTheme(Light);
    const QString sheet = qApp->styleSheet();
    const QVector<QRgb> palette = themedPaletteEntries();

    AppDarkStyle dark;
    dark.polish(static_cast<QApplication *>(nullptr));
    dark.unpolish(qApp);
    QCOMPARE(qApp->styleSheet(), sheet);
    QCOMPARE(themedPaletteEntries(), palette);

    // The palette polish only writes what the directives name.
    QPalette untouched(Qt::magenta);
    untouched.setColor(QPalette::ToolTipBase, Qt::cyan);
    dark.polish(untouched);
    QCOMPARE(untouched.color(QPalette::Window), QColor("#1f2329"));
    QCOMPARE(untouched.color(QPalette::ToolTipBase), QColor(Qt::cyan));
    QCOMPARE(untouched.color(QPalette::Active, QPalette::Mid),
             QPalette(Qt::magenta).color(QPalette::Mid));
}

QTEST_MAIN(TestThemeSwitching)
#include "tst_themeswitching.moc"
