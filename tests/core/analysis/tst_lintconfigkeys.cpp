// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "analysis/lintconfig.h"
#include "analysis/stylesheetlint.h"
#include "lintconfigtesting.h"

#include "testsupport.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

// The keys of a configuration: what each changes on one sheet, and what a wrong one
// says, where.
class TestLintConfigKeys : public QObject
{
    Q_OBJECT
private slots:
    void eachKeyChangesTheSameSheet_data();
    void eachKeyChangesTheSameSheet();
    void brokenConfigurationsSayWhereAndWhat_data();
    void brokenConfigurationsSayWhereAndWhat();
    void palettesJudgeEachSheetUnderEach_data();
    void palettesJudgeEachSheetUnderEach();
};

namespace {

// A sheet for an application with a class of its own, a property it reads itself,
// a name of a later toolkit, low contrast and a relative image.
const QByteArray kSheet = "VolumeMeter { magnitude-color: #888; }\n"
                          "QLineEdit { placeholder-text-color: #777; }\n"
                          "QLabel { color: #666666; background: #ffffff; }\n"
                          "QLabel#logo { image: url(logo.png); }\n";
} // namespace

void TestLintConfigKeys::eachKeyChangesTheSameSheet_data()
{
    QTest::addColumn<QByteArray>("config");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("no configuration: Qt 5.15, no classes of its own, AA contrast")
        << QByteArray("{}")
        << QStringList{"1:1 unknown-widget", "1:15 unknown-property", "2:13 unknown-property",
                       "4:22 missing-resource"};
    QTest::newRow("an application class is checked as its base")
        << QByteArray(R"({"widgets": {"VolumeMeter": "QWidget"}})")
        << QStringList{"1:15 unknown-property", "2:13 unknown-property", "4:22 missing-resource"};
    QTest::newRow("a property the application reads")
        << QByteArray(R"({"properties": ["magnitude-color"]})")
        << QStringList{"1:1 unknown-widget", "2:13 unknown-property", "4:22 missing-resource"};
    QTest::newRow("a sheet for Qt 6.5 may set the placeholder colour")
        << QByteArray(R"({"qt": "6.5"})")
        << QStringList{"1:1 unknown-widget", "1:15 unknown-property", "4:22 missing-resource"};
    QTest::newRow("relative images resolve against the base directory")
        << QByteArray(R"({"base-dir": "images"})")
        << QStringList{"1:1 unknown-widget", "1:15 unknown-property", "2:13 unknown-property"};
    QTest::newRow("AAA contrast finds the grey text")
        << QByteArray(R"({"contrast": {"text": 7.0, "outline": 4.5}})")
        << QStringList{"1:1 unknown-widget", "1:15 unknown-property", "2:13 unknown-property",
                       "3:10 contrast", "4:22 missing-resource"};
    QTest::newRow("checks off and severities")
        << QByteArray(R"({"checks": {"unknown-widget": "off", "missing-resource": "error"}})")
        << QStringList{"1:15 unknown-property", "2:13 unknown-property", "4:22 missing-resource"};
}

void TestLintConfigKeys::eachKeyChangesTheSameSheet()
{
    QFETCH(QByteArray, config);
    QFETCH(QStringList, expected);
    QTemporaryDir root;
    write(root.filePath(QStringLiteral("images/logo.png")), "");
    write(root.filePath(QStringLiteral(".prismark-lint.json")), config);
    const LintConfigResult result =
        readLintConfig(root.filePath(QStringLiteral(".prismark-lint.json")));
    QVERIFY2(result.ok, qPrintable(result.error));
    const auto diagnostics =
        lintStyleSheet(kSheet, root.filePath(QStringLiteral("app.qss")), result.options);
    QCOMPARE(found(diagnostics), expected);
    if (config.contains("\"error\"")) {
        QCOMPARE(diagnostics.last().severity, LintSeverity::Error);
    }
}

void TestLintConfigKeys::brokenConfigurationsSayWhereAndWhat_data()
{
    QTest::addColumn<QByteArray>("config");
    QTest::addColumn<QString>("error"); // after the file name; ROOT is its folder
    QTest::newRow("not JSON") << QByteArray("{\n  \"qt\": \"6.5\",\n}\n")
                              << ":3: not a JSON object";
    QTest::newRow("an unknown key")
        << QByteArray("{\n  \"qt\": \"6.5\",\n  \"colour\": 1\n}") << ":3: \"colour\": unknown key";
    QTest::newRow("a wrong type") << QByteArray("{\n\n  \"qt\": 6.5\n}") << ":3: \"qt\": must be";
    QTest::newRow("tokens that are no file name")
        << QByteArray("{\n  \"tokens\": true\n}") << ":2: \"tokens\": must be a token file";
    QTest::newRow("a token file that is missing")
        << QByteArray("{\"tokens\": \"none.tokens.json\"}") << ":1: \"tokens\": cannot read";
    QTest::newRow("an unknown check id") << QByteArray("{\"checks\": {\n  \"contrasts\": \"off\"}}")
                                         << ":2: \"checks.contrasts\": unknown check id";
    QTest::newRow("an unknown severity") << QByteArray("{\"checks\": {\"contrast\": \"loud\"}}")
                                         << ":1: \"checks.contrast\": must be";
    QTest::newRow("a base class the toolkit does not have")
        << QByteArray("{\"widgets\": {\"VolumeMeter\": \"QWidgte\"}}")
        << ":1: \"widgets.VolumeMeter\": \"QWidgte\" is no toolkit widget class";
    QTest::newRow("a contrast ratio out of range")
        << QByteArray("{\"contrast\": {\"text\": 30}}") << ":1: \"contrast.text\": must be";
    QTest::newRow("palettes that are no array")
        << QByteArray("{\n  \"palettes\": \"dark\"\n}") << ":2: \"palettes\": must be an array";
    QTest::newRow("no palette at all")
        << QByteArray("{\"palettes\": []}") << ":1: \"palettes\": must be an array";
    QTest::newRow("a palette that is no name")
        << QByteArray("{\"palettes\": [\"light\", 2]}") << ":1: \"palettes\": must be an array";
    QTest::newRow("a misspelt palette")
        << QByteArray("{\"palettes\": [\"light\", \"drak\"]}")
        << ":1: \"palettes\": unknown palette \"drak\": the palettes are \"light\", \"dark\"";
    QTest::newRow("a palette twice") << QByteArray("{\"palettes\": [\"dark\", \"Dark\"]}")
                                     << ":1: \"palettes\": \"Dark\" is listed twice";
    QTest::newRow("a palette file that is missing")
        << QByteArray("{\"palettes\": [\"themes/none.qss\"]}")
        << ":1: \"palettes\": cannot read the palette ROOT/themes/none.qss: ";
    QTest::newRow("a palette file without an @palette line")
        << QByteArray("{\"palettes\": [\".prismark-lint.json\"]}")
        << ":1: \"palettes\": ROOT/.prismark-lint.json sets no palette";
    QTest::newRow("a FIFO is refused without blocking") << QByteArray("FIFO") << ": cannot be read";
    QTest::newRow("a directory is refused") << QByteArray("DIRECTORY") << ": cannot be read";
}

void TestLintConfigKeys::brokenConfigurationsSayWhereAndWhat()
{
    QFETCH(QByteArray, config);
    QFETCH(QString, error);
    QTemporaryDir root;
    const QString path = root.filePath(QStringLiteral(".prismark-lint.json"));
    if (config == "FIFO")
        QVERIFY(makeFifo(path));
    else if (config == "DIRECTORY")
        QVERIFY(QDir(root.path()).mkdir(QStringLiteral(".prismark-lint.json")));
    else
        write(path, config);
    const LintConfigResult result = readLintConfig(path);
    QVERIFY(!result.ok);
    QVERIFY2(result.error.startsWith(path + error.replace(QLatin1String("ROOT"), root.path())),
             qPrintable(result.error));
    // The sheet is still checked, on the defaults.
    QCOMPARE(result.options.qtVersion, 0);
    QVERIFY(result.options.widgets.isEmpty());
    QCOMPARE(result.options.palettes.size(), 1);
}

void TestLintConfigKeys::palettesJudgeEachSheetUnderEach_data()
{
    QTest::addColumn<QByteArray>("palettes"); // the key's value, none for the default
    QTest::addColumn<QByteArray>("sheet");
    // Each contrast finding's message up to its ratio.
    QTest::addColumn<QStringList>("expected");
    const QByteArray darkMode = "QWidget { background-color: #272727; }\n";
    const QString blackOnDark =
        "text #000000 (the light palette's WindowText) on #272727 in \"QWidget\"";
    QTest::newRow("a dark sheet under the default light palette")
        << QByteArray() << darkMode << QStringList{blackOnDark};
    QTest::newRow("a dark sheet under the dark palette")
        << QByteArray("[\"dark\"]") << darkMode << QStringList{};
    QTest::newRow("a dark sheet under both fails under light only")
        << QByteArray("[\"dark\", \"light\"]") << darkMode << QStringList{blackOnDark};
    QTest::newRow("a light sheet under both fails under dark only")
        << QByteArray("[\"light\", \"dark\"]")
        << QByteArray("QWidget { background-color: #e0e0e0; }")
        << QStringList{"text #f0f0f0 (the dark palette's WindowText) on #e0e0e0 in \"QWidget\""};
    QTest::newRow("colours the sheet writes fail once, under every palette")
        << QByteArray("[\"light\", \"dark\"]")
        << QByteArray("QLabel { color: #777777; background-color: #888888; }")
        << QStringList{"text #777777 on #888888 in \"QLabel\""};
    QTest::newRow("a palette() background says which palette it failed under")
        << QByteArray("[\"light\", \"dark\"]")
        << QByteArray("QLabel { color: #777777; background: palette(window); }")
        << QStringList{"text #777777 on #efefef in \"QLabel\" under the light palette",
                       "text #777777 on #323232 in \"QLabel\" under the dark palette"};
    QTest::newRow("the application's own palette beside the light one")
        << QByteArray("[\"light\", \"theme/app.qss\"]") << darkMode
        << QStringList{blackOnDark,
                       "text #303030 (theme/app.qss's WindowText) on #272727 in \"QWidget\""};
    QTest::newRow("a role the application's palette leaves is the light one's")
        << QByteArray("[\"dark\", \"theme/app.qss\"]")
        << QByteArray("QLineEdit { background-color: #272727; }")
        << QStringList{"text #000000 (the light palette's Text) on #272727 in \"QLineEdit\" "
                       "under the palette of theme/app.qss"};
    QTest::newRow("a sheet's own header wins over every palette")
        << QByteArray("[\"light\", \"dark\"]")
        << QByteArray("/*\n@palette WindowText = #101010\n*/\n") + darkMode
        << QStringList{"text #101010 on #272727 in \"QWidget\""};
}

void TestLintConfigKeys::palettesJudgeEachSheetUnderEach()
{
    QFETCH(QByteArray, palettes);
    QFETCH(QByteArray, sheet);
    QFETCH(QStringList, expected);
    QTemporaryDir root;
    write(root.filePath(QStringLiteral("theme/app.qss")),
          "/*\n@palette WindowText = #303030\n*/\nQLabel { color: red; }\n");
    write(root.filePath(QStringLiteral(".prismark-lint.json")),
          palettes.isEmpty() ? QByteArray("{}") : "{\"palettes\": " + palettes + "}");
    const LintConfigResult result =
        readLintConfig(root.filePath(QStringLiteral(".prismark-lint.json")));
    QVERIFY2(result.ok, qPrintable(result.error));
    QStringList messages;
    for (const LintDiagnostic &d :
         lintStyleSheet(sheet, root.filePath(QStringLiteral("a.qss")), result.options)) {
        if (d.check == QLatin1String("contrast"))
            messages.append(d.message.section(QStringLiteral(": contrast "), 0, 0));
    }
    QCOMPARE(messages, expected);
}

QTEST_GUILESS_MAIN(TestLintConfigKeys)
#include "tst_lintconfigkeys.moc"
