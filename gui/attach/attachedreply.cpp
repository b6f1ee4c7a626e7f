// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "attach/attachedreply.h"

#include "attach/attachlauncher.h"

#include <QEventLoop>
#include <QTimer>

AttachedReply awaitReply(AttachLauncher &launcher, const AwaitedReply &awaited)
{
    launcher.setHandshakeTimeout(awaited.handshakeMs);
    AttachedReply reply;
    bool working = false; // whenReady has the application
    QEventLoop loop;
    QTimer deadline;
    deadline.setSingleShot(true);
    QObject::connect(&deadline, &QTimer::timeout, &launcher, [&] {
        reply.overdue = true;
        awaited.printError(
            QStringLiteral("%1 %2; its event loop may be blocked. It was stopped.")
                .arg(awaited.program, awaited.overdue.arg(deadline.interval() / 1000)));
        launcher.stop(awaited.stopStatus);
    });
    QObject::connect(&launcher, &AttachLauncher::messageReceived, &launcher,
                     [&](const QString &kind, const QJsonObject &fields) {
                         // Whatever comes while it is being stopped changes nothing.
                         if (reply.done || reply.overdue)
                             return;
                         if (awaited.progressKinds.contains(kind)) {
                             deadline.start(awaited.graceMs);
                         } else if (kind == awaited.readyKind && !kind.isEmpty() &&
                                    awaited.whenReady && !working) {
                             deadline.stop();
                             working = true;
                             // Out of this handler: the socket tells of no more messages
                             // until it returns, and the work waits for answers. Tied to
                             // this wait's loop, so it never runs once the wait is over.
                             QTimer::singleShot(0, &loop, [&, fields] {
                                 awaited.whenReady(fields);
                                 // It may have ended, and been said to, meanwhile.
                                 if (reply.endedEarly)
                                     return;
                                 reply.done = true;
                                 reply.fields = fields;
                                 launcher.stop(awaited.stopStatus);
                             });
                         } else if (kind == awaited.doneKind && !working) {
                             deadline.stop();
                             reply.done = true;
                             reply.fields = fields;
                             launcher.stop(awaited.stopStatus);
                         }
                     });
    QObject::connect(&launcher, &AttachLauncher::finished, &loop, [&](int status) {
        reply.status = status;
        // Before the hello the launcher has said why; its statuses are the
        // application's, never the program's.
        if (!reply.done && !reply.overdue && launcher.hasAttached()) {
            reply.endedEarly = true;
            awaited.printError(
                QStringLiteral("%1 ended (status %2) before %3")
                    .arg(awaited.program, QString::number(status), awaited.unfinished));
        }
        loop.quit();
    });
    deadline.start(awaited.handshakeMs + awaited.settleMs + awaited.graceMs);
    launcher.start();
    loop.exec();
    return reply;
}
