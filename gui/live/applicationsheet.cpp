// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "live/applicationsheet.h"

#include "theme/palettedirectives.h"

#include <QApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>

#include <algorithm>

ApplicationSheet::ApplicationSheet(const QString &path, const LintConfigResult &config,
                                   LiveSheet::PendingCheck pending, QObject *parent)
    : QObject(parent)
    , sheet(new LiveSheet(
          path, [this](const QString &text) { install(text); }, config, std::move(pending), this))
{
    ownSheet = qApp->styleSheet();
    qApp->installEventFilter(this);
}

void ApplicationSheet::install(const QString &text)
{
    installedText = text;
    hasInstalled = true;
    // Before the sheet, so the widgets it restyles see the palette they are drawn in.
    installPalette(text);
    // Setting even the same text restyles every widget; the sheet in place may
    // already be this one (put on before the application's first window).
    if (qApp->styleSheet() != text)
        qApp->setStyleSheet(text);
    emit installed();
}

void ApplicationSheet::installPalette(const QString &text)
{
    const auto lines = paletteDirectiveLines(text);
    const bool hasPalette = std::any_of(lines.begin(), lines.end(), [](const auto &line) {
        return line.match.matched && line.match.knownRole && line.match.color.isValid();
    });
    if (!hasPalette) {
        if (paletteInstalled)
            QApplication::setPalette(ownPalette);
        paletteInstalled = false;
        return;
    }
    if (!paletteInstalled)
        ownPalette = QApplication::palette();
    paletteInstalled = true;
    QPalette palette = ownPalette;
    applyPaletteDirectivesFromText(palette, text);
    if (palette != QApplication::palette())
        QApplication::setPalette(palette);
}

void ApplicationSheet::reinstall()
{
    reinstallDue = false;
    const QString current = qApp->styleSheet();
    if (current == installedText)
        return;
    ownSheet = current;
    qApp->setStyleSheet(installedText);
    emit ownSheetReplaced();
}

bool ApplicationSheet::eventFilter(QObject *watched, QEvent *event)
{
    // Setting the application's sheet restyles every widget, and each restyle passes
    // here: the first that finds another sheet in place has the author's put back, once
    // the application's call has finished.
    if (event->type() == QEvent::StyleChange && !reinstallDue && hasInstalled) {
        const QString current = qApp->styleSheet();
        if (current.constData() != installedText.constData() && current != installedText) {
            reinstallDue = true;
            QTimer::singleShot(0, this, &ApplicationSheet::reinstall);
        }
    } else if (event->type() == QEvent::Paint && !painted && watched->isWidgetType() &&
               static_cast<QWidget *>(watched)->isWindow()) {
        painted = true;
        emit firstPainted();
    } else if (event->type() == QEvent::Show && watched->isWidgetType()) {
        auto *widget = static_cast<QWidget *>(watched);
        if (widget->isWindow())
            emit windowShown(widget);
    }
    return QObject::eventFilter(watched, event);
}

QList<QWidget *> ApplicationSheet::topLevelWindows(const QList<QWidget *> &leftOut)
{
    QList<QWidget *> windows;
    const auto all = QApplication::topLevelWidgets();
    for (QWidget *widget : all) {
        if (widget->isVisible() && !leftOut.contains(widget) &&
            widget->windowType() != Qt::ToolTip && widget->windowType() != Qt::Popup &&
            widget->windowType() != Qt::Desktop)
            windows.append(widget);
    }
    std::sort(windows.begin(), windows.end(),
              [](const QWidget *a, const QWidget *b) { return windowName(a) < windowName(b); });
    return windows;
}

QString ApplicationSheet::windowName(const QWidget *window)
{
    return window->objectName().isEmpty() ? QString::fromLatin1(window->metaObject()->className())
                                          : window->objectName();
}
