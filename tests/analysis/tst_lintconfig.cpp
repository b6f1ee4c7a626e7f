// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "analysis/checkregistry.h"
#include "analysis/lintconfig.h"
#include "analysis/stylesheetlint.h"

#include "testsupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>
#include <unistd.h>

// A project's configuration, as prismark-lint and prismark-live find and apply it:
// where it is found, what each key changes on one sheet, what a broken one says,
// the application's own resources, and suppression comments.
class TestLintConfig : public QObject
{
    Q_OBJECT
private slots:
    void nearestConfigurationWins();
    void eachKeyChangesTheSameSheet_data();
    void eachKeyChangesTheSameSheet();
    void brokenConfigurationsSayWhereAndWhat_data();
    void brokenConfigurationsSayWhereAndWhat();
    void resourcesComeFromTheApplicationsQrc();
    void resourceFoldersAreSearchedWithinBounds();
    void configurationInForceForASheet_data();
    void configurationInForceForASheet();
    void overrideGlobs_data();
    void overrideGlobs();
    void suppressions_data();
    void suppressions();
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

void TestLintConfig::eachKeyChangesTheSameSheet_data()
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

void TestLintConfig::eachKeyChangesTheSameSheet()
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

void TestLintConfig::brokenConfigurationsSayWhereAndWhat_data()
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

void TestLintConfig::brokenConfigurationsSayWhereAndWhat()
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

void TestLintConfig::resourcesComeFromTheApplicationsQrc()
{
    QTemporaryDir root;
    write(root.filePath(QStringLiteral("app/rc/arrow_down.png")), "png");
    write(root.filePath(QStringLiteral("app/rc/close.png")), "png");
    write(root.filePath(QStringLiteral("outside.png")), "png");
    QVERIFY(QFile::link(root.filePath(QStringLiteral("outside.png")),
                        root.filePath(QStringLiteral("app/rc/escape.png"))));
    write(root.filePath(QStringLiteral("app/style.qrc")),
          "<RCC>\n"
          "  <qresource prefix=\"/qss_icons\">\n"
          "    <file>rc/arrow_down.png</file>\n"
          "    <file alias=\"x.png\">rc/close.png</file>\n"
          "    <file>rc/gone.png</file>\n"
          "    <file>rc/escape.png</file>\n"
          "  </qresource>\n"
          "</RCC>\n");
    write(root.filePath(QStringLiteral("app/broken.qrc")), "<RCC><qresource>\n<file>");
    write(root.filePath(QStringLiteral(".prismark-lint.json")),
          R"({"resources": ["app/style.qrc", "app/broken.qrc"]})");
    const LintConfigResult result =
        readLintConfig(root.filePath(QStringLiteral(".prismark-lint.json")));
    QVERIFY2(result.ok, qPrintable(result.error));
    QVERIFY2(result.warnings.size() == 3, qPrintable(result.warnings.join('\n')));
    QVERIFY2(
        result.warnings.at(0).endsWith(QStringLiteral("style.qrc:5: \"rc/gone.png\" is missing")),
        qPrintable(result.warnings.at(0)));
    QVERIFY(result.warnings.at(1).contains(
        QStringLiteral("style.qrc:6: \"rc/escape.png\" lies outside")));
    QVERIFY(
        result.warnings.at(2).contains(QStringLiteral("broken.qrc:2: not a resource collection")));

    const QByteArray sheet =
        "QHeaderView::up-arrow { image: url(:/qss_icons/rc/arrow_down.png); }\n"
        "QPushButton { image: url(\":/qss_icons/x.png\"); }\n"
        "QLabel { image: url(:/qss_icons/rc/close.png); }\n"
        "QToolButton { image: url(:/qss_icons/rc/gone.png); }\n";
    const auto configured = lintStyleSheet(sheet, QStringLiteral("app.qss"), result.options);
    QCOMPARE(found(configured), (QStringList{"3:17 missing-resource", "4:22 missing-resource"}));
    // Never listed, and listed with its file gone: each finding names its own reason.
    QVERIFY2(configured.at(0).message.contains(QStringLiteral("in none of the configured")),
             qPrintable(configured.at(0).message));
    QVERIFY2(configured.at(1).message.contains(
                 QStringLiteral("is listed at %1:5, but its file \"rc/gone.png\" is missing")
                     .arg(QDir(root.path()).filePath(QStringLiteral("app/style.qrc")))),
             qPrintable(configured.at(1).message));
    // Without resources configured, one note says how many went unchecked.
    const auto unconfigured = lintStyleSheet(sheet, QStringLiteral("app.qss"));
    QCOMPARE(found(unconfigured), QStringList{"1:32 missing-resource"});
    QCOMPARE(unconfigured.first().severity, LintSeverity::Note);
    QVERIFY(
        unconfigured.first().message.startsWith(QStringLiteral("4 compiled-in resource paths")));
}

void TestLintConfig::resourceFoldersAreSearchedWithinBounds()
{
    QTemporaryDir root;
    const auto collection = [&root](const QString &folder, const QString &prefix) {
        write(root.filePath(folder + QStringLiteral("/x.png")), "png");
        write(root.filePath(folder + QStringLiteral("/c.qrc")),
              QStringLiteral("<RCC><qresource prefix=\"/%1\"><file>x.png</file></qresource></RCC>")
                  .arg(prefix)
                  .toUtf8());
    };
    // Seven folders down is searched, eight is not.
    collection(QStringLiteral("deep/1/2/3/4/5/6/7"), QStringLiteral("near"));
    collection(QStringLiteral("deep/1/2/3/4/5/6/7/8"), QStringLiteral("far"));
    // A folder with more folders below than the search goes through.
    collection(QStringLiteral("wide"), QStringLiteral("top"));
    for (int i = 0; i <= 10000; ++i)
        QVERIFY(QDir(root.path()).mkpath(QStringLiteral("wide/f%1").arg(i)));
    write(root.filePath(QStringLiteral(".prismark-lint.json")),
          R"({"resources": ["deep", "wide"]})");
    const LintConfigResult result =
        readLintConfig(root.filePath(QStringLiteral(".prismark-lint.json")));
    QVERIFY2(result.ok, qPrintable(result.error));
    QVERIFY(result.options.resourcePaths.contains(QStringLiteral("/near/x.png")));
    QVERIFY(!result.options.resourcePaths.contains(QStringLiteral("/far/x.png")));
    QVERIFY(result.options.resourcePaths.contains(QStringLiteral("/top/x.png")));
    QCOMPARE(result.warnings.size(), 1);
    QVERIFY2(result.warnings.first().contains(
                 QStringLiteral("\"resources\": \"wide\" holds more than 10000 folders")),
             qPrintable(result.warnings.first()));
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

void TestLintConfig::overrideGlobs_data()
{
    QTest::addColumn<QString>("glob");
    QTest::addColumn<QString>("path"); // relative to the configuration's directory
    QTest::addColumn<bool>("matches");
    QTest::newRow("* stays in one directory") << "themes/*.qss"
                                              << "themes/a/b.qss" << false;
    QTest::newRow("* within a directory") << "themes/*.qss"
                                          << "themes/dark.qss" << true;
    QTest::newRow("**/ spans no directory") << "themes/**/*.qss"
                                            << "themes/dark.qss" << true;
    QTest::newRow("**/ spans several") << "themes/**/*.qss"
                                       << "themes/a/b/c.qss" << true;
    QTest::newRow("a leading **/ matches at the top") << "**/generated/*.qss"
                                                      << "generated/x.qss" << true;
    QTest::newRow("a trailing ** takes everything below") << "vendor/**"
                                                          << "vendor/a/b.qss" << true;
    QTest::newRow("no slash: the file name in any directory") << "*.qss"
                                                              << "a/b/c.qss" << true;
    QTest::newRow("no slash: not another extension") << "*.qss"
                                                     << "a/b/c.qss.in" << false;
    QTest::newRow("a slash anchors at the configuration's directory") << "a/*.qss"
                                                                      << "x/a/b.qss" << false;
    QTest::newRow("./ at the start is the configuration's directory") << "./a/*.qss"
                                                                      << "a/b.qss" << true;
    QTest::newRow("./ anchors a file name at the configuration's directory") << "./a.qss"
                                                                             << "x/a.qss" << false;
    QTest::newRow("? is one character") << "dark?.qss"
                                        << "dark2.qss" << true;
    QTest::newRow("? is no slash") << "a?b.qss"
                                   << "a/b.qss" << false;
    QTest::newRow("a set") << "theme[0-9].qss"
                           << "theme7.qss" << true;
    QTest::newRow("a negated set") << "[!_]*.qss"
                                   << "_private.qss" << false;
    QTest::newRow("alternatives") << "themes/*.{qss,css}"
                                  << "themes/a.css" << true;
    QTest::newRow("case counts") << "*.QSS"
                                 << "a.qss" << false;
    QTest::newRow("regular expression characters are plain") << "a+(b).qss"
                                                             << "a+(b).qss" << true;
    QTest::newRow("a dot is no wildcard") << "a.qss"
                                          << "abqss" << false;
    QTest::newRow("an unclosed set matches nothing") << "[a-"
                                                     << "[a-" << false;
}

void TestLintConfig::overrideGlobs()
{
    QFETCH(QString, glob);
    QFETCH(QString, path);
    QFETCH(bool, matches);
    QCOMPARE(lintGlobMatches(glob, path), matches);
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
