// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "shell/mainwindow.h"

#include "preview/previewcontent.h"
#include "shell/titlebar.h"
#include "switcher/styleswitcherwindow.h"
#include "theme/shellobjectnames.h"
#include "widgetstyles/sheetstyle.h"
#include "widgetstyles/themestyles.h"

#include <QApplication>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QScreen>
#include <QShortcut>
#include <QSizeGrip>
#include <QVBoxLayout>
#include <QWindow>

MainWindow::MainWindow(QWidget *parent)
    : QMainWindow(parent)
    , frame(new QWidget(this))
    , titleBar(new TitleBar(this, frame))
    , previewContent(new PreviewContent(frame))
    , styleSwitcher(new StyleSwitcherWindow(this))
{
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
    setMinimumSize(860, 560);
    frame->setObjectName(ShellObjectNames::windowFrame);
    setCentralWidget(frame);

    auto *frameLayout = new QVBoxLayout(frame);
    frameLayout->setContentsMargins(0, 0, 0, 0);
    frameLayout->setSpacing(0);
    frameLayout->addWidget(titleBar);
    frameLayout->addWidget(previewContent, 1);

    // The grip sits in a row of its own, 4 pixels in from the frame's corner.
    auto *gripLayout = new QHBoxLayout;
    gripLayout->setContentsMargins(0, 0, 4, 4);
    gripLayout->addStretch();
    gripLayout->addWidget(new QSizeGrip(frame), 0, Qt::AlignRight | Qt::AlignBottom);
    frameLayout->addLayout(gripLayout);

    connect(styleSwitcher, &StyleSwitcherWindow::themeRequested, this,
            [this](ThemeIndex theme) { applyTheme(static_cast<Theme>(theme)); });
    // The switcher's own close button only hides it; this is the way back.
    auto *switcherShortcut = new QShortcut(StyleSwitcherWindow::showShortcut(), this);
    connect(switcherShortcut, &QShortcut::activated, this, &MainWindow::showStyleSwitcher);
    styleSwitcher->installEventFilter(this);

    // Taken before any theme style is installed, so it is the platform's own icon.
    setWindowIcon(QApplication::style()->standardIcon(QStyle::SP_DesktopIcon));
    setWindowTitle(QStringLiteral("Prismark Preview"));
    titleBar->syncFromWindow();

    applyTheme(Light);

    resize(1040, 720);
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

void MainWindow::applyTheme(Theme theme)
{
    const ThemeInfo &info = themeInfo(theme);
    // The application owns the new style and deletes the one it replaces. Installing
    // it sets palette and style sheet, so the glyphs below read the new colours.
    QApplication::setStyle(createThemeStyle(info.theme));
    styleSwitcher->setCurrentTheme(info.theme);
    showStyleName(tr(info.displayName));
}

void MainWindow::applyStyleSheet(const QString &styleSheet, const QString &displayName,
                                 const QString &baseStyle, ColorScheme scheme)
{
    QApplication::setStyle(new SheetStyle(styleSheet, baseStyle, scheme));
    showStyleName(displayName);
}

QWidget *MainWindow::galleryTabPage(int index) const
{
    return previewContent->tabPage(index);
}

StyleSwitcherWindow *MainWindow::styleSwitcherWindow() const
{
    return styleSwitcher;
}

QString MainWindow::currentStyleName() const
{
    return previewContent->currentStyleName();
}

QStringList MainWindow::galleryTabTitles() const
{
    return previewContent->tabTitles();
}

void MainWindow::showGalleryTab(int index)
{
    previewContent->setCurrentTab(index);
}

void MainWindow::setGalleryDisabled(bool disabled)
{
    previewContent->setPreviewDisabled(disabled);
}

void MainWindow::setGalleryDateTime(const QDateTime &dateTime)
{
    previewContent->setSampleDateTime(dateTime);
}

int MainWindow::addGalleryTab(QWidget *page, const QString &title)
{
    return previewContent->addTab(page, title);
}

void MainWindow::setGalleryTabTitle(int index, const QString &title)
{
    previewContent->setTabTitle(index, title);
}

void MainWindow::onGalleryTabChanged(QObject *context, std::function<void(int)> changed)
{
    previewContent->onCurrentTabChanged(context, std::move(changed));
}

QWidget *MainWindow::galleryWindow()
{
    return this;
}

QWidget *MainWindow::switcherWindow() const
{
    return styleSwitcher;
}

void MainWindow::installAuthorSheet(const QString &styleSheet, const QString &displayName)
{
    applyStyleSheet(styleSheet, displayName);
}

void MainWindow::clearThemeSelection()
{
    styleSwitcher->clearCurrentTheme();
}

void MainWindow::onThemePicked(QObject *context, std::function<void(Theme)> picked)
{
    connect(styleSwitcher, &StyleSwitcherWindow::themeRequested, context,
            [picked = std::move(picked)](ThemeIndex theme) { picked(static_cast<Theme>(theme)); });
}

void MainWindow::showStyleName(const QString &displayName)
{
    previewContent->setCurrentStyleName(displayName);
    titleBar->syncFromWindow();
}

bool MainWindow::eventFilter(QObject *watched, QEvent *event)
{
    // The frame arrives with the switcher's first show or the move that framing causes.
    if (watched == styleSwitcher && placeSwitcherWhenFramed &&
        (event->type() == QEvent::Show || event->type() == QEvent::Move) &&
        styleSwitcher->frameGeometry().size() != styleSwitcher->size())
        positionStyleSwitcher();
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    if (styleSwitcher)
        styleSwitcher->close();
    QMainWindow::closeEvent(event);
}

void MainWindow::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    positionStyleSwitcher();
    // A window system that maps the switcher before the window it belongs to does not
    // keep it above that window, and where the two overlap the switcher is hidden. A
    // show of our own precedes the window's mapping, so the switcher waits for the
    // ShowToParent that follows it; a restore from the minimised state comes after.
    if (windowHandle() && windowHandle()->isVisible())
        styleSwitcher->show();
}

bool MainWindow::event(QEvent *event)
{
    const bool result = QMainWindow::event(event);
    if (event->type() == QEvent::ShowToParent)
        styleSwitcher->show();
    return result;
}

void MainWindow::changeEvent(QEvent *event)
{
    QMainWindow::changeEvent(event);
    switch (event->type()) {
    case QEvent::WindowStateChange: {
        // A maximise or restore reaches the window's geometry only after this event,
        // so the placement below sees the old frame; the resize that follows corrects it.
        const Qt::WindowStates changed =
            static_cast<QWindowStateChangeEvent *>(event)->oldState() ^ windowState();
        placeSwitcherAfterResize = changed & (Qt::WindowMaximized | Qt::WindowFullScreen);
        Q_FALLTHROUGH();
    }
    case QEvent::WindowTitleChange:
    case QEvent::WindowIconChange:
        titleBar->syncFromWindow();
        positionStyleSwitcher();
        break;
    default:
        break;
    }
}

void MainWindow::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    if (placeSwitcherAfterResize) {
        placeSwitcherAfterResize = false;
        positionStyleSwitcher();
    }
}

void MainWindow::positionStyleSwitcher()
{
    if (!styleSwitcher || !isVisible())
        return;
    // The native window knows a new geometry before the widget's own position is
    // updated (the move is delivered after the resize).
    const QWindow *window = windowHandle();
    const QRect frameRect = window ? window->frameGeometry() : frameGeometry();
    const QScreen *screen = window ? window->screen() : this->screen();
    const QRect available = screen ? screen->availableGeometry() : QRect();
    const QSize switcherFrame = styleSwitcher->frameGeometry().size();
    // Until the window system has framed the switcher its frame is not known, and a
    // switcher placed at the screen's edge would end beyond it by its borders.
    placeSwitcherWhenFramed = switcherFrame == styleSwitcher->size();
    styleSwitcher->move(styleSwitcherPosition(frameRect, switcherFrame, available));
}

void MainWindow::showStyleSwitcher()
{
    // A switcher that is still open stays where the user may have put it.
    if (styleSwitcher->isHidden())
        positionStyleSwitcher();
    styleSwitcher->show();
    styleSwitcher->raise();
    styleSwitcher->activateWindow();
}

QPoint styleSwitcherPosition(const QRect &mainFrame, const QSize &switcherFrame,
                             const QRect &available)
{
    const QPoint beside = mainFrame.topRight() + QPoint(12, 48);
    if (available.isEmpty())
        return beside;
    // Each axis on its own; where the switcher is larger than the screen its left and
    // top edges stay visible, with the caption.
    const int x = qMax(available.left(),
                       qMin(beside.x(), available.x() + available.width() - switcherFrame.width()));
    const int y = qMax(available.top(), qMin(beside.y(), available.y() + available.height() -
                                                             switcherFrame.height()));
    return QPoint(x, y);
}

// Its meta-object is compiled here, not with the library's others, so that what
// uses none of the gallery (the attach plugin) does not link it.
#include "moc_mainwindow.cpp"
