// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "shell/titlebar.h"

#include "theme/stylesheetloader.h"

#include "glyphcolour.h"

#include <QApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QSvgRenderer>
#include <QtTest>
#include <private/qhighdpiscaling_p.h>

namespace {

const QString maximizeGlyph = QStringLiteral(":/icons/icons/system/window-maximize.svg");
const QString restoreGlyph = QStringLiteral(":/icons/icons/system/window-restore.svg");

enum ButtonRole
{
    Minimize,
    Maximize,
    Close
};

// A plain top-level window with a title bar on it, standing in for the main window.
struct Host
{
    QWidget window;
    TitleBar *bar;

    Host()
    {
        QPixmap icon(32, 32);
        icon.fill(Qt::red);
        window.setWindowIcon(QIcon(icon));
        window.setWindowTitle(QStringLiteral("Host Window"));
        bar = new TitleBar(&window, &window);
        bar->setGeometry(0, 0, 600, 40);
        window.resize(600, 200);
        window.move(100, 120);
    }

    QPushButton *button(ButtonRole role) const
    {
        return bar->findChildren<QPushButton *>(QString(), Qt::FindDirectChildrenOnly).at(role);
    }
    QLabel *titleLabel() const { return bar->findChild<QLabel *>(QStringLiteral("appTitleLabel")); }
};

void sendMouse(QWidget *target, QEvent::Type type, QPoint global, Qt::MouseButton button,
               Qt::MouseButtons buttons)
{
    QMouseEvent event(type, target->mapFromGlobal(global), global, button, buttons, Qt::NoModifier);
    QApplication::sendEvent(target, &event);
}

QImage glyphImage(const QPushButton *button)
{
    return button->icon().pixmap(12, 12).toImage().convertToFormat(
        QImage::Format_ARGB32_Premultiplied);
}

// The coverage of an SVG drawn into 12 x 12, to compare shapes whatever their colour.
QImage coverage(const QImage &image)
{
    return image.convertToFormat(QImage::Format_Alpha8);
}

QImage svgCoverage(const QString &path)
{
    QImage image(12, 12, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    QSvgRenderer(path).render(&painter);
    painter.end();
    return coverage(image);
}

} // namespace

class TitleBarTest : public QObject
{
    Q_OBJECT

private slots:
    void cleanup();
    void buttons_data();
    void buttons();
    void drag_data();
    void drag();
    void toggleMaximized_data();
    void toggleMaximized();
    void windowButtonsActOnTheWindow_data();
    void windowButtonsActOnTheWindow();
    void glyphColour_data();
    void glyphColour();
    void glyphsFollowANewSheetOnSync();
    void buttonsFitTheBarInEveryTheme_data();
    void buttonsFitTheBarInEveryTheme();
    void glyphsMatchThePixelRatio_data();
    void glyphsMatchThePixelRatio();
};

void TitleBarTest::cleanup()
{
    qApp->setStyleSheet(QString());
}

void TitleBarTest::buttons_data()
{
    QTest::addColumn<int>("role");
    QTest::addColumn<QString>("objectName");
    QTest::addColumn<QString>("toolTip");
    QTest::newRow("minimise button") << int(Minimize) << "appWindowButton"
                                     << "Minimize";
    QTest::newRow("maximise button") << int(Maximize) << "appWindowButton"
                                     << "Maximize";
    QTest::newRow("close button") << int(Close) << "appCloseButton"
                                  << "Close";
}

void TitleBarTest::buttons()
{
    QFETCH(int, role);
    QFETCH(QString, objectName);
    QFETCH(QString, toolTip);
    Host host;
    QCOMPARE(host.bar->objectName(), QStringLiteral("appTitleBar"));
    QCOMPARE(host.titleLabel()->text(), QStringLiteral("Host Window"));
    const QLabel *iconLabel = host.bar->findChildren<QLabel *>().at(0);
    QCOMPARE(iconLabel->pixmap(Qt::ReturnByValue).toImage().pixelColor(9, 9), QColor(Qt::red));

    QPushButton *button = host.button(ButtonRole(role));
    QCOMPARE(button->objectName(), objectName);
    QCOMPARE(button->toolTip(), toolTip);
    QCOMPARE(button->focusPolicy(), Qt::NoFocus);
    QVERIFY(button->text().isEmpty());
    QCOMPARE(button->iconSize(), QSize(12, 12));
    QCOMPARE(button->icon().pixmap(12, 12).size(), QSize(12, 12));
}

void TitleBarTest::drag_data()
{
    QTest::addColumn<int>("buttonValue");
    QTest::addColumn<bool>("maximized");
    QTest::addColumn<bool>("releaseFirst");
    QTest::addColumn<bool>("follows");
    QTest::newRow("left drag keeps the pressed point under the cursor")
        << int(Qt::LeftButton) << false << false << true;
    QTest::newRow("right drag leaves the window in place")
        << int(Qt::RightButton) << false << false << false;
    QTest::newRow("left drag of a maximised window leaves it in place")
        << int(Qt::LeftButton) << true << false << false;
    QTest::newRow("moving after the release leaves the window in place")
        << int(Qt::LeftButton) << false << true << false;
}

void TitleBarTest::drag()
{
    QFETCH(int, buttonValue);
    const auto button = Qt::MouseButton(buttonValue);
    QFETCH(bool, maximized);
    QFETCH(bool, releaseFirst);
    QFETCH(bool, follows);
    Host host;
    if (maximized)
        host.window.showMaximized();
    else
        host.window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&host.window));

    // Presses on the title label fall through to the bar, as a real press would.
    QLabel *label = host.titleLabel();
    const QPoint start = host.window.frameGeometry().topLeft();
    const QPoint pressed = label->mapToGlobal(QPoint(20, 10));
    sendMouse(label, QEvent::MouseButtonPress, pressed, button, button);
    if (releaseFirst)
        sendMouse(label, QEvent::MouseButtonRelease, pressed, button, Qt::NoButton);

    // Two steps, so a window that moved by each step's own travel would be caught.
    for (const QPoint travel : {QPoint(30, 20), QPoint(55, -10)}) {
        sendMouse(label, QEvent::MouseMove, pressed + travel, Qt::NoButton, button);
        QCOMPARE(host.window.frameGeometry().topLeft(), follows ? start + travel : start);
    }
    sendMouse(label, QEvent::MouseButtonRelease, pressed + QPoint(55, -10), button, Qt::NoButton);
    QCOMPARE(host.window.isMaximized(), maximized);
}

void TitleBarTest::toggleMaximized_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<bool>("toggles");
    QTest::newRow("maximise button click toggles") << "click" << true;
    QTest::newRow("left double-click on the title toggles") << "left double-click" << true;
    QTest::newRow("right double-click on the title does nothing") << "right double-click" << false;
    QTest::newRow("middle double-click on the title does nothing")
        << "middle double-click" << false;
}

void TitleBarTest::toggleMaximized()
{
    QFETCH(QString, action);
    QFETCH(bool, toggles);
    Host host;
    host.window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&host.window));
    QPushButton *maximize = host.button(Maximize);
    const auto act = [&] {
        if (action == QLatin1String("click"))
            QTest::mouseClick(maximize, Qt::LeftButton);
        else if (action == QLatin1String("left double-click"))
            QTest::mouseDClick(host.titleLabel(), Qt::LeftButton);
        else if (action == QLatin1String("right double-click"))
            QTest::mouseDClick(host.titleLabel(), Qt::RightButton);
        else
            QTest::mouseDClick(host.titleLabel(), Qt::MiddleButton);
    };

    // Twice: maximised and back, each time with glyph and tooltip of the new state.
    for (const bool maximizedAfter : {toggles, false}) {
        act();
        QCOMPARE(host.window.isMaximized(), maximizedAfter);
        QCOMPARE(maximize->toolTip(),
                 maximizedAfter ? QStringLiteral("Restore") : QStringLiteral("Maximize"));
        QCOMPARE(coverage(glyphImage(maximize)),
                 svgCoverage(maximizedAfter ? restoreGlyph : maximizeGlyph));
    }
}

void TitleBarTest::windowButtonsActOnTheWindow_data()
{
    QTest::addColumn<int>("role");
    QTest::addColumn<bool>("minimized");
    QTest::addColumn<bool>("visible");
    QTest::newRow("minimise button minimises the window") << int(Minimize) << true << true;
    QTest::newRow("close button closes the window") << int(Close) << false << false;
}

void TitleBarTest::windowButtonsActOnTheWindow()
{
    QFETCH(int, role);
    QFETCH(bool, minimized);
    QFETCH(bool, visible);
    Host host;
    host.window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&host.window));
    QTest::mouseClick(host.button(ButtonRole(role)), Qt::LeftButton);
    QCOMPARE(host.window.isMinimized(), minimized);
    QCOMPARE(host.window.isVisible(), visible);
}

void TitleBarTest::glyphColour_data()
{
    QTest::addColumn<int>("role");
    QTest::addColumn<QList<int>>("events");
    QTest::addColumn<QColor>("expected");
    QTest::addColumn<bool>("shown");
    const QColor buttonText(0x12, 0x34, 0x56);
    const QColor closeText(0x65, 0x43, 0x21);
    const QList<int> none;
    const QList<int> enter{QEvent::Enter};
    const QList<int> enterLeave{QEvent::Enter, QEvent::Leave};
    QTest::newRow("minimise glyph takes the button text colour")
        << int(Minimize) << none << buttonText << true;
    QTest::newRow("maximise glyph takes the button text colour")
        << int(Maximize) << none << buttonText << true;
    QTest::newRow("close glyph takes its own button text colour")
        << int(Close) << none << closeText << true;
    QTest::newRow("hovered close glyph turns white")
        << int(Close) << enter << QColor(Qt::white) << true;
    QTest::newRow("close glyph returns to its colour on leave")
        << int(Close) << enterLeave << closeText << true;
    QTest::newRow("hovered minimise glyph keeps its colour")
        << int(Minimize) << enter << buttonText << true;
    QTest::newRow("hovered maximise glyph keeps its colour")
        << int(Maximize) << enter << buttonText << true;
    QTest::newRow("glyphs of a bar never shown take the button text colour")
        << int(Minimize) << none << buttonText << false;
    QTest::newRow("disabled minimise glyph takes the disabled colour")
        << int(Minimize) << QList<int>{QEvent::EnabledChange} << QColor(0x99, 0x99, 0x99) << true;
}

void TitleBarTest::glyphColour()
{
    QFETCH(int, role);
    QFETCH(QList<int>, events);
    QFETCH(QColor, expected);
    QFETCH(bool, shown);
    qApp->setStyleSheet(QStringLiteral("#appWindowButton { color: #123456; }"
                                       "#appWindowButton:disabled { color: #999999; }"
                                       "#appCloseButton { color: #654321; }"));
    Host host;
    if (shown) {
        host.window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&host.window));
    }
    QPushButton *button = host.button(ButtonRole(role));
    for (const int type : events) {
        if (type == QEvent::EnabledChange) {
            button->setEnabled(false);
        } else {
            QEvent event(static_cast<QEvent::Type>(type));
            QApplication::sendEvent(button, &event);
        }
    }
    QString why;
    QVERIFY2(glyphHasColour(button, expected, &why), qPrintable(why));
}

void TitleBarTest::glyphsFollowANewSheetOnSync()
{
    qApp->setStyleSheet(QStringLiteral("#appWindowButton { color: #123456; }"));
    Host host;
    host.window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&host.window));
    qApp->setStyleSheet(QStringLiteral("#appWindowButton, #appCloseButton { color: #f2f5f8; }"));
    host.bar->syncFromWindow();
    for (const ButtonRole role : {Minimize, Maximize, Close}) {
        QString why;
        QVERIFY2(glyphHasColour(host.button(role), QColor(0xf2, 0xf5, 0xf8), &why),
                 qPrintable(why));
    }
}

void TitleBarTest::buttonsFitTheBarInEveryTheme_data()
{
    QTest::addColumn<int>("theme");
    for (int theme = 0; theme < ThemeCount; ++theme)
        QTest::newRow(themeInfo(Theme(theme)).displayName) << theme;
}

void TitleBarTest::buttonsFitTheBarInEveryTheme()
{
    QFETCH(int, theme);
    qApp->setStyleSheet(loadThemeStyleSheet(Theme(theme)));
    Host host;
    host.window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&host.window));
    for (const ButtonRole role : {Minimize, Maximize, Close}) {
        const QPushButton *button = host.button(role);
        QCOMPARE(button->size(), QSize(42, 32));
        QVERIFY2(host.bar->rect().contains(button->geometry()),
                 qPrintable(QString("button at %1, %2 sticks out of the bar")
                                .arg(button->x())
                                .arg(button->y())));
    }
}

void TitleBarTest::glyphsMatchThePixelRatio_data()
{
    QTest::addColumn<qreal>("ratio");
    QTest::addColumn<bool>("afterShow"); // the ratio changes as on a move to another screen
    QTest::newRow("ordinary screen") << 1.0 << false;
    QTest::newRow("screen scaled by 2") << 2.0 << false;
    QTest::newRow("window moved to a screen scaled by 2") << 2.0 << true;
}

void TitleBarTest::glyphsMatchThePixelRatio()
{
    QFETCH(qreal, ratio);
    QFETCH(bool, afterShow);
    QScreen *screen = QGuiApplication::primaryScreen();
    const auto restore = qScopeGuard([screen] { QHighDpiScaling::setScreenFactor(screen, 1); });
    if (!afterShow)
        QHighDpiScaling::setScreenFactor(screen, ratio);
    Host host;
    host.window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&host.window));
    if (afterShow) {
        QHighDpiScaling::setScreenFactor(screen, ratio);
        QEvent screenChange(QEvent::ScreenChangeInternal);
        QApplication::sendEvent(host.bar, &screenChange);
    }
    const QSize devicePixels = QSize(12, 12) * ratio;
    for (const ButtonRole role : {Minimize, Maximize, Close})
        QCOMPARE(host.button(role)->icon().availableSizes(), QList<QSize>{devicePixels});
}

QTEST_MAIN(TitleBarTest)
#include "tst_titlebar.moc"
