// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "live/inspector/liveinspector.h"

#include "analysis/sheetmodel.h"
#include "live/applicationsheet.h"
#include "live/inspector/rulesview.h"
#include "live/inspector/widgetoutline.h"
#include "live/inspector/widgetpicker.h"
#include "live/livesheet.h"
#include "live/sheetdiagnosticswindow.h"
#include "shell/galleryhost.h"
#include "widgetstyles/widgetstate.h"

#include <QApplication>
#include <QShortcut>

LiveInspector::LiveInspector(GalleryHost *gallery, LiveSheet *sheet,
                             SheetDiagnosticsWindow *diagnostics)
    : QObject(diagnostics)
    , gallery(gallery)
    , window(gallery ? gallery->galleryWindow() : nullptr)
    , sheet(sheet)
    , diagnostics(diagnostics)
    , view(new RulesView)
    , widgetOutline(new WidgetOutline(window))
    , widgetPicker(new WidgetPicker(window, widgetOutline, this))
{
    diagnostics->addPanel(view, tr("Rules"));

    if (!window) {
        widgetPicker->setLeftOut({diagnostics});
        view->showMessage(tr("Press Pick (Ctrl+Shift+I), then click a widget of %1 to see the "
                             "rules that paint it.")
                              .arg(where()));
    }
    auto *shortcut = new QShortcut(QKeySequence(QStringLiteral("Ctrl+Shift+I")),
                                   window ? static_cast<QWidget *>(window) : diagnostics);
    shortcut->setContext(Qt::ApplicationShortcut);
    connect(shortcut, &QShortcut::activated, this, &LiveInspector::startPicking);
    connect(diagnostics, &SheetDiagnosticsWindow::pickRequested, this,
            &LiveInspector::startPicking);
    connect(widgetPicker, &WidgetPicker::picked, this, &LiveInspector::inspect);
    connect(widgetPicker, &WidgetPicker::cancelled, this, [this] { setNote(QString()); });
    connect(view, &RulesView::ruleChosen, this, &LiveInspector::chooseRule);
    connect(view, &RulesView::positionActivated, this, &LiveInspector::activatePosition);
    connect(diagnostics, &SheetDiagnosticsWindow::diagnosticChosen, this,
            &LiveInspector::chooseDiagnostic);
    if (gallery)
        gallery->onGalleryTabChanged(this, [this](int) { clearOutline(); });
    // Updated follows every apply and every built-in theme picked: the rules shown
    // are then those of what is installed now.
    connect(sheet, &LiveSheet::updated, this, &LiveInspector::refresh);
}

LiveInspector::LiveInspector(LiveSheet *sheet, SheetDiagnosticsWindow *diagnostics)
    : LiveInspector(nullptr, sheet, diagnostics)
{}

QString LiveInspector::where() const
{
    return window ? tr("the gallery") : tr("the application");
}

void LiveInspector::startPicking()
{
    diagnostics->showPanel(view);
    setNote(tr("Picking: click a widget of %1; Esc cancels.").arg(where()));
    widgetPicker->start();
}

bool LiveInspector::showsAuthorSheet() const
{
    return sheet->shownStyle() == sheet->fileName();
}

QString LiveInspector::sheetName() const
{
    return showsAuthorSheet() ? sheet->fileName()
                              : tr("the built-in theme %1").arg(sheet->shownStyle());
}

void LiveInspector::useInstalledSheet()
{
    inspector.setSheet(qApp->styleSheet(), showsAuthorSheet() ? sheet->path() : sheet->shownStyle(),
                       styleUnderSheet());
}

void LiveInspector::inspect(QWidget *widget)
{
    inspected = widget;
    picked = widget != nullptr;
    diagnostics->showPanel(view);
    showRules();
    widgetOutline->outline({widget});
    setNote(QString());
}

void LiveInspector::showRules()
{
    useInstalledSheet();
    if (!inspector.isValid()) {
        view->showMessage(
            tr("The rules of %1 cannot be shown: %2.").arg(sheetName(), inspector.problem()));
        return;
    }
    view->showInspection(inspector.inspect(inspected), inspector.model(), sheetName());
}

void LiveInspector::refresh()
{
    // A theme switch or an apply restyles everything: an outline would point at
    // what the author no longer sees, but the rules are worth seeing again.
    clearOutline();
    if (inspected)
        showRules();
    else if (picked)
        view->showMessage(tr("The widget picked is gone (its form was loaded again); pick "
                             "again."));
}

void LiveInspector::clearOutline()
{
    widgetOutline->clear();
    setNote(QString());
}

QList<QWidget *> LiveInspector::galleryWidgets() const
{
    const QList<QWidget *> windows =
        window ? QList<QWidget *>{window} : ApplicationSheet::topLevelWindows({diagnostics});
    QList<QWidget *> widgets;
    for (QWidget *shown : windows) {
        widgets.append(shown);
        const auto all = shown->findChildren<QWidget *>();
        for (QWidget *widget : all) {
            if (widget != widgetOutline && widget->window() == shown)
                widgets.append(widget);
        }
    }
    return widgets;
}

void LiveInspector::chooseRule(int rule)
{
    useInstalledSheet();
    if (!inspector.isValid() || rule < 0 || rule >= inspector.model().rules.size())
        return;
    const QVector<QWidget *> matching = inspector.widgetsMatching(rule, galleryWidgets());
    QVector<QWidget *> shown;
    for (QWidget *widget : matching) {
        if (widget->isVisible())
            shown.append(widget);
    }
    widgetOutline->outline(shown);
    const QString head =
        tr("Line %1: %2").arg(inspector.ruleLine(rule)).arg(inspector.ruleSelectors(rule));
    if (matching.isEmpty())
        setNote(tr("%1 matches no widget here.").arg(head));
    else if (matching.size() == 1)
        setNote(tr("%1 matches 1 widget here (%2 on this tab).").arg(head).arg(shown.size()));
    else
        setNote(tr("%1 matches %2 widgets here (%3 on this tab).")
                    .arg(head)
                    .arg(matching.size())
                    .arg(shown.size()));
}

void LiveInspector::chooseDiagnostic(int line, int column)
{
    useInstalledSheet();
    if (!showsAuthorSheet() || !inspector.isValid())
        return;
    const int rule = inspector.ruleAt(line, column);
    if (rule < 0) {
        widgetOutline->clear();
        setNote(tr("Line %1 is not inside a rule.").arg(line));
        return;
    }
    chooseRule(rule);
}

void LiveInspector::activatePosition(int line, int column)
{
    if (showsAuthorSheet())
        diagnostics->openPosition(line, column);
    else
        setNote(tr("%1 is compiled in; apply your file to open its rules in the editor.")
                    .arg(sheetName()));
}

void LiveInspector::setNote(const QString &text)
{
    note = text;
    diagnostics->setOutlineNote(text);
}
