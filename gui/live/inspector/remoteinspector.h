// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include "live/inspector/ruleinspector.h"
#include "live/inspector/widgettree.h"

#include <QObject>

#include <functional>

class LiveSheet;
class RulesView;
class SheetDiagnosticsWindow;

// The inspector of prismark-live's own process, for an application it attached to:
// the application describes its widgets (a WidgetTree) and reports the one the author
// clicks; the Rules view here matches the sheet against that description, and asks the
// application to outline what it shows. What it asks goes out through its signals.
class RemoteInspector : public QObject
{
    Q_OBJECT
public:
    // installedText gives the text last sent to the application to install.
    RemoteInspector(LiveSheet *sheet, std::function<QString()> installedText,
                    SheetDiagnosticsWindow *diagnostics);

    void startPicking();
    // A description of the application's widgets came; a pick waiting for it is shown.
    void takeTree(const WidgetTree &tree);
    // The application reports the widget clicked in pick mode (0: the pick was cancelled).
    void takePick(qint64 id);
    // Shows the rules of the node with that id in the tree at hand, and outlines it.
    void inspect(qint64 id);
    void chooseRule(int rule);

    const WidgetTree &tree() const { return widgets; }
    qint64 inspectedId() const { return current; }
    RulesView *rulesView() const { return view; }
    QString outlineNote() const { return note; }

signals:
    // A new description, with the values of these declared properties.
    void treeWanted(const QStringList &properties);
    void pickWanted();
    // Outlines over these widgets in the application; none clears them.
    void highlightWanted(const QVector<qint64> &ids);
    // The Rules view shows a widget's rules.
    void inspected(qint64 id);

private:
    void useInstalledSheet();
    void showRules();
    void refresh();
    void setNote(const QString &text);

    LiveSheet *sheet;
    std::function<QString()> installedText;
    SheetDiagnosticsWindow *diagnostics;
    RulesView *view;
    RuleInspector inspector;
    WidgetTree widgets;
    qint64 current = 0;
    qint64 pickWaiting = 0;
    QString note;
};
