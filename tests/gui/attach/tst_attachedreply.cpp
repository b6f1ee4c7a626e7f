// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "attach/attachedreply.h"
#include "attach/attachlauncher.h"
#include "attach/attachprotocol.h"
#include "pythonbinding.h"

#include <QtTest>

// The wait prismark-profile and prismark-shot share, on a stand-in application that
// says hello and then sends the messages, pauses and exit its arguments list, as the
// plugin would, without any toolkit.
class TestAttachedReply : public QObject
{
    Q_OBJECT
private slots:
    void waitEndsAsTheApplicationDoes_data();
    void waitEndsAsTheApplicationDoes();
};

namespace {

const QString standIn =
    QStringLiteral("import json, os, socket, sys, time\n"
                   "s = socket.socket(socket.AF_UNIX)\n"
                   "s.connect(os.environ['%1'])\n"
                   "s.sendall(b'{\"kind\": \"hello\", \"pid\": 1, \"qt\": \"0\"}\\n')\n"
                   "for step in sys.argv[1:]:\n"
                   "    if step.startswith('exit '): sys.exit(int(step[5:]))\n"
                   "    elif step.startswith('sleep '): time.sleep(int(step[6:]) / 1000)\n"
                   "    else: s.sendall(json.dumps({'kind': step, 'step': 1}).encode() + b'\\n')\n"
                   "time.sleep(60)\n")
        .arg(QLatin1String(Attach::serverVariable));

} // namespace

void TestAttachedReply::waitEndsAsTheApplicationDoes_data()
{
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<int>("graceMs");
    QTest::addColumn<bool>("done");
    QTest::addColumn<QString>("message");
    // The first deadline is the handshake's three seconds and one grace: the rounds
    // run past it, each well inside the grace.
    QStringList rounds;
    for (int round = 0; round < 12; ++round)
        rounds << QStringLiteral("sleep 500") << QStringLiteral("round");
    QTest::newRow("rounds keep a long wait alive")
        << rounds + QStringList{QStringLiteral("done")} << 1500 << true << QString();
    QTest::newRow("silence after the hello")
        << QStringList() << 500 << false
        << QStringLiteral("app%1 sent nothing for 3 s; its event loop may be blocked. It was "
                          "stopped.");
    QTest::newRow("silence after a round is told by the round's grace")
        << QStringList{QStringLiteral("round")} << 2000 << false
        << QStringLiteral("app%1 sent nothing for 2 s; its event loop may be blocked.");
    QTest::newRow("application ends before it is done")
        << QStringList{QStringLiteral("round"), QStringLiteral("exit 5")} << 5000 << false
        << QStringLiteral("app%1 ended (status 5) before the job was done");
}

void TestAttachedReply::waitEndsAsTheApplicationDoes()
{
    QFETCH(QStringList, steps);
    QFETCH(int, graceMs);
    QFETCH(bool, done);
    QFETCH(QString, message);
    AttachCommand command;
    command.program = systemPython;
    command.arguments = QStringList{QStringLiteral("-c"), standIn} + steps;
    AttachLauncher launcher(command, attachPluginFolder());
    launcher.setHelloNote(QString());
    AwaitedReply awaited;
    awaited.doneKind = QStringLiteral("done");
    awaited.progressKinds = QStringList{QStringLiteral("round")};
    awaited.handshakeMs = 3000;
    awaited.graceMs = graceMs;
    // A name with a place marker of its own, kept as it is.
    awaited.program = QStringLiteral("app%1");
    awaited.overdue = QStringLiteral("sent nothing for %1 s");
    awaited.unfinished = QStringLiteral("the job was done");
    awaited.stopStatus = 4;
    QStringList errors;
    awaited.printError = [&errors](const QString &error) { errors << error; };

    const AttachedReply reply = awaitReply(launcher, awaited);
    QCOMPARE(reply.done, done);
    QCOMPARE(reply.fields.value(QStringLiteral("step")).toInt(), done ? 1 : 0);
    if (done) {
        QCOMPARE(errors, QStringList());
        return;
    }
    QCOMPARE(errors.size(), 1);
    QVERIFY2(errors.constFirst().startsWith(message), qPrintable(errors.constFirst()));
    QCOMPARE(reply.overdue, message.contains(QLatin1String("sent nothing")));
    QCOMPARE(reply.endedEarly, !reply.overdue);
    QCOMPARE(reply.status, reply.overdue ? 4 : 5);
}

QTEST_GUILESS_MAIN(TestAttachedReply)
#include "tst_attachedreply.moc"
