// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "analysis/lintconfig.h"
#include "analysis/stylesheetlint.h"

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
};

namespace {
void write(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

// "LINE:COL check" for each diagnostic, in order.
QStringList found(const QVector<LintDiagnostic> &diagnostics)
{
    QStringList result;
    for (const LintDiagnostic &d : diagnostics)
        result.append(QStringLiteral("%1:%2 %3").arg(d.line).arg(d.column).arg(d.check));
    return result;
}

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
    QTest::addColumn<QString>("error"); // after the file name
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
    QVERIFY2(result.error.startsWith(path + error), qPrintable(result.error));
    // The sheet is still checked, on the defaults.
    QCOMPARE(result.options.qtVersion, 0);
    QVERIFY(result.options.widgets.isEmpty());
}

QTEST_GUILESS_MAIN(TestLintConfigKeys)
#include "tst_lintconfigkeys.moc"
