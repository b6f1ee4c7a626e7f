// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "programs/prismark-profile/plantedranking.h"
#include "pythonbinding.h"
#include "standins/profiledappnames.h"
#include "testsupport.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QtTest>

// prismark-profile SHEET -- PROGRAM as its users run it, on an application of their
// own in C++ and in Python: the planted culprit comes out first, the application's
// own windows are what is measured, and each failure is said with its exit status.
// Rankings are asserted, never times.
class TestProfileApp : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void plantedRuleRanksFirstOnTheApplication_data();
    void plantedRuleRanksFirstOnTheApplication();
    void failureIsSaidPlainly_data();
    void failureIsSaidPlainly();

private:
    QString write(const QString &name, const QByteArray &text);

    QTemporaryDir dir;
};

namespace {

const QString pyQt = QStringLiteral("PyQt%1").arg(QT_VERSION_MAJOR);

// Ten labels in each of the application's forty frames: the planted rule is over
// half of the apply on 400 as on 2,000, and each pass is a fifth as long.
constexpr int kLabelsPerFrame = 10;

ProgramRun profile(const QStringList &arguments, const QString &workingDirectory = QString())
{
    ProgramOptions options;
    options.workingDirectory = workingDirectory;
    // Only against a hang: a busy machine may give the profile a sixth of a core.
    options.timeoutMs = 280000;
    return runProgram(QStringLiteral(PRISMARK_PROFILE_EXECUTABLE), arguments, options);
}

// A short Python application of the system's binding.
QStringList pythonApplication(const QString &body)
{
    return {systemPython, QStringLiteral("-c"),
            QStringLiteral("import sys\nfrom %1.QtCore import QTimer\n"
                           "from %1.QtWidgets import QApplication, QWidget\n"
                           "a = QApplication(sys.argv)\n%2")
                .arg(pyQt, body)};
}

} // namespace

void TestProfileApp::initTestCase()
{
    QVERIFY(dir.isValid());
}

QString TestProfileApp::write(const QString &name, const QByteArray &text)
{
    QFile file(dir.filePath(name));
    if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size())
        return QString();
    return file.fileName();
}

void TestProfileApp::plantedRuleRanksFirstOnTheApplication_data()
{
    QTest::addColumn<QStringList>("command");
    QTest::addColumn<QString>("way");
    const QString labels = QString::number(kLabelsPerFrame);
    const QStringList python{systemPython, QStringLiteral(PROFILED_APP_SCRIPT),
                             QStringLiteral("pyqt%1").arg(QT_VERSION_MAJOR), labels};
    QTest::newRow("C++ application")
        << QStringList{QStringLiteral(PROFILED_APP_EXECUTABLE), labels} << "auto";
    QTest::newRow("Python application") << python << "auto";
    // prismark-profile drives the attribution and the agent times each pass.
    QTest::newRow("Python application through the agent") << python << "python";
}

// A rule that paints every label of the application with a border and a gradient,
// among rules that match nothing or one widget: ranked first by time and by matching
// work, on both of the application's windows (the dialog it opened and closed on
// timers too, never shown again by the profile), every widget counted once.
void TestProfileApp::plantedRuleRanksFirstOnTheApplication()
{
    QFETCH(QStringList, command);
    QFETCH(QString, way);
    SKIP_UNLESS_RUNNABLE(whyCommandIsSkipped(command));
    const QString run = dir.filePath(QString::fromLatin1(QTest::currentDataTag()));
    QVERIFY(QDir().mkpath(run));
    const QString sheet = write(QStringLiteral("planted-%1.qss").arg(QTest::currentDataTag()),
                                "#noSuchWidget { color: red; }\n"
                                "QPushButton#noSuchButton { color: red; }\n"
                                "*[flag=\"on\"] { border: 2px solid red; border-radius: 6px; "
                                "background: qlineargradient(x1: 0, y1: 0, x2: 0, y2: 1, "
                                "stop: 0 #ffffff, stop: 1 #cccccc); padding: 3px; }\n"
                                "QDialog { color: #202020; }\n");
    const ProgramRun result = profile(
        QStringList{QStringLiteral("--format"), QStringLiteral("json"), QStringLiteral("--rounds"),
                    QStringLiteral("10"), QStringLiteral("--settle"), QStringLiteral("1.5"),
                    QStringLiteral("--attach"), way, sheet, QStringLiteral("--")} +
            command,
        run);
    QVERIFY2(result.exitCode == 0, qPrintable(result.err));
    QVERIFY2(!result.err.contains(QLatin1String(ProfiledApp::shownAgain)), qPrintable(result.err));
    const QJsonObject report = QJsonDocument::fromJson(result.out.toUtf8()).object();
    QCOMPARE(report.value("windows").toInt(), 2);
    QCOMPARE(report.value("widgets").toInt(), ProfiledApp::widgetsWith(kLabelsPerFrame));

    const QJsonArray groups = report.value("groups").toArray();
    QCOMPARE(groups.size(), 4);
    const QString fault = plantedRankingFault(groups, 3);
    QVERIFY2(fault.isEmpty(), qPrintable(fault));
    // The agent times passes; the matching work is counted only where the plugin is.
    QCOMPARE(report.value("workCounted").toBool(), way != QLatin1String("python"));
    for (const QJsonValue &rule : report.value("rules").toArray()) {
        const QJsonObject fields = rule.toObject();
        if (way != QLatin1String("python"))
            QCOMPARE(fields.value("workRank").toInt() == 1, fields.value("line").toInt() == 3);
    }
    // Nothing is written into the folder the application runs in.
    QCOMPARE(QDir(run).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
             QStringList());
}

void TestProfileApp::failureIsSaidPlainly_data()
{
    QTest::addColumn<QByteArray>("sheet");
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QStringList>("command");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("message");
    const QByteArray good = "QLabel { color: red; }\n";
    const QStringList app{QStringLiteral(PROFILED_APP_EXECUTABLE)};
    const QStringList settle{QStringLiteral("--settle"), QStringLiteral("0.5")};
    QTest::newRow("program not found")
        << good << settle << QStringList{QStringLiteral("no-such-program-here")} << 4
        << QStringLiteral("prismark-profile: no-such-program-here: no such program on PATH");
    QTest::newRow("program links no Qt")
        << good << settle << QStringList{QStringLiteral("/bin/true")} << 4
        << QStringLiteral("exited with status 0 before prismark-profile could attach; /bin/true "
                          "links no Qt library");
    QTest::newRow("application ends before it is measured")
        << good << settle
        << pythonApplication(QStringLiteral("w = QWidget()\nw.show()\n"
                                            "QTimer.singleShot(100, lambda: a.exit(5))\n"
                                            "sys.exit(a.exec())"))
        << 4 << QStringLiteral("ended (status 5) before the profile was done");
    // It ends at the first pass's sheet (its own, the author's, then a pass's).
    QTest::newRow("application ends while the agent times its passes")
        << good << settle + QStringList{QStringLiteral("--attach"), QStringLiteral("python")}
        << pythonApplication(QStringLiteral("import os\nseen = set()\n"
                                            "class W(QWidget):\n"
                                            "    def changeEvent(self, event):\n"
                                            "        if event.type() == type(event.type()).StyleChange:\n"
                                            "            seen.add(a.styleSheet())\n"
                                            "            if len(seen) >= 3:\n"
                                            "                os._exit(7)\n"
                                            "w = W()\nw.show()\nsys.exit(a.exec())"))
        << 4 << QStringLiteral("ended (status 7) before the profile was done");
    QTest::newRow("no such way in")
        << good << QStringList{QStringLiteral("--attach"), QStringLiteral("ptrace")} << app << 3
        << QStringLiteral("--attach takes auto, plugin or python");
    QTest::newRow("application shows no window")
        << good << settle << pythonApplication(QStringLiteral("sys.exit(a.exec())")) << 4
        << QStringLiteral("showed no window within 0.5 s; give it longer with --settle");
    QTest::newRow("sheet the toolkit rejects, before the application starts")
        << QByteArray("QLabel { color: red; }\n}} QWidget {\n") << settle
        << QStringList{QStringLiteral("no-such-program-here")} << 2 << QStringLiteral(":2:");
    QTest::newRow("a form is for the gallery")
        << good << QStringList{QStringLiteral("--form"), QStringLiteral("dialog.ui")} << app << 3
        << QStringLiteral("--form is for the gallery and forms, not for PROGRAM");
    QTest::newRow("no program after the separator")
        << good << QStringList() << QStringList() << 3 << QStringLiteral("expects PROGRAM");
    QTest::newRow("settle out of range")
        << good << QStringList{QStringLiteral("--settle"), QStringLiteral("-1")} << app << 3
        << QStringLiteral("--settle wants seconds");
}

void TestProfileApp::failureIsSaidPlainly()
{
    QFETCH(QByteArray, sheet);
    QFETCH(QStringList, options);
    QFETCH(QStringList, command);
    QFETCH(int, status);
    QFETCH(QString, message);
    SKIP_UNLESS_RUNNABLE(whyCommandIsSkipped(command));
    const QString path = write(QStringLiteral("failing.qss"), sheet);
    const ProgramRun run = profile(options + QStringList{path, QStringLiteral("--")} + command);
    QVERIFY2(run.err.contains(message), qPrintable(run.err));
    QCOMPARE(run.exitCode, status);
    QVERIFY(run.out.isEmpty());
}

QTEST_MAIN(TestProfileApp)
#include "tst_profileapp.moc"
