// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "live/inspector/remoteinspector.h"

#include "analysis/sheetmodel.h"
#include "live/inspector/rulesview.h"
#include "live/livesheet.h"
#include "live/sheetdiagnosticswindow.h"

#include <QShortcut>

RemoteInspector::RemoteInspector(LiveSheet *sheet, std::function<QString()> installedText,
                                 SheetDiagnosticsWindow *diagnostics)
    : QObject(diagnostics)
    , sheet(sheet)
    , installedText(std::move(installedText))
    , diagnostics(diagnostics)
    , view(new RulesView)
{
    diagnostics->addPanel(view, tr("Rules"));
    view->showMessage(tr("Press Pick (Ctrl+Shift+I), then click a widget of the application to "
                         "see the rules that paint it."));
    auto *shortcut = new QShortcut(QKeySequence(QStringLiteral("Ctrl+Shift+I")), diagnostics);
    connect(shortcut, &QShortcut::activated, this, &RemoteInspector::startPicking);
    connect(diagnostics, &SheetDiagnosticsWindow::pickRequested, this,
            &RemoteInspector::startPicking);
    connect(view, &RulesView::ruleChosen, this, &RemoteInspector::chooseRule);
    connect(view, &RulesView::positionActivated, diagnostics,
            &SheetDiagnosticsWindow::openPosition);
    connect(diagnostics, &SheetDiagnosticsWindow::diagnosticChosen, this,
            [this](int line, int column) {
                useInstalledSheet();
                if (inspector.isValid())
                    chooseRule(inspector.ruleAt(line, column));
            });
    connect(sheet, &LiveSheet::updated, this, &RemoteInspector::refresh);
}

void RemoteInspector::startPicking()
{
    diagnostics->showPanel(view);
    setNote(tr("Picking: click a widget of the application; Esc there cancels."));
    emit pickWanted();
}

void RemoteInspector::takeTree(const WidgetTree &tree)
{
    widgets = tree;
    if (pickWaiting != 0) {
        const qint64 id = pickWaiting;
        pickWaiting = 0;
        inspect(id);
    } else if (current != 0) {
        showRules();
    }
}

void RemoteInspector::takePick(qint64 id)
{
    setNote(QString());
    if (id == 0)
        return;
    // Described afresh: the click may have changed what the widget is (checked, focused).
    pickWaiting = id;
    useInstalledSheet();
    emit treeWanted(inspector.testedProperties());
}

void RemoteInspector::inspect(qint64 id)
{
    current = id;
    diagnostics->showPanel(view);
    showRules();
    emit highlightWanted(widgets.indexOf(id) >= 0 ? QVector<qint64>{id} : QVector<qint64>{});
    emit inspected(id);
}

void RemoteInspector::useInstalledSheet()
{
    inspector.setSheet(installedText(), sheet->path(), widgets.styleName);
}

void RemoteInspector::showRules()
{
    useInstalledSheet();
    if (!inspector.isValid()) {
        view->showMessage(
            tr("The rules of %1 cannot be shown: %2.").arg(sheet->fileName(), inspector.problem()));
        return;
    }
    const int index = widgets.indexOf(current);
    if (index < 0) {
        view->showMessage(tr("The widget picked is gone from the application; pick again."));
        return;
    }
    view->showInspection(inspector.inspect(widgets, index), inspector.model(), sheet->fileName());
}

void RemoteInspector::refresh()
{
    emit highlightWanted({});
    setNote(QString());
    if (current != 0) {
        // The rules of the new text, on the widgets as they are now.
        pickWaiting = current;
        useInstalledSheet();
        emit treeWanted(inspector.testedProperties());
    }
}

void RemoteInspector::chooseRule(int rule)
{
    useInstalledSheet();
    if (!inspector.isValid() || rule < 0 || rule >= inspector.model().rules.size()) {
        emit highlightWanted({});
        return;
    }
    const QVector<qint64> matching = inspector.nodesMatching(rule, widgets);
    QVector<qint64> shown;
    for (qint64 id : matching) {
        if (widgets.nodes.at(widgets.indexOf(id)).visible)
            shown.append(id);
    }
    emit highlightWanted(shown);
    setNote(tr("Line %1: %2 matches %n widget(s) of the application (%3 shown).", nullptr,
               int(matching.size()))
                .arg(inspector.ruleLine(rule))
                .arg(inspector.ruleSelectors(rule))
                .arg(shown.size()));
}

void RemoteInspector::setNote(const QString &text)
{
    note = text;
    diagnostics->setOutlineNote(text);
}
