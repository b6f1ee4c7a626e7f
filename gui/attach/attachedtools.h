// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include <QJsonObject>
#include <QObject>
#include <QPointer>
#include <QString>

class AgentSheet;
class AttachLauncher;
class RemoteInspector;
class SheetDiagnosticsWindow;
struct WidgetTree;

// prismark-live's Sheet Diagnostics window and inspector for an application attached
// through the Python agent, opened in prismark-live's own process: the author's sheet
// is the application's alone, so it never styles them, and they open beside the
// application's windows rather than over them. The inspector works on the widget
// trees the application sends, and asks it to pick and to outline.
//
// Test hook: with a test folder (see attachvariables.h), after the window is placed
// and after every inspection it writes the window's grab as tools.png, then
// tools.json: "frame" (its frame, [x, y, width, height]), "applicationFrame" (the
// union of the application's windows), and "identity" and "rows" of the Rules view
// as the plugin's report gives them. With a widget to inspect, it picks once the
// application first describes itself, and the agent clicks that widget itself.
//
// No Q_OBJECT: its meta-object would sit with the plugin's and pull the launcher, and
// the network library it needs, into every application attached.
class AttachedTools : public QObject
{
public:
    AttachedTools(AttachLauncher *launcher, AgentSheet *sheet, QObject *parent = nullptr);
    ~AttachedTools() override;

    SheetDiagnosticsWindow *window() const { return diagnostics; }
    RemoteInspector *inspector() const { return remote; }

private:
    void hear(const QString &kind, const QJsonObject &fields);
    void place(const WidgetTree &tree);
    void scheduleReport();
    void writeReport();

    AttachLauncher *launcher;
    QPointer<SheetDiagnosticsWindow> diagnostics;
    RemoteInspector *remote;
    bool placed = false;
    QString testFolder;
    QString testInspect;
    QJsonObject applicationFrame;
    bool reportDue = false;
};
