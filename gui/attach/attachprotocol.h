// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include "attach/attachenvironment.h"

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

struct Message
{
    QString kind;
    QJsonObject fields;
};

// One message as a line to send.
QByteArray encodeMessage(const QString &kind, const QJsonObject &fields);

// The plugin's end of the connection, made with the system's own calls: it is
// needed before the application has an event loop (the toolkit's sockets need one),
// and so the plugin brings no network library into the application. Returns the
// connected socket, or -1 when there is no server at that path.
int connectToServer(const QString &serverPath);
// Writes the whole message on a connected socket; false when it could not.
bool sendMessage(int socket, const QByteArray &message);

// Takes the complete lines off the front of buffer and reads each as a message;
// lines that are not a message are dropped, and a line longer than the limit is
// dropped with everything buffered.
QVector<Message> takeMessages(QByteArray &buffer);

} // namespace Attach
