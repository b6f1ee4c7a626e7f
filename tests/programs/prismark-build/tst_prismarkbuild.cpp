// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include <QDirIterator>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <QtTest>

// prismark-build run as its users run it: a theme with two variants and an icon,
// what it writes, and its exit statuses.
namespace {

const char *const kTemplate = "/*\n"
                              "@tokens tokens/base.tokens.json\n"
                              "@variant Light tokens/light.tokens.json\n"
                              "@variant Dark tokens/dark.tokens.json\n"
                              "@icons icons\n"
                              "@palette Window = {color.window}\n"
                              "*/\n"
                              "\n"
                              "QPushButton {\n"
                              "    background: {color.icon};\n"
                              "    border-radius: {radius.small};\n"
                              "    image: url(icons/arrow.svg);\n"
                              "}\n"
                              "\n"
                              "QPushButton:hover {\n"
                              "    background: alpha({color.icon}, 0.2);\n"
                              "}\n";

const char *const kBase = R"j({
  "color": {"$type": "color", "window": {"$value": "#f0f0f0"}, "icon": {"$value": "{palette.red}"}},
  "palette": {"$type": "color", "red": {"$value": "#ff0000"}},
  "radius": {"$type": "dimension", "small": {"$value": {"value": 3, "unit": "px"}}}
})j";
const char *const kLight = R"j({"color": {"window": {"$value": "#ffffff"}}})j";
const char *const kDark =
    R"j({"palette": {"red": {"$value": "#00ff00"}}, "color": {"window": {"$value": "#202020"}}})j";
const char *const kIcon = "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"16\" height=\"12\">"
                          "<rect width=\"16\" height=\"12\" fill=\"{color.icon}\"/></svg>\n";

void write(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

void writeTheme(const QString &dir)
{
    write(dir + "/mytheme.qss.in", kTemplate);
    write(dir + "/tokens/base.tokens.json", kBase);
    write(dir + "/tokens/light.tokens.json", kLight);
    write(dir + "/tokens/dark.tokens.json", kDark);
    write(dir + "/icons/arrow.svg", kIcon);
}

struct Run
{
    int exitCode = -1;
    QString out;
    QString err;
};

Run runBuild(const QString &workingDirectory, const QStringList &arguments)
{
    QProcess process;
    process.setWorkingDirectory(workingDirectory);
    process.start(QStringLiteral(PRISMARK_BUILD_BINARY), arguments);
    process.waitForFinished(60000);
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

// Every file under dir with its bytes, by relative path.
QMap<QString, QByteArray> filesUnder(const QString &dir)
{
    QMap<QString, QByteArray> files;
    QDirIterator it(dir, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        QFile file(path);
        file.open(QIODevice::ReadOnly);
        files.insert(QDir(dir).relativeFilePath(path), file.readAll());
    }
    return files;
}

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class TestPrismarkBuild : public QObject
{
    Q_OBJECT

private slots:
    void writesSheetsIconsAndQrc();
    void iconsAreDrawnInTheVariantsColour_data();
    void iconsAreDrawnInTheVariantsColour();
    void qrcListsEverySheetAndIcon();
    void iconUrlsFollowThePrefix_data();
    void iconUrlsFollowThePrefix();
    void sameSourcesGiveTheSameBytes();
    void exitStatus_data();
    void exitStatus();
    void fixContrast_data();
    void fixContrast();
};

void TestPrismarkBuild::writesSheetsIconsAndQrc()
{
    QTemporaryDir dir;
    writeTheme(dir.path());
    const Run run = runBuild(dir.path(), {"mytheme.qss.in", "-o", "out"});
    QVERIFY2(run.exitCode == 0, qPrintable(run.err));
    QCOMPARE(
        filesUnder(dir.path() + "/out").keys(),
        (QStringList{"dark/icons/arrow.png", "dark/icons/arrow.svg", "dark/icons/arrow@2x.png",
                     "light/icons/arrow.png", "light/icons/arrow.svg", "light/icons/arrow@2x.png",
                     "mytheme-dark.qss", "mytheme-light.qss", "mytheme.qrc"}));
    QCOMPARE(fileBytes(dir.path() + "/out/mytheme-dark.qss"),
             QByteArray("/*\n@palette Window = #202020\n*/\n\nQPushButton {\n"
                        "    background: #00ff00;\n    border-radius: 3px;\n"
                        "    image: url(dark/icons/arrow.svg);\n}\n\nQPushButton:hover {\n"
                        "    background: rgba(0, 255, 0, 0.2);\n}\n"));
    QVERIFY(fileBytes(dir.path() + "/out/light/icons/arrow.svg").contains("fill=\"#ff0000\""));
}

void TestPrismarkBuild::iconsAreDrawnInTheVariantsColour_data()
{
    QTest::addColumn<QString>("png");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QString>("colour");
    QTest::newRow("Light at the SVG's size")
        << "light/icons/arrow.png" << QSize(16, 12) << "#ff0000";
    QTest::newRow("Light at twice the size")
        << "light/icons/arrow@2x.png" << QSize(32, 24) << "#ff0000";
    QTest::newRow("Dark overrides the aliased colour")
        << "dark/icons/arrow.png" << QSize(16, 12) << "#00ff00";
}

void TestPrismarkBuild::iconsAreDrawnInTheVariantsColour()
{
    QFETCH(QString, png);
    QFETCH(QSize, size);
    QFETCH(QString, colour);
    QTemporaryDir dir;
    writeTheme(dir.path());
    QCOMPARE(runBuild(dir.path(), {"mytheme.qss.in", "-o", "out"}).exitCode, 0);
    const QImage image(dir.path() + "/out/" + png);
    QCOMPARE(image.size(), size);
    QCOMPARE(image.pixelColor(size.width() / 2, size.height() / 2).name(QColor::HexArgb),
             QColor(colour).name(QColor::HexArgb));
}

void TestPrismarkBuild::qrcListsEverySheetAndIcon()
{
    QTemporaryDir dir;
    writeTheme(dir.path());
    QCOMPARE(runBuild(dir.path(), {"mytheme.qss.in", "-o", "out", "--qrc-prefix", "/themes/my"})
                 .exitCode,
             0);
    QXmlStreamReader xml(fileBytes(dir.path() + "/out/mytheme.qrc"));
    QString prefix;
    QStringList files;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement() && xml.name() == QLatin1String("qresource"))
            prefix = xml.attributes().value(QLatin1String("prefix")).toString();
        if (xml.isStartElement() && xml.name() == QLatin1String("file"))
            files << xml.readElementText();
    }
    QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
    QCOMPARE(prefix, QStringLiteral("/themes/my"));
    QStringList written = filesUnder(dir.path() + "/out").keys();
    written.removeAll(QStringLiteral("mytheme.qrc"));
    QCOMPARE(files, written);
}

void TestPrismarkBuild::iconUrlsFollowThePrefix_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("url");
    QTest::newRow("relative without a prefix") << QStringList() << "url(light/icons/arrow.svg)";
    QTest::newRow("resource path under the prefix")
        << QStringList{"--qrc-prefix", "/app"} << "url(:/app/light/icons/arrow.svg)";
}

void TestPrismarkBuild::iconUrlsFollowThePrefix()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, url);
    QTemporaryDir dir;
    writeTheme(dir.path());
    QCOMPARE(runBuild(dir.path(), QStringList{"mytheme.qss.in", "-o", "out"} + arguments).exitCode,
             0);
    QVERIFY(fileBytes(dir.path() + "/out/mytheme-light.qss").contains(url.toUtf8()));
}

void TestPrismarkBuild::sameSourcesGiveTheSameBytes()
{
    QTemporaryDir dir;
    writeTheme(dir.path());
    QCOMPARE(runBuild(dir.path(), {"mytheme.qss.in", "-o", "first"}).exitCode, 0);
    QCOMPARE(runBuild(dir.path(), {"mytheme.qss.in", "-o", "second"}).exitCode, 0);
    const QMap<QString, QByteArray> first = filesUnder(dir.path() + "/first");
    QCOMPARE(first.size(), 9);
    QCOMPARE(filesUnder(dir.path() + "/second"), first);
}

void TestPrismarkBuild::exitStatus_data()
{
    QTest::addColumn<QString>("file");     // replaced in the theme; empty: none
    QTest::addColumn<QByteArray>("bytes"); // its new text; empty: removed
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("message"); // on standard error, or out for --lint

    const QStringList build{"mytheme.qss.in", "-o", "out"};
    QTest::newRow("built") << "" << QByteArray() << build << 0 << "";
    QTest::newRow("--check builds and writes nothing")
        << "" << QByteArray() << (build + QStringList{"--check"}) << 0 << "";
    QTest::newRow("one variant") << "" << QByteArray() << (build + QStringList{"--variant", "dark"})
                                 << 0 << "";
    QTest::newRow("unknown token with its place and the closest name")
        << "mytheme.qss.in" << QByteArray(kTemplate).replace("{radius.small}", "{radius.smal}")
        << build << 2
        << "mytheme.qss.in:11:20: error: unknown token {radius.smal}; did you mean {radius.small}?";
    QTest::newRow("invalid JSON at its place")
        << "tokens/dark.tokens.json" << QByteArray("{\n  \"color\": [\n}") << build << 2
        << "tokens/dark.tokens.json:3:1: error: expected a value, found '}'";
    QTest::newRow("alias cycle") << "tokens/light.tokens.json"
                                 << QByteArray(
                                        "{\"palette\": {\"red\": {\"$value\": \"{color.icon}\"}}}")
                                 << build << 2
                                 << "alias cycle: color.icon -> palette.red -> color.icon";
    QTest::newRow("unreadable token file") << "tokens/light.tokens.json" << QByteArray() << build
                                           << 3 << "cannot read tokens/light.tokens.json";
    QTest::newRow("unreadable icons") << "icons" << QByteArray() << build << 3
                                      << "mytheme.qss.in:5:1: error: cannot read the icons";
    QTest::newRow("icon that is no SVG") << "icons/arrow.svg" << QByteArray("<svg") << build << 2
                                         << "not an SVG the toolkit can draw";
    QTest::newRow("unknown variant")
        << "" << QByteArray() << (build + QStringList{"--variant", "Solar"}) << 3
        << "has no variant \"Solar\"";
    QTest::newRow("no template") << "" << QByteArray() << QStringList() << 3 << "no template given";
    const QByteArray whiteOnRed = QByteArray(kTemplate).replace(
        "QPushButton {\n", "QPushButton {\n    color: {color.window};\n");
    QTest::newRow("a pair below --contrast AA told at its token")
        << "mytheme.qss.in" << whiteOnRed << (build + QStringList{"--contrast", "AA"}) << 4
        << "(via {color.window}) [contrast] [Light]";
    QTest::newRow("@contrast in the template holds the build to it")
        << "mytheme.qss.in" << QByteArray(whiteOnRed).replace("@icons", "@contrast AA\n@icons")
        << build << 4 << "tokens/light.tokens.json:1:";
    QTest::newRow("--contrast in lower case")
        << "mytheme.qss.in" << whiteOnRed << (build + QStringList{"--contrast", "aa"}) << 4
        << "(via {color.window}) [contrast] [Light]";
    QTest::newRow("@contrast in lower case")
        << "mytheme.qss.in" << QByteArray(whiteOnRed).replace("@icons", "@contrast aaa\n@icons")
        << build << 4 << "tokens/light.tokens.json:1:";
    QTest::newRow("the pair passes the level not asked for")
        << "mytheme.qss.in" << whiteOnRed << (build + QStringList{"--variant", "Dark"}) << 0 << "";
    QTest::newRow("unknown contrast level")
        << "" << QByteArray() << (build + QStringList{"--contrast", "A"}) << 3
        << "--contrast is one of AA, AAA";
    QTest::newRow("@contrast without a level")
        << "mytheme.qss.in" << QByteArray(kTemplate).replace("@icons", "@contrast\n@icons") << build
        << 2 << "mytheme.qss.in:5:1: error: @contrast names one level: AA, AAA";
    QTest::newRow("lint error in a built sheet")
        << "mytheme.qss.in" << QByteArray(kTemplate).replace("url(icons/arrow.svg)", "url(icons)")
        << (build + QStringList{"--lint"}) << 1 << "[unsafe-resource]";
}

void TestPrismarkBuild::exitStatus()
{
    QFETCH(QString, file);
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, arguments);
    QFETCH(int, status);
    QFETCH(QString, message);
    QTemporaryDir dir;
    writeTheme(dir.path());
    if (!file.isEmpty() && bytes.isEmpty())
        QVERIFY(QFileInfo(dir.path() + '/' + file).isDir()
                    ? QDir(dir.path() + '/' + file).removeRecursively()
                    : QFile::remove(dir.path() + '/' + file));
    else if (!file.isEmpty())
        write(dir.path() + '/' + file, bytes);
    const Run run = runBuild(dir.path(), arguments);
    QVERIFY2(run.exitCode == status, qPrintable(run.err));
    QVERIFY2((run.err + run.out).contains(message), qPrintable(run.err + run.out));
    const bool writes = status == 0 && !arguments.contains(QStringLiteral("--check"));
    QCOMPARE(QFileInfo::exists(dir.path() + "/out"), writes);
    if (writes && arguments.contains(QStringLiteral("--variant")))
        QCOMPARE(QDir(dir.path() + "/out").entryList({"*.qss"}), QStringList{"mytheme-dark.qss"});
}

void TestPrismarkBuild::fixContrast_data()
{
    QTest::addColumn<QByteArray>("rules"); // added to the template
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QStringList>("written");

    const QByteArray whiteOnRed = "QLabel { color: {color.window}; background: {palette.red}; }\n";
    const QStringList fix{"mytheme.qss.in", "--fix-contrast", "fix-{variant}.tokens.json"};
    // White cannot lighten; the red darkens a little, less than white would.
    QTest::newRow("only the failing variant's token file")
        << whiteOnRed << fix << 0 << "Light (AA): {palette.red} #ff0000 -> "
        << QStringList{"fix-light.tokens.json"};
    QTest::newRow("a passing theme needs no file")
        << QByteArray() << fix << 0 << "every pair passes" << QStringList();
    QTest::newRow("several variants' changes need {variant}")
        << QByteArray(whiteOnRed).replace("{palette.red}", "#777777")
        << QStringList{"mytheme.qss.in", "--fix-contrast", "fix.tokens.json"} << 3
        << "name the file with {variant}" << QStringList();
    QTest::newRow("a source is never overwritten")
        << whiteOnRed
        << QStringList{"mytheme.qss.in", "--fix-contrast", "tokens/light.tokens.json", "--variant",
                       "Light"}
        << 3 << "tokens/light.tokens.json is one of the template's sources" << QStringList();
    QTest::newRow("a pair no token gives")
        << QByteArray("QLabel { color: #777777; background: #888888; }\n") << fix << 4
        << "no token gives its colours" << QStringList();
    QTest::newRow("pairs no colour satisfies together")
        << QByteArray("QLabel { color: {color.window}; background: #000000; }\n"
                      "QToolTip { color: {color.window}; background: #ffffff; }\n")
        << (fix + QStringList{"--contrast", "AAA"}) << 4
        << "no token colours make every pair pass; nothing written" << QStringList();
}

void TestPrismarkBuild::fixContrast()
{
    QFETCH(QByteArray, rules);
    QFETCH(QStringList, arguments);
    QFETCH(int, status);
    QFETCH(QString, message);
    QFETCH(QStringList, written);
    // The variants' token files without kTemplate's rules, whose dark hover fails.
    const QByteArray header = "/*\n@tokens tokens/base.tokens.json\n"
                              "@variant Light tokens/light.tokens.json\n"
                              "@variant Dark tokens/dark.tokens.json\n*/\n";
    QTemporaryDir dir;
    writeTheme(dir.path());
    write(dir.path() + "/mytheme.qss.in", header + rules);
    const QByteArray light = fileBytes(dir.path() + "/tokens/light.tokens.json");
    const Run run = runBuild(dir.path(), arguments);
    QVERIFY2(run.exitCode == status, qPrintable(run.err));
    QVERIFY2((run.out + run.err).contains(message), qPrintable(run.out + run.err));
    QCOMPARE(fileBytes(dir.path() + "/tokens/light.tokens.json"), light);
    QCOMPARE(QDir(dir.path()).entryList({"fix*"}), written);
    if (written.isEmpty())
        return;
    // Merged last on its variant's line, the file makes the build pass the level.
    write(
        dir.path() + "/mytheme.qss.in",
        QByteArray(header + rules)
            .replace("tokens/light.tokens.json", "tokens/light.tokens.json fix-light.tokens.json"));
    const Run again = runBuild(dir.path(), {"mytheme.qss.in", "--contrast", "AA", "--check"});
    QVERIFY2(again.exitCode == 0, qPrintable(again.err));
}

QTEST_GUILESS_MAIN(TestPrismarkBuild)
#include "tst_prismarkbuild.moc"
