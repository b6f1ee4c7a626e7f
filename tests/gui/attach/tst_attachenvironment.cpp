// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "attach/attachenvironment.h"
#include "attach/attachlauncher.h"
#include "standins/attachedapps.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

Q_DECLARE_METATYPE(Attach::Way)

// The attach environment's table as the launchers and the plugin keep it: what the
// launchers give an application, and what its own child processes see once the
// plugin has loaded.
class TestAttachEnvironment : public QObject
{
    Q_OBJECT
private slots:
    void launchersGiveTheirOwnVariables();
    void childrenSeeNoneOfIt_data();
    void childrenSeeNoneOfIt();
};

namespace {

// "NAME=VALUE" lines, as env writes them.
QHash<QString, QString> readEnvironment(const QString &path)
{
    QFile file(path);
    QHash<QString, QString> variables;
    if (!file.open(QIODevice::ReadOnly))
        return variables;
    for (const QString &line : QString::fromLocal8Bit(file.readAll()).split(QLatin1Char('\n'))) {
        const int equals = line.indexOf(QLatin1Char('='));
        if (equals > 0)
            variables.insert(line.left(equals), line.mid(equals + 1));
    }
    return variables;
}

} // namespace

// A variable the launchers give without a row would reach the children; a row
// without a value would never reach the application.
void TestAttachEnvironment::launchersGiveTheirOwnVariables()
{
    QStringList given, rows;
    // Both ways in open, the plugin and the Python agent: every variable they take.
    Attach::Launch bothWays;
    bothWays.pluginFolder = "plugins";
    bothWays.agentFolder = "python";
    for (const Attach::Setting &setting : Attach::launcherSettings(bothWays))
        given << QLatin1String(setting.name);
    for (const Attach::Variable &variable : Attach::environment) {
        if (variable.giver == Attach::Giver::Launcher)
            rows << QLatin1String(variable.name);
    }
    given.sort();
    rows.sort();
    QCOMPARE(given, rows);
    // The launcher that loads no toolkit names the default scheme without the table.
    ColorScheme scheme = ColorScheme::Dark;
    QVERIFY(colorSchemeFromName(QLatin1String(Attach::defaultColorScheme), &scheme));
    QCOMPARE(scheme, ColorScheme::Light);
}

void TestAttachEnvironment::childrenSeeNoneOfIt_data()
{
    QTest::addColumn<QString>("program");
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("module");
    QTest::addColumn<QByteArray>("userTheme");
    QTest::addColumn<Attach::Way>("way");
    for (const AttachedApplication &application : attachedApplications()) {
        QTest::addRow("%s, the toolkit's own platform theme", application.name)
            << application.program << application.arguments << application.module << QByteArray()
            << Attach::Way::Auto;
        QTest::addRow("%s, the user's platform theme", application.name)
            << application.program << application.arguments << application.module
            << QByteArray("prismark-test-desktop") << Attach::Way::Auto;
        if (!application.module.isEmpty())
            QTest::addRow("%s through the Python agent, the user's platform theme",
                          application.name)
                << application.program << application.arguments << application.module
                << QByteArray("prismark-test-desktop") << Attach::Way::Python;
    }
}

// Every variable of the table set at once, as no one run sets them; the child the
// application starts as it begins sees none of them, and the user's platform theme.
void TestAttachEnvironment::childrenSeeNoneOfIt()
{
    QFETCH(QString, program);
    QFETCH(QStringList, arguments);
    QFETCH(QString, module);
    QFETCH(QByteArray, userTheme);
    QFETCH(Attach::Way, way);
    SKIP_UNLESS_RUNNABLE(whyPythonIsSkipped(module));

    QTemporaryDir folder;
    const QString sheet = folder.filePath(QStringLiteral("author.qss"));
    QVERIFY(writeFile(sheet, redSheet));
    const QString seen = folder.filePath(QStringLiteral("child-environment"));
    // A scheme too, so that every variable the launcher gives is set.
    const AttachCommand command{
        sheet, QString(), program,
        arguments + QStringList{QStringLiteral("--child-environment"), seen}, ColorScheme::Dark};
    AttachLauncher launcher(command, attachPluginFolder());
    launcher.setHelloNote(QString());
    launcher.setWay(way);
    // Set but empty, they ask the application for nothing.
    QProcessEnvironment extra;
    for (const Attach::Variable &variable : Attach::environment) {
        if (variable.giver != Attach::Giver::Launcher)
            extra.insert(QLatin1String(variable.name), QString());
    }
    launcher.setExtraEnvironment(extra);
    const QByteArray ownTheme = qgetenv(Attach::platformThemeVariable);
    if (userTheme.isEmpty())
        qunsetenv(Attach::platformThemeVariable);
    else
        qputenv(Attach::platformThemeVariable, userTheme);
    QSignalSpy finished(&launcher, &AttachLauncher::finished);
    launcher.start();
    qputenv(Attach::platformThemeVariable, ownTheme);
    if (ownTheme.isNull())
        qunsetenv(Attach::platformThemeVariable);

    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(seen) || !finished.isEmpty(), 30000);
    if (finished.isEmpty()) {
        launcher.stop(0);
        QVERIFY(finished.wait(30000));
    }
    const QHash<QString, QString> child = readEnvironment(seen);
    QVERIFY2(!child.isEmpty(), "the application started no child");
    for (const Attach::Variable &variable : Attach::environment) {
        const QString name = QLatin1String(variable.name);
        if (variable.children == Attach::ForChildren::Nothing)
            QVERIFY2(!child.contains(name), qPrintable(name + QStringLiteral(" is seen")));
        else if (variable.children == Attach::ForChildren::UsersOwn)
            QCOMPARE(child.value(name, QStringLiteral("(unset)")),
                     userTheme.isEmpty() ? QStringLiteral("(unset)")
                                         : QString::fromLatin1(userTheme));
    }
}

QTEST_GUILESS_MAIN(TestAttachEnvironment)
#include "tst_attachenvironment.moc"
