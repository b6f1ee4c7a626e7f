// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "analysis/checkregistry.h"
#include "analysis/qssreference.h"
#include "analysis/stylesheetlint.h"
#include "analysis/toolkitparse.h"
#include "theme/stylesheetloader.h"

#include "testsupport.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>

// The analysis on sheets with one known fault each, its syntax verdict against the
// toolkit's own, the program's output and exit status, and the built-in sheets
// against the reviewed baseline.
class TestLint : public QObject
{
    Q_OBJECT
private slots:
    void fixtures_data();
    void fixtures();
    void exitStatus_data();
    void exitStatus();
    void outputFormats();
    void sarifHasWhatTheStandardRequires();
    void githubWorkflowCommands();
    void paletteColoursSayWhereTheyComeFrom_data();
    void paletteColoursSayWhereTheyComeFrom();
    void configurationFoundAndOverridden_data();
    void configurationFoundAndOverridden();
    void printConfigSaysWhereEachValueCameFrom();
    void standardInput();
    void builtInSheetsMatchBaseline();
    void readmeListsTheRegisteredChecks();
    void referenceNamesWhatTheParserKnows();
};

namespace {
const QDir kFixtures(QStringLiteral(PRISMARK_LINT_FIXTURES_DIR));

QByteArray fixtureBytes(const QString &name)
{
    QFile file(kFixtures.filePath(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

struct Run
{
    int exitCode = -1;
    QString out;
    QStringList errLines;
};

Run runLint(const QStringList &arguments, const QByteArray &input = QByteArray(),
            const QString &directory = kFixtures.path())
{
    ProgramOptions options;
    options.input = input;
    options.workingDirectory = directory;
    options.timeoutMs = 60000;
    const ProgramRun result = runProgram(QStringLiteral(PRISMARK_LINT_BINARY), arguments, options);
    Run run;
    run.exitCode = result.exitCode;
    run.out = result.out;
    run.errLines = result.err.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    return run;
}
} // namespace

void TestLint::fixtures_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QStringList>("expected");
    QFile table(kFixtures.filePath(QStringLiteral("expected.txt")));
    QVERIFY(table.open(QIODevice::ReadOnly | QIODevice::Text));
    while (!table.atEnd()) {
        const QString line = QString::fromUtf8(table.readLine()).trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        const int colon = line.indexOf(QLatin1String(": "));
        const QString file = line.left(colon);
        QStringList expected;
        for (const QString &entry : line.mid(colon + 2).split(QLatin1String(", "))) {
            if (entry != QLatin1String("-"))
                expected.append(entry.trimmed());
        }
        QTest::newRow(qPrintable(file)) << file << expected;
    }
}

void TestLint::fixtures()
{
    QFETCH(QString, file);
    QFETCH(QStringList, expected);
    const QString previous = QDir::currentPath();
    QDir::setCurrent(kFixtures.path());
    const auto diagnostics = lintStyleSheet(fixtureBytes(file), file);
    QDir::setCurrent(previous);
    QStringList found;
    for (const LintDiagnostic &diagnostic : diagnostics) {
        QCOMPARE(diagnostic.file, file);
        found.append(QStringLiteral("%1:%2 [%3]")
                         .arg(diagnostic.line)
                         .arg(diagnostic.column)
                         .arg(diagnostic.check));
    }
    QCOMPARE(found, expected);
}

void TestLint::exitStatus_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("summary");
    QTest::addColumn<int>("errorLines");

    QTest::newRow("clean sheet") << QStringList{"clean.qss"} << 0
                                 << "0 errors, 0 warnings in 1 files" << 0;
    QTest::newRow("warnings alone pass")
        << QStringList{"contrast-text.qss"} << 0 << "0 errors, 1 warnings in 1 files" << 0;
    QTest::newRow("warnings fail under --werror") << QStringList{"--werror", "contrast-text.qss"}
                                                  << 1 << "0 errors, 1 warnings in 1 files" << 0;
    QTest::newRow("a disabled check neither shows nor fails")
        << QStringList{"--werror", "--disable=contrast", "contrast-text.qss"} << 0
        << "0 errors, 0 warnings in 1 files" << 0;
    QTest::newRow("errors") << QStringList{"syntax-stray-brace.qss"} << 2
                            << "1 errors, 0 warnings in 1 files" << 0;
    QTest::newRow("errors win over --werror")
        << QStringList{"--werror", "syntax-unclosed-rule.qss", "contrast-text.qss"} << 2
        << "1 errors, 2 warnings in 2 files" << 0;
    QTest::newRow("a missing file wins and the others are still checked")
        << QStringList{"no-such-sheet.qss", "syntax-stray-brace.qss"} << 3
        << "1 errors, 0 warnings in 1 files" << 1;
    QTest::newRow("an empty folder is walked and holds nothing")
        << QStringList{"EMPTY", "clean.qss"} << 0 << "0 errors, 0 warnings in 1 files" << 0;
    QTest::newRow("a device") << QStringList{"/dev/zero"} << 3 << "0 errors, 0 warnings in 0 files"
                              << 1;
    QTest::newRow("a FIFO is never opened for reading")
        << QStringList{"FIFO", "clean.qss"} << 3 << "0 errors, 0 warnings in 1 files" << 1;
    QTest::newRow("binary garbage is checked like text")
        << QStringList{"GARBAGE"} << -1 << "in 1 files" << 0;
    // The toolkit measures em and ex with font metrics; this program has no fonts.
    QTest::newRow("a border in em is checked without a crash")
        << QStringList{"EM"} << 0 << "0 errors, 0 warnings in 1 files" << 0;
    QTest::newRow("a border in em in the summary table")
        << QStringList{"--gallery", "--summary-table", "EM"} << 0 << QString() << 0;
    QTest::newRow("warnings within --max-warnings pass")
        << QStringList{"--max-warnings=1", "contrast-text.qss"} << 0
        << "0 errors, 1 warnings in 1 files" << 0;
    QTest::newRow("warnings over --max-warnings fail")
        << QStringList{"--max-warnings=0", "contrast-text.qss"} << 1
        << "0 errors, 1 warnings in 1 files" << 0;
    QTest::newRow("a suppressed warning does not count against --max-warnings")
        << QStringList{"--max-warnings=0", "SUPPRESSED"} << 0 << "0 errors, 0 warnings in 1 files"
        << 0;
    QTest::newRow("errors win over --max-warnings")
        << QStringList{"--max-warnings=5", "syntax-stray-brace.qss"} << 2
        << "1 errors, 0 warnings in 1 files" << 0;
    QTest::newRow("a budget that is no number")
        << QStringList{"--max-warnings=some", "clean.qss"} << 3 << QString() << 2;
    QTest::newRow("unknown check id")
        << QStringList{"--enable=colour", "clean.qss"} << 3 << QString() << 2;
    QTest::newRow("no file") << QStringList{} << 3 << QString() << 2;
}

void TestLint::exitStatus()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QString, summary);
    QFETCH(int, errorLines);
    QTemporaryDir scratch;
    for (QString &argument : arguments) {
        if (argument == QLatin1String("EMPTY")) {
            argument = scratch.filePath(QStringLiteral("empty"));
            QVERIFY(QDir().mkpath(argument));
        } else if (argument == QLatin1String("FIFO")) {
            argument = scratch.filePath(QStringLiteral("pipe.qss"));
            QVERIFY(makeFifo(argument));
        } else if (argument == QLatin1String("EM")) {
            argument = scratch.filePath(QStringLiteral("em.qss"));
            QFile file(argument);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("QPushButton {\n    border: 0.1em solid #333;\n    color: #000;\n"
                       "    background: #fff;\n}\nQLineEdit { border: 1ex solid #eee; }\n");
        } else if (argument == QLatin1String("SUPPRESSED")) {
            argument = scratch.filePath(QStringLiteral("suppressed.qss"));
            QFile file(argument);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("/* prismark-lint-disable-next-line contrast */\n"
                       "QLabel { color: #777; background: #888; }\n");
        } else if (argument == QLatin1String("GARBAGE")) {
            argument = scratch.filePath(QStringLiteral("garbage.qss"));
            QByteArray bytes(1024 * 1024, Qt::Uninitialized);
            QRandomGenerator random(11);
            for (char &byte : bytes)
                byte = char(random.bounded(256));
            QFile file(argument);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(bytes);
        }
    }
    const Run run = runLint(arguments);
    if (exitCode >= 0)
        QCOMPARE(run.exitCode, exitCode);
    else
        QVERIFY2(run.exitCode == 0 || run.exitCode == 2, qPrintable(run.errLines.join('\n')));
    if (!summary.isEmpty())
        QVERIFY2(run.out.trimmed().endsWith(summary), qPrintable(run.out.right(200)));
    QCOMPARE(run.errLines.size(), errorLines);
}

void TestLint::outputFormats()
{
    const QStringList files = kFixtures.entryList({QStringLiteral("*.qss")}, QDir::Files);
    const Run text = runLint(QStringList{"--gallery"} + files);
    QStringList lines = text.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QVERIFY(lines.size() > files.size());
    const QString summary = lines.takeLast();
    QVERIFY(summary.contains(QRegularExpression(
        QStringLiteral("^\\d+ errors, \\d+ warnings in %1 files$").arg(files.size()))));
    const QRegularExpression line(
        QStringLiteral("^[^:]+\\.qss:\\d+:\\d+: (error|warning|note): .+ \\[[a-z-]+\\]$"));
    for (const QString &entry : qAsConst(lines))
        QVERIFY2(line.match(entry).hasMatch(), qPrintable(entry));
    QStringList sorted = lines;
    std::stable_sort(sorted.begin(), sorted.end(), [](const QString &a, const QString &b) {
        const QStringList x = a.split(QLatin1Char(':')), y = b.split(QLatin1Char(':'));
        if (x[0] != y[0])
            return x[0] < y[0];
        if (x[1].toInt() != y[1].toInt())
            return x[1].toInt() < y[1].toInt();
        return x[2].toInt() < y[2].toInt();
    });
    QCOMPARE(lines, sorted);

    const Run json = runLint(QStringList{"--gallery", "--format=json"} + files);
    QCOMPARE(json.exitCode, text.exitCode);
    const QJsonArray array = QJsonDocument::fromJson(json.out.toUtf8()).array();
    QCOMPARE(array.size(), lines.size());
    const QStringList keys{"check", "column", "file", "line", "message", "severity"};
    for (int i = 0; i < array.size(); ++i) {
        const QJsonObject object = array.at(i).toObject();
        QCOMPARE(object.keys(), keys);
        QCOMPARE(QStringLiteral("%1:%2:%3: %4: %5 [%6]")
                     .arg(object.value("file").toString())
                     .arg(object.value("line").toInt())
                     .arg(object.value("column").toInt())
                     .arg(object.value("severity").toString(), object.value("message").toString(),
                          object.value("check").toString()),
                 lines.at(i));
    }
}

void TestLint::standardInput()
{
    const Run run = runLint({QStringLiteral("-")}, fixtureBytes("syntax-stray-brace.qss"));
    QCOMPARE(run.exitCode, 2);
    QVERIFY2(run.out.startsWith(QLatin1String("-:4:1: error: ")), qPrintable(run.out));

    const Run over = runLint({QStringLiteral("-"), QStringLiteral("clean.qss")},
                             QByteArray(64 * 1024 * 1024 + 1, ' '));
    QCOMPARE(over.exitCode, 3);
    QCOMPARE(over.errLines.size(), 1);
    QVERIFY2(over.errLines.first().contains(QLatin1String("64 MiB")),
             qPrintable(over.errLines.first()));
    QVERIFY(over.out.trimmed().endsWith(QLatin1String("in 1 files")));
}

void TestLint::builtInSheetsMatchBaseline()
{
    const QDir source(QStringLiteral(PRISMARK_SOURCE_DIR));
    QStringList sheets;
    const QStringList names = QDir(source.filePath(QStringLiteral("resources/styles")))
                                  .entryList({QStringLiteral("*.qss")}, QDir::Files, QDir::Name);
    for (const QString &name : names)
        sheets.append(QStringLiteral("resources/styles/") + name);
    QCOMPARE(sheets.size(), 12);
    const Run run =
        runLint(QStringList{QStringLiteral("--gallery")} + sheets, QByteArray(), source.path());
    QFile baseline(source.filePath(QStringLiteral("tests/lint-baseline.txt")));
    QVERIFY(baseline.open(QIODevice::ReadOnly | QIODevice::Text));
    // A change to a sheet that adds or removes a diagnostic must update the baseline
    // in the same commit (see docs/lint.md for the command).
    QCOMPARE(run.out.split(QLatin1Char('\n')),
             QString::fromUtf8(baseline.readAll()).split(QLatin1Char('\n')));

    // docs/lint.md shows the same counts, a column for every check.
    const Run table = runLint(
        QStringList{QStringLiteral("--gallery"), QStringLiteral("--summary-table")} + sheets,
        QByteArray(), source.path());
    QFile page(source.filePath(QStringLiteral("docs/lint.md")));
    QVERIFY(page.open(QIODevice::ReadOnly | QIODevice::Text));
    QVERIFY2(QString::fromUtf8(page.readAll()).contains(table.out.trimmed()),
             "regenerate the table in docs/lint.md");
}

void TestLint::sarifHasWhatTheStandardRequires()
{
    const QStringList files{"contrast-text.qss", "syntax-stray-brace.qss", "unknown-widget.qss"};
    const Run text = runLint(files);
    const Run sarif = runLint(QStringList{"--format=sarif"} + files);
    QCOMPARE(sarif.exitCode, text.exitCode);
    const QJsonObject log = QJsonDocument::fromJson(sarif.out.toUtf8()).object();
    QCOMPARE(log.value("version").toString(), QStringLiteral("2.1.0"));
    const QJsonArray runs = log.value("runs").toArray();
    QCOMPARE(runs.size(), 1);
    const QJsonObject run = runs.at(0).toObject();
    const QJsonObject driver = run.value("tool").toObject().value("driver").toObject();
    QCOMPARE(driver.value("name").toString(), QStringLiteral("prismark-lint"));
    QStringList ruleIds;
    for (const QJsonValue &rule : driver.value("rules").toArray()) {
        ruleIds.append(rule.toObject().value("id").toString());
        QVERIFY(!rule.toObject()
                     .value("shortDescription")
                     .toObject()
                     .value("text")
                     .toString()
                     .isEmpty());
    }
    QCOMPARE(ruleIds, lintCheckIds());
    const QJsonArray results = run.value("results").toArray();
    QCOMPARE(results.size(), text.out.count(QLatin1Char('\n')) - 1);
    for (const QJsonValue &value : results) {
        const QJsonObject result = value.toObject();
        const QString ruleId = result.value("ruleId").toString();
        QCOMPARE(ruleIds.at(result.value("ruleIndex").toInt()), ruleId);
        QVERIFY(
            QStringList({"error", "warning", "note"}).contains(result.value("level").toString()));
        QVERIFY(!result.value("message").toObject().value("text").toString().isEmpty());
        const QJsonObject location = result.value("locations").toArray().at(0).toObject();
        const QJsonObject physical = location.value("physicalLocation").toObject();
        const QString uri = physical.value("artifactLocation").toObject().value("uri").toString();
        QVERIFY2(files.contains(uri), qPrintable(uri));
        const QJsonObject region = physical.value("region").toObject();
        QVERIFY2(text.out.contains(
                     QStringLiteral("%1:%2:%3: %4: %5 [%6]")
                         .arg(uri)
                         .arg(region.value("startLine").toInt())
                         .arg(region.value("startColumn").toInt())
                         .arg(result.value("level").toString(),
                              result.value("message").toObject().value("text").toString(), ruleId)),
                 qPrintable(ruleId));
    }
}

void TestLint::githubWorkflowCommands()
{
    QTemporaryDir scratch;
    QFile sheet(scratch.filePath(QStringLiteral("a,b.qss")));
    QVERIFY(sheet.open(QIODevice::WriteOnly));
    sheet.write("QPushbutton { color: red; }\nQLabel { colour: red\n");
    sheet.close();
    const Run run = runLint({QStringLiteral("--format=github"), QStringLiteral("a,b.qss")},
                            QByteArray(), scratch.path());
    QCOMPARE(run.exitCode, 2);
    QCOMPARE(
        run.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts),
        (QStringList{
            "::warning file=a%2Cb.qss,line=1,col=1,title=unknown-widget::\"QPushbutton\" names "
            "no widget class: the rule matches nothing (class names are case-sensitive)",
            "::warning file=a%2Cb.qss,line=1,col=15,title=contrast::text #ff0000 on #efefef "
            "(the light palette's Window) in \"QPushbutton\": contrast 3.47 : 1, below 4.50 : 1",
            "::error file=a%2Cb.qss,line=3,col=1,title=syntax::the toolkit rejects the whole "
            "style sheet here: expected \";\" or \"}\" to close the rule of line 2, found the "
            "end of the text"}));
}

void TestLint::paletteColoursSayWhereTheyComeFrom_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QByteArray>("palettes"); // the configuration's, none for the default
    QTest::addColumn<bool>("fails");
    for (const char *format : {"text", "json", "sarif", "github"})
        QTest::newRow(format) << QStringList{QStringLiteral("--format=") + format} << QByteArray()
                              << true;
    // The gallery's widgets are judged under the configured palettes too.
    QTest::newRow("the gallery's widgets under the light palette")
        << QStringList{"--gallery"} << QByteArray(R"(["light"])") << true;
    QTest::newRow("the gallery's widgets under the dark palette")
        << QStringList{"--gallery"} << QByteArray(R"(["dark"])") << false;
}

void TestLint::paletteColoursSayWhereTheyComeFrom()
{
    QFETCH(QStringList, arguments);
    QFETCH(QByteArray, palettes);
    QFETCH(bool, fails);
    QTemporaryDir scratch;
    QFile sheet(scratch.filePath(QStringLiteral("dark.qss")));
    QVERIFY(sheet.open(QIODevice::WriteOnly));
    sheet.write("QWidget { background-color: #272727; }\n");
    sheet.close();
    if (!palettes.isEmpty()) {
        QFile config(scratch.filePath(QStringLiteral(".prismark-lint.json")));
        QVERIFY(config.open(QIODevice::WriteOnly));
        config.write("{\"palettes\": " + palettes + "}");
    }
    const Run run = runLint(arguments + QStringList{"dark.qss"}, QByteArray(), scratch.path());
    QVERIFY2(run.errLines.isEmpty(), qPrintable(run.errLines.join('\n')));
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(run.out.contains(QLatin1String("text #000000 (the light palette's WindowText) on "
                                            "#272727")),
             fails);
}

void TestLint::configurationFoundAndOverridden_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("summary");
    QTest::addColumn<QString>("error"); // what standard error says, if anything
    QTest::newRow("the nearest configuration applies")
        << QStringList{"project/themes/app.qss"} << 0 << "0 errors, 0 warnings in 1 files"
        << "";
    QTest::newRow("a parent's configuration applies below it")
        << QStringList{"project/app.qss"} << 0 << "0 errors, 1 warnings in 1 files"
        << "";
    QTest::newRow("--config names one for every file")
        << QStringList{"--config=project/.prismark-lint.json", "project/themes/app.qss"} << 0
        << "0 errors, 1 warnings in 1 files"
        << "";
    QTest::newRow("--no-config ignores them all")
        << QStringList{"--no-config", "project/themes/app.qss"} << 0
        << "0 errors, 2 warnings in 1 files"
        << "";
    QTest::newRow("the command line wins over the configuration")
        << QStringList{"--enable=unknown-widget", "project/themes/app.qss"} << 0
        << "0 errors, 1 warnings in 1 files"
        << "";
    QTest::newRow("a broken configuration fails, the sheet is still checked")
        << QStringList{"broken/app.qss"} << 3 << "0 errors, 2 warnings in 1 files"
        << "broken/.prismark-lint.json:3: \"checks.contrast\": must be";
    QTest::newRow("a missing --config file") << QStringList{"--config=none.json", "project/app.qss"}
                                             << 3 << "0 errors, 2 warnings in 1 files"
                                             << "none.json: cannot be read";
    QTest::newRow("standard input goes by the path it stands for")
        << QStringList{"--stdin-filename=project/themes/app.qss", "-"} << 0
        << "0 errors, 0 warnings in 1 files"
        << "";
    QTest::newRow("standard input without one")
        << QStringList{"-"} << 0 << "0 errors, 2 warnings in 1 files"
        << "";
    QTest::newRow("--stdin-filename without standard input")
        << QStringList{"--stdin-filename=project/app.qss", "project/app.qss"} << 3 << ""
        << "--stdin-filename names a path";
}

void TestLint::configurationFoundAndOverridden()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QString, summary);
    QFETCH(QString, error);
    QTemporaryDir scratch;
    const auto put = [&scratch](const QString &name, const QByteArray &bytes) {
        QDir().mkpath(QFileInfo(scratch.filePath(name)).absolutePath());
        QFile file(scratch.filePath(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    };
    // An application class and a property it reads: two warnings without help.
    const QByteArray sheet = "VolumeMeter { magnitude-color: #888; }\n";
    put(QStringLiteral("project/app.qss"), sheet);
    put(QStringLiteral("project/themes/app.qss"), sheet);
    put(QStringLiteral("broken/app.qss"), sheet);
    put(QStringLiteral("project/.prismark-lint.json"), R"({"properties": ["magnitude-color"]})");
    put(QStringLiteral("project/themes/.prismark-lint.json"),
        R"({"properties": ["magnitude-color"], "checks": {"unknown-widget": "off"}})");
    put(QStringLiteral("broken/.prismark-lint.json"),
        "{\n  \"checks\": {\n    \"contrast\": \"loud\"}}");
    const Run run = runLint(
        arguments, arguments.contains(QStringLiteral("-")) ? sheet : QByteArray(), scratch.path());
    QCOMPARE(run.exitCode, exitCode);
    QVERIFY2(summary.isEmpty() ? run.out.isEmpty() : run.out.trimmed().endsWith(summary),
             qPrintable(run.out));
    if (error.isEmpty())
        QVERIFY2(run.errLines.isEmpty(), qPrintable(run.errLines.join('\n')));
    else
        QVERIFY2(run.errLines.join('\n').contains(error), qPrintable(run.errLines.join('\n')));
}

void TestLint::printConfigSaysWhereEachValueCameFrom()
{
    QTemporaryDir scratch;
    const auto put = [&scratch](const QString &name, const QByteArray &bytes) {
        QFile file(scratch.filePath(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    };
    put(QStringLiteral("base.json"), R"({"checks": {"contrast": "error"}, "qt": "6.2"})");
    put(QStringLiteral(".prismark-lint.json"), R"({"extends": "base.json", "overrides": [
        {"files": "themes/**/*.qss", "checks": {"contrast": "off"}, "properties": ["p"]}]})");
    put(QStringLiteral("cycle.json"), R"({"extends": "cycle.json"})");
    const QString main = scratch.filePath(QStringLiteral(".prismark-lint.json"));
    const QString base = scratch.filePath(QStringLiteral("base.json"));

    // The sheet need not exist; the options of the command line show as such.
    const Run run =
        runLint({"--print-config", "themes/dark/app.qss", "--enable=coverage", "--disable=palette"},
                QByteArray(), scratch.path());
    QCOMPARE(run.exitCode, 0);
    QVERIFY2(run.errLines.isEmpty(), qPrintable(run.errLines.join('\n')));
    const QStringList lines = run.out.split(QLatin1Char('\n'));
    QCOMPARE(lines.first(),
             QStringLiteral("// the configuration in force for themes/dark/app.qss: ") + main);
    for (const QString &line :
         {QStringLiteral("    \"contrast\": \"off\",  // %1 overrides[0]").arg(main),
          QStringLiteral("    \"palette\": \"off\",  // --disable"),
          QStringLiteral("    \"coverage\": \"note\",  // --enable"),
          QStringLiteral("    \"syntax\": \"error\",  // default"),
          QStringLiteral("  \"properties\": [\"p\"],  // %1 overrides[0]").arg(main),
          QStringLiteral("  \"qt\": \"6.2\",  // %1").arg(base),
          QStringLiteral("    \"indent\": 4,  // default")})
        QVERIFY2(lines.contains(line), qPrintable(line + QStringLiteral(" not in:\n") + run.out));
    // Only the sheets the override matches.
    const Run outside = runLint({"--print-config", "app.qss"}, QByteArray(), scratch.path());
    QVERIFY2(outside.out.contains(QStringLiteral("\"contrast\": \"error\",  // %1").arg(base)),
             qPrintable(outside.out));
    // Whatever the comments say, the text is the JSON of what is in force.
    QString json = run.out;
    json.remove(QRegularExpression(QStringLiteral("//[^\n]*")));
    QJsonParseError error;
    const QJsonObject printed = QJsonDocument::fromJson(json.toUtf8(), &error).object();
    QCOMPARE(error.error, QJsonParseError::NoError);
    QCOMPARE(printed.value(QStringLiteral("checks")).toObject().size(), lintCheckIds().size());

    const Run broken =
        runLint({"--print-config", "app.qss", "--config=cycle.json"}, QByteArray(), scratch.path());
    QCOMPARE(broken.exitCode, 3);
    QVERIFY(broken.out.isEmpty());
    QCOMPARE(broken.errLines,
             QStringList{"prismark-lint: cycle.json:1: \"extends\": a cycle: cycle.json -> "
                         "cycle.json"});
    const Run usage =
        runLint({"--print-config", "app.qss", "other.qss"}, QByteArray(), scratch.path());
    QCOMPARE(usage.exitCode, 3);
}

void TestLint::readmeListsTheRegisteredChecks()
{
    const Run run = runLint({QStringLiteral("--list-checks")});
    QCOMPARE(run.exitCode, 0);
    QFile readme(QStringLiteral(PRISMARK_SOURCE_DIR "/docs/lint.md"));
    QVERIFY(readme.open(QIODevice::ReadOnly | QIODevice::Text));
    QVERIFY2(QString::fromUtf8(readme.readAll()).contains(run.out),
             "docs/lint.md's check table is not what prismark-lint --list-checks prints");
}

void TestLint::referenceNamesWhatTheParserKnows()
{
    // Every property of the reference is the parser's or a style hint, every property
    // the parser knows is in the reference (the one Qt 6 added aside), and palette(role)
    // reads each role the reference lists, each a colour of its own.
    QCOMPARE(referenceDisagreements(), QStringList());
}

QTEST_GUILESS_MAIN(TestLint)
#include "tst_lint.moc"
