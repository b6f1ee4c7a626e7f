// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "support/programsupport.h"

#include <QCommandLineParser>
#include <QProcess>
#include <QTest>

// What a user meets on every run: --help names the program, not the path it was
// started by, and the toolkit's notice about an unset XDG_RUNTIME_DIR is gone while
// its other warnings still show.
class TestProgramSupport : public QObject
{
    Q_OBJECT

private slots:
    void onlyTheRuntimeDirectoryNoticeIsDropped();
    void helpOrVersion_data();
    void helpOrVersion();
    void programs_data();
    void programs();
    void applicationCommandAfterTheSeparator_data();
    void applicationCommandAfterTheSeparator();
};

namespace {

QStringList seen;

void recordMessage(QtMsgType, const QMessageLogContext &, const QString &message)
{
    seen.append(message);
}

} // namespace

void TestProgramSupport::onlyTheRuntimeDirectoryNoticeIsDropped()
{
    const QtMessageHandler before = qInstallMessageHandler(recordMessage);
    quietRuntimeDirectoryNotice();
    quietRuntimeDirectoryNotice(); // twice: still one filter in the chain
    qWarning("QStandardPaths: XDG_RUNTIME_DIR not set, defaulting to '/tmp/runtime-user'");
    qWarning("QStandardPaths: wrong permissions on runtime directory /tmp/x, 0755 instead of 0700");
    qInfo("XDG_RUNTIME_DIR not set is only a notice when the toolkit says it");
    qInstallMessageHandler(before);
    QCOMPARE(seen, QStringList({QStringLiteral("QStandardPaths: wrong permissions on runtime "
                                               "directory /tmp/x, 0755 instead of 0700"),
                                QStringLiteral("XDG_RUNTIME_DIR not set is only a notice when "
                                               "the toolkit says it")}));
}

void TestProgramSupport::helpOrVersion_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("answer");
    QTest::newRow("--version names the program") << QStringList{"--version"} << "tst-name 4.5.6\n";
    QTest::newRow("-v as well") << QStringList{"-v", "file"} << "tst-name 4.5.6\n";
    QTest::newRow("--help") << QStringList{"--help"} << "help";
    QTest::newRow("-h as well") << QStringList{"-h"} << "help";
    QTest::newRow("--help wins over --version") << QStringList{"--version", "--help"} << "help";
    QTest::newRow("neither: the program goes on") << QStringList{"--quiet", "file"} << "";
}

void TestProgramSupport::helpOrVersion()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, answer);
    const QString name = QCoreApplication::applicationName();
    const QString version = QCoreApplication::applicationVersion();
    QCoreApplication::setApplicationName(QStringLiteral("tst-name"));
    QCoreApplication::setApplicationVersion(QStringLiteral("4.5.6"));
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("What the program does."));
    parser.addOption({QStringLiteral("quiet"), QStringLiteral("Say less.")});
    addHelpAndVersionOptions(parser);
    QVERIFY(parser.parse(QStringList{QCoreApplication::arguments().constFirst()} + arguments));
    const QString text = helpOrVersionText(parser);
    QCoreApplication::setApplicationName(name);
    QCoreApplication::setApplicationVersion(version);
    QCOMPARE(asksForHelpOrVersion(parser), !answer.isEmpty());
    if (answer != QLatin1String("help")) {
        QCOMPARE(text, answer);
        return;
    }
    // The program's own name in the usage line, and the options it was given.
    QVERIFY2(text.startsWith(QLatin1String("Usage: tst-name [options]\n")), qPrintable(text));
    QVERIFY(text.contains(QLatin1String("What the program does.")));
    QVERIFY(text.contains(QLatin1String("--quiet")));
    QVERIFY(text.contains(QLatin1String("--version")));
}

void TestProgramSupport::programs_data()
{
    QTest::addColumn<QString>("executable");
    QTest::addColumn<QString>("name");
    QTest::newRow("prismark-live") << QStringLiteral(PRISMARK_LIVE_EXECUTABLE) << "prismark-live";
    QTest::newRow("prismark-lint") << QStringLiteral(PRISMARK_LINT_EXECUTABLE) << "prismark-lint";
    QTest::newRow("prismark-fmt") << QStringLiteral(PRISMARK_FMT_EXECUTABLE) << "prismark-fmt";
    QTest::newRow("prismark-lsp") << QStringLiteral(PRISMARK_LSP_EXECUTABLE) << "prismark-lsp";
    QTest::newRow("prismark-build")
        << QStringLiteral(PRISMARK_BUILD_EXECUTABLE) << "prismark-build";
    QTest::newRow("prismark-shot") << QStringLiteral(PRISMARK_SHOT_EXECUTABLE) << "prismark-shot";
    QTest::newRow("prismark-profile")
        << QStringLiteral(PRISMARK_PROFILE_EXECUTABLE) << "prismark-profile";
}

void TestProgramSupport::programs()
{
    QFETCH(QString, executable);
    QFETCH(QString, name);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("XDG_RUNTIME_DIR"));
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    for (const QString &option : {QStringLiteral("--help"), QStringLiteral("--version")}) {
        QProcess process;
        process.setProcessEnvironment(environment);
        process.start(executable, {option});
        QVERIFY(process.waitForFinished(30000));
        QCOMPARE(process.exitStatus(), QProcess::NormalExit);
        QCOMPARE(process.exitCode(), 0);
        const QString output = QString::fromUtf8(process.readAllStandardOutput());
        const QString errors = QString::fromUtf8(process.readAllStandardError());
        QVERIFY2(!errors.contains(QLatin1String("XDG_RUNTIME_DIR")), qPrintable(errors));
        if (option == QLatin1String("--help"))
            QVERIFY2(output.startsWith(QLatin1String("Usage: ") + name + QLatin1Char(' ')),
                     qPrintable(output.section(QLatin1Char('\n'), 0, 0)));
        else
            QCOMPARE(output.trimmed(), name + QLatin1String(" 1.0"));
    }
}

void TestProgramSupport::applicationCommandAfterTheSeparator_data()
{
    QTest::addColumn<QStringList>("given");
    QTest::addColumn<QStringList>("ours");
    QTest::addColumn<bool>("hasProgram");
    QTest::addColumn<QStringList>("command");
    QTest::newRow("no separator") << QStringList{"p", "a.qss"} << QStringList{"p", "a.qss"} << false
                                  << QStringList();
    QTest::newRow("nothing after it")
        << QStringList{"p", "a.qss", "--"} << QStringList{"p", "a.qss"} << true << QStringList{""};
    // The application's own options, and its own "--", are never ours.
    QTest::newRow("the application's options")
        << QStringList{"p", "a.qss", "--", "app", "--help", "--", "x"} << QStringList{"p", "a.qss"}
        << true << QStringList{"app", "--help", "--", "x"};
    // A program started by the name "--" still has its own name first.
    QTest::newRow("program named --")
        << QStringList{"--", "a.qss"} << QStringList{"--", "a.qss"} << false << QStringList();
}

void TestProgramSupport::applicationCommandAfterTheSeparator()
{
    QFETCH(QStringList, given);
    QFETCH(QStringList, ours);
    QFETCH(bool, hasProgram);
    QFETCH(QStringList, command);
    const SplitCommandLine split = splitAtProgram(given);
    QCOMPARE(split.ours, ours);
    QCOMPARE(split.hasProgram, hasProgram);
    QCOMPARE(command.isEmpty() ? QStringList()
                               : QStringList{split.program} + split.programArguments,
             command);
}

QTEST_GUILESS_MAIN(TestProgramSupport)
#include "tst_programsupport.moc"
