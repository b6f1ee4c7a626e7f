// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "pythonbinding.h"
#include "theme/palettedirectives.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QtTest>

// The Python agent reads a sheet's @palette header itself, before prismark has seen
// the sheet: it must read every line as prismark does, or an application attached
// through it would show another palette than one attached through the plugin.
class TestAgentPalette : public QObject
{
    Q_OBJECT
private slots:
    void agentReadsEveryLineAsPrismark_data();
    void agentReadsEveryLineAsPrismark();
};

namespace {

// What the agent makes of each line: [name, colour text] or null.
QJsonArray agentReading(const QStringList &lines)
{
    QProcess python;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("PYTHONPATH"), QStringLiteral(PRISMARK_BUILD_AGENT_DIR));
    python.setProcessEnvironment(environment);
    python.start(systemPython,
                 {QStringLiteral("-c"),
                  QStringLiteral("import json, sys\n"
                                 "from prismark_agent import sheet\n"
                                 "lines = json.load(sys.stdin)\n"
                                 "json.dump([sheet.palette_directive(l) for l in lines], "
                                 "sys.stdout)\n")});
    python.write(QJsonDocument(QJsonArray::fromStringList(lines)).toJson());
    python.closeWriteChannel();
    if (!python.waitForFinished(30000) || python.exitCode() != 0)
        qWarning("%s", python.readAllStandardError().constData());
    return QJsonDocument::fromJson(python.readAllStandardOutput()).array();
}

} // namespace

void TestAgentPalette::agentReadsEveryLineAsPrismark_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::newRow("written as the themes write it")
        << QStringList{QStringLiteral("@palette Window = #f6f7f9"),
                       QStringLiteral("  @palette Disabled.Text = #80202124  */"),
                       QStringLiteral("@palette\tHighlight=#1A73E8")};
    QTest::newRow("the grammar's edges")
        << QStringList{QStringLiteral("@paletteWindow = #112233"),
                       QStringLiteral("@palette Window = #12345"),
                       QStringLiteral("@palette Window = #1234567"),
                       QStringLiteral("@palette Window = # 123456"),
                       QStringLiteral("@palette W\u00edndow = #123456"),
                       QStringLiteral("@palette = #123456"),
                       QStringLiteral("@palette Window #123456"),
                       QStringLiteral("@palette Foo = #zz @palette Base = #abcdef"),
                       QStringLiteral("@palette\x0b Base\x0c=\r#abcdef"),
                       QStringLiteral("@palette Base = #abcdef\u2028@palette Text = #000000"),
                       QStringLiteral("@Palette Window = #123456"),
                       QStringLiteral("@palette @palette Window = #123456")};
    // Whatever the fuzz target for prismark's reader was given, line by line.
    QStringList corpus;
    const QDir folder(QStringLiteral(PRISMARK_SOURCE_DIR "/fuzz/corpus/palettedirectives"));
    for (const QString &name : folder.entryList(QDir::Files)) {
        QFile file(folder.filePath(name));
        if (file.open(QIODevice::ReadOnly))
            corpus += QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
    }
    QTest::newRow("the fuzz target's seeds") << corpus;
}

void TestAgentPalette::agentReadsEveryLineAsPrismark()
{
    QFETCH(QStringList, lines);
    const QJsonArray agent = agentReading(lines);
    QCOMPARE(agent.size(), lines.size());
    for (int i = 0; i < lines.size(); ++i) {
        const PaletteDirectiveMatch prismark = matchPaletteDirective(lines.at(i));
        const QJsonArray read = agent.at(i).toArray();
        QVERIFY2(prismark.matched == !agent.at(i).isNull(), qPrintable(lines.at(i)));
        if (prismark.matched) {
            QCOMPARE(read.at(0).toString(), prismark.name);
            QCOMPARE(read.at(1).toString(), prismark.colorText);
        }
    }
}

QTEST_MAIN(TestAgentPalette)
#include "tst_agentpalette.moc"
