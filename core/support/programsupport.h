// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include <QString>
#include <QStringList>
#include <QtMessageHandler>

class QCommandLineParser;

// What every program does the same way at start: the toolkit's notices a user
// cannot act on, and --help and --version, the help naming the program rather than
// the path it was started by.

// Drops the toolkit's "XDG_RUNTIME_DIR not set" notice, printed by every graphical
// program run where that variable is unset (CI, root, containers), and passes every
// other message on to the handler that was installed before. Call before the
// application object is made; a second call changes nothing.
void quietRuntimeDirectoryNotice();

// The message handler quietRuntimeDirectoryNotice() installs, for its tests.
void runtimeDirectoryNoticeFilter(QtMsgType type, const QMessageLogContext &context,
                                  const QString &message);

// The parser's help text with its usage line naming the program
// (QCoreApplication::applicationName(), else the executable's file name) instead of
// the path on the command line.
QString helpTextForProgram(const QCommandLineParser &parser);

// Adds --help and --version; where they stand among the options is where --help
// lists them.
void addHelpAndVersionOptions(QCommandLineParser &parser);

// Says message on standard error after the program's name (the application name every
// program sets first thing in main), as "prismark-live: message".
void printProgramError(const QString &message);

// Whether --help or --version was given; needs no application object.
bool asksForHelpOrVersion(const QCommandLineParser &parser);

// What --help or --version asks for, when either was given (--help first): the help
// text, or "NAME VERSION" and a newline from the application's name and version.
// Empty when neither was given.
QString helpOrVersionText(const QCommandLineParser &parser);

// Prints helpOrVersionText() on standard output; true when there was any, and the
// program has nothing more to do.
bool answerHelpOrVersion(const QCommandLineParser &parser);

// A command line that may end with the author's application: what follows the first
// "--" after the program's own name is that application's command, never our options.
struct SplitCommandLine
{
    QStringList ours;        // the program's name and its own arguments
    bool hasProgram = false; // a "--" was given
    QString program;         // empty when nothing follows the "--"
    QStringList programArguments;
};
SplitCommandLine splitAtProgram(const QStringList &arguments);
