// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "support/programsupport.h"

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
    void programs_data();
    void programs();
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

void TestProgramSupport::programs_data()
{
    QTest::addColumn<QString>("executable");
    QTest::addColumn<QString>("name");
    QTest::newRow("prismark-live") << QStringLiteral(PRISMARK_LIVE_EXECUTABLE) << "prismark-live";
    QTest::newRow("prismark-lint") << QStringLiteral(PRISMARK_LINT_EXECUTABLE) << "prismark-lint";
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

QTEST_GUILESS_MAIN(TestProgramSupport)
#include "tst_programsupport.moc"
