// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include "attach/attachenvironment.h"
#include "live/inspector/widgettree.h"

#include <QByteArray>
#include <QJsonObject>
#include <QString>
#include <QVector>

// What prismark-live and the attach plugin inside the author's application agree on:
// the environment the application is started with (in attachenvironment.h, which
// the launcher needs without the toolkit), and the messages the plugin sends back
// over a local socket, one JSON object a line.
namespace Attach {

// The values of prismark-shot's request (the variables are in attachvariables.h):
// a layout direction, and the audits it asks for with the shots: "states" for the
// state audit alone, "wcag" for the WCAG audit over it.
constexpr char rightToLeft[] = "rtl";
constexpr char leftToRight[] = "ltr";
constexpr char stateAuditKind[] = "states";
constexpr char wcagAuditKind[] = "wcag";

// In prismark-profile's folder: the sheet to measure, built already, and what the
// plugin measured.
constexpr char profileSheetFile[] = "sheet.qss";
constexpr char profileMeasurementFile[] = "measurement.json";

// The kinds of message.
constexpr char helloKind[] = "hello";       // attached: "qt" version, "pid"
constexpr char declinedKind[] = "declined"; // not attached: "qt" version found, "built" for
// The windows are rendered: windowsField, each a windowNameField and the file's
// stem in the shot folder (windowFileField); sheetAppliedField says whether the
// toolkit took the author's sheet, sheetProblemField why not.
constexpr char shotKind[] = "shot";
constexpr char windowsField[] = "windows";
constexpr char windowNameField[] = "name";
constexpr char windowFileField[] = "file";
constexpr char sheetAppliedField[] = "applied";
constexpr char sheetProblemField[] = "problem";
// A round of a profile's attribution is measured: roundsField, how many so far.
// Sent while the application's event loop is held, so that a long profile is told
// from a hung application.
constexpr char profileRoundKind[] = "profile-round";
constexpr char roundsField[] = "rounds";
// The profile is done: windowsField, how many windows were measured (none: nothing
// was written), sheetAppliedField and sheetProblemField as for a shot.
constexpr char profiledKind[] = "profiled";
// With an audit asked for: true when its results were written, else why not in
// auditProblemField.
constexpr char auditedField[] = "audited";
constexpr char auditProblemField[] = "auditProblem";

// The Python agent (gui/attach/agent) says the same, and hears more: prismark keeps
// the sheet's file in its own process and sends it what to put on.
// Its hello names the binding the application imported, and the build of the plugin
// it left out of the application, when it did.
constexpr char bindingField[] = "binding";
constexpr char pluginBuiltForField[] = "pluginBuiltFor";
// Set on the application object by the plugin once it attaches: the agent stands aside.
constexpr char attachedProperty[] = "prismarkAttached";
// To the agent: a checked sheet to put on, a file of prismark's (fileField); and the
// outcome of every read of the sheet (outcomeField, one of the outcomes below, and
// sheetProblemField). A first sheet it put on before the check comes off when refused.
constexpr char agentSheetKind[] = "sheet";
constexpr char fileField[] = "file";
constexpr char outcomeKind[] = "outcome";
constexpr char outcomeField[] = "outcome";
constexpr char appliedOutcome[] = "applied";
constexpr char rejectedOutcome[] = "rejected";
constexpr char unreadableOutcome[] = "unreadable";
constexpr char missingOutcome[] = "missing";
// prismark-profile drives the attribution itself and has the agent time the passes.
// The agent has settled: windowsField, how many windows it will pass over, the widgets
// they hold and how deep (widgetsField, deepestField), sheetAppliedField and
// sheetProblemField as for a shot. Its event loop is held from then on.
constexpr char profileReadyKind[] = "profile-ready";
constexpr char widgetsField[] = "widgets";
constexpr char deepestField[] = "deepest";
// A pass: the sheet in fileField (a file of the profile folder) applied from the plain
// base style, or with switchFromField switched to from that sheet; answered with its
// main thread's time (millisecondsField).
constexpr char passKind[] = "pass";
constexpr char switchFromField[] = "from";
constexpr char passedKind[] = "passed";
constexpr char millisecondsField[] = "ms";

// prismark-live's tools run in its own process, never in the application, so that the
// author's sheet never styles them; the application describes its widgets for them.
// To the application: describe the widgets of its shown windows (treeRequestKind),
// reading the declared properties named in propertiesField besides the dynamic ones;
// answered with treeKind: the class of the style under the sheet (styleField) and
// nodesField, parents before children, each with the fields below. An id is a
// number below 2^53, the same for a widget as long as it lives; a parent of 0 is none.
constexpr char treeRequestKind[] = "describe";
constexpr char propertiesField[] = "properties";
constexpr char treeKind[] = "tree";
constexpr char styleField[] = "style";
constexpr char nodesField[] = "nodes";
constexpr char idField[] = "id";
constexpr char parentField[] = "parent";
constexpr char classesField[] = "classes"; // the class, then its superclasses
constexpr char objectNameField[] = "objectName";
constexpr char statesField[] = "states";     // pseudo-state names
constexpr char geometryField[] = "geometry"; // [x, y, width, height], global
constexpr char visibleField[] = "visible";
constexpr char ownSheetField[] = "ownSheet"; // the sheet set on the widget itself
// To the application: outline the widgets of idsField (none: take the outlines off).
// The agent draws them in the colour of the inspector's own outlines (widgetoutline.cpp).
constexpr char highlightKind[] = "highlight";
constexpr char idsField[] = "ids";
constexpr char outlineColour[] = "#ff00ff";
// To the application: the next click on one of its widgets picks it, and goes no
// further; Esc cancels. Answered with pickedKind and the widget's idField (0: cancelled).
constexpr char pickKind[] = "pick";
constexpr char pickedKind[] = "picked";

struct Message
{
    QString kind;
    QJsonObject fields;
};

// One message as a line to send.
QByteArray encodeMessage(const QString &kind, const QJsonObject &fields);

// A widget tree as treeKind's fields, and back; a node that is not one is left out, and
// so is a node whose parent is not before it.
QJsonObject encodeWidgetTree(const WidgetTree &tree);
WidgetTree decodeWidgetTree(const QJsonObject &fields);

// The plugin's end of the connection, made with the system's own calls: it is
// needed before the application has an event loop (the toolkit's sockets need one),
// and so the plugin brings no network library into the application. Returns the
// connected socket, or -1 when there is no server at that path.
int connectToServer(const QString &serverPath);
// Writes the whole message on a connected socket; false when it could not.
bool sendMessage(int socket, const QByteArray &message);

// A hello is some tens of bytes, a large application's widget tree some megabytes;
// a line near this long is not from the plugin or the agent.
constexpr int maxMessageBytes = 32 * 1024 * 1024;

// Takes the complete lines off the front of buffer and reads each as a message;
// lines that are not a message are dropped, and a line longer than the limit is
// dropped with everything buffered.
QVector<Message> takeMessages(QByteArray &buffer);

} // namespace Attach
