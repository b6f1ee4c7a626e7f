// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "attach/attachlauncher.h"

#include "attach/agentsheet.h"
#include "attach/attachprotocol.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QSocketNotifier>
#include <QStandardPaths>
#include <QUuid>

#include <csignal>
#include <cstdio>
#include <ctime>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// prismark-live, prismark-shot or prismark-profile, whichever started the application.
QString toolName()
{
    return QCoreApplication::applicationName();
}

void printMessage(const QString &message)
{
    std::fprintf(stderr, "%s: %s\n", qPrintable(toolName()), qPrintable(message));
}

// The toolkit major version this prismark-live and its plugin are built for.
int builtMajor()
{
    return QT_VERSION_MAJOR;
}

// A folder among those installed beside the programs (or beside prismark-live-gallery,
// one level further), holding entry; the build tree's otherwise.
QString installedOrBuilt(const QString &fromPrograms, const QString &fromGallery,
                         const QString &entry, const QString &built)
{
    for (const QString &relative : {fromPrograms, fromGallery}) {
        const QDir installed(QCoreApplication::applicationDirPath() + QLatin1Char('/') + relative);
        if (installed.exists(entry))
            return installed.absolutePath();
    }
    return built;
}

} // namespace

QString attachPluginFolder()
{
    return installedOrBuilt(QStringLiteral(PRISMARK_INSTALLED_PLUGINS_FROM_BINDIR),
                            QStringLiteral("plugins"), QString::fromLatin1(Attach::pluginSubfolder),
                            QStringLiteral(PRISMARK_BUILD_PLUGIN_DIR));
}

QString attachAgentFolder()
{
    return installedOrBuilt(QStringLiteral(PRISMARK_INSTALLED_AGENT_FROM_BINDIR),
                            QStringLiteral("python"), QStringLiteral("sitecustomize.py"),
                            QStringLiteral(PRISMARK_BUILD_AGENT_DIR));
}

QtLinkage programQtLinkage(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QtLinkage::Unknown;
    const QByteArray head = file.peek(256);
    if (QFileInfo(path).fileName().startsWith(QLatin1String("python")))
        return QtLinkage::PythonScript;
    if (head.startsWith("#!")) {
        const QByteArray interpreter = head.left(head.indexOf('\n'));
        return interpreter.contains("python") ? QtLinkage::PythonScript : QtLinkage::Unknown;
    }
    if (!head.startsWith("\x7f"
                         "ELF"))
        return QtLinkage::Unknown;
    // The libraries a binary needs are named in its dynamic string table, as text.
    uchar *mapped = file.map(0, file.size());
    if (!mapped)
        return QtLinkage::Unknown;
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char *>(mapped),
                                                     int(qMin<qint64>(file.size(), INT_MAX)));
    if (bytes.contains("libQt6Core.so"))
        return QtLinkage::Qt6;
    if (bytes.contains("libQt5Core.so"))
        return QtLinkage::Qt5;
    return QtLinkage::None;
}

AttachLauncher::AttachLauncher(const AttachCommand &command, const QString &pluginFolder,
                               QObject *parent)
    : QObject(parent)
    , command(command)
    , pluginFolder(pluginFolder)
    , server(new QLocalServer(this))
{
    handshakeTimer.setSingleShot(true);
    connect(&handshakeTimer, &QTimer::timeout, this, &AttachLauncher::handshakeOverdue);
    connect(server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket *socket = server->nextPendingConnection()) {
            connect(socket, &QLocalSocket::readyRead, this,
                    [this, socket] { readMessages(socket); });
            readMessages(socket);
        }
    });
    connect(&process, qOverload<int, QProcess::ExitStatus>(&QProcess::finished), this,
            &AttachLauncher::programFinished);
    connect(&process, &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart)
            fail(QStringLiteral("%1 could not be started: %2")
                     .arg(this->command.program, process.errorString()),
                 AttachNotExecutable);
    });
}

QString AttachLauncher::resolveProgram(int *failure)
{
    QString path = command.program;
    if (!path.contains(QLatin1Char('/'))) {
        path = QStandardPaths::findExecutable(command.program);
        if (path.isEmpty()) {
            printMessage(
                QStringLiteral("%1: no such program on PATH; give its path (./%1) if it is "
                               "in this folder")
                    .arg(command.program));
            *failure = AttachNotFound;
            return {};
        }
    }
    const QFileInfo info(path);
    if (!info.exists()) {
        printMessage(QStringLiteral("%1: no such file").arg(command.program));
        *failure = AttachNotFound;
    } else if (info.isDir() || !info.isExecutable()) {
        printMessage(
            QStringLiteral("%1 is not an executable file; make it executable (chmod +x), or "
                           "name its interpreter first (%2 SHEET -- python3 %1)")
                .arg(command.program, toolName()));
        *failure = AttachNotExecutable;
    }
    return info.absoluteFilePath();
}

QProcessEnvironment AttachLauncher::attachedEnvironment() const
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const QString &name : environment.keys()) {
        if (!Attach::passesToApplication(name.toLocal8Bit().constData()))
            environment.remove(name);
    }
    const auto local = [](const QString &text) { return text.toLocal8Bit().toStdString(); };
    const Attach::Launch launch{
        way == Attach::Way::Python ? std::string() : local(pluginFolder),
        local(server->fullServerName()),
        local(QFileInfo(command.sheet).absoluteFilePath()),
        local(command.variant),
        way == Attach::Way::Plugin ? std::string() : local(attachAgentFolder()),
        QT_VERSION_STR,
        command.colorScheme ? local(colorSchemeName(*command.colorScheme)) : std::string()};
    for (const Attach::Setting &setting : Attach::launcherSettings(launch))
        environment.insert(QString::fromLatin1(setting.name),
                           QString::fromLocal8Bit(setting.value.c_str()));
    for (const QString &name : extraEnvironment.keys())
        environment.insert(name, extraEnvironment.value(name));
    return environment;
}

void AttachLauncher::start()
{
    int failure = 0;
    programPath = resolveProgram(&failure);
    if (failure) {
        QMetaObject::invokeMethod(
            this, [this, failure] { emit finished(failure); }, Qt::QueuedConnection);
        return;
    }
    // A name of our own, in the user's runtime folder where the toolkit puts it.
    const QString name = QStringLiteral("prismark-live-%1-%2")
                             .arg(QCoreApplication::applicationPid())
                             .arg(QUuid::createUuid().toString(QUuid::Id128).left(12));
    server->setSocketOptions(QLocalServer::UserAccessOption);
    if (!server->listen(name)) {
        fail(QStringLiteral("cannot listen for the application (%1)").arg(server->errorString()),
             AttachNotAttached);
        return;
    }
    process.setProgram(programPath);
    process.setArguments(command.arguments);
    process.setProcessEnvironment(attachedEnvironment());
    process.setProcessChannelMode(QProcess::ForwardedChannels);
    process.setInputChannelMode(QProcess::ForwardedInputChannel);
    handshakeTimer.start(handshakeMs);
    process.start();
}

bool AttachLauncher::adopt(const QByteArray &description)
{
    const QList<QByteArray> parts = description.split(',');
    bool pidOk = false, pidfdOk = false, serverOk = false, startedOk = false;
    const qint64 pid = parts.value(0).toLongLong(&pidOk);
    const int pidfd = parts.value(1).toInt(&pidfdOk);
    const int serverFd = parts.value(2).toInt(&serverOk);
    const qint64 startedNs = parts.value(3).toLongLong(&startedOk);
    if (parts.size() != 4 || !pidOk || !pidfdOk || !serverOk || !startedOk || pid <= 0 ||
        pidfd < 0 || serverFd < 0)
        return false;
    // Only a child of this process, never any process a variable names.
    siginfo_t child{};
    if (::waitid(P_PID, id_t(pid), &child, WEXITED | WNOHANG | WNOWAIT) != 0 ||
        !server->listen(qintptr(serverFd)))
        return false;
    int failure = 0;
    programPath = resolveProgram(&failure);
    adoptedPid = pid;
    adoptedPidfd = pidfd;
    auto *ended = new QSocketNotifier(pidfd, QSocketNotifier::Read, this);
    connect(ended, &QSocketNotifier::activated, this, &AttachLauncher::adoptedProcessEnded);
    // The application's time to say hello runs from its start.
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    const qint64 sinceStartMs = (now.tv_sec * 1000000000LL + now.tv_nsec - startedNs) / 1000000;
    const qint64 leftMs =
        qBound(qint64(0), qint64(handshakeMs) - sinceStartMs, qint64(handshakeMs));
    handshakeTimer.start(int(leftMs));
    // Said hello, or ended, before this process was there to see it.
    QMetaObject::invokeMethod(this, &AttachLauncher::adoptedProcessEnded, Qt::QueuedConnection);
    return true;
}

void AttachLauncher::adoptedProcessEnded()
{
    int status = 0;
    if (adoptedPid <= 0 || ::waitpid(pid_t(adoptedPid), &status, WNOHANG) != adoptedPid)
        return;
    adoptedPid = 0;
    ::close(adoptedPidfd);
    adoptedPidfd = -1;
    // What QProcess says of a process: its status, or the signal that ended it.
    if (WIFSIGNALED(status))
        programFinished(WTERMSIG(status), QProcess::CrashExit);
    else
        programFinished(WEXITSTATUS(status), QProcess::NormalExit);
}

bool AttachLauncher::running() const
{
    return adoptedPid > 0 || process.state() != QProcess::NotRunning;
}

void AttachLauncher::signalProgram(int signal)
{
    if (adoptedPid > 0)
        ::kill(pid_t(adoptedPid), signal);
    else if (signal == SIGKILL)
        process.kill();
    else
        process.terminate();
}

void AttachLauncher::readMessages(QLocalSocket *socket)
{
    buffer += socket->readAll();
    for (const Attach::Message &message : Attach::takeMessages(buffer)) {
        if (message.kind == QLatin1String(Attach::helloKind) && !attached) {
            hello(socket, message.fields);
        } else if (message.kind == QLatin1String(Attach::declinedKind) && !attached) {
            handshakeTimer.stop();
            const bool python = programQtLinkage(programPath) == QtLinkage::PythonScript;
            fail(QStringLiteral("%1 runs Qt %2, but this %4's plugin is built for Qt %3 "
                                "and loads into no other build; run it on the system's Qt %3%5")
                     .arg(command.program, message.fields.value(QStringLiteral("qt")).toString(),
                          message.fields.value(QStringLiteral("built")).toString(), toolName(),
                          python ? QStringLiteral(" (%1)").arg(pythonAdvice()) : QString()),
                 AttachNotAttached);
        } else if (attached) {
            emit messageReceived(message.kind, message.fields);
        }
    }
}

void AttachLauncher::hello(QLocalSocket *socket, const QJsonObject &fields)
{
    attached = true;
    handshakeTimer.stop();
    helloSocket = socket;
    throughAgent = fields.contains(QLatin1String(Attach::bindingField));
    const QString qt = fields.value(QStringLiteral("qt")).toString();
    const QString note = throughAgent ? agentHelloNote : helloNote;
    if (!note.isNull())
        printMessage(
            QStringLiteral("attached to %1 (pid %2, %3) %4%5")
                .arg(command.program)
                .arg(fields.value(QStringLiteral("pid")).toInt())
                .arg(
                    throughAgent
                        ? QStringLiteral("%1 on Qt %2")
                              .arg(fields.value(QLatin1String(Attach::bindingField)).toString(), qt)
                        : QStringLiteral("Qt %1").arg(qt),
                    wayTaken(fields), note));
    if (throughAgent && keepSheetForAgent) {
        sheetForAgent = new AgentSheet(
            command.sheet, command.variant,
            [this](const QString &kind, const QJsonObject &message) { send(kind, message); }, this);
        sheetForAgent->setSayRefusals(sayAgentRefusals);
        sheetForAgent->apply();
    }
    emit attachedToApplication();
}

// How the application was attached, and why that way.
QString AttachLauncher::wayTaken(const QJsonObject &hello) const
{
    if (!throughAgent)
        return way == Attach::Way::Plugin
                   ? QStringLiteral("through the plugin, as --attach asked")
                   : QStringLiteral("through the plugin, which is built for its Qt");
    const QString builtFor = hello.value(QLatin1String(Attach::pluginBuiltForField)).toString();
    if (way == Attach::Way::Python)
        return QStringLiteral("through the Python agent, as --attach asked");
    if (!builtFor.isEmpty())
        return QStringLiteral("through the Python agent, as this %1's plugin is built for Qt %2")
            .arg(toolName(), builtFor);
    return QStringLiteral("through the Python agent, as the plugin did not attach");
}

bool AttachLauncher::send(const QString &kind, const QJsonObject &fields)
{
    return helloSocket && helloSocket->write(Attach::encodeMessage(kind, fields)) > 0;
}

QString AttachLauncher::pythonAdvice() const
{
    if (way == Attach::Way::Plugin)
        return QStringLiteral(
                   "with --attach plugin, a Python program must import the distribution's "
                   "binding (python3-pyqt%1%2), which runs on the system's Qt; --attach auto "
                   "takes one installed with pip through the Python agent")
            .arg(builtMajor())
            .arg(builtMajor() == 5 ? QStringLiteral(" or python3-pyside2.qtwidgets") : QString());
    return QStringLiteral("prismark's Python agent waits for it to import PyQt5, PyQt6, PySide2 "
                          "or PySide6 and make a QApplication, and an interpreter started with "
                          "-E, -I or -S does not load the agent");
}

QString AttachLauncher::whyNoHandshake() const
{
    switch (programQtLinkage(programPath)) {
    case QtLinkage::None:
        return QStringLiteral("%1 links no Qt library: %2 attaches to Qt Widgets applications")
            .arg(command.program, toolName());
    case QtLinkage::Qt5:
    case QtLinkage::Qt6: {
        const int major = programQtLinkage(programPath) == QtLinkage::Qt5 ? 5 : 6;
        if (major != builtMajor())
            return QStringLiteral("%1 links Qt %2, but this %4 was built for Qt %3: "
                                  "use the %4 of a Qt %2 build (PRISMARK_QT_MAJOR=%2)")
                .arg(command.program)
                .arg(major)
                .arg(builtMajor())
                .arg(toolName());
        return QStringLiteral("%1 links Qt %2 but made no QApplication (or was started with "
                              "-platformtheme, which overrides the plugin)")
            .arg(command.program)
            .arg(major);
    }
    case QtLinkage::PythonScript:
        return QStringLiteral("%1 is a Python program that started no Qt %2 application: %3")
            .arg(command.program)
            .arg(builtMajor())
            .arg(pythonAdvice());
    case QtLinkage::Unknown:
        break;
    }
    return QStringLiteral("%1 started no Qt %2 application: it is not a Qt program, or it runs on "
                          "a Qt other than the system's (for Python, %3)")
        .arg(command.program)
        .arg(builtMajor())
        .arg(pythonAdvice());
}

void AttachLauncher::handshakeOverdue()
{
    fail(QStringLiteral("no word from %1 within %2 s; %3. It was stopped.")
             .arg(command.program)
             .arg(handshakeMs / 1000.0)
             .arg(whyNoHandshake()),
         AttachNotAttached);
}

void AttachLauncher::hearWhatWasSaid()
{
    // The end of a process can reach this event loop before the hello or the messages it
    // sent just before it ended: those are heard first, as they were said first.
    while (server->isListening() && server->waitForNewConnection(0)) {
    }
    for (QLocalSocket *socket : server->findChildren<QLocalSocket *>()) {
        while (socket->waitForReadyRead(0)) {
        }
    }
}

void AttachLauncher::programFinished(int exitCode, QProcess::ExitStatus exitStatus)
{
    const bool wasStopping = stopping;
    hearWhatWasSaid();
    // Its socket file goes with it.
    server->close();
    // A refusal heard just now has said why and ends the run itself.
    if (stopping && !wasStopping)
        return;
    handshakeTimer.stop();
    const bool crashed = exitStatus == QProcess::CrashExit;
    int status = crashed ? AttachSignalBase + exitCode : exitCode;
    if (stopping) {
        status = stopStatus;
    } else if (!attached) {
        printMessage((crashed
                          ? QStringLiteral("%1 crashed (signal %2) before %4 could attach; %3.")
                          : QStringLiteral("%1 exited with status %2 before %4 could attach; %3."))
                         .arg(command.program)
                         .arg(exitCode)
                         .arg(whyNoHandshake(), toolName()));
    } else if (crashed) {
        printMessage(QStringLiteral("%1 crashed (signal %2)").arg(command.program).arg(exitCode));
    }
    emit finished(status);
}

void AttachLauncher::fail(const QString &message, int status)
{
    printMessage(message);
    stop(status);
}

void AttachLauncher::stop(int status)
{
    if (!running()) {
        if (!stopping)
            QMetaObject::invokeMethod(
                this, [this, status] { emit finished(status); }, Qt::QueuedConnection);
        stopping = true;
        return;
    }
    stopping = true;
    stopStatus = status;
    signalProgram(SIGTERM);
    QTimer::singleShot(3000, this, [this] {
        if (running())
            signalProgram(SIGKILL);
    });
}
