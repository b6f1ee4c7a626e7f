// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include "attach/attachenvironment.h"
#include "theme/schemepalette.h"

#include <QByteArray>
#include <QJsonObject>
#include <QObject>
#include <QPointer>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTimer>

#include <optional>

class AgentSheet;
class QSocketNotifier;

class QLocalServer;
class QLocalSocket;

// What "prismark-live SHEET -- PROGRAM [ARGS...]" asks for.
struct AttachCommand
{
    QString sheet;
    QString variant;
    QString program;
    QStringList arguments;
    // The colour scheme the application is shown in; none leaves it the desktop's.
    std::optional<ColorScheme> colorScheme;
};

// Where the attach plugin is: installed beside the programs, or in this build tree.
QString attachPluginFolder();
// Where the Python agent is (the folder of its sitecustomize.py), found the same way.
QString attachAgentFolder();

// prismark-live's exit statuses when it attaches, besides the application's own.
enum AttachExit
{
    AttachNotAttached = 3, // no Qt application of ours to attach to; it was stopped
    AttachNotExecutable = 126,
    AttachNotFound = 127,
    AttachSignalBase = 128, // + the signal that ended the application
};

// How a program links the toolkit, as far as its file tells.
enum class QtLinkage
{
    Unknown, // not a binary we can read (a script, say)
    None,    // a binary that links no Qt
    Qt5,
    Qt6,
    PythonScript, // Python: a script run by it, or the interpreter itself
};
QtLinkage programQtLinkage(const QString &path);

// Starts the author's application with the attach plugin in its environment and
// stdio of its own, waits for the plugin's hello, and says plainly why, when none
// comes: the program is missing, not a Qt program, on another toolkit build, or
// ended at start.
class AttachLauncher : public QObject
{
    Q_OBJECT
public:
    // pluginFolder holds platformthemes/ with the plugin.
    AttachLauncher(const AttachCommand &command, const QString &pluginFolder,
                   QObject *parent = nullptr);

    // How long the application has to say hello.
    void setHandshakeTimeout(int ms) { handshakeMs = ms; }
    // Variables the application is started with besides the plugin's.
    void setExtraEnvironment(const QProcessEnvironment &environment)
    {
        extraEnvironment = environment;
    }
    // The ways in open to the application (--attach); both unless told.
    void setWay(Attach::Way way) { this->way = way; }
    // What the line that says the application is attached, how and why, adds for the
    // plugin and for the Python agent; none is printed for a null note.
    void setHelloNote(const QString &note, const QString &agentNote = QString())
    {
        helloNote = note;
        agentHelloNote = agentNote.isNull() ? note : agentNote;
    }
    // Has the author's sheet kept here and sent to an application attached through the
    // Python agent (see attach/agentsheet.h), from its hello on; the plugin keeps it
    // inside the application itself.
    // With sayRefusals, a save it does not put on is said on standard error.
    void setKeepSheetForAgent(bool keep, bool sayRefusals = false)
    {
        keepSheetForAgent = keep;
        sayAgentRefusals = sayRefusals;
    }
    // Starts it; finished() follows in every case, at once for a program that cannot
    // be started.
    void start();
    // Takes over an application prismark-live's launcher started already (see
    // Attach::adoptVariable): its process, a descriptor that reads when it ends, and
    // the socket listening for its hello; false for a description it cannot use.
    bool adopt(const QByteArray &description);

    // Whether the application said hello, and whether through the Python agent.
    bool hasAttached() const { return attached; }
    bool attachedThroughAgent() const { return throughAgent; }
    // The sheet kept for the agent, once it has said hello; else null.
    AgentSheet *agentSheet() const { return sheetForAgent; }
    // Says a message to the attached application; false when it cannot hear it.
    bool send(const QString &kind, const QJsonObject &fields);
    // Ends the application; finished() follows with status.
    void stop(int status);

signals:
    // With prismark-live's exit status.
    void finished(int status);
    // The application said hello (hasAttached() is true from now on).
    void attachedToApplication();
    // A message from the attached application other than its hello.
    void messageReceived(const QString &kind, const QJsonObject &fields);

private:
    QString resolveProgram(int *failure);
    QProcessEnvironment attachedEnvironment() const;
    void readMessages(QLocalSocket *socket);
    void hello(QLocalSocket *socket, const QJsonObject &fields);
    QString wayTaken(const QJsonObject &hello) const;
    QString pythonAdvice() const;
    void handshakeOverdue();
    void programFinished(int exitCode, QProcess::ExitStatus exitStatus);
    void hearWhatWasSaid();
    QString whyNoHandshake() const;
    void adoptedProcessEnded();
    bool running() const;
    void signalProgram(int signal);
    void fail(const QString &message, int status);

    const AttachCommand command;
    const QString pluginFolder;
    QProcessEnvironment extraEnvironment;
    QString helloNote = QStringLiteral("; the Sheet Diagnostics window and Ctrl+Shift+I are in it");
    QString agentHelloNote = helloNote;
    Attach::Way way = Attach::Way::Auto;
    bool keepSheetForAgent = false;
    bool sayAgentRefusals = false;
    AgentSheet *sheetForAgent = nullptr;
    QPointer<QLocalSocket> helloSocket;
    bool throughAgent = false;
    QString programPath;
    QProcess process;
    // An application the launcher started, in place of process.
    qint64 adoptedPid = 0;
    int adoptedPidfd = -1;
    QLocalServer *server;
    QTimer handshakeTimer;
    int handshakeMs = Attach::handshakeMs;
    bool attached = false;
    bool stopping = false;
    int stopStatus = 0;
    QByteArray buffer;
};
