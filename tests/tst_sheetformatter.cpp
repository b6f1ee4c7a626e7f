// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "analysis/sheetformatter.h"
#include "analysis/toolkitparse.h"

#include "testsupport.h"

#include <QTemporaryDir>
#include <QtTest>

// prismark-fmt: the layout, what it never changes, the sheets it leaves alone, and the
// program's exit status.
class TestSheetFormatter : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void layout_data();
    void layout();
    void leftAlone_data();
    void leftAlone();
    void builtInSheetsAreFormatted();
    void fixturesKeepTheirParseAndSettle();
    void program();
    void programReadsTheFormatKey_data();
    void programReadsTheFormatKey();
};

namespace {
const QDir kSource(QStringLiteral(PRISMARK_SOURCE_DIR));

QString fileText(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}
} // namespace

void TestSheetFormatter::initTestCase()
{
    quietToolkitParserMessages();
}

void TestSheetFormatter::layout_data()
{
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("output");
    QTest::newRow("one declaration per line, four spaces")
        << "QLabel{color:red;background : blue}"
        << "QLabel {\n    color: red;\n    background: blue;\n}\n";
    QTest::newRow("a long selector list takes a line each")
        << "QPushButton:pressed:!checked QLabel#someLongObjectName, "
           "QToolButton[variant=\"primary\"]::menu-indicator:hover, QSpinBox { color: red; }"
        << "QPushButton:pressed:!checked QLabel#someLongObjectName,\n"
           "QToolButton[variant=\"primary\"]::menu-indicator:hover,\nQSpinBox {\n"
           "    color: red;\n}\n";
    QTest::newRow("case, strings and url() as written")
        << "#MyName{qproperty-Text:\"A  ,B\";image:url( my  file.png );}"
        << "#MyName {\n    qproperty-Text: \"A  ,B\";\n    image: url( my  file.png );\n}\n";
    QTest::newRow("comments stay where they were, the header untouched")
        << "/*\n@palette Window = #ffffff\n*/\n\nQLabel { color: red; /* why */\n"
           "  /* next */ background: blue; }\n/* after */\nQFrame{}"
        << "/*\n@palette Window = #ffffff\n*/\n\nQLabel {\n    color: red; /* why */\n"
           "    /* next */\n    background: blue;\n}\n/* after */\nQFrame {\n}\n";
    QTest::newRow("rules a blank line apart") << "QLabel{}QFrame{}"
                                              << "QLabel {\n}\n\nQFrame {\n}\n";
    // The toolkit reads an unclosed last comment to the end; a newline added after it
    // would grow the comment on every run.
    QTest::newRow("an unclosed last comment as written") << "QLabel{}\n/* open\n"
                                                         << "QLabel {\n}\n/* open\n";
}

void TestSheetFormatter::layout()
{
    QFETCH(QString, input);
    QFETCH(QString, output);
    const SheetFormatResult result = formatStyleSheet(input);
    QVERIFY2(result.ok, qPrintable(result.error));
    QCOMPARE(result.text, output);
    QCOMPARE(formatStyleSheet(result.text).text, output);
}

void TestSheetFormatter::leftAlone_data()
{
    QTest::addColumn<QString>("input");
    QTest::newRow("rejected by the toolkit") << "QLabel { color: red background: blue; }";
    // Nothing to lay out anew, so only the toolkit's verdict stops it.
    QTest::newRow("rejected, already laid out")
        << "QLabel {\n    color: red background: blue;\n}\n";
    QTest::newRow("unclosed rule") << "QLabel { color: red;";
    QTest::newRow("an at-rule") << "@media screen { QLabel { color: red; } }";
    // The toolkit drops the rule after the control character, so it accepts the sheet.
    QTest::newRow("an unclosed bracket") << "\x12QLabel { color: a[d }";
    QTest::newRow("a NUL") << QString::fromUtf8("QLabel { c\0olor: red; }", 24);
    QTest::newRow("CR LF line ends") << "QLabel {\r\n    color: red;\r\n}\r\n";
}

void TestSheetFormatter::leftAlone()
{
    QFETCH(QString, input);
    const SheetFormatResult result = formatStyleSheet(input);
    QVERIFY(!result.ok);
    QVERIFY(!result.error.isEmpty());
}

void TestSheetFormatter::builtInSheetsAreFormatted()
{
    const QDir styles(kSource.filePath(QStringLiteral("resources/styles")));
    const QStringList names = styles.entryList({QStringLiteral("*.qss")}, QDir::Files);
    QCOMPARE(names.size(), 12);
    for (const QString &name : names) {
        const QString text = fileText(styles.filePath(name));
        const SheetFormatResult result = formatStyleSheet(text);
        QVERIFY2(result.ok, qPrintable(name + result.error));
        QVERIFY2(result.text == text, qPrintable(name));
    }
}

void TestSheetFormatter::fixturesKeepTheirParseAndSettle()
{
    int formatted = 0;
    for (const QString &folder :
         {QStringLiteral("tests/checks"), QStringLiteral("tests/lint-fixtures")}) {
        const QDir dir(kSource.filePath(folder));
        for (const QString &name : dir.entryList({QStringLiteral("*.qss")}, QDir::Files)) {
            const QString text = fileText(dir.filePath(name));
            QString before;
            const SheetFormatResult result = formatStyleSheet(text);
            if (!toolkitParseSummary(text, &before)) {
                QVERIFY2(!result.ok, qPrintable(name));
                continue;
            }
            if (!result.ok)
                continue; // left alone, which is always allowed
            ++formatted;
            QString after;
            QVERIFY2(toolkitParseSummary(result.text, &after) && after == before, qPrintable(name));
            QCOMPARE(formatStyleSheet(result.text).text, result.text);
        }
    }
    QVERIFY(formatted > 10);
}

void TestSheetFormatter::program()
{
    const QString program = QStringLiteral(PRISMARK_FMT_BINARY);
    ProgramOptions input;
    input.input = "QLabel{color:red}";
    const ProgramRun formatted = runProgram(program, {QStringLiteral("-")}, input);
    QCOMPARE(formatted.exitCode, 0);
    QCOMPARE(formatted.out, QStringLiteral("QLabel {\n    color: red;\n}\n"));
    QCOMPARE(runProgram(program, {QStringLiteral("--check"), QStringLiteral("-")}, input).exitCode,
             1);
    input.input = "QLabel {\n    color: red;\n}\n";
    QCOMPARE(runProgram(program, {QStringLiteral("--check"), QStringLiteral("-")}, input).exitCode,
             0);
    input.input = "QLabel { color: red background: blue; }";
    const ProgramRun rejected = runProgram(program, {QStringLiteral("-")}, input);
    QCOMPARE(rejected.exitCode, 2);
    QVERIFY(rejected.out.isEmpty());
    QVERIFY(rejected.err.contains(QLatin1String("not formatted")));
}

void TestSheetFormatter::programReadsTheFormatKey_data()
{
    QTest::addColumn<QByteArray>("config");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("output");
    QTest::newRow("indent of two, short lines")
        << QByteArray(R"({"format": {"indent": 2, "max-line-length": 20}})") << 0
        << "QPushButton,\nQToolButton {\n  color: red;\n}\n";
    QTest::newRow("no format key: the built-in sheets' layout")
        << QByteArray("{}") << 0 << "QPushButton, QToolButton {\n    color: red;\n}\n";
    QTest::newRow("an indent out of range is an error")
        << QByteArray(R"({"format": {"indent": 99}})") << 3 << QString();
    QTest::newRow("an unknown key is an error")
        << QByteArray(R"({"format": {"tabs": true}})") << 3 << QString();
}

void TestSheetFormatter::programReadsTheFormatKey()
{
    QFETCH(QByteArray, config);
    QFETCH(int, exitCode);
    QFETCH(QString, output);
    QTemporaryDir dir;
    QFile file(dir.filePath(QStringLiteral(".prismark-lint.json")));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(config);
    file.close();
    const QString sheet = dir.filePath(QStringLiteral("s.qss"));
    QFile sheetFile(sheet);
    QVERIFY(sheetFile.open(QIODevice::WriteOnly));
    sheetFile.write("QPushButton,QToolButton{color:red}");
    sheetFile.close();
    const ProgramRun run = runProgram(QStringLiteral(PRISMARK_FMT_BINARY), {sheet});
    QCOMPARE(run.exitCode, exitCode);
    if (exitCode == 0)
        QCOMPARE(fileText(sheet), output);

    // Standard input finds the configuration from the path it stands for.
    ProgramOptions piped;
    piped.input = "QPushButton,QToolButton{color:red}";
    const ProgramRun fromInput =
        runProgram(QStringLiteral(PRISMARK_FMT_BINARY),
                   {QStringLiteral("--stdin-filename"), dir.filePath(QStringLiteral("new.qss")),
                    QStringLiteral("-")},
                   piped);
    QCOMPARE(fromInput.exitCode, exitCode);
    if (exitCode == 0)
        QCOMPARE(fromInput.out, output);
}

QTEST_GUILESS_MAIN(TestSheetFormatter)
#include "tst_sheetformatter.moc"
