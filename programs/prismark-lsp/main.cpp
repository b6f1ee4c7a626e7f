// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "analysis/toolkitparse.h"
#include "prismark-lsp/server/lspserver.h"
#include "support/programsupport.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QSocketNotifier>
#include <QTextStream>

#include <cerrno>
#include <csignal>
#include <unistd.h>

namespace {
enum ExitStatus
{
    ExitClean = 0,   // exit after shutdown
    ExitUnclean = 1, // exit or end of input without shutdown, or a lost client
    ExitUsage = 2,
};

bool writeAll(const QByteArray &bytes)
{
    const char *data = bytes.constData();
    qint64 left = bytes.size();
    while (left > 0) {
        const ssize_t written = ::write(STDOUT_FILENO, data, size_t(left));
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        data += written;
        left -= written;
    }
    return true;
}

const QLatin1String kEmbeddedOnlyOption("embedded-only");

int parseCommandLine(QCoreApplication &app, LspServer::Features *features)
{
    QTextStream err(stderr);
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("A language server for Qt style sheets: prismark-lint's diagnostics as "
                       "you type, completion, hover, colours, quick fixes, outline and go to "
                       "definition, over the Language Server Protocol on standard input and "
                       "output. In Designer forms (.ui) and C++ and Python sources it serves the "
                       "style sheets their literals hold: diagnostics, completion, hover and "
                       "quick fixes inside those literals, nothing elsewhere.\n\n"
                       "Exit status: 0 after the client's shutdown and exit; 1 on exit or end of "
                       "input without shutdown, or when the client can no longer be written to; "
                       "2 wrong usage."));
    addHelpAndVersionOptions(parser);
    parser.addOption(QCommandLineOption(
        QStringLiteral("stdio"), QStringLiteral("Talk over standard input and output (the only "
                                                "way; accepted because clients pass it).")));
    parser.addOption(QCommandLineOption(
        kEmbeddedOnlyOption,
        QStringLiteral("Announce only the features served inside embedded style sheets "
                       "(diagnostics, completion, hover, quick fixes), for an editor that starts "
                       "the server for forms and sources alone.")));
    if (!parser.parse(app.arguments())) {
        err << app.applicationName() << ": " << parser.errorText() << "\nTry '"
            << app.applicationName() << " --help'.\n";
        return ExitUsage;
    }
    if (answerHelpOrVersion(parser))
        return ExitClean;
    if (!parser.positionalArguments().isEmpty()) {
        err << app.applicationName() << ": unexpected argument \""
            << parser.positionalArguments().constFirst() << "\"\nTry '" << app.applicationName()
            << " --help'.\n";
        return ExitUsage;
    }
    *features = parser.isSet(kEmbeddedOnlyOption) ? LspServer::Features::EmbeddedSheets
                                                  : LspServer::Features::All;
    return -1;
}
} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("prismark-lsp"));
    QCoreApplication::setApplicationVersion(QStringLiteral(PRISMARK_VERSION));
    LspServer::Features features = LspServer::Features::All;
    const int usage = parseCommandLine(app, &features);
    if (usage >= 0)
        return usage;
    quietToolkitParserMessages();
    // A client gone away is a failed write, not a signal that kills the server.
    std::signal(SIGPIPE, SIG_IGN);

    LspServer server(writeAll, QCoreApplication::applicationVersion(), features);
    QObject::connect(&server, &LspServer::finished, &app, &QCoreApplication::exit,
                     Qt::QueuedConnection);
    QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
    QObject::connect(&input, &QSocketNotifier::activated, &server, [&input, &server] {
        char buffer[65536];
        const ssize_t count = ::read(STDIN_FILENO, buffer, sizeof buffer);
        if (count < 0 && errno == EINTR)
            return;
        if (count <= 0) {
            input.setEnabled(false);
            server.endOfInput();
            return;
        }
        server.receive(QByteArray(buffer, int(count)));
        if (server.isFinished())
            input.setEnabled(false);
    });
    const int status = app.exec();
    server.waitForAnalyses();
    return status;
}
