// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "shell/titlebar.h"

#include "support/pointerposition.h"

#include "theme/shellobjectnames.h"

#include <QEvent>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QSvgRenderer>
#include <QWindow>

namespace {
const QString minimizeGlyph = QStringLiteral(":/icons/icons/system/window-minimize.svg");
const QString maximizeGlyph = QStringLiteral(":/icons/icons/system/window-maximize.svg");
const QString restoreGlyph = QStringLiteral(":/icons/icons/system/window-restore.svg");
const QString closeGlyph = QStringLiteral(":/icons/icons/system/window-close.svg");

// Under Wayland a client cannot place its own window; only the compositor moves it.
bool clientCanMoveWindows()
{
    return !QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

} // namespace

TitleBar::TitleBar(QWidget *window, QWidget *parent)
    : QWidget(parent)
    , window(window)
    , iconLabel(new QLabel(this))
    , titleLabel(new QLabel(this))
    , minimizeButton(new QPushButton(this))
    , maximizeButton(new QPushButton(this))
    , closeButton(new QPushButton(this))
    , dragOffset(0, 0)
    , dragging(false)
{
    setObjectName(ShellObjectNames::titleBar);
    setFixedHeight(40);
    iconLabel->setFixedSize(22, 22);
    iconLabel->setScaledContents(true);
    titleLabel->setObjectName(ShellObjectNames::titleLabel);
    titleLabel->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);

    setupWindowButton(minimizeButton, QStringLiteral("Minimize"));
    setupWindowButton(maximizeButton, QStringLiteral("Maximize"));
    setupWindowButton(closeButton, QStringLiteral("Close"));
    // The style sheets paint the close button red on hover, so it has a name of its own.
    closeButton->setObjectName(ShellObjectNames::closeButton);

    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(12, 0, 0, 0);
    layout->setSpacing(8);
    layout->addWidget(iconLabel);
    layout->addWidget(titleLabel, 1);
    layout->addWidget(minimizeButton);
    layout->addWidget(maximizeButton);
    layout->addWidget(closeButton);

    connect(minimizeButton, &QPushButton::clicked, window, &QWidget::showMinimized);
    connect(maximizeButton, &QPushButton::clicked, this, [this] { toggleMaximized(); });
    connect(closeButton, &QPushButton::clicked, window, &QWidget::close);

    syncFromWindow();
}

void TitleBar::syncFromWindow()
{
    titleLabel->setText(window->windowTitle());
    iconLabel->setPixmap(window->windowIcon().pixmap(QSize(18, 18), QIcon::Normal, QIcon::Off));
    updateButtonIcons();
    maximizeButton->setToolTip(window->isMaximized() ? QStringLiteral("Restore")
                                                     : QStringLiteral("Maximize"));
}

void TitleBar::setupWindowButton(QPushButton *button, const QString &toolTip)
{
    button->setObjectName(ShellObjectNames::windowButton);
    button->setFixedSize(42, 32);
    button->setFocusPolicy(Qt::NoFocus);
    button->setFlat(true);
    button->setText(QString());
    button->setIconSize(QSize(12, 12));
    button->setMouseTracking(true);
    // Hover changes the close glyph's colour; the filter watches for it.
    button->installEventFilter(this);
    button->setToolTip(toolTip);
}

void TitleBar::toggleMaximized()
{
    if (window->isMaximized())
        window->showNormal();
    else
        window->showMaximized();
    syncFromWindow();
}

void TitleBar::updateButtonIcons()
{
    const auto glyphColor = [this](QPushButton *button) {
        if (button == closeButton && button->underMouse())
            return QColor(Qt::white);
        // Until it is polished a button does not carry its style sheet colour, and the
        // first glyphs are drawn before the window is ever shown.
        button->ensurePolished();
        return button->palette().color(QPalette::ButtonText);
    };
    // Drawn for the screen that shows the bar, so a scaled screen gets sharp glyphs.
    const qreal ratio = devicePixelRatioF();
    minimizeButton->setIcon(tintedIcon(minimizeGlyph, glyphColor(minimizeButton), ratio));
    maximizeButton->setIcon(tintedIcon(window->isMaximized() ? restoreGlyph : maximizeGlyph,
                                       glyphColor(maximizeButton), ratio));
    closeButton->setIcon(tintedIcon(closeGlyph, glyphColor(closeButton), ratio));
}

QIcon TitleBar::tintedIcon(const QString &svgPath, const QColor &color, qreal devicePixelRatio)
{
    // 12 x 12 logical pixels, as many device pixels as the screen has for them.
    const QRectF glyph(0, 0, 12, 12);
    const int side = qRound(glyph.width() * devicePixelRatio);
    QPixmap pixmap(side, side);
    pixmap.setDevicePixelRatio(devicePixelRatio);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    QSvgRenderer renderer(svgPath);
    renderer.render(&painter, glyph);
    // Keep each drawn pixel's coverage and replace its colour.
    painter.setCompositionMode(QPainter::CompositionMode_SourceIn);
    painter.fillRect(glyph, color);
    painter.end();
    return QIcon(pixmap);
}

bool TitleBar::event(QEvent *event)
{
    // The screen that shows the bar, and with it the pixel ratio, is known for sure only
    // once the window is shown, and it changes when the window moves to another screen.
    if (event->type() == QEvent::Show || event->type() == QEvent::ScreenChangeInternal)
        updateButtonIcons();
    return QWidget::event(event);
}

bool TitleBar::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == minimizeButton || watched == maximizeButton || watched == closeButton) {
        switch (event->type()) {
        case QEvent::Enter:
        case QEvent::Leave:
        case QEvent::EnabledChange:
        case QEvent::HoverEnter:
        case QEvent::HoverLeave:
            updateButtonIcons();
            break;
        default:
            break;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void TitleBar::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton) {
        dragging = true;
        dragOffset = globalPoint(event) - window->frameGeometry().topLeft();
        event->accept();
        return;
    }
    QWidget::mousePressEvent(event);
}

void TitleBar::mouseReleaseEvent(QMouseEvent *event)
{
    dragging = false;
    QWidget::mouseReleaseEvent(event);
}

void TitleBar::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton) {
        toggleMaximized();
        event->accept();
        return;
    }
    QWidget::mouseDoubleClickEvent(event);
}

void TitleBar::mouseMoveEvent(QMouseEvent *event)
{
    // A maximised window stays put; dragging it never restores it.
    if (dragging && (event->buttons() & Qt::LeftButton) && !window->isMaximized()) {
        if (clientCanMoveWindows()) {
            window->move(globalPoint(event) - dragOffset);
        } else if (QWindow *handle = window->windowHandle()) {
            // The window system follows the pointer from here and swallows the release.
            if (handle->startSystemMove())
                dragging = false;
        }
        event->accept();
        return;
    }
    QWidget::mouseMoveEvent(event);
}
