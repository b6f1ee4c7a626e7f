// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>

// prismark-shot as its users run it: renders that repeat to the byte, comparisons
// that point at exactly what changed, and the exit codes scripts rely on.
class TestShot : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void sameBytesRunAfterRun();
    void compareFindsAColourChangeWhereItShows_data();
    void compareFindsAColourChangeWhereItShows();
    void namesAndExitCodes_data();
    void namesAndExitCodes();

private:
    struct Run
    {
        int exitCode;
        QString out;
        QString err;
    };
    Run shot(const QStringList &arguments);
    QString writeSheet(const QString &name, const QString &text);

    QTemporaryDir dir;
    QString lightSheet;
};

TestShot::Run TestShot::shot(const QStringList &arguments)
{
    QProcess process;
    process.start(QStringLiteral(PRISMARK_SHOT_EXECUTABLE), arguments);
    if (!process.waitForFinished(120000))
        return {-1, QString(), QStringLiteral("timed out")};
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

QString TestShot::writeSheet(const QString &name, const QString &text)
{
    const QString path = dir.filePath(name);
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(text.toUtf8()) < 0)
        return QString();
    return path;
}

static QMap<QString, QByteArray> filesUnder(const QString &root)
{
    QMap<QString, QByteArray> files;
    QDirIterator it(root, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        QFile file(it.next());
        if (file.open(QIODevice::ReadOnly))
            files.insert(QDir(root).relativeFilePath(file.fileName()), file.readAll());
    }
    return files;
}

void TestShot::initTestCase()
{
    QVERIFY(dir.isValid());
    QFile light(QStringLiteral(":/styles/light.qss"));
    QVERIFY(light.open(QIODevice::ReadOnly));
    lightSheet = QString::fromUtf8(light.readAll());
    // The baseline every comparison below is measured against.
    const QString sheet = writeSheet(QStringLiteral("base/mine.qss"), lightSheet);
    QCOMPARE(shot({"--sheet", sheet, "--out", dir.filePath("baseline"), "--quiet"}).exitCode, 0);
}

void TestShot::sameBytesRunAfterRun()
{
    const QStringList options{"--theme", "light,dark", "--disabled", "--contact-sheet", "--quiet"};
    QCOMPARE(shot(options + QStringList{"--out", dir.filePath("first")}).exitCode, 0);
    QCOMPARE(shot(options + QStringList{"--out", dir.filePath("second")}).exitCode, 0);
    const auto first = filesUnder(dir.filePath("first"));
    QCOMPARE(first.size(), 2 * 16 + 2 + 1);
    QCOMPARE(filesUnder(dir.filePath("second")), first);

    // Alone, in another order, an image comes out the same as after its neighbours.
    QCOMPARE(shot({"--theme", "dark", "--tab", "editors", "--out", dir.filePath("alone")}).exitCode,
             0);
    QCOMPARE(filesUnder(dir.filePath("alone")).value("dark/editors.png"),
             first.value("dark/editors.png"));
}

void TestShot::compareFindsAColourChangeWhereItShows_data()
{
    QTest::addColumn<QString>("rule");
    QTest::addColumn<QString>("colour");
    QTest::addColumn<QStringList>("changed");
    QTest::newRow("semantic slider groove shows on Sliders only")
        << "QSlider[variant]::groove:horizontal"
        << "#e0e6ef" << QStringList{"sliders.png"};
    QTest::newRow("close button hover colour shows nowhere") << "#appCloseButton:hover"
                                                             << "#d94141" << QStringList();
}

void TestShot::compareFindsAColourChangeWhereItShows()
{
    QFETCH(QString, rule);
    QFETCH(QString, colour);
    QFETCH(QStringList, changed);
    const int ruleStart = lightSheet.indexOf(QStringLiteral("\n%1 {").arg(rule));
    const int colourAt = lightSheet.indexOf(colour, ruleStart);
    QVERIFY(ruleStart >= 0 && colourAt > ruleStart);
    QVERIFY(colourAt < lightSheet.indexOf(QLatin1Char('}'), ruleStart));
    const QString edited = QString(lightSheet).replace(colourAt, colour.size(), "#ff00ff");
    const QString tag = QTest::currentDataTag();
    const QString sheet = writeSheet(tag + "/mine.qss", edited);
    const QString out = dir.filePath(tag + "/out");

    const Run run = shot({"--sheet", sheet, "--out", out, "--compare", dir.filePath("baseline"),
                          "--threshold", "0", "--quiet"});
    QCOMPARE(run.exitCode, changed.isEmpty() ? 0 : 1);
    QStringList failed;
    for (const QString &line : run.out.split('\n'))
        if (line.endsWith("FAIL"))
            failed << line.split(' ', Qt::SkipEmptyParts).value(1);
    changed.sort();
    failed.sort();
    QCOMPARE(failed, changed);
    QCOMPARE(QDir(out + "/diff/mine").entryList(QDir::Files, QDir::Name), changed);
}

void TestShot::namesAndExitCodes_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("expected");

    QTest::newRow("display name in any case writes a kebab-case folder")
        << QStringList{"--theme", "tOKYO night LIGHT", "--tab", "VIEWS", "--list"} << 0
        << "out/tokyo-night-light/views.png";
    QTest::newRow("sheet file name gives the folder")
        << QStringList{"--sheet", "@My Theme.qss", "--tab", "views", "--list"} << 0
        << "out/my-theme/views.png";
    QTest::newRow("unknown theme lists the valid names")
        << QStringList{"--theme", "sepia"} << 2 << "horizonModernLight (\"Horizon Modern Light\")";
    QTest::newRow("unknown tab lists the valid names")
        << QStringList{"--theme", "light", "--tab", "tables"} << 2 << "Dialogs, Editors";
    QTest::newRow("nothing to render") << QStringList{"--tab", "views"} << 2 << "--theme";
    QTest::newRow("sheet that is a FIFO is refused without a hang")
        << QStringList{"--sheet", "@fifo.qss"} << 3 << "a FIFO";
    QTest::newRow("oversized sheet is refused")
        << QStringList{"--sheet", "@huge.qss"} << 3 << "16 MiB";
    QTest::newRow("output folder that cannot be made")
        << QStringList{"--theme", "light", "--out", "@plain/shots"} << 3 << "plain/shots";
    QTest::newRow("image missing from the baseline fails the comparison")
        << QStringList{"--theme", "dark", "--tab", "views", "--compare", "@baseline"} << 1
        << "missing in baseline";
}

void TestShot::namesAndExitCodes()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QString, expected);
    const QString work = dir.filePath(QString("codes/%1").arg(QTest::currentDataTag()));
    QVERIFY(QDir().mkpath(work));
    writeSheet("codes/" + QString(QTest::currentDataTag()) + "/My Theme.qss", lightSheet);
    ::mkfifo(QFile::encodeName(work + "/fifo.qss").constData(), 0600);
    QFile huge(work + "/huge.qss");
    QVERIFY(huge.open(QIODevice::WriteOnly) && huge.resize(17 * 1024 * 1024));
    huge.close();
    QFile plain(work + "/plain");
    QVERIFY(plain.open(QIODevice::WriteOnly));
    plain.close();
    for (QString &argument : arguments)
        if (argument.startsWith('@'))
            argument =
                argument == "@baseline" ? dir.filePath("baseline") : work + '/' + argument.mid(1);
    if (!arguments.contains("--out"))
        arguments << "--out" << work + "/out";

    const Run run = shot(arguments << "--quiet");
    QCOMPARE(run.exitCode, exitCode);
    QVERIFY2((run.out + run.err)
                 .contains(expected.startsWith("out/") ? work + '/' + expected : expected),
             qPrintable(run.out + run.err));
    if (exitCode == 3)
        QVERIFY(!QFileInfo::exists(work + "/out"));
}

QTEST_GUILESS_MAIN(TestShot)
#include "tst_shot.moc"
