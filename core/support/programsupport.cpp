// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "support/programsupport.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFileInfo>

#include <cstdio>

namespace {

QtMessageHandler handlerBefore = nullptr;
bool installed = false;

// The toolkit's own wording, the same in Qt 5 and Qt 6; its other runtime
// directory warnings (wrong owner, wrong permissions) are not this one and pass.
const QLatin1String kRuntimeDirectoryNotice("QStandardPaths: XDG_RUNTIME_DIR not set");

} // namespace

void runtimeDirectoryNoticeFilter(QtMsgType type, const QMessageLogContext &context,
                                  const QString &message)
{
    if (type == QtWarningMsg && message.startsWith(kRuntimeDirectoryNotice))
        return;
    if (handlerBefore)
        handlerBefore(type, context, message);
    else
        qt_message_output(type, context, message);
}

void quietRuntimeDirectoryNotice()
{
    if (installed)
        return;
    installed = true;
    handlerBefore = qInstallMessageHandler(runtimeDirectoryNoticeFilter);
}

QString helpTextForProgram(const QCommandLineParser &parser)
{
    QString text = parser.helpText();
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.isEmpty())
        return text;
    QString name = QCoreApplication::applicationName();
    if (name.isEmpty())
        name = QFileInfo(arguments.constFirst()).fileName();
    const QString usage =
        QCoreApplication::translate("QCommandLineParser", "Usage: %1").arg(arguments.constFirst());
    if (text.startsWith(usage))
        text.replace(0, usage.size(),
                     QCoreApplication::translate("QCommandLineParser", "Usage: %1").arg(name));
    return text;
}

void addHelpAndVersionOptions(QCommandLineParser &parser)
{
    parser.addHelpOption();
    parser.addVersionOption();
}

bool asksForHelpOrVersion(const QCommandLineParser &parser)
{
    return parser.isSet(QStringLiteral("help")) || parser.isSet(QStringLiteral("version"));
}

QString helpOrVersionText(const QCommandLineParser &parser)
{
    if (parser.isSet(QStringLiteral("help")))
        return helpTextForProgram(parser);
    if (parser.isSet(QStringLiteral("version")))
        return QCoreApplication::applicationName() + QLatin1Char(' ') +
               QCoreApplication::applicationVersion() + QLatin1Char('\n');
    return QString();
}

bool answerHelpOrVersion(const QCommandLineParser &parser)
{
    const QString text = helpOrVersionText(parser);
    if (text.isEmpty())
        return false;
    std::fputs(qUtf8Printable(text), stdout);
    std::fflush(stdout);
    return true;
}

SplitCommandLine splitAtProgram(const QStringList &arguments)
{
    SplitCommandLine split;
    const int separator = arguments.indexOf(QStringLiteral("--"), 1);
    split.hasProgram = separator > 0;
    split.ours = arguments;
    if (split.hasProgram) {
        split.ours = arguments.mid(0, separator);
        split.program = arguments.value(separator + 1);
        split.programArguments = arguments.mid(separator + 2);
    }
    return split;
}

void printProgramError(const QString &message)
{
    std::fprintf(stderr, "%s: %s\n", qUtf8Printable(QCoreApplication::applicationName()),
                 qUtf8Printable(message));
}
