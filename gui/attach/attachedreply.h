// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include "attach/attachenvironment.h"

#include <QJsonObject>
#include <QString>
#include <QStringList>

#include <functional>

class AttachLauncher;

// What a program that starts the author's application for one job waits for, how
// long, and the words it says when the application never gets there.
struct AwaitedReply
{
    QString doneKind; // the message that ends the wait
    // Another message that ends it, once whenReady has run with its fields: work done
    // with the application while it waits (the Python agent's passes for a profile).
    QString readyKind;
    std::function<void(const QJsonObject &)> whenReady;
    QStringList progressKinds;             // each gives the application graceMs more
    int handshakeMs = Attach::handshakeMs; // to say hello
    int settleMs = 0;                      // then to settle, as the application was asked to
    int graceMs = 0;                       // then to send the done message, or the next progress
    QString program;                       // the application, as the messages name it
    // What it failed to do in time, %1 the seconds: "sent no measurement for %1 s".
    QString overdue;
    // What it ended before: "the profile was done".
    QString unfinished;
    // The launcher's status when it is stopped, overdue or done.
    int stopStatus = 0;
    // Says a failure on standard error as the program says its own.
    std::function<void(const QString &)> printError;
};

// How the wait ended. Every failure has been said by then.
struct AttachedReply
{
    bool done = false;
    QJsonObject fields; // the done message's
    bool overdue = false;
    bool endedEarly = false; // ended after its hello, before the done message
    int status = 0;          // the launcher's, as it finished
};

// Starts the launcher and runs an event loop until the application has ended: the
// launcher stops it once the done message has come or the deadline has passed.
AttachedReply awaitReply(AttachLauncher &launcher, const AwaitedReply &awaited);
