// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "audit/imagediff.h"
#include "prismark-shot/contactsheet.h"
#include "prismark-shot/pngfile.h"
#include "prismark-shot/shotmatrix.h"
#include "testsupport.h"

#include <QDirIterator>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QUrl>
#include <QtTest>

#include <algorithm>

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
    void contactSheetAnyCount_data();
    void contactSheetAnyCount();
    void pngKeepsEveryPixel_data();
    void pngKeepsEveryPixel();
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
    void namesPerCombination_data();
    void namesPerCombination();
    void fileNamesReadBack_data();
    void fileNamesReadBack();
    void combinationsDoNotDependOnEachOther();
    void contactSheetSectionPerCombination();
    void compareIsLikeWithLike_data();
    void compareIsLikeWithLike();
    void updateBaselineTouchesTheSelectedSetOnly();
    void reportPageInABrowser();

private:
    using Run = ProgramRun;
    Run shot(const QStringList &arguments);
    QString writeSheet(const QString &name, const QString &text);
    Run compareWithOnePercentChanged(const QStringList &options);
    bool writeOnePercentChanged(const QString &folder);

    QTemporaryDir dir;
    QString lightSheet;
};

TestShot::Run TestShot::shot(const QStringList &arguments)
{
    return runProgram(QStringLiteral(PRISMARK_SHOT_EXECUTABLE), arguments);
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

void TestShot::contactSheetAnyCount_data()
{
    QTest::addColumn<QVector<int>>("counts"); // images per section
    QTest::addColumn<int>("columns");
    QTest::addColumn<int>("rows"); // over all sections
    QTest::newRow("one image: one column, one row") << QVector<int>{1} << 1 << 1;
    QTest::newRow("three: a row not full") << QVector<int>{3} << 3 << 1;
    QTest::newRow("five: a full row and one more") << QVector<int>{5} << 4 << 2;
    QTest::newRow("nine: two full rows and one more") << QVector<int>{9} << 4 << 3;
    QTest::newRow("sections of two and five, each its own rows") << QVector<int>{2, 5} << 4 << 3;
}

// Four to a row, a last row partly filled, sections one under another: the sheet's
// size follows, and the last image of each section sits in its cell.
void TestShot::contactSheetAnyCount()
{
    QFETCH(QVector<int>, counts);
    QFETCH(int, columns);
    QFETCH(int, rows);
    constexpr int width = kContactSheetThumbnailWidth;
    constexpr int margin = 16;
    constexpr int titleHeight = 40;
    constexpr int labelHeight = 24;
    constexpr int sectionHeight = 32;
    QImage render(720, 360, QImage::Format_RGB32);
    render.fill(qRgb(0x10, 0x80, 0x10));
    const int cellHeight = labelHeight + 180 + margin;
    QVector<ContactSheetSection> sections;
    for (const int count : counts)
        sections.append(
            {QStringLiteral("section"), QVector<ContactSheetCell>(count, {"x", render})});
    const QImage sheet = makeContactSheet(QStringLiteral("title"), sections);
    const int titles = counts.size() > 1 ? counts.size() * sectionHeight : 0;
    QCOMPARE(sheet.size(), QSize(margin + columns * (width + margin),
                                 margin + titleHeight + titles + rows * cellHeight));
    int top = margin + titleHeight;
    for (const int count : counts) {
        top += counts.size() > 1 ? sectionHeight : 0;
        const int last = count - 1;
        const QPoint centre(margin + (last % 4) * (width + margin) + width / 2,
                            top + (last / 4) * cellHeight + labelHeight + 90);
        QCOMPARE(QColor(sheet.pixel(centre)), QColor(render.pixel(0, 0)));
        top += (count + 3) / 4 * cellHeight;
    }
}

void TestShot::pngKeepsEveryPixel_data()
{
    QTest::addColumn<QImage>("image");
    // Noise: every byte difference the row filter takes, wrapping around 0 and 255.
    QImage noise(37, 5, QImage::Format_RGB32);
    QImage translucent(19, 3, QImage::Format_ARGB32);
    quint32 seed = 12345;
    for (QImage *image : {&noise, &translucent})
        for (int y = 0; y < image->height(); ++y)
            for (int x = 0; x < image->width(); ++x) {
                seed = seed * 1103515245u + 12345u;
                image->setPixel(x, y, seed);
            }
    QImage dot(1, 1, QImage::Format_RGB32);
    dot.fill(qRgb(1, 2, 3));
    QTest::newRow("opaque noise") << noise;
    QTest::newRow("noise with alpha") << translucent;
    QTest::newRow("one pixel") << dot;
    QTest::newRow("one column") << noise.copy(0, 0, 1, 5);
}

void TestShot::pngKeepsEveryPixel()
{
    QFETCH(QImage, image);
    const QImage read = QImage::fromData(encodePng(image), "png");
    QVERIFY(!read.isNull());
    QCOMPARE(read.hasAlphaChannel(), image.hasAlphaChannel());
    QCOMPARE(read.convertToFormat(image.format()), image);
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
    QTest::newRow("--scale 2 doubles them")
        << QStringList{"--size", "900x600", "--scale", "2"} << QSize(1800, 1200);
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
    const QStringList files = QDir(out + "/light").entryList(QDir::Files);
    QCOMPARE(files.size(), 1);
    const QImage image(out + "/light/" + files.first());
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
    QTest::newRow("unknown tab lists the valid names")
        << QStringList{"--theme", "light", "--tab", "tables"} << 2 << "Dialogs, Editors";
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
    QVERIFY(makeFifo(work + "/fifo.qss"));
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

void TestShot::namesPerCombination_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QStringList>("files");
    QTest::newRow("the default combination keeps the plain name")
        << QStringList() << QStringList{"views.png"};
    QTest::newRow("windows as base style adds -windows")
        << QStringList{"--base-style", "windows"} << QStringList{"views-windows.png"};
    QTest::newRow("both base styles, comma separated")
        << QStringList{"--base-style", "fusion,Windows"}
        << QStringList{"views-windows.png", "views.png"};
    QTest::newRow("directions as repeated options")
        << QStringList{"--direction", "ltr", "--direction", "rtl"}
        << QStringList{"views-rtl.png", "views.png"};
    QTest::newRow("a list of scales, 1 named as before")
        << QStringList{"--scale", "1,1.25"} << QStringList{"views.png", "views@1.25x.png"};
    QTest::newRow("every part, in order")
        << QStringList{"--base-style", "windows", "--direction", "rtl", "--disabled",
                       "--scale",      "2"}
        << QStringList{"views-windows-rtl-disabled@2x.png", "views-windows-rtl@2x.png"};
}

void TestShot::namesPerCombination()
{
    QFETCH(QStringList, options);
    QFETCH(QStringList, files);
    const QString out = dir.filePath(QStringLiteral("names/") + QTest::currentDataTag());
    const Run run =
        shot(QStringList{"--theme", "light", "--tab", "views", "--out", out, "--quiet"} + options);
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(QDir(out + "/light").entryList(QDir::Files, QDir::Name), files);
    // The scale in the name is the scale of the pixels.
    for (const QString &file : files) {
        const qreal scale = file.contains('@') ? file.section('@', 1).chopped(5).toDouble() : 1;
        QCOMPARE(QImage(out + "/light/" + file).size(), QSize(1040, 720) * scale);
    }
}

void TestShot::fileNamesReadBack_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QStringList>("tabs");
    QTest::addColumn<QString>("tab");
    QTest::addColumn<QString>("suffix");
    const QStringList gallery{"buttons", "views"};
    QTest::newRow("every part") << "buttons-windows-rtl-disabled@2x.png" << gallery << "buttons"
                                << "-windows-rtl-disabled@2x";
    QTest::newRow("a fractional scale") << "views@1.25x.png" << gallery << "views"
                                        << "@1.25x";
    QTest::newRow("the default combination") << "views.png" << gallery << "views"
                                             << "";
    QTest::newRow("a form named like a suffix is a tab of its own")
        << "form-dialog-rtl.png" << QStringList{"form-dialog", "form-dialog-rtl"}
        << "form-dialog-rtl"
        << "";
    QTest::newRow("parts out of order are no image of a run")
        << "buttons-rtl-windows.png" << gallery << ""
        << "";
    QTest::newRow("a scale written another way is no image of a run")
        << "buttons@2.0x.png" << gallery << ""
        << "";
    QTest::newRow("a tab the run did not choose") << "editors.png" << gallery << ""
                                                  << "";
}

// Like with like rests on reading a baseline's names back exactly.
void TestShot::fileNamesReadBack()
{
    QFETCH(QString, file);
    QFETCH(QStringList, tabs);
    QFETCH(QString, tab);
    QFETCH(QString, suffix);
    QString readTab;
    ShotCombination combination;
    QCOMPARE(parseShotFileName(file, tabs, &readTab, &combination), !tab.isEmpty());
    if (tab.isEmpty())
        return;
    QCOMPARE(readTab, tab);
    QCOMPARE(combinationSuffix(combination), suffix);
    QCOMPARE(shotFileName(readTab, combination), file);
}

void TestShot::combinationsDoNotDependOnEachOther()
{
    const QStringList tabs{"--tab", "overview,buttons", "--quiet"};
    QCOMPARE(shot(QStringList{"--theme", "light,dark", "--base-style", "fusion,windows",
                              "--direction", "ltr,rtl", "--scale", "1,1.25", "--disabled",
                              "--contact-sheet", "--out", dir.filePath("matrix/all")} +
                  tabs)
                 .exitCode,
             0);
    QCOMPARE(
        shot(QStringList{"--theme", "dark", "--base-style", "windows", "--direction", "rtl",
                         "--scale", "1.25", "--disabled", "--out", dir.filePath("matrix/alone")} +
             tabs)
            .exitCode,
        0);
    QCOMPARE(
        shot(QStringList{"--theme", "dark", "--disabled", "--out", dir.filePath("matrix/default")} +
             tabs)
            .exitCode,
        0);
    const auto all = filesUnder(dir.filePath("matrix/all"));
    QCOMPARE(all.size(), 2 * 2 * 2 * 2 * 2 * 2 + 2 + 1);
    for (const QString &run : {QStringLiteral("alone"), QStringLiteral("default")}) {
        const auto one = filesUnder(dir.filePath("matrix/" + run));
        QCOMPARE(one.size(), 4);
        for (auto it = one.cbegin(); it != one.cend(); ++it)
            QVERIFY2(all.value(it.key()) == it.value(), qPrintable(it.key()));
    }
}

// Eight sections (base style, then direction, then scale), each a titled row of
// the two tabs, each before its disabled render.
void TestShot::contactSheetSectionPerCombination()
{
    constexpr int thumbnailWidth = 360;
    constexpr int margin = 16;
    constexpr int titleHeight = 40;
    constexpr int sectionHeight = 32;
    constexpr int labelHeight = 24;
    const QImage contact(dir.filePath("matrix/all/dark.png"));
    QVERIFY(!contact.isNull());
    const QString last = dir.filePath("matrix/all/dark/buttons-windows-rtl-disabled@1.25x.png");
    const QImage thumbnail = QImage(last)
                                 .scaledToWidth(thumbnailWidth, Qt::SmoothTransformation)
                                 .convertToFormat(QImage::Format_RGB32);
    const int sectionStep = sectionHeight + labelHeight + thumbnail.height() + margin;
    QCOMPARE(contact.size(),
             QSize(margin + 4 * (thumbnailWidth + margin), margin + titleHeight + 8 * sectionStep));
    const QPoint at(margin + 3 * (thumbnailWidth + margin),
                    margin + titleHeight + 7 * sectionStep + sectionHeight + labelHeight);
    QVERIFY(contact.copy(QRect(at, thumbnail.size())).convertToFormat(QImage::Format_RGB32) ==
            thumbnail);
}

// Image name to the share or the words the table shows for it.
static QMap<QString, QString> tableRows(const QString &out)
{
    QMap<QString, QString> rows;
    for (const QString &line : out.split('\n')) {
        const QStringList words = line.split(' ', Qt::SkipEmptyParts);
        if (words.size() >= 4 && (words.last() == "ok" || words.last() == "FAIL"))
            rows.insert(words.at(1), words.mid(2, words.size() - 3).join(' '));
    }
    return rows;
}

void TestShot::compareIsLikeWithLike_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QStringList>("rows"); // "image=share"
    QTest::newRow("a 2x run meets the 2x baseline only")
        << QStringList{"--scale", "2", "--disabled"} << 0
        << QStringList{"views@2x.png=0.000 %", "views-disabled@2x.png=0.000 %"};
    QTest::newRow("a disabled 2x baseline image the run left out is missing")
        << QStringList{"--scale", "2"} << 1
        << QStringList{"views@2x.png=0.000 %", "views-disabled@2x.png=not rendered"};
    QTest::newRow("a 1.25x render has no baseline")
        << QStringList{"--scale", "1.25", "--direction", "rtl"} << 1
        << QStringList{"views-rtl@1.25x.png=missing in baseline"};
    QTest::newRow("a windows render has no baseline")
        << QStringList{"--base-style", "windows", "--direction", "ltr,rtl"} << 1
        << QStringList{"views-windows.png=missing in baseline",
                       "views-windows-rtl.png=missing in baseline"};
}

void TestShot::compareIsLikeWithLike()
{
    QFETCH(QStringList, options);
    QFETCH(int, exitCode);
    QFETCH(QStringList, rows);
    const QString baseline = dir.filePath("like/baseline");
    if (!QFileInfo::exists(baseline))
        QCOMPARE(shot({"--theme", "light", "--tab", "views", "--scale", "1,2", "--direction",
                       "ltr,rtl", "--disabled", "--quiet", "--out", baseline})
                     .exitCode,
                 0);
    const Run run =
        shot(QStringList{"--theme", "light", "--tab", "views", "--quiet", "--out",
                         dir.filePath(QStringLiteral("like/") + QTest::currentDataTag()),
                         "--compare", baseline} +
             options);
    QCOMPARE(run.exitCode, exitCode);
    QMap<QString, QString> expected;
    for (const QString &row : rows)
        expected.insert(row.section('=', 0, 0), row.section('=', 1));
    QCOMPARE(tableRows(run.out), expected);
}

void TestShot::updateBaselineTouchesTheSelectedSetOnly()
{
    const QString baseline = dir.filePath("update/baseline");
    QCOMPARE(
        shot({"--theme", "light", "--tab", "views", "--scale", "1,2", "--quiet", "--out", baseline})
            .exitCode,
        0);
    // Both baseline images stale: a picture of another theme.
    QCOMPARE(shot({"--theme", "dark", "--tab", "views", "--scale", "1,2", "--quiet", "--out",
                   dir.filePath("update/dark")})
                 .exitCode,
             0);
    for (const QString &file : {QStringLiteral("views.png"), QStringLiteral("views@2x.png")}) {
        QFile::remove(baseline + "/light/" + file);
        QVERIFY(QFile::copy(dir.filePath("update/dark/dark/" + file), baseline + "/light/" + file));
    }
    const QString out = dir.filePath("update/out");
    const Run run = shot({"--theme", "light", "--tab", "views", "--scale", "2", "--quiet", "--out",
                          out, "--compare", baseline, "--update-baseline"});
    QCOMPARE(run.exitCode, 0);
    QVERIFY2(run.out.contains("FAIL"), qPrintable(run.out));
    const auto updated = filesUnder(baseline);
    QCOMPARE(updated.value("light/views@2x.png"), filesUnder(out).value("light/views@2x.png"));
    QCOMPARE(updated.value("light/views.png"),
             filesUnder(dir.filePath("update/dark")).value("dark/views.png"));
    // Asked without a baseline to update, the run refuses before rendering anything.
    QCOMPARE(shot({"--theme", "light", "--update-baseline", "--out", out + "2"}).exitCode, 2);
    QVERIFY(!QFileInfo::exists(out + "2"));
}

// The page as a browser shows it: every image it refers to loads from the file
// system, and each row says what the printed table said.
void TestShot::reportPageInABrowser()
{
    const QString edited = dir.filePath(QStringLiteral("edited/baseline"));
    QVERIFY(QFileInfo::exists(edited + "/mine/views.png") || writeOnePercentChanged(edited));
    const QString out = dir.filePath("report/out");
    const Run run = shot({"--sheet", dir.filePath("base/mine.qss"), "--tab", "views,editors",
                          "--out", out, "--compare", dir.filePath("edited/baseline"), "--quiet"});
    QCOMPARE(run.exitCode, 1);
    const QMap<QString, QString> printed = tableRows(run.out);
    QCOMPARE(printed.value("views.png"), QStringLiteral("1.000 %"));
    QCOMPARE(printed.value("editors.png"), QStringLiteral("missing in baseline"));

    const QString browser = QStandardPaths::findExecutable("chromium");
    if (browser.isEmpty())
        QSKIP("chromium is not installed (scripts/test.sh installs it); the page is untested");
    QTemporaryDir profile;
    QProcess process;
    process.start(
        browser, {"--headless", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
                  "--disable-background-networking", "--disable-component-update", "--disable-sync",
                  "--user-data-dir=" + profile.path(), "--virtual-time-budget=5000", "--dump-dom",
                  QUrl::fromLocalFile(out + "/diff/index.html").toString()});
    QVERIFY(process.waitForFinished(120000));
    const QString dom = QString::fromUtf8(process.readAllStandardOutput());
    QVERIFY2(dom.contains("id=\"summary\""),
             qPrintable(QString::fromUtf8(process.readAllStandardError())));

    // Baseline, render, difference and the blend's two for the changed image; the
    // render alone for the one without a baseline.
    static const QRegularExpression image("<img\\b[^>]*>");
    int loaded = 0, images = 0;
    for (auto it = image.globalMatch(dom); it.hasNext(); ++images) {
        const QString tag = it.next().captured();
        QVERIFY2(tag.contains("data-state=\"loaded\""), qPrintable(tag));
        ++loaded;
    }
    QCOMPARE(images, 6);
    QCOMPARE(loaded, images);

    static const QRegularExpression row(
        "<td class=\"image\">([^<]*)</td>.*?<td class=\"share\">([^<]*)</td>",
        QRegularExpression::DotMatchesEverythingOption);
    QMap<QString, QString> shown;
    for (auto it = row.globalMatch(dom); it.hasNext();) {
        const QRegularExpressionMatch match = it.next();
        shown.insert(match.captured(1), match.captured(2));
    }
    QCOMPARE(shown, printed);
    static const QRegularExpression summary("<p id=\"summary\">([^<]*)</p>");
    QCOMPARE(summary.match(dom).captured(1), run.out.trimmed().split('\n').last());
    // Largest change first; an image missing on a side counts as wholly changed.
    QVERIFY(dom.indexOf("editors.png") < dom.indexOf("views.png"));
}

QTEST_MAIN(TestShot)
#include "tst_shot.moc"
