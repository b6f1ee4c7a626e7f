// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include <QDir>
#include <QDirIterator>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include "analysis/lintfixer.h"
#include "analysis/templatelint.h"
#include "lspclient.h"
#include "tokens/designtokens.h"
#include "tokens/themetemplate.h"

// prismark-lint on the built-in themes' template: a fault planted in the template or
// in a token file is told at the planted place, once, with its variants.
namespace {

struct Run
{
    int exitCode = -1;
    QStringList lines;
    QString errors;
};

Run runLint(const QString &directory, const QStringList &arguments)
{
    QProcess process;
    process.setWorkingDirectory(directory);
    process.start(QStringLiteral(PRISMARK_LINT_BINARY), arguments);
    Run run;
    if (!process.waitForFinished(120000))
        return run;
    run.exitCode = process.exitCode();
    run.lines = QString::fromUtf8(process.readAllStandardOutput()).split(QLatin1Char('\n'));
    run.errors = QString::fromUtf8(process.readAllStandardError());
    return run;
}

// The built-in template and its tokens, copied so that a test can plant faults.
bool copyTheme(const QString &to)
{
    const QFileInfo source(QStringLiteral(PRISMARK_THEME_TEMPLATE));
    QDir().mkpath(to + QStringLiteral("/tokens"));
    if (!QFile::copy(source.filePath(), to + QLatin1Char('/') + source.fileName()))
        return false;
    QDirIterator tokens(source.path() + QStringLiteral("/tokens"), {QStringLiteral("*.json")});
    while (tokens.hasNext()) {
        tokens.next();
        if (!QFile::copy(tokens.filePath(), to + QStringLiteral("/tokens/") + tokens.fileName()))
            return false;
    }
    return true;
}

// Replaces the first "from" with "to" in file; returns "LINE:COL" of marker within "to".
QString plant(const QString &file, const QString &from, const QString &to, const QString &marker)
{
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly))
        return QString();
    QString text = QString::fromUtf8(f.readAll());
    f.close();
    const int at = int(text.indexOf(from));
    if (at < 0)
        return QString();
    text.replace(at, from.size(), to);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return QString();
    f.write(text.toUtf8());
    const int place = at + int(to.indexOf(marker));
    const int lineStart = int(text.lastIndexOf(QLatin1Char('\n'), place - 1)) + 1;
    return QStringLiteral("%1:%2")
        .arg(text.left(place).count(QLatin1Char('\n')) + 1)
        .arg(place - lineStart + 1);
}

// A small theme for the token proposals: color.paper and color.white share a value,
// color.bg and color.fg differ between the variants; palette lines join the header's.
bool writeSmallTheme(const QString &directory, const QString &rules,
                     const QString &palette = QString())
{
    const QVector<QPair<QString, QString>> files = {
        {QStringLiteral("base.tokens.json"),
         QStringLiteral(
             "{\"color\": {\"$type\": \"color\",\n"
             "  \"accent\": {\"$value\": \"#3daee9\"},\n"
             "  \"white\": {\"$value\": \"#ffffff\"},\n"
             "  \"paper\": {\"$value\": \"#ffffff\"}},\n"
             " \"size\": {\"$type\": \"dimension\", \"pad\": {\"$value\": \"4px\"}}}\n")},
        {QStringLiteral("light.tokens.json"),
         QStringLiteral("{\"color\": {\"$type\": \"color\", \"bg\": {\"$value\": \"#ffffff\"},"
                        " \"fg\": {\"$value\": \"#111111\"}}}\n")},
        {QStringLiteral("dark.tokens.json"),
         QStringLiteral("{\"color\": {\"$type\": \"color\", \"bg\": {\"$value\": \"#202020\"},"
                        " \"fg\": {\"$value\": \"#111111\"}}}\n")},
        {QStringLiteral("small.qss.in"),
         QStringLiteral("/*\n@tokens base.tokens.json\n@variant Light light.tokens.json\n"
                        "@variant Dark dark.tokens.json\n@palette Base = #3daee9\n") +
             palette + QStringLiteral("*/\n") + rules},
    };
    for (const auto &file : files) {
        QFile out(directory + QLatin1Char('/') + file.first);
        if (!out.open(QIODevice::WriteOnly) || out.write(file.second.toUtf8()) < 0)
            return false;
    }
    return true;
}

// "LINE:COL" of the first marker in a file of directory.
QString placeIn(const QString &directory, const QString &file, const QString &marker)
{
    QFile f(directory + QLatin1Char('/') + file);
    if (!f.open(QIODevice::ReadOnly))
        return QString();
    const QString text = QString::fromUtf8(f.readAll());
    const int at = int(text.indexOf(marker));
    if (at < 0)
        return QString();
    const int lineStart = int(text.lastIndexOf(QLatin1Char('\n'), at - 1)) + 1;
    return QStringLiteral("%1:%2")
        .arg(text.left(at).count(QLatin1Char('\n')) + 1)
        .arg(at - lineStart + 1);
}

const QString kTemplate = QStringLiteral("prismark.qss.in");
const QString kLightTokens = QStringLiteral("tokens/light.tokens.json");

} // namespace

class TestTemplateLint : public QObject
{
    Q_OBJECT

private slots:
    void builtInTemplateHasNoErrors();
    void findingOnAValueIsToldAtTheTokensValue();
    void plantedFaultIsToldWhereItWasPlanted_data();
    void plantedFaultIsToldWhereItWasPlanted();
    void unknownVariantIsAUsageError();
    void contrastIsToldWhereItsColoursWereWritten_data();
    void contrastIsToldWhereItsColoursWereWritten();
    void reportsNameTheOtherColoursFile();
    void literalEqualToATokenProposesIt_data();
    void literalEqualToATokenProposesIt();
    void plainSheetGivenTokensIsToldButNotEdited();
    void languageServerOffersTheTokenAsAQuickFix();
    void languageServerToldOnTheTemplatesLines();
    void languageServerCompletesAndExplainsReferences();
};

void TestTemplateLint::builtInTemplateHasNoErrors()
{
    QTemporaryDir dir;
    QVERIFY(copyTheme(dir.path()));
    const Run run = runLint(dir.path(), {kTemplate});
    QVERIFY2(run.exitCode == 0, qPrintable(run.lines.join(QLatin1Char('\n')) + run.errors));
}

void TestTemplateLint::plantedFaultIsToldWhereItWasPlanted_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("to");
    QTest::addColumn<QString>("marker");
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("expected"); // after "FILE:LINE:COL: "
    QTest::addColumn<int>("exitCode");
    // Where the finding is told when not at the planted text: a file and a text in it.
    QTest::addColumn<QString>("toldIn");
    QTest::addColumn<QString>("toldAt");

    const QString fontSize = QStringLiteral("    font-size: 10pt;\n");
    QTest::newRow("unknown property in the template, in every variant")
        << kTemplate << fontSize << fontSize + QStringLiteral("    colr: red;\n")
        << QStringLiteral("colr") << QStringList()
        << QStringLiteral("[unknown-property] [Light, BlueLight, ") << 0 << QString() << QString();
    QTest::newRow("--variant narrows the variants told")
        << kTemplate << fontSize << fontSize + QStringLiteral("    colr: red;\n")
        << QStringLiteral("colr")
        << QStringList{QStringLiteral("--variant"), QStringLiteral("Dark")}
        << QStringLiteral("[unknown-property] [Dark]") << 0 << QString() << QString();
    QTest::newRow("unknown reference in the template is a build error")
        << kTemplate << QStringLiteral("border: 1px solid {color.frameBorder};")
        << QStringLiteral("border: 1px solid {color.frameBordr};")
        << QStringLiteral("{color.frameBordr}") << QStringList()
        << QStringLiteral("error: unknown token {color.frameBordr}") << 2 << QString() << QString();
    QTest::newRow("a bad colour in a token file is a build error there")
        << kLightTokens << QStringLiteral("\"#ffffff\"") << QStringLiteral("\"#fffzff\"")
        << QStringLiteral("\"#fffzff\"") << QStringList() << QStringLiteral("error: ") << 2
        << QString() << QString();
    QTest::newRow("a token's colour that fails contrast is told at the token's value")
        << kLightTokens << QStringLiteral("\"#1d2228\"") << QStringLiteral("\"#f6f8fa\"")
        << QStringLiteral("\"#f6f8fa\"") << QStringList()
        << QStringLiteral("WindowText #f6f8fa on Window #f6f8fb: contrast 1.00 : 1, below 4.50 : 1 "
                          "(via {palette.windowText}) [contrast] [Light]")
        << 0 << QString() << QString();
}

void TestTemplateLint::plantedFaultIsToldWhereItWasPlanted()
{
    QFETCH(QString, file);
    QFETCH(QString, from);
    QFETCH(QString, to);
    QFETCH(QString, marker);
    QFETCH(QStringList, arguments);
    QFETCH(QString, expected);
    QFETCH(int, exitCode);
    QFETCH(QString, toldIn);
    QFETCH(QString, toldAt);

    QTemporaryDir dir;
    QVERIFY(copyTheme(dir.path()));
    QString place = plant(dir.path() + QLatin1Char('/') + file, from, to, marker);
    QVERIFY(!place.isEmpty());
    if (!toldIn.isEmpty()) {
        file = toldIn;
        place = plant(dir.path() + QLatin1Char('/') + file, toldAt, toldAt, toldAt);
    }
    const Run run = runLint(dir.path(), arguments << kTemplate);
    const QString where = file + QLatin1Char(':') + place + QStringLiteral(": ");
    const QString output = run.lines.join(QLatin1Char('\n'));
    const auto found = std::find_if(run.lines.begin(), run.lines.end(), [&](const QString &line) {
        return line.startsWith(where) && line.contains(expected);
    });
    QVERIFY2(found != run.lines.end(), qPrintable(where + expected + "\nnot in\n" + output));
    QCOMPARE(run.exitCode, exitCode);
    // Told once, however many variants have it.
    QCOMPARE(run.lines.count(*found), 1);
}

void TestTemplateLint::contrastIsToldWhereItsColoursWereWritten_data()
{
    // In the small theme color.bg is #ffffff in Light and #202020 in Dark, color.fg
    // #111111 in both; the one finding of the variant is expected at the marker in
    // "at", its other colour at the marker in "relatedIn".
    QTest::addColumn<QString>("rules");
    QTest::addColumn<QString>("palette");
    QTest::addColumn<QString>("variant");
    QTest::addColumn<QString>("at");
    QTest::addColumn<QString>("atMarker");
    QTest::addColumn<QString>("via");
    QTest::addColumn<QString>("relatedIn");
    QTest::addColumn<QString>("relatedMarker");
    QTest::addColumn<QString>("relatedMessage");
    const QString dark = QStringLiteral("dark.tokens.json");
    const QString light = QStringLiteral("light.tokens.json");
    const QString theme = QStringLiteral("small.qss.in");
    QTest::newRow("a token's text on a token's background, in that variant's file")
        << "QLabel { color: {color.fg}; background: {color.bg}; }" << QString() << "Dark" << dark
        << "\"#111111\""
        << "(via {color.fg})" << dark << "\"#202020\""
        << "background #202020 (via {color.bg})";
    QTest::newRow("a token's text on a literal background")
        << "QLabel {\n    color: {color.fg};\n    background: #2a2a2a;\n}" << QString() << "Light"
        << light << "\"#111111\""
        << "(via {color.fg})" << theme << "#2a2a2a"
        << "background #2a2a2a";
    QTest::newRow("a computed text colour, at its expression in the template")
        << "QLabel { color: mix({color.bg}, {color.bg}, 0.5); background: {color.bg}; }"
        << QString() << "Dark" << theme << "mix(" << QString() << dark << "\"#202020\""
        << "background #202020 (via {color.bg})";
    QTest::newRow("a literal text colour, at the literal")
        << "QLabel { color: #222222; background: {color.bg}; }" << QString() << "Dark" << theme
        << "#222222" << QString() << dark << "\"#202020\""
        << "background #202020 (via {color.bg})";
    QTest::newRow("a palette pair, at the token its line names")
        << QString() << "@palette Text = {color.bg}\n"
        << "Light" << light << "\"#ffffff\""
        << "(via {color.bg})" << theme << "#3daee9"
        << "Base #3daee9";
    QTest::newRow("text the palette gives, at the token of its palette line")
        << "QLabel { background: {color.bg}; }"
        << "@palette WindowText = {color.fg}\n"
        << "Dark" << dark << "\"#111111\""
        << "(via {color.fg})" << dark << "\"#202020\""
        << "background #202020 (via {color.bg})";
}

void TestTemplateLint::contrastIsToldWhereItsColoursWereWritten()
{
    QFETCH(QString, rules);
    QFETCH(QString, palette);
    QFETCH(QString, variant);
    QFETCH(QString, at);
    QFETCH(QString, atMarker);
    QFETCH(QString, via);
    QFETCH(QString, relatedIn);
    QFETCH(QString, relatedMarker);
    QFETCH(QString, relatedMessage);
    QTemporaryDir dir;
    QVERIFY(writeSmallTheme(dir.path(), rules, palette));
    const TemplateLint lint =
        lintThemeTemplate(dir.filePath(QStringLiteral("small.qss.in")), LintOptions());
    QVector<LintDiagnostic> found;
    QStringList all;
    for (const LintDiagnostic &d : lint.diagnostics) {
        all << QStringLiteral("%1:%2:%3: %4 %5")
                   .arg(d.file)
                   .arg(d.line)
                   .arg(d.column)
                   .arg(d.message, d.variants.join(QLatin1Char(',')));
        if (d.check == QLatin1String("contrast") && d.variants.contains(variant))
            found << d;
    }
    QVERIFY2(found.size() == 1, qPrintable(all.join(QLatin1Char('\n'))));
    const LintDiagnostic &finding = found.first();
    // Placed in a variant's own file, it is that variant's alone.
    QCOMPARE(finding.variants, QStringList{variant});
    const QDir folder(dir.path());
    QCOMPARE(folder.relativeFilePath(finding.file), at);
    QCOMPARE(QStringLiteral("%1:%2").arg(finding.line).arg(finding.column),
             placeIn(dir.path(), at, atMarker));
    if (via.isEmpty())
        QVERIFY2(!finding.message.contains(QLatin1String("(via")), qPrintable(finding.message));
    else
        QVERIFY2(finding.message.endsWith(via), qPrintable(finding.message));
    QCOMPARE(finding.related.size(), 1);
    const LintLocation &related = finding.related.first();
    QCOMPARE(folder.relativeFilePath(related.file.isEmpty() ? finding.file : related.file),
             relatedIn);
    QCOMPARE(QStringLiteral("%1:%2").arg(related.line).arg(related.column),
             placeIn(dir.path(), relatedIn, relatedMarker));
    QCOMPARE(related.message, relatedMessage);
}

void TestTemplateLint::reportsNameTheOtherColoursFile()
{
    QTemporaryDir dir;
    QVERIFY(writeSmallTheme(dir.path(), QStringLiteral("QLabel {\n    color: {color.fg};\n"
                                                       "    background: #2a2a2a;\n}\n")));
    const QString background =
        placeIn(dir.path(), QStringLiteral("small.qss.in"), QStringLiteral("#2a2a2a"));
    const QStringList common = {QStringLiteral("--variant"), QStringLiteral("Dark"),
                                QStringLiteral("small.qss.in")};
    const Run sarif = runLint(dir.path(), QStringList{QStringLiteral("--format=sarif")} + common);
    const QJsonObject log =
        QJsonDocument::fromJson(sarif.lines.join(QLatin1Char('\n')).toUtf8()).object();
    const QJsonArray results = log["runs"][0]["results"].toArray();
    QCOMPARE(results.size(), 1);
    const QJsonObject result = results[0].toObject();
    QCOMPARE(result["locations"][0]["physicalLocation"]["artifactLocation"]["uri"].toString(),
             QStringLiteral("dark.tokens.json"));
    const QJsonValue other = result["relatedLocations"][0];
    QCOMPARE(other["physicalLocation"]["artifactLocation"]["uri"].toString(),
             QStringLiteral("small.qss.in"));
    QCOMPARE(QStringLiteral("%1:%2")
                 .arg(other["physicalLocation"]["region"]["startLine"].toInt())
                 .arg(other["physicalLocation"]["region"]["startColumn"].toInt()),
             background);
    QCOMPARE(other["message"]["text"].toString(), QStringLiteral("background #2a2a2a"));

    const Run json = runLint(dir.path(), QStringList{QStringLiteral("--format=json")} + common);
    const QJsonArray findings =
        QJsonDocument::fromJson(json.lines.join(QLatin1Char('\n')).toUtf8()).array();
    QCOMPARE(findings.size(), 1);
    const QJsonValue finding = findings.first();
    QCOMPARE(finding["file"].toString(), QStringLiteral("dark.tokens.json"));
    QCOMPARE(finding["related"][0]["file"].toString(), QStringLiteral("small.qss.in"));
    QCOMPARE(QStringLiteral("%1:%2")
                 .arg(finding["related"][0]["line"].toInt())
                 .arg(finding["related"][0]["column"].toInt()),
             background);
}

void TestTemplateLint::unknownVariantIsAUsageError()
{
    QTemporaryDir dir;
    QVERIFY(copyTheme(dir.path()));
    const Run run = runLint(dir.path(), {QStringLiteral("--variant=Sepia"), kTemplate});
    QCOMPARE(run.exitCode, 3);
    QVERIFY2(run.errors.contains(QStringLiteral("no variant \"Sepia\"")), qPrintable(run.errors));
}

void TestTemplateLint::literalEqualToATokenProposesIt_data()
{
    QTest::addColumn<QString>("rule"); // on line 7 of the template
    // "LINE:COL safe|unsafe NEW-TEXT" per use-token finding.
    QTest::addColumn<QStringList>("expected");
    QTest::addColumn<QString>("named"); // a text every message holds
    QTest::addColumn<QString>("fixed"); // the rule with every fix applied

    QTest::newRow("hex in another letter case")
        << "QLabel { color: #3DAEE9; }" << QStringList{"7:17 safe {color.accent}"}
        << "{color.accent}"
        << "QLabel { color: {color.accent}; }";
    QTest::newRow("rgb() of the same colour")
        << "QLabel { color: rgb(61, 174, 233); }" << QStringList{"7:17 safe {color.accent}"}
        << "{color.accent}"
        << "QLabel { color: {color.accent}; }";
    QTest::newRow("two tokens: the first by path, unsafe, the other named")
        << "QLabel { background: white; }" << QStringList{"7:22 unsafe {color.paper}"}
        << "{color.white}"
        << "QLabel { background: {color.paper}; }";
    QTest::newRow("a length") << "QLabel { padding: 4px; margin: 0px; }"
                              << QStringList{"7:19 safe {size.pad}"} << "{size.pad}"
                              << "QLabel { padding: {size.pad}; margin: 0px; }";
    QTest::newRow("a value of one variant only is no token's in every variant")
        << "QLabel { background: #202020; }" << QStringList() << QString()
        << "QLabel { background: #202020; }";
    QTest::newRow("references, function arguments and url() left alone")
        << "QLabel { color: {color.paper}; background: mix(#3daee9, #3daee9, 0.5); "
           "image: url(icons/3daee9.png); }"
        << QStringList() << QString()
        << "QLabel { color: {color.paper}; background: mix(#3daee9, #3daee9, 0.5); "
           "image: url(icons/3daee9.png); }";
}

void TestTemplateLint::literalEqualToATokenProposesIt()
{
    QFETCH(QString, rule);
    QFETCH(QStringList, expected);
    QFETCH(QString, named);
    QFETCH(QString, fixed);
    QTemporaryDir dir;
    QVERIFY(writeSmallTheme(dir.path(), rule + QLatin1Char('\n')));
    const QString path = dir.filePath(QStringLiteral("small.qss.in"));
    const TemplateLint lint = lintThemeTemplate(path, LintOptions());
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QString text = QString::fromUtf8(file.readAll());
    QStringList found;
    QVector<LintFix> fixes;
    for (const LintDiagnostic &d : lint.diagnostics) {
        if (d.check != QLatin1String("use-token"))
            continue;
        QCOMPARE(d.file, path);
        QCOMPARE(d.variants, (QStringList{QStringLiteral("Light"), QStringLiteral("Dark")}));
        QVERIFY2(d.message.contains(named), qPrintable(d.message));
        QCOMPARE(d.fixes.size(), 1);
        found << QStringLiteral("%1:%2 %3 %4")
                     .arg(d.line)
                     .arg(d.column)
                     .arg(d.fixes.first().safe ? QStringLiteral("safe") : QStringLiteral("unsafe"),
                          d.fixes.first().newText);
        fixes.prepend(d.fixes.first()); // the last first, so earlier places stay put
    }
    QCOMPARE(found, expected);
    for (const LintFix &fix : fixes)
        text = applyLintFix(text, fix);
    QCOMPARE(text.section(QLatin1Char('\n'), 6, 6), fixed);
}

void TestTemplateLint::plainSheetGivenTokensIsToldButNotEdited()
{
    QTemporaryDir dir;
    QVERIFY(writeSmallTheme(dir.path(), QString()));
    QFile sheet(dir.filePath(QStringLiteral("plain.qss")));
    QVERIFY(sheet.open(QIODevice::WriteOnly));
    sheet.write("QLabel { color: #3daee9; }\n");
    sheet.close();
    const QString expected =
        QStringLiteral("plain.qss:1:17: note: #3daee9 is the value of the token {color.accent}: "
                       "write the reference [use-token]");
    // From the command line, a token file or a template.
    for (const QString &tokens :
         {QStringLiteral("base.tokens.json"), QStringLiteral("small.qss.in")}) {
        const Run run = runLint(
            dir.path(), {QStringLiteral("--tokens=") + tokens, QStringLiteral("plain.qss")});
        QCOMPARE(run.exitCode, 0);
        QVERIFY2(run.lines.contains(expected), qPrintable(run.lines.join(QLatin1Char('\n'))));
    }
    // Without tokens nothing is proposed; a fix would make the toolkit drop the sheet.
    QVERIFY(!runLint(dir.path(), {QStringLiteral("plain.qss")}).lines.contains(expected));
    const Run diff =
        runLint(dir.path(), {QStringLiteral("--tokens=base.tokens.json"), QStringLiteral("--diff"),
                             QStringLiteral("--unsafe-fixes"), QStringLiteral("plain.qss")});
    QVERIFY2(!diff.lines.join(QLatin1Char('\n')).contains(QStringLiteral("{color.accent}")),
             qPrintable(diff.lines.join(QLatin1Char('\n'))));
    // From the configuration, relative to it.
    QFile config(dir.filePath(QStringLiteral(".prismark-lint.json")));
    QVERIFY(config.open(QIODevice::WriteOnly));
    config.write("{\"tokens\": \"small.qss.in\"}\n");
    config.close();
    QVERIFY(runLint(dir.path(), {QStringLiteral("plain.qss")}).lines.contains(expected));
    // A token file that cannot be read is told, and nothing is checked.
    const Run missing =
        runLint(dir.path(), {QStringLiteral("--tokens=none.json"), QStringLiteral("plain.qss")});
    QCOMPARE(missing.exitCode, 3);
    QVERIFY2(missing.errors.contains(QStringLiteral("none.json")), qPrintable(missing.errors));
}

void TestTemplateLint::languageServerOffersTheTokenAsAQuickFix()
{
    QTemporaryDir dir;
    const QString rule = QStringLiteral("QLabel { color: #3DAEE9; }\n");
    QVERIFY(writeSmallTheme(dir.path(), rule));
    const QString path = dir.filePath(QStringLiteral("small.qss.in"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(file.readAll());

    LspTestClient client(QStringLiteral(PRISMARK_LSP_BINARY), 60000, dir.path());
    client.initialize();
    const QString uri = QUrl::fromLocalFile(path).toString();
    client.open(uri, text);
    const QJsonArray diagnostics = client.diagnosticsFor(uri)
                                       .value(QStringLiteral("params"))
                                       .toObject()
                                       .value(QStringLiteral("diagnostics"))
                                       .toArray();
    QJsonArray proposals;
    for (const QJsonValue &d : diagnostics) {
        if (d.toObject().value(QStringLiteral("code")) == QStringLiteral("use-token"))
            proposals.append(d);
    }
    QCOMPARE(proposals.size(), 1);
    const QJsonObject range = proposals.at(0).toObject().value(QStringLiteral("range")).toObject();
    const QJsonObject params{{"textDocument", QJsonObject{{"uri", uri}}},
                             {"range", range},
                             {"context", QJsonObject{{"diagnostics", proposals}}}};
    const QJsonArray actions =
        client.response(client.request(QStringLiteral("textDocument/codeAction"), params))
            .value(QStringLiteral("result"))
            .toArray();
    QCOMPARE(actions.size(), 1);
    const QJsonObject action = actions.at(0).toObject();
    QCOMPARE(action.value(QStringLiteral("kind")).toString(), QStringLiteral("quickfix"));
    const QJsonArray edits = action.value(QStringLiteral("edit"))
                                 .toObject()
                                 .value(QStringLiteral("changes"))
                                 .toObject()
                                 .value(uri)
                                 .toArray();
    QCOMPARE(edits.size(), 1);
    const QJsonObject edit = edits.at(0).toObject();
    const QJsonObject start =
        edit.value(QStringLiteral("range")).toObject().value(QStringLiteral("start")).toObject();
    QCOMPARE(start.value(QStringLiteral("line")).toInt(), 6);
    QCOMPARE(start.value(QStringLiteral("character")).toInt(), 16);
    QCOMPARE(edit.value(QStringLiteral("newText")).toString(), QStringLiteral("{color.accent}"));
}

void TestTemplateLint::findingOnAValueIsToldAtTheTokensValue()
{
    const QString text =
        QStringLiteral("/*\n@tokens t.json\n*/\nQLabel {\n    color: {c.alias};\n}\n");
    SourceErrors errors;
    const ThemeTemplate theme = ThemeTemplate::parse(text, QStringLiteral("t.qss.in"), &errors);
    DesignTokens tokens;
    tokens.addDocument(QStringLiteral("{\"c\": {\"$type\": \"color\",\n"
                                      "  \"alias\": {\"$value\": \"{c.base}\"},\n"
                                      "  \"base\": {\"$value\": \"#123456\"}}}"),
                       QStringLiteral("t.json"), &errors);
    tokens.resolve(&errors);
    SourceMap map;
    const QString sheet = theme.render(tokens, QStringLiteral("default"), {}, &errors, &map);
    QVERIFY(errors.isEmpty());
    QCOMPARE(sheet, QStringLiteral("QLabel {\n    color: #123456;\n}\n"));

    LintDiagnostic onValue{
        QStringLiteral("t.qss.in"), 2, 12, LintSeverity::Warning, QStringLiteral("contrast"),
        QStringLiteral("too pale")};
    onValue.endLine = 2;
    onValue.endColumn = 19;
    onValue.fixes = {{2, 12, 2, 19, QStringLiteral("#000000"), true, QString()}};
    const LintDiagnostic mapped = mapToSources(onValue, map);
    // The alias is followed to where the colour is written.
    QCOMPARE(mapped.file, QStringLiteral("t.json"));
    QCOMPARE(mapped.line, 3);
    QCOMPARE(mapped.column, 22);
    QCOMPARE(mapped.message, QStringLiteral("too pale (via {c.alias})"));
    // A fix over a token's value would edit the template, not the token: left out.
    QVERIFY(mapped.fixes.isEmpty());

    LintDiagnostic onProperty = onValue;
    onProperty.column = 5;
    onProperty.endColumn = 10;
    onProperty.fixes = {{2, 5, 2, 10, QStringLiteral("colour"), false, QString()}};
    const LintDiagnostic copied = mapToSources(onProperty, map);
    QCOMPARE(copied.file, QStringLiteral("t.qss.in"));
    QCOMPARE(copied.line, 5);
    QCOMPARE(copied.column, 5);
    QCOMPARE(copied.endColumn, 10);
    QCOMPARE(copied.fixes.size(), 1);
    QCOMPARE(copied.fixes.first().line, 5);
}

void TestTemplateLint::languageServerToldOnTheTemplatesLines()
{
    QTemporaryDir dir;
    QVERIFY(copyTheme(dir.path()));
    const QString path = dir.filePath(kTemplate);
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QString text = QString::fromUtf8(file.readAll());
    // Planted in the editor's text only: the file on disk stays clean.
    const QString fontSize = QStringLiteral("    font-size: 10pt;\n");
    const int at = int(text.indexOf(fontSize)) + int(fontSize.size());
    text.insert(at, QStringLiteral("    colr: red;\n"));
    const int line = int(text.left(at).count(QLatin1Char('\n')));

    LspTestClient client(QStringLiteral(PRISMARK_LSP_BINARY), 60000, dir.path());
    client.initialize();
    const QString uri = QUrl::fromLocalFile(path).toString();
    client.open(uri, text);
    const QJsonArray diagnostics = client.diagnosticsFor(uri)
                                       .value(QStringLiteral("params"))
                                       .toObject()
                                       .value(QStringLiteral("diagnostics"))
                                       .toArray();
    const auto planted =
        std::find_if(diagnostics.begin(), diagnostics.end(), [](const QJsonValue &d) {
            return d.toObject().value(QStringLiteral("code")) == QStringLiteral("unknown-property");
        });
    QVERIFY(planted != diagnostics.end());
    const QJsonObject start = (*planted)
                                  .toObject()
                                  .value(QStringLiteral("range"))
                                  .toObject()
                                  .value(QStringLiteral("start"))
                                  .toObject();
    QCOMPARE(start.value(QStringLiteral("line")).toInt(), line);
    QCOMPARE(start.value(QStringLiteral("character")).toInt(), 4);
    QVERIFY((*planted)
                .toObject()
                .value(QStringLiteral("message"))
                .toString()
                .endsWith(QStringLiteral(", Dark]")));
}

void TestTemplateLint::languageServerCompletesAndExplainsReferences()
{
    QTemporaryDir dir;
    QVERIFY(copyTheme(dir.path()));
    const QString path = dir.filePath(kTemplate);
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(file.readAll());
    const QString reference = QStringLiteral("{color.frameBorder}");
    const int at = int(text.indexOf(reference));
    QVERIFY(at > 0);
    const int line = int(text.left(at).count(QLatin1Char('\n')));
    const int column = at - int(text.lastIndexOf(QLatin1Char('\n'), at)) - 1;

    LspTestClient client(QStringLiteral(PRISMARK_LSP_BINARY), 60000, dir.path());
    client.initialize();
    const QString uri = QUrl::fromLocalFile(path).toString();
    client.open(uri, text);
    const auto at_ = [&](int character) {
        return QJsonObject{{"textDocument", QJsonObject{{"uri", uri}}},
                           {"position", QJsonObject{{"line", line}, {"character", character}}}};
    };
    // Just after "{color.fr": the token paths, each variant's value in the detail.
    const QJsonArray items =
        client.response(client.request("textDocument/completion", at_(column + 9)))
            .value("result")
            .toObject()
            .value("items")
            .toArray();
    const auto frame = std::find_if(items.begin(), items.end(), [](const QJsonValue &item) {
        return item.toObject().value("label") == QStringLiteral("color.frameBorder");
    });
    QVERIFY2(frame != items.end(), qPrintable(QString::number(items.size())));
    QCOMPARE((*frame).toObject().value("kind").toInt(), 16);
    const QString detail = (*frame).toObject().value("detail").toString();
    QVERIFY2(detail.startsWith(QStringLiteral("Light #")) &&
                 detail.contains(QStringLiteral(", Dark #")),
             qPrintable(detail));

    const QString hover = client.response(client.request("textDocument/hover", at_(column + 3)))
                              .value("result")
                              .toObject()
                              .value("contents")
                              .toObject()
                              .value("value")
                              .toString();
    QVERIFY2(hover.contains(QStringLiteral("{color.frameBorder} (color), in tokens/")) &&
                 hover.contains(QStringLiteral("Dark #")),
             qPrintable(hover));
}

QTEST_GUILESS_MAIN(TestTemplateLint)
#include "tst_templatelint.moc"
