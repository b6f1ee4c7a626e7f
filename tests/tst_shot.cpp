// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "shot/imagediff.h"

#include <QDirIterator>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

#include <algorithm>
#include <sys/stat.h>

// prismark-shot as its users run it: renders that repeat to the byte, comparisons
// that point at exactly what changed, and the exit codes scripts rely on.
class TestShot : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void sameBytesRunAfterRun();
    void contactSheetGrid_data();
    void contactSheetGrid();
    void compareToleratesRoundingOnly_data();
    void compareToleratesRoundingOnly();
    void thresholdIsAPercentage_data();
    void thresholdIsAPercentage();
    void sizeAndScaleGiveTheImageSize_data();
    void sizeAndScaleGiveTheImageSize();
    void sheetPaletteIsWhatTheImageShows_data();
    void sheetPaletteIsWhatTheImageShows();
    void compareFindsAColourChangeWhereItShows_data();
    void compareFindsAColourChangeWhereItShows();
    void folderNames_data();
    void folderNames();
    void namesAndExitCodes_data();
    void namesAndExitCodes();

private:
    struct Run
    {
        int exitCode;
        QString out;
        QString err;
    };
    Run shot(const QStringList &arguments);
    QString writeSheet(const QString &name, const QString &text);
    Run compareWithOnePercentChanged(const QStringList &options);
    bool writeOnePercentChanged(const QString &folder);

    QTemporaryDir dir;
    QString lightSheet;
};

TestShot::Run TestShot::shot(const QStringList &arguments)
{
    QProcess process;
    process.start(QStringLiteral(PRISMARK_SHOT_EXECUTABLE), arguments);
    if (!process.waitForFinished(120000))
        return {-1, QString(), QStringLiteral("timed out")};
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

QString TestShot::writeSheet(const QString &name, const QString &text)
{
    const QString path = dir.filePath(name);
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(text.toUtf8()) < 0)
        return QString();
    return path;
}

static QMap<QString, QByteArray> filesUnder(const QString &root)
{
    QMap<QString, QByteArray> files;
    QDirIterator it(root, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        QFile file(it.next());
        if (file.open(QIODevice::ReadOnly))
            files.insert(QDir(root).relativeFilePath(file.fileName()), file.readAll());
    }
    return files;
}

static qint64 countInColour(const QImage &image, QRgb colour)
{
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    qint64 count = 0;
    for (int y = 0; y < rgb.height(); ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(rgb.constScanLine(y));
        count += std::count(line, line + rgb.width(), colour | 0xff000000u);
    }
    return count;
}

// Runs --compare for the Views render of the baseline's sheet against a copy of the
// baseline in which exactly 1 % of the pixels differ, and many more only by rounding
// noise; the run writes to edited/<data tag>.
TestShot::Run TestShot::compareWithOnePercentChanged(const QStringList &options)
{
    const QString edited = dir.filePath(QStringLiteral("edited/baseline"));
    if (!QFileInfo::exists(edited + "/mine/views.png") && !writeOnePercentChanged(edited))
        return {-1, QString(), QStringLiteral("cannot write the edited baseline")};
    return shot(QStringList{"--sheet", dir.filePath("base/mine.qss"), "--tab", "views", "--out",
                            dir.filePath(QStringLiteral("edited/") + QTest::currentDataTag()),
                            "--compare", edited, "--quiet"} +
                options);
}

bool TestShot::writeOnePercentChanged(const QString &folder)
{
    QImage baseline(dir.filePath("baseline/mine/views.png"));
    // 96 x 78 of 1040 x 720 pixels: 1 %, each channel 128 levels off.
    for (int y = 200; y < 278; ++y)
        for (int x = 200; x < 296; ++x)
            baseline.setPixel(x, y, baseline.pixel(x, y) ^ 0x808080u);
    // Noise that must not count: every channel 4 levels off, over 5 % of the pixels.
    const auto nudged = [](int level) { return level > 127 ? level - 4 : level + 4; };
    for (int y = 300; y < 500; ++y)
        for (int x = 400; x < 600; ++x) {
            const QRgb pixel = baseline.pixel(x, y);
            baseline.setPixel(
                x, y, qRgb(nudged(qRed(pixel)), nudged(qGreen(pixel)), nudged(qBlue(pixel))));
        }
    return QDir().mkpath(folder + "/mine") && baseline.save(folder + "/mine/views.png");
}

void TestShot::initTestCase()
{
    QVERIFY(dir.isValid());
    QFile light(QStringLiteral(":/styles/light.qss"));
    QVERIFY(light.open(QIODevice::ReadOnly));
    lightSheet = QString::fromUtf8(light.readAll());
    // The baseline every comparison below is measured against.
    const QString sheet = writeSheet(QStringLiteral("base/mine.qss"), lightSheet);
    QCOMPARE(
        shot({"--sheet", sheet, "--out", dir.filePath("baseline"), "--contact-sheet", "--quiet"})
            .exitCode,
        0);
    // Sixteen renders a theme, for the run-after-run comparison and the larger grid.
    QCOMPARE(shot({"--theme", "light,dark", "--disabled", "--contact-sheet", "--quiet", "--out",
                   dir.filePath("first")})
                 .exitCode,
             0);
    // Authors' sheets: one whose header alone colours the gallery, and names whose
    // folders take some care; one run for all, as each run starts a whole window.
    const QString palette = writeSheet(QStringLiteral("authors/palette.qss"),
                                       QStringLiteral("/*\n"
                                                      " * @palette Window = #2a6b3c\n"
                                                      " * @palette Base = #6b2a5a\n"
                                                      " * @palette Disabled.Base = #5a6b2a\n"
                                                      " */\n"
                                                      "QLabel { color: #102030; }\n"));
    QStringList authors{"--sheet", palette, "--theme", "vs17Light"};
    for (const QString &name : QStringList{"QSS2Dark.qss", "myHTMLTheme.qss"})
        authors << "--sheet" << writeSheet("authors/" + name, lightSheet);
    QCOMPARE(shot(authors + QStringList{"--tab", "inputs", "--disabled", "--quiet", "--out",
                                        dir.filePath("authors/out")})
                 .exitCode,
             0);
}

void TestShot::sameBytesRunAfterRun()
{
    QCOMPARE(shot({"--theme", "light,dark", "--disabled", "--contact-sheet", "--quiet", "--out",
                   dir.filePath("second")})
                 .exitCode,
             0);
    const auto first = filesUnder(dir.filePath("first"));
    QCOMPARE(first.size(), 2 * 16 + 2 + 1);
    QCOMPARE(filesUnder(dir.filePath("second")), first);

    // Alone, in another order, an image comes out the same as after its neighbours.
    QCOMPARE(shot({"--theme", "dark", "--tab", "editors", "--out", dir.filePath("alone")}).exitCode,
             0);
    QCOMPARE(filesUnder(dir.filePath("alone")).value("dark/editors.png"),
             first.value("dark/editors.png"));
}

void TestShot::compareFindsAColourChangeWhereItShows_data()
{
    QTest::addColumn<QString>("rule");
    QTest::addColumn<QString>("colour");
    QTest::addColumn<QStringList>("changed");
    QTest::newRow("semantic slider groove shows on Sliders only")
        << "QSlider[variant]::groove:horizontal"
        << "#e0e6ef" << QStringList{"sliders.png"};
    QTest::newRow("close button hover colour shows nowhere") << "#appCloseButton:hover"
                                                             << "#d94141" << QStringList();
}

void TestShot::compareFindsAColourChangeWhereItShows()
{
    QFETCH(QString, rule);
    QFETCH(QString, colour);
    QFETCH(QStringList, changed);
    const int ruleStart = lightSheet.indexOf(QStringLiteral("\n%1 {").arg(rule));
    const int colourAt = lightSheet.indexOf(colour, ruleStart);
    QVERIFY(ruleStart >= 0 && colourAt > ruleStart);
    QVERIFY(colourAt < lightSheet.indexOf(QLatin1Char('}'), ruleStart));
    const QString edited = QString(lightSheet).replace(colourAt, colour.size(), "#ff00ff");
    const QString tag = QTest::currentDataTag();
    const QString sheet = writeSheet(tag + "/mine.qss", edited);
    const QString out = dir.filePath(tag + "/out");

    const Run run = shot({"--sheet", sheet, "--out", out, "--compare", dir.filePath("baseline"),
                          "--threshold", "0", "--quiet"});
    QCOMPARE(run.exitCode, changed.isEmpty() ? 0 : 1);
    QStringList failed;
    for (const QString &line : run.out.split('\n'))
        if (line.endsWith("FAIL"))
            failed << line.split(' ', Qt::SkipEmptyParts).value(1);
    changed.sort();
    failed.sort();
    QCOMPARE(failed, changed);
    QCOMPARE(QDir(out + "/diff/mine").entryList(QDir::Files, QDir::Name), changed);
}

void TestShot::contactSheetGrid_data()
{
    QTest::addColumn<QString>("sheet");
    QTest::addColumn<QStringList>("renders");
    QTest::addColumn<int>("rows");
    const QStringList tabs{"overview", "buttons", "checks",  "inputs",
                           "sliders",  "views",   "dialogs", "editors"};
    QStringList eight;
    QStringList sixteen;
    for (const QString &tab : tabs) {
        eight << "baseline/mine/" + tab + ".png";
        sixteen << "first/dark/" + tab + ".png"
                << "first/dark/" + tab + "-disabled.png";
    }
    QTest::newRow("8 renders: two rows of four, in tab order") << "baseline/mine.png" << eight << 2;
    QTest::newRow("16 renders: four rows of four, each tab before its disabled render")
        << "first/dark.png" << sixteen << 4;
}

void TestShot::contactSheetGrid()
{
    QFETCH(QString, sheet);
    QFETCH(QStringList, renders);
    QFETCH(int, rows);
    constexpr int columns = 4;
    constexpr int thumbnailWidth = 360;
    constexpr int margin = 16;
    constexpr int titleHeight = 40;
    constexpr int labelHeight = 24;
    const QImage contact(dir.filePath(sheet));
    const int thumbnailHeight = QImage(dir.filePath(renders.first()))
                                    .scaledToWidth(thumbnailWidth, Qt::SmoothTransformation)
                                    .height();
    const int rowHeight = labelHeight + thumbnailHeight + margin;
    QCOMPARE(contact.size(), QSize(margin + columns * (thumbnailWidth + margin),
                                   margin + titleHeight + rows * rowHeight));
    for (int i = 0; i < renders.size(); ++i) {
        const QImage thumbnail = QImage(dir.filePath(renders[i]))
                                     .scaledToWidth(thumbnailWidth, Qt::SmoothTransformation)
                                     .convertToFormat(QImage::Format_RGB32);
        const QPoint at(margin + i % columns * (thumbnailWidth + margin),
                        margin + titleHeight + i / columns * rowHeight + labelHeight);
        QVERIFY2(contact.copy(QRect(at, thumbnail.size())).convertToFormat(QImage::Format_RGB32) ==
                     thumbnail,
                 qPrintable(renders[i]));
    }
}

void TestShot::compareToleratesRoundingOnly_data()
{
    QTest::addColumn<int>("channel");
    QTest::addColumn<int>("step");
    QTest::addColumn<bool>("differs");
    QTest::newRow("one level up in red is no difference") << 0 << 1 << false;
    QTest::newRow("four levels down in green, the tolerance, is no difference") << 1 << -4 << false;
    QTest::newRow("five levels up in blue is a difference") << 2 << 5 << true;
    QTest::newRow("five levels down in red is a difference") << 0 << -5 << true;
    QTest::newRow("a visible step up in green is a difference") << 1 << 60 << true;
    QTest::newRow("a visible step down in blue is a difference") << 2 << -60 << true;
}

// The comparison itself, pixel by pixel; the runs of --compare below meet rounding
// noise as well, so they fail too when it counts.
void TestShot::compareToleratesRoundingOnly()
{
    QFETCH(int, channel);
    QFETCH(int, step);
    QFETCH(bool, differs);
    QImage baseline(8, 8, QImage::Format_RGB32);
    baseline.fill(qRgb(120, 130, 140));
    int levels[3] = {120, 130, 140};
    levels[channel] += step;
    QImage current = baseline.copy();
    current.setPixel(5, 3, qRgb(levels[0], levels[1], levels[2]));

    const ImageDiff diff = compareImages(current, baseline);
    QCOMPARE(diff.differingPixels, differs ? 1 : 0);
    // The diff image marks that one pixel, and exists only when something differs.
    QCOMPARE(diff.highlight.isNull(), !differs);
    if (differs) {
        QCOMPARE(countInColour(diff.highlight, qRgb(255, 0, 255)), 1);
        QCOMPARE(diff.highlight.pixel(5, 3), qRgb(255, 0, 255));
    }
}

void TestShot::thresholdIsAPercentage_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<int>("exitCode");
    // Every row compares a render of which exactly 1 % of the pixels differ.
    QTest::newRow("the default, a tenth of a percent, fails a 1 % difference")
        << QStringList() << 1;
    QTest::newRow("1 lets a 1 % difference pass") << QStringList{"--threshold", "1"} << 0;
    QTest::newRow("0.99 fails a 1 % difference") << QStringList{"--threshold", "0.99"} << 1;
    QTest::newRow("100, the most, is accepted") << QStringList{"--threshold", "100"} << 0;
    QTest::newRow("just over 100 is refused") << QStringList{"--threshold", "100.01"} << 2;
    QTest::newRow("below 0 is refused") << QStringList{"--threshold", "-0.01"} << 2;
    QTest::newRow("a word is refused") << QStringList{"--threshold", "ten"} << 2;
    QTest::newRow("not a number is refused") << QStringList{"--threshold", "nan"} << 2;
}

void TestShot::thresholdIsAPercentage()
{
    QFETCH(QStringList, options);
    QFETCH(int, exitCode);
    const Run run = compareWithOnePercentChanged(options);
    QCOMPARE(run.exitCode, exitCode);
    if (exitCode == 2) {
        QVERIFY2(run.err.contains("--threshold wants a percentage from 0 to 100"),
                 qPrintable(run.err));
        QVERIFY(
            !QFileInfo::exists(dir.filePath(QStringLiteral("edited/") + QTest::currentDataTag())));
    } else {
        QVERIFY2(run.out.contains(" 1.000 %  "), qPrintable(run.out));
    }
}

void TestShot::sizeAndScaleGiveTheImageSize_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QSize>("written");
    QTest::newRow("--size 900x600 is 900 by 600 pixels")
        << QStringList{"--size", "900x600"} << QSize(900, 600);
    QTest::newRow("--scale 1.5 multiplies both sides of --size")
        << QStringList{"--size", "900x600", "--scale", "1.5"} << QSize(1350, 900);
    QTest::newRow("a size that is not WxH is refused")
        << QStringList{"--size", "900*600"} << QSize();
    QTest::newRow("scale 0 is refused") << QStringList{"--scale", "0"} << QSize();
    QTest::newRow("scale over 8 is refused") << QStringList{"--scale", "8.5"} << QSize();
    QTest::newRow("scale not a number is refused") << QStringList{"--scale", "nan"} << QSize();
}

void TestShot::sizeAndScaleGiveTheImageSize()
{
    QFETCH(QStringList, options);
    QFETCH(QSize, written);
    const QString out = dir.filePath(QStringLiteral("sizes/") + QTest::currentDataTag());
    const Run run =
        shot(QStringList{"--theme", "light", "--tab", "views", "--out", out, "--quiet"} + options);
    if (!written.isValid()) {
        QCOMPARE(run.exitCode, 2);
        QVERIFY(!QFileInfo::exists(out));
        return;
    }
    QCOMPARE(run.exitCode, 0);
    const QImage image(out + "/light/views.png");
    QCOMPARE(image.size(), written);
    // The whole window at that scale, not part of it on black.
    QVERIFY(image.pixel(image.width() - 1, image.height() - 1) != qRgb(0, 0, 0));
}

void TestShot::sheetPaletteIsWhatTheImageShows_data()
{
    QTest::addColumn<QString>("render");
    QTest::addColumn<QColor>("colour");
    QTest::addColumn<double>("atLeastPercent");
    QTest::newRow("the header's window colour fills the background")
        << "inputs.png" << QColor(0x2a, 0x6b, 0x3c) << 25.0;
    QTest::newRow("its base colour fills the editors")
        << "inputs.png" << QColor(0x6b, 0x2a, 0x5a) << 8.0;
    QTest::newRow("its disabled base colour fills the disabled editors")
        << "inputs-disabled.png" << QColor(0x5a, 0x6b, 0x2a) << 8.0;
}

void TestShot::sheetPaletteIsWhatTheImageShows()
{
    QFETCH(QString, render);
    QFETCH(QColor, colour);
    QFETCH(double, atLeastPercent);
    const QImage image(dir.filePath("authors/out/palette/" + render));
    QVERIFY(!image.isNull());
    const double percent =
        100.0 * countInColour(image, colour.rgb()) / (double(image.width()) * image.height());
    QVERIFY2(percent >= atLeastPercent, qPrintable(QString::number(percent)));
}

void TestShot::folderNames_data()
{
    QTest::addColumn<QString>("folder");
    QTest::newRow("digits stay with the word before them: vs17Light") << "vs17-light";
    QTest::newRow("a capital after a digit starts a word: QSS2Dark.qss") << "qss2-dark";
    QTest::newRow("a run of capitals is one word: myHTMLTheme.qss") << "my-htmltheme";
}

void TestShot::folderNames()
{
    QFETCH(QString, folder);
    QVERIFY(QFileInfo::exists(dir.filePath("authors/out/" + folder + "/inputs.png")));
}

void TestShot::namesAndExitCodes_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("expected");

    QTest::newRow("display name in any case writes a kebab-case folder")
        << QStringList{"--theme", "tOKYO night LIGHT", "--tab", "VIEWS", "--list"} << 0
        << "out/tokyo-night-light/views.png";
    QTest::newRow("sheet file name gives the folder")
        << QStringList{"--sheet", "@My Theme.qss", "--tab", "views", "--list"} << 0
        << "out/my-theme/views.png";
    QTest::newRow("a sheet name of neither letters nor digits is refused")
        << QStringList{"--sheet", "@__.qss"} << 2 << "rename it";
    QTest::newRow("unknown theme lists the valid names")
        << QStringList{"--theme", "sepia"} << 2 << "horizonModernLight (\"Horizon Modern Light\")";
    QTest::newRow("unknown tab lists the valid names")
        << QStringList{"--theme", "light", "--tab", "tables"} << 2 << "Dialogs, Editors";
    QTest::newRow("nothing to render") << QStringList{"--tab", "views"} << 2 << "--theme";
    QTest::newRow("sheet that is a FIFO is refused without a hang")
        << QStringList{"--sheet", "@fifo.qss"} << 3 << "a FIFO";
    QTest::newRow("oversized sheet is refused")
        << QStringList{"--sheet", "@huge.qss"} << 3 << "16 MiB";
    QTest::newRow("output folder that cannot be made")
        << QStringList{"--theme", "light", "--out", "@plain/shots"} << 3 << "plain/shots";
    QTest::newRow("image missing from the baseline fails the comparison")
        << QStringList{"--theme", "dark", "--tab", "views", "--compare", "@baseline"} << 1
        << "missing in baseline";
}

void TestShot::namesAndExitCodes()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QString, expected);
    const QString work = dir.filePath(QString("codes/%1").arg(QTest::currentDataTag()));
    QVERIFY(QDir().mkpath(work));
    writeSheet("codes/" + QString(QTest::currentDataTag()) + "/My Theme.qss", lightSheet);
    writeSheet("codes/" + QString(QTest::currentDataTag()) + "/__.qss", lightSheet);
    ::mkfifo(QFile::encodeName(work + "/fifo.qss").constData(), 0600);
    QFile huge(work + "/huge.qss");
    QVERIFY(huge.open(QIODevice::WriteOnly) && huge.resize(17 * 1024 * 1024));
    huge.close();
    QFile plain(work + "/plain");
    QVERIFY(plain.open(QIODevice::WriteOnly));
    plain.close();
    for (QString &argument : arguments)
        if (argument.startsWith('@'))
            argument =
                argument == "@baseline" ? dir.filePath("baseline") : work + '/' + argument.mid(1);
    if (!arguments.contains("--out"))
        arguments << "--out" << work + "/out";

    const Run run = shot(arguments << "--quiet");
    QCOMPARE(run.exitCode, exitCode);
    QVERIFY2((run.out + run.err)
                 .contains(expected.startsWith("out/") ? work + '/' + expected : expected),
             qPrintable(run.out + run.err));
    if (exitCode == 3)
        QVERIFY(!QFileInfo::exists(work + "/out"));
}

QTEST_GUILESS_MAIN(TestShot)
#include "tst_shot.moc"
