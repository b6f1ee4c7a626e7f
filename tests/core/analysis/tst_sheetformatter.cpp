// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "analysis/sheetformatter.h"
#include "analysis/toolkitparse.h"

#include "testsupport.h"

#include <QRegularExpression>
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
    void fixturesKeepTheirParseAndSettle_data();
    void fixturesKeepTheirParseAndSettle();
    void program();
    void programKeepsLineEndings_data();
    void programKeepsLineEndings();
    void programExitsWithTheWorstFile_data();
    void programExitsWithTheWorstFile();
    void programPrintsTheSyntaxFinding_data();
    void programPrintsTheSyntaxFinding();
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
    QTest::newRow("a quoted url() path holding a bracket and a semicolon")
        << "QLabel{image:url(\"a);b.png\");color:red}"
        << "QLabel {\n    image: url(\"a);b.png\");\n    color: red;\n}\n";
    QTest::newRow("a string left open keeps the line break that ends it")
        << "QLabel{font-family:\"Sans\n;color:red}"
        << "QLabel {\n    font-family: \"Sans\n;\n    color: red;\n}\n";
    QTest::newRow("rules a blank line apart") << "QLabel{}QFrame{}"
                                              << "QLabel {\n}\n\nQFrame {\n}\n";
    // The toolkit reads an unclosed last comment to the end; a newline added after it
    // would grow the comment on every run.
    QTest::newRow("an unclosed last comment as written") << "QLabel{}\n/* open\n"
                                                         << "QLabel {\n}\n/* open\n";
    QTest::newRow("CR LF line endings stay")
        << "/* head */\r\n\r\nQLabel{color:red}\r\nQFrame{}\r\n"
        << "/* head */\r\n\r\nQLabel {\r\n    color: red;\r\n}\r\n\r\nQFrame {\r\n}\r\n";
    QTest::newRow("mixed, mostly CR LF: CR LF throughout")
        << "QLabel {\r\n    color: red;\r\n}\n"
        << "QLabel {\r\n    color: red;\r\n}\r\n";
    QTest::newRow("mixed, mostly LF: LF throughout") << "QLabel {\n    color: red;\r\n}\n"
                                                     << "QLabel {\n    color: red;\n}\n";
    QTest::newRow("as many of each: LF") << "QLabel {\r\n    color: red;\n}"
                                         << "QLabel {\n    color: red;\n}\n";
    QTest::newRow("an unclosed last comment over CR LF lines")
        << "QLabel{}\r\n/* open\r\n\r\n"
        << "QLabel {\r\n}\r\n/* open\r\n\r\n";
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
    QTest::addColumn<bool>("toolkitRejects");
    QTest::addColumn<QString>("reason");
    QTest::newRow("rejected by the toolkit")
        << "QLabel { color: red background: blue; }" << true << "rejects";
    // Nothing to lay out anew, so only the toolkit's verdict stops it.
    QTest::newRow("rejected, already laid out") << "QLabel {\n    color: red background: blue;\n}\n"
                                                << true << "rejects";
    QTest::newRow("rejected, already laid out with CR LF")
        << "QLabel {\r\n    color: red background: blue;\r\n}\r\n"
        << true << "rejects";
    QTest::newRow("unclosed rule") << "QLabel { color: red;" << true << "rejects";
    QTest::newRow("an at-rule") << "@media screen { QLabel { color: red; } }" << false << "at-rule";
    // The toolkit drops the rule after the control character, so it accepts the sheet.
    QTest::newRow("an unclosed bracket") << "\x12QLabel { color: a[d }" << false << "bracket";
    QTest::newRow("a NUL") << QString::fromUtf8("QLabel { c\0olor: red; }", 24) << false << "NUL";
    QTest::newRow("old Mac line endings, a lone CR")
        << "QLabel {\r    color: red;\r}\r" << false << "carriage return";
    QTest::newRow("a lone CR among CR LF") << "QLabel {\r\n    color: red;\r}\r\n"
                                           << false << "carriage return";
}

void TestSheetFormatter::leftAlone()
{
    QFETCH(QString, input);
    QFETCH(bool, toolkitRejects);
    QFETCH(QString, reason);
    const SheetFormatResult result = formatStyleSheet(input);
    QVERIFY(!result.ok);
    QCOMPARE(result.toolkitRejects, toolkitRejects);
    QVERIFY2(result.error.contains(reason), qPrintable(result.error));
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

void TestSheetFormatter::fixturesKeepTheirParseAndSettle_data()
{
    QTest::addColumn<bool>("crLf");
    QTest::newRow("as written") << false;
    QTest::newRow("every line ending in CR LF") << true;
}

void TestSheetFormatter::fixturesKeepTheirParseAndSettle()
{
    QFETCH(bool, crLf);
    int formatted = 0;
    for (const QString &folder :
         {QStringLiteral("tests/core/analysis/checks"), QStringLiteral("tests/lint-fixtures")}) {
        const QDir dir(kSource.filePath(folder));
        for (const QString &name : dir.entryList({QStringLiteral("*.qss")}, QDir::Files)) {
            QString text = fileText(dir.filePath(name));
            const bool hadCr = text.contains(QLatin1Char('\r'));
            if (crLf && hadCr)
                continue; // a fixture about line endings already
            if (crLf)
                text.replace(QLatin1Char('\n'), QLatin1String("\r\n"));
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
            // Every line ends as the sheet's did.
            const int lineFeeds = int(result.text.count(QLatin1Char('\n')));
            const int crLfs = int(result.text.count(QLatin1String("\r\n")));
            QVERIFY2(crLf ? crLfs == lineFeeds : hadCr || crLfs == 0, qPrintable(name));
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
    QVERIFY(rejected.err.startsWith(QLatin1String("-:1:20: error: ")));
}

namespace {
// The arguments with "FILE" standing for path.
QStringList withFile(QStringList arguments, const QString &path)
{
    arguments.replaceInStrings(QRegularExpression(QStringLiteral("^FILE$")), path);
    return arguments;
}

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}
} // namespace

void TestSheetFormatter::programKeepsLineEndings_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QByteArray>("sheet");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QByteArray>("fileAfter"); // the file's bytes after the run
    QTest::addColumn<QByteArray>("out");
    QTest::addColumn<QString>("note"); // on standard error; "" for none
    const QByteArray compact("QLabel{color:red}\r\n");
    const QByteArray laidOut("QLabel {\r\n    color: red;\r\n}\r\n");
    const QByteArray mixed("QLabel {\r\n    color: red;\r\n}\n");
    const QString toCrLf = QStringLiteral("mixes line endings; every line ends in CR LF");
    QTest::newRow("CR LF sheet formatted in place")
        << QStringList{QStringLiteral("FILE")} << compact << 0 << laidOut << QByteArray()
        << QString();
    QTest::newRow("CR LF on standard input, CR LF out")
        << QStringList{QStringLiteral("-")} << compact << 0 << compact << laidOut << QString();
    QTest::newRow("CR LF with --stdin-filename")
        << QStringList{QStringLiteral("--stdin-filename=FILE"), QStringLiteral("-")} << compact << 0
        << compact << laidOut << QString();
    QTest::newRow("laid out with CR LF: --check finds nothing")
        << QStringList{QStringLiteral("--check"), QStringLiteral("FILE")} << laidOut << 0 << laidOut
        << QByteArray() << QString();
    QTest::newRow("mixed line endings: --check finds a change")
        << QStringList{QStringLiteral("--check"), QStringLiteral("FILE")} << mixed << 1 << mixed
        << QByteArray() << toCrLf;
    QTest::newRow("mixed line endings: --diff shows the line that changes its ending")
        << QStringList{QStringLiteral("--diff"), QStringLiteral("--stdin-filename=m.qss"),
                       QStringLiteral("-")}
        << mixed << 1 << mixed
        << QByteArray("--- a/m.qss\n+++ b/m.qss\n@@ -1,3 +1,3 @@\n QLabel {\r\n     color: "
                      "red;\r\n-}\n+}\r\n")
        << toCrLf;
    QTest::newRow("mixed line endings: written with the most used")
        << QStringList{QStringLiteral("FILE")} << mixed << 0 << laidOut << QByteArray() << toCrLf;
    QTest::newRow("mixed, mostly LF: written with LF, and the note says so")
        << QStringList{QStringLiteral("FILE")} << QByteArray("QLabel {\n    color: red;\n}\r\n")
        << 0 << QByteArray("QLabel {\n    color: red;\n}\n") << QByteArray()
        << QStringLiteral("mixes line endings; every line ends in LF");
}

void TestSheetFormatter::programKeepsLineEndings()
{
    QFETCH(QStringList, arguments);
    QFETCH(QByteArray, sheet);
    QFETCH(int, exitCode);
    QFETCH(QByteArray, fileAfter);
    QFETCH(QByteArray, out);
    QFETCH(QString, note);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("s.qss"));
    QVERIFY(writeBytes(path, sheet));
    ProgramOptions input;
    if (arguments.contains(QStringLiteral("-")))
        input.input = sheet;
    arguments.replaceInStrings(QStringLiteral("=FILE"), QLatin1Char('=') + path);
    const ProgramRun run =
        runProgram(QStringLiteral(PRISMARK_FMT_BINARY), withFile(arguments, path), input);
    QCOMPARE(run.exitCode, exitCode);
    QCOMPARE(run.out.toUtf8(), out);
    QCOMPARE(fileBytes(path), fileAfter);
    QCOMPARE(run.err.contains(QLatin1String("mixes line endings")), !note.isEmpty());
    QVERIFY2(run.err.contains(note), qPrintable(run.err));
}

void TestSheetFormatter::programExitsWithTheWorstFile_data()
{
    QTest::addColumn<QStringList>("arguments"); // FIRST and SECOND stand for the two files
    QTest::addColumn<QByteArray>("first");      // null: no such file
    QTest::addColumn<QByteArray>("second");
    QTest::addColumn<int>("exitCode");
    const QByteArray laidOut("QLabel {\n    color: red;\n}\n");
    const QByteArray rejected("QLabel { color: red background: blue; }\n");
    const QStringList both{QStringLiteral("FIRST"), QStringLiteral("SECOND")};
    QTest::newRow("a sheet the toolkit rejects, then a good one")
        << both << rejected << laidOut << 2;
    QTest::newRow("--check: a sheet that would change, then a laid out one")
        << QStringList{QStringLiteral("--check")} + both << QByteArray("QLabel{color:red}")
        << laidOut << 1;
    QTest::newRow("a missing file, then a rejected one") << both << QByteArray() << rejected << 3;
}

// Scripts run it over many files: a failure early on is not hidden by a later success.
void TestSheetFormatter::programExitsWithTheWorstFile()
{
    QFETCH(QStringList, arguments);
    QFETCH(QByteArray, first);
    QFETCH(QByteArray, second);
    QFETCH(int, exitCode);
    QTemporaryDir dir;
    const QString firstPath = dir.filePath(QStringLiteral("first.qss"));
    const QString secondPath = dir.filePath(QStringLiteral("second.qss"));
    QVERIFY(first.isNull() || writeBytes(firstPath, first));
    QVERIFY(writeBytes(secondPath, second));
    arguments.replaceInStrings(QStringLiteral("FIRST"), firstPath);
    arguments.replaceInStrings(QStringLiteral("SECOND"), secondPath);
    const ProgramRun run = runProgram(QStringLiteral(PRISMARK_FMT_BINARY), arguments);
    QVERIFY2(run.exitCode == exitCode, qPrintable(run.err));
}

void TestSheetFormatter::programPrintsTheSyntaxFinding_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QByteArray>("sheet");
    const QByteArray rejected("QLabel {\n    color: red background: blue;\n}\n");
    QTest::newRow("a file") << QStringList{QStringLiteral("FILE")} << rejected;
    QTest::newRow("a file, under --check")
        << QStringList{QStringLiteral("--check"), QStringLiteral("FILE")} << rejected;
    QTest::newRow("a file with CR LF line endings")
        << QStringList{QStringLiteral("FILE")}
        << QByteArray("QLabel {\r\n    color: red background: blue;\r\n}\r\n");
    QTest::newRow("standard input") << QStringList{QStringLiteral("-")} << rejected;
    QTest::newRow("standard input standing for a path")
        << QStringList{QStringLiteral("--stdin-filename"), QStringLiteral("src/app.qss"),
                       QStringLiteral("-")}
        << rejected;
}

// As prismark-lint prints it, and the sheet left as it was.
void TestSheetFormatter::programPrintsTheSyntaxFinding()
{
    QFETCH(QStringList, arguments);
    QFETCH(QByteArray, sheet);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("s.qss"));
    QVERIFY(writeBytes(path, sheet));
    ProgramOptions input;
    if (arguments.contains(QStringLiteral("-")))
        input.input = sheet;
    const ProgramRun fmt =
        runProgram(QStringLiteral(PRISMARK_FMT_BINARY), withFile(arguments, path), input);
    QCOMPARE(fmt.exitCode, 2);
    QVERIFY(fmt.out.isEmpty());
    QCOMPARE(fileBytes(path), sheet);

    arguments.removeAll(QStringLiteral("--check"));
    const ProgramRun lint =
        runProgram(QStringLiteral(PRISMARK_LINT_BINARY), withFile(arguments, path), input);
    QString expected;
    for (const QString &line : lint.out.split(QLatin1Char('\n'))) {
        if (line.endsWith(QLatin1String(" [syntax]")))
            expected += line + QLatin1Char('\n');
    }
    QVERIFY2(expected.contains(QLatin1String(": error: the toolkit rejects")),
             qPrintable(lint.out));
    QCOMPARE(fmt.err, expected);
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
