// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "prismark-shot/shotrenderer.h"

#include "audit/stateaudit.h"
#include "forms/formpage.h"
#include "prismark-shot/shotmatrix.h"
#include "prismark-shot/shotnames.h"
#include "shell/mainwindow.h"
#include "switcher/styleswitcherwindow.h"
#include "theme/stylesheetloader.h"
#include "widgetstyles/sheetpalette.h"

#include <QApplication>
#include <QCalendarWidget>
#include <QDateTime>
#include <QLocale>
#include <QPainter>
#include <QPixmapCache>

namespace {

// Any fixed moment serves; this one shows two-digit days, months and hours.
const QDateTime kFixedDateTime(QDate(2025, 11, 24), QTime(10, 30));

QtMessageHandler toolkitHandler = nullptr;

// Showing the window shows the style switcher, a tool window the offscreen platform
// cannot raise, and the audit's press on a combo box opens its popup, which that
// platform cannot give the keyboard or size; their complaints would only confuse
// whoever reads the output.
void quietRaiseWarning(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    static const QStringList platformLimits{
        QStringLiteral("This plugin does not support raise()"),
        QStringLiteral("This plugin does not support grabbing the keyboard"),
        QStringLiteral("This plugin does not support propagateSizeHints()")};
    if (type == QtWarningMsg && platformLimits.contains(message))
        return;
    toolkitHandler(type, context, message);
}

} // namespace

void ShotRenderer::prepareApplication()
{
    if (!toolkitHandler)
        toolkitHandler = qInstallMessageHandler(quietRaiseWarning);
    // Date formats follow the locale; one fixed locale keeps them the same everywhere.
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    QApplication::setCursorFlashTime(0);
    QApplication::setEffectEnabled(Qt::UI_General, false);
}

ShotRenderer::ShotRenderer(QSize size)
    : window(std::make_unique<MainWindow>())
    , size(size)
{
    window->setGalleryDateTime(kFixedDateTime);
    window->resize(size);

    // Shown and active, as a user sees it: a hidden window lays out some widgets
    // late (a plain text edit keeps scroll bars it does not need). The window's
    // show event shows the switcher too; it is kept off the screen.
    window->styleSwitcherWindow()->setAttribute(Qt::WA_DontShowOnScreen);
    window->show();
    QCoreApplication::processEvents();
    // Activation focuses the first widget in the tab chain; the window itself takes
    // the focus instead, so no widget draws a focus frame or a caret.
    window->setFocus(Qt::OtherFocusReason);
    QCoreApplication::sendPostedEvents();
}

ShotRenderer::~ShotRenderer() = default;

QSize ShotRenderer::minimumSize() const
{
    return window->minimumSize();
}

QStringList ShotRenderer::tabTexts() const
{
    return window->galleryTabTitles();
}

void ShotRenderer::applyTheme(const ShotTheme &theme, const QString &styleSheetText,
                              const QString &baseStyle, Qt::LayoutDirection direction)
{
    // Icons keep the disabled pixmaps they made under the last palette, and styles
    // keep palette-keyed pixmaps; a render must not show what came before it.
    clearCaches();
    // The window as a fresh one stands: first tab, enabled. What is hidden while a
    // style goes in is laid out later than what is shown.
    showTab(0, false);
    // Before the style, so that polishing happens once, in the new direction.
    QApplication::setLayoutDirection(direction);
    // The scheme's palette under the theme's or the sheet's own.
    setSchemeUnderSheets(theme.scheme);
    if (baseStyle == shotBaseStyles().first() && theme.builtIn &&
        theme.scheme == ColorScheme::Light) {
        window->applyTheme(theme.theme);
        return;
    }
    const QString text = theme.builtIn ? loadThemeStyleSheet(theme.theme) : styleSheetText;
    window->applyStyleSheet(text, theme.displayName, baseStyleFactoryKey(baseStyle));
}

void ShotRenderer::clearCaches()
{
    QPixmapCache::clear();
}

int ShotRenderer::addFormTab(std::unique_ptr<QWidget> form, const QString &title)
{
    // A calendar opens on today's month; the fixed moment keeps its picture the same.
    for (QCalendarWidget *calendar : form->findChildren<QCalendarWidget *>())
        calendar->setSelectedDate(kFixedDateTime.date());
    if (auto *calendar = qobject_cast<QCalendarWidget *>(form.get()))
        calendar->setSelectedDate(kFixedDateTime.date());
    auto *page = new FormPage;
    page->setForm(std::move(form));
    const int tab = window->addGalleryTab(page, title);
    QCoreApplication::sendPostedEvents();
    return tab;
}

void ShotRenderer::showTab(int tab, bool disabled)
{
    window->setGalleryDisabled(disabled);
    window->showGalleryTab(tab);
    // Layout requests are posted events; timers (animations) stay untouched. What
    // they post in turn (the gallery fits columns and group boxes in a pass posted
    // behind a restyle) goes in a second round, so the first render of a state is
    // laid out like every later one.
    QCoreApplication::sendPostedEvents();
    QCoreApplication::sendPostedEvents();
}

QImage ShotRenderer::render(int tab, bool disabled, qreal scale)
{
    showTab(tab, disabled);

    QImage image(size * scale, QImage::Format_RGB32);
    image.setDevicePixelRatio(scale);
    image.fill(Qt::black);
    QPainter painter(&image);
    window->render(&painter, QPoint(), QRegion(),
                   QWidget::DrawWindowBackground | QWidget::DrawChildren);
    painter.end();
    image.setDevicePixelRatio(1);
    return image;
}

QImage ShotRenderer::renderArea(const QRect &area, qreal scale) const
{
    return renderWindowArea(window.get(), area, scale);
}

QWidget *ShotRenderer::topLevel() const
{
    return window.get();
}

QWidget *ShotRenderer::tabPage(int tab) const
{
    return window->galleryTabPage(tab);
}
