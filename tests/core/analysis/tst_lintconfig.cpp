// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "analysis/checkregistry.h"
#include "analysis/lintconfig.h"
#include "analysis/stylesheetlint.h"
#include "lintconfigtesting.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

// A project's configuration, as prismark-lint and prismark-live find and apply it:
// where it is found, how files extend each other and overrides apply to a sheet, and
// suppression comments.
class TestLintConfig : public QObject
{
    Q_OBJECT
private slots:
    void nearestConfigurationWins();
    void configurationInForceForASheet_data();
    void configurationInForceForASheet();
    void suppressions_data();
    void suppressions();
};

void TestLintConfig::nearestConfigurationWins()
{
    QTemporaryDir root;
    write(root.filePath(QStringLiteral("project/.prismark-lint.json")), "{}");
    write(root.filePath(QStringLiteral("project/themes/.prismark-lint.json")), "{}");
    const QString nested = root.filePath(QStringLiteral("project/themes/dark/app.qss"));
    write(nested, "");
    QCOMPARE(findLintConfig(nested),
             root.filePath(QStringLiteral("project/themes/.prismark-lint.json")));
    QCOMPARE(findLintConfig(root.filePath(QStringLiteral("project/app.qss"))),
             root.filePath(QStringLiteral("project/.prismark-lint.json")));
    QVERIFY(
        findLintConfig(root.filePath(QStringLiteral("elsewhere.qss"))).isEmpty() ||
        !findLintConfig(root.filePath(QStringLiteral("elsewhere.qss"))).startsWith(root.path()));
}

namespace {
// Each value set, as the options hold it, with where it came from:
// "checks.contrast=off (.prismark-lint.json overrides[0])", paths under root.
QString inForce(const LintConfigResult &config, const QString &root)
{
    QStringList values;
    const LintOptions &options = config.options;
    for (auto it = config.settings.cbegin(); it != config.settings.cend(); ++it) {
        const QString key = it.key();
        QString value;
        if (key.startsWith(QLatin1String("checks."))) {
            const LintCheck *check = lintCheck(key.mid(7));
            value = lintCheckRuns(*check, options)
                        ? lintSeverityName(options.severities.value(key.mid(7), check->severity))
                        : QStringLiteral("off");
        } else if (key.startsWith(QLatin1String("widgets."))) {
            value = options.widgets.value(key.mid(8));
        } else if (key == QLatin1String("properties")) {
            value = options.properties.join(QLatin1Char(','));
        } else if (key == QLatin1String("qt")) {
            value = QString::number(options.qtVersion);
        } else if (key == QLatin1String("contrast.text")) {
            value = QString::number(options.textContrast);
        } else {
            value = it->value.toVariant().toString();
        }
        values.append(QStringLiteral("%1=%2 (%3)").arg(key, value, it->origin));
    }
    return values.join(QLatin1String(", ")).replace(root + QLatin1Char('/'), QString());
}
} // namespace

void TestLintConfig::configurationInForceForASheet_data()
{
    // Files as "PATH=CONTENT"; the configuration is the nearest one to the sheet.
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QString>("sheet");
    QTest::addColumn<QString>("expected"); // or "error: " and the error after the root
    const QString main = QStringLiteral(".prismark-lint.json=");
    const QString base = QStringLiteral("base.json={\"checks\": {\"contrast\": \"error\", "
                                        "\"shadowed\": \"off\"}, \"properties\": [\"a\", \"b\"]}");
    QTest::newRow("the extending file wins over what it extends, name by name")
        << QStringList{base, main + R"({"extends": "base.json", "checks": {"shadowed": "note"}})"}
        << "app.qss"
        << "checks.contrast=error (base.json), checks.shadowed=note (.prismark-lint.json), "
           "properties=a,b (base.json)";
    QTest::newRow("a list replaces the one it extends")
        << QStringList{base, main + R"({"extends": "base.json", "properties": ["c"]})"} << "app.qss"
        << "checks.contrast=error (base.json), checks.shadowed=off (base.json), "
           "properties=c (.prismark-lint.json)";
    QTest::newRow("of several extended files the later wins")
        << QStringList{"a.json={\"qt\": \"6.2\", \"widgets\": {\"Meter\": \"QWidget\"}}",
                       "b.json={\"qt\": \"6.5\", \"widgets\": {\"Dial\": \"Meter\"}}",
                       main + R"({"extends": ["a.json", "b.json"]})"}
        << "app.qss"
        << "qt=605 (b.json), widgets.Dial=Meter (b.json), widgets.Meter=QWidget (a.json)";
    QTest::newRow("extends is relative to the file that names it")
        << QStringList{"shared/base.json={\"extends\": \"more/qt.json\"}",
                       "shared/more/qt.json={\"qt\": \"6.2\"}",
                       main + R"({"extends": "shared/base.json"})"}
        << "app.qss"
        << "qt=602 (shared/more/qt.json)";
    QTest::newRow("two files extending one are no cycle")
        << QStringList{"a.json={\"extends\": \"d.json\"}", "b.json={\"extends\": \"d.json\"}",
                       "d.json={\"qt\": \"6.2\"}", main + R"({"extends": ["a.json", "b.json"]})"}
        << "app.qss"
        << "qt=602 (d.json)";
    const QString overrides = main + R"({"checks": {"contrast": "error"}, "overrides": [
  {"files": ["themes/**/*.qss"], "checks": {"contrast": "off"}, "qt": "6.5"},
  {"files": "themes/dark/*.qss", "checks": {"contrast": "note"}}
]})";
    QTest::newRow("an override applies to the sheets its glob matches")
        << QStringList{overrides} << "themes/light.qss"
        << "checks.contrast=off (.prismark-lint.json overrides[0]), "
           "qt=605 (.prismark-lint.json overrides[0])";
    QTest::newRow("of two matching overrides the later wins")
        << QStringList{overrides} << "themes/dark/app.qss"
        << "checks.contrast=note (.prismark-lint.json overrides[1]), "
           "qt=605 (.prismark-lint.json overrides[0])";
    QTest::newRow("an override leaves the sheets it does not match alone")
        << QStringList{overrides} << "app.qss"
        << "checks.contrast=error (.prismark-lint.json)";
    QTest::newRow("globs match the path from the configuration's own directory")
        << QStringList{overrides} << "src/themes/light.qss"
        << "checks.contrast=error (.prismark-lint.json)";
    QTest::newRow("an extended file's override matches from that file's directory")
        << QStringList{"shared/base.json={\"overrides\": [{\"files\": \"**/*.qss\", "
                       "\"qt\": \"6.2\"}]}",
                       main + R"({"extends": "shared/base.json"})"}
        << "app.qss"
        << "";
    QTest::newRow("overrides come after the keys, the extended files' first")
        << QStringList{"base.json={\"overrides\": [{\"files\": \"*.qss\", \"qt\": \"6.2\"}]}",
                       main + R"({"extends": "base.json", "qt": "6.5",
                                  "overrides": [{"files": "*.qss", "properties": ["p"]}]})"}
        << "app.qss"
        << "properties=p (.prismark-lint.json overrides[0]), qt=602 (base.json overrides[0])";

    QTest::newRow("a file that extends itself")
        << QStringList{main + R"({"extends": ".prismark-lint.json"})"} << "app.qss"
        << "error: .prismark-lint.json:1: \"extends\": a cycle: .prismark-lint.json -> "
           ".prismark-lint.json";
    QTest::newRow("a cycle names the whole chain")
        << QStringList{"a.json={\"extends\": \"b.json\"}",
                       "b.json={\n  \"qt\": \"6.2\",\n  \"extends\": \"a.json\"}",
                       main + R"({"extends": "a.json"})"}
        << "app.qss"
        << "error: b.json:3: \"extends\": a cycle: a.json -> b.json -> a.json";
    QTest::newRow("an extended file that is missing")
        << QStringList{main + "{\n\"extends\": [\"base.json\", \"gone.json\"]}", base} << "app.qss"
        << "error: .prismark-lint.json:2: \"extends\": \"gone.json\" cannot be read: ";
    QTest::newRow("an extended file that is no JSON object names itself")
        << QStringList{"base.json=[]", main + R"({"extends": "base.json"})"} << "app.qss"
        << "error: base.json:1: not a JSON object";
    QTest::newRow("a wrong key in an extended file names that file")
        << QStringList{"base.json={\n\"colour\": 1}", main + R"({"extends": "base.json"})"}
        << "app.qss"
        << "error: base.json:2: \"colour\": unknown key";
    QTest::newRow("extends of the wrong type")
        << QStringList{main + R"({"extends": 3})"} << "app.qss"
        << "error: .prismark-lint.json:1: \"extends\": must be a configuration file";
    QTest::newRow("an override without files")
        << QStringList{main + "{\"overrides\": [\n{\"qt\": \"6.2\"}]}"} << "app.qss"
        << "error: .prismark-lint.json:2: \"overrides[0].files\": must be a glob";
    QTest::newRow("a wrong value in an override is found on its own line")
        << QStringList{main +
                       "{\"checks\": {\"contrast\": \"off\"},\n\"overrides\": [\n"
                       "  {\"files\": \"a.qss\", \"checks\": {\"contrast\": \"off\"}},\n"
                       "  {\"files\": \"b.qss\",\n   \"checks\": {\"contrast\": \"loud\"}}]}"}
        << "app.qss"
        << "error: .prismark-lint.json:5: \"overrides[1].checks.contrast\": must be";
    QTest::newRow("a broken override is found although no sheet matches it")
        << QStringList{main + R"({"overrides": [{"files": "nothing/*", "qt": "7"}]})"} << "app.qss"
        << "error: .prismark-lint.json:1: \"overrides[0].qt\": must be a toolkit version";
    QTest::newRow("extends inside an override")
        << QStringList{main + R"({"overrides": [{"files": "*", "extends": "a.json"}]})"}
        << "app.qss"
        << "error: .prismark-lint.json:1: \"overrides[0].extends\": belongs at the top";
    QTest::newRow("a glob that is never closed")
        << QStringList{main + R"({"overrides": [{"files": ["*.{qss,css"]}]})"} << "app.qss"
        << "error: .prismark-lint.json:1: \"overrides[0].files\": \"{\" is never closed";
}

void TestLintConfig::configurationInForceForASheet()
{
    QFETCH(QStringList, files);
    QFETCH(QString, sheet);
    QFETCH(QString, expected);
    QTemporaryDir root;
    for (const QString &file : files) {
        const int split = int(file.indexOf(QLatin1Char('=')));
        write(root.filePath(file.left(split)), file.mid(split + 1).toUtf8());
    }
    const QString sheetPath = root.filePath(sheet);
    const LintConfigResult config = lintConfigForSheet(sheetPath);
    QCOMPARE(config.file, root.filePath(QStringLiteral(".prismark-lint.json")));
    if (expected.startsWith(QLatin1String("error: "))) {
        QVERIFY(!config.ok);
        const QString error =
            QString(config.error).replace(root.path() + QLatin1Char('/'), QString());
        QVERIFY2(error.startsWith(expected.mid(7)), qPrintable(error));
        // A broken configuration leaves the defaults, overrides and all.
        QVERIFY(config.settings.isEmpty());
        QCOMPARE(config.options.qtVersion, 0);
        return;
    }
    QVERIFY2(config.ok, qPrintable(config.error));
    QCOMPARE(inForce(config, root.path()), expected);
    // The one function every program calls agrees with reading and applying.
    const LintConfigResult again = readLintConfig(config.file).forSheet(sheetPath);
    QCOMPARE(inForce(again, root.path()), expected);
}

void TestLintConfig::suppressions_data()
{
    QTest::addColumn<QByteArray>("sheet");
    QTest::addColumn<QStringList>("expected");
    const QByteArray low = "QLabel { color: #777; background: #888; }\n";
    QTest::newRow("nothing suppressed") << low << QStringList{"1:10 contrast"};
    QTest::newRow("the next line, by id")
        << QByteArray("/* prismark-lint-disable-next-line contrast */\n" + low) << QStringList{};
    QTest::newRow("the next line, every check")
        << QByteArray("/* prismark-lint-disable-next-line */\n" + low) << QStringList{};
    QTest::newRow("the comment's own line")
        << QByteArray("QLabel { color: #777; background: #888; } "
                      "/* prismark-lint-disable-line contrast */\n")
        << QStringList{};
    QTest::newRow("a range ends at its enable")
        << QByteArray("/* prismark-lint-disable contrast, shadowed */\n" + low +
                      "/* prismark-lint-enable contrast, shadowed */\n" + low)
        << QStringList{"1:1 needless-disable", "4:10 contrast"};
    QTest::newRow("a finding where the enable stands is reported")
        << QByteArray("/* prismark-lint-disable syntax */\nQLabel { color: red/* "
                      "prismark-lint-enable syntax */ background: blue; }\n")
        << QStringList{"1:1 needless-disable", "2:20 syntax"};
    QTest::newRow("a range without an enable runs to the end")
        << QByteArray("/* prismark-lint-disable */\n" + low + low) << QStringList{};
    QTest::newRow("a suppression of another check is needless")
        << QByteArray("/* prismark-lint-disable-next-line shadowed */\n" + low)
        << QStringList{"1:1 needless-disable", "2:10 contrast"};
    QTest::newRow("an unknown id is reported")
        << QByteArray("/* prismark-lint-disable-next-line contrast, colour */\n" + low)
        << QStringList{"1:1 needless-disable"};
    QTest::newRow("the next line only, not the one after")
        << QByteArray("/* prismark-lint-disable-next-line contrast */\n" + low + low)
        << QStringList{"3:10 contrast"};
    QTest::newRow("the comment's own line only")
        << QByteArray("QLabel { color: #777; background: #888; } "
                      "/* prismark-lint-disable-line contrast */\n" +
                      low)
        << QStringList{"2:10 contrast"};
    QTest::newRow("a comment naming only unknown ids suppresses nothing")
        << QByteArray("/* prismark-lint-disable-next-line colour */\n" + low)
        << QStringList{"1:1 needless-disable", "2:10 contrast"};
    QTest::newRow("an enable with nothing disabled")
        << QByteArray("/* prismark-lint-enable contrast */\n" + low)
        << QStringList{"1:1 needless-disable", "2:10 contrast"};
    QTest::newRow("a comment inside a string is text")
        << QByteArray("QLabel[text=\"/* prismark-lint-disable */\"] { color: #777; "
                      "background: #888; }\n")
        << QStringList{"1:46 contrast"};
    QTest::newRow("a suppression comment never closed")
        << QByteArray(low + "/* prismark-lint-disable")
        << QStringList{"1:10 contrast", "2:1 needless-disable", "2:25 syntax"};
}

void TestLintConfig::suppressions()
{
    QFETCH(QByteArray, sheet);
    QFETCH(QStringList, expected);
    QCOMPARE(found(lintStyleSheet(sheet, QStringLiteral("app.qss"))), expected);
}

QTEST_GUILESS_MAIN(TestLintConfig)
#include "tst_lintconfig.moc"
