// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "audit/controlparts.h"
#include "audit/wcagaudit.h"
#include "prismark-shot/imagewriter.h"
#include "prismark-shot/wcagpage.h"
#include "testsupport.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QProgressBar>
#include <QRegularExpression>
#include <QSet>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QUrl>
#include <QtTest>

// prismark-shot --audit=wcag through the program: a sheet that passes every
// criterion on a small form, and the same sheet with one fault planted per
// criterion, each found exactly where it was planted and named by the planted line.
class TestShotWcag : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void boundaryContrastOfParts_data();
    void boundaryContrastOfParts();
    void targetSpacing_data();
    void targetSpacing();
    void largeText_data();
    void largeText();
    void progressChunkIsMeasuredWherePainted_data();
    void progressChunkIsMeasuredWherePainted();
    void eachThemesPageShowsItsOwnCrops();
    void plantedFaults_data();
    void plantedFaults();
    void adviceAloneDoesNotFail_data();
    void adviceAloneDoesNotFail();
    void sarifNamesTheCriterion();
    void oneRuleOnSeveralWidgetsIsOneGroup();
    void pageInABrowser();

private:
    using Run = ProgramRun;
    Run shot(const QStringList &arguments);
    QString writeSheet(const QString &name, const QString &text);

    QTemporaryDir dir;
    QStringList sheets;
    int plantedLine = 0;
    Run audit;
};

namespace {

// Black page, white text and borders; focus fills a button yellow or widens an
// input's border to 4 yellow pixels; step buttons 24 × 24; disabled text at 8:1,
// and an input's light enough that Qt 6's half-transparent placeholder stays 4.5:1.
const char kCleanSheet[] =
    "/*\n"
    " * @palette Window = #000000\n"
    " * @palette WindowText = #ffffff\n"
    " * @palette Base = #000000\n"
    " * @palette Text = #ffffff\n"
    " * @palette Button = #000000\n"
    " * @palette ButtonText = #ffffff\n"
    " */\n"
    "QLabel { color: #ffffff; }\n"
    "QLabel:disabled { color: #a0a0a0; }\n"
    "QPushButton { background: #000000; color: #ffffff; border: 1px solid #ffffff; "
    "padding: 4px; }\n"
    "QPushButton:focus { background: #ffe060; color: #000000; }\n"
    "QPushButton:disabled { color: #a0a0a0; border-color: #a0a0a0; }\n"
    "QLineEdit, QSpinBox { background: #000000; color: #ffffff; border: 1px solid #ffffff; "
    "padding: 2px; }\n"
    "QLineEdit:focus, QSpinBox:focus { border: 4px solid #ffe060; }\n"
    "QLineEdit:disabled, QSpinBox:disabled { color: #f4f4f4; border-color: #a0a0a0; }\n"
    "QSpinBox { min-height: 48px; padding-right: 26px; }\n"
    "QSpinBox::up-button { subcontrol-origin: border; subcontrol-position: top right; "
    "width: 24px; height: 24px; background: #000000; border: 1px solid #ffffff; }\n"
    "QSpinBox::down-button { subcontrol-origin: border; subcontrol-position: bottom right; "
    "width: 24px; height: 24px; background: #000000; border: 1px solid #ffffff; }\n"
    "QSpinBox::up-button:pressed, QSpinBox::down-button:pressed { background: #ffe060; }\n";

// Each planted as the clean sheet's last line.
const struct
{
    const char *sheet;
    const char *line;
} kFaults[] = {
    {"clean", ""},
    {"focus-removed", "QPushButton:focus { background: #000000; color: #ffffff; }"},
    {"dim-border", "QLineEdit { border-color: #4e4e4e; }"},
    {"small-step", "QSpinBox::up-button { width: 16px; height: 16px; }"},
    {"dim-placeholder", "QLineEdit { color: #404040; }"},
    {"dim-hover-border", "QLineEdit:hover { border-color: #404040; }"},
    {"dim-border-dimmer-on-hover",
     "QLineEdit { border-color: #4e4e4e; } QLineEdit:hover { border-color: #404040; }"},
    {"dim-disabled-border", "QLineEdit:disabled { border-color: #404040; }"},
    {"dim-disabled-label", "QLabel:disabled { color: #404040; }"},
};

const QString kForm = QStringLiteral(PRISMARK_SHOT_FIXTURES_DIR "/wcag-form.ui");
const QString kFormTab = QStringLiteral("form-wcag-form");

QImage framed(QSize size, QRgb page, QRgb inside, QRgb border, int margin)
{
    QImage image(size + QSize(2 * margin, 2 * margin), QImage::Format_RGB32);
    image.fill(page);
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x) {
            const bool edge = x == 0 || y == 0 || x == size.width() - 1 || y == size.height() - 1;
            image.setPixel(margin + x, margin + y, edge ? border : inside);
        }
    return image;
}

// The grouped text, each group a heading
// "FILE:LINE:COLUMN "RULE": CRITERION ... SEVERITY, N findings on N widgets" and a
// line "  widgets: THEME/TAB: OBJECT, OBJECT (STATE, STATE); ...", as
// "OBJECT STATE CRITERION SEVERITY LINE" per finding, by theme.
QMap<QString, QStringList> findingsByTheme(const QString &out)
{
    static const QRegularExpression heading(
        QStringLiteral("^(?:.*:(\\d+):\\d+ \".*\"|\\S+: palette / no rule): ([0-9.]+) .*?\\) "
                       "(failure|advice), \\d+ findings? on \\d+ widgets?$"));
    static const QRegularExpression run(QStringLiteral("([^()]+?) \\(([^)]*)\\)(?:, |$)"));
    QMap<QString, QStringList> found;
    QRegularExpressionMatch group;
    for (const QString &line : out.split(QLatin1Char('\n'))) {
        const QRegularExpressionMatch match = heading.match(line);
        if (match.hasMatch()) {
            group = match;
            continue;
        }
        if (!group.hasMatch() || !line.startsWith(QLatin1String("  widgets: ")))
            continue;
        for (const QString &tab : line.mid(11).split(QStringLiteral("; "))) {
            const QString theme = tab.section(QLatin1Char('/'), 0, 0);
            for (auto it = run.globalMatch(tab.section(QStringLiteral(": "), 1)); it.hasNext();) {
                const QRegularExpressionMatch widgets = it.next();
                for (const QString &object : widgets.captured(1).split(QStringLiteral(", ")))
                    for (const QString &state : widgets.captured(2).split(QStringLiteral(", ")))
                        found[theme] << QStringList{object, state, group.captured(2),
                                                    group.captured(3), group.captured(1)}
                                            .join(QLatin1Char(' '));
            }
        }
    }
    return found;
}

} // namespace

TestShotWcag::Run TestShotWcag::shot(const QStringList &arguments)
{
    return runProgram(QStringLiteral(PRISMARK_SHOT_EXECUTABLE), arguments);
}

QString TestShotWcag::writeSheet(const QString &name, const QString &text)
{
    const QString path = dir.filePath(name + QStringLiteral(".qss"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(text.toUtf8()) < 0)
        return QString();
    return path;
}

void TestShotWcag::initTestCase()
{
    QVERIFY(dir.isValid());
    plantedLine = QString::fromLatin1(kCleanSheet).count(QLatin1Char('\n')) + 1;
    QStringList arguments;
    for (const auto &fault : kFaults) {
        sheets << writeSheet(QLatin1String(fault.sheet), QLatin1String(kCleanSheet) +
                                                             QLatin1String(fault.line) +
                                                             QLatin1Char('\n'));
        arguments << QStringLiteral("--sheet") << sheets.last();
    }
    audit = shot(arguments + QStringList{"--tab", "none", "--form", kForm, "--audit=wcag",
                                         "--quiet", "--out", dir.filePath("strips"), "--html",
                                         dir.filePath("pages")});
    QVERIFY2(audit.exitCode == 1, qPrintable(audit.err + audit.out));
}

void TestShotWcag::boundaryContrastOfParts_data()
{
    QTest::addColumn<QImage>("image");
    QTest::addColumn<int>("band");
    QTest::addColumn<double>("least");
    QTest::addColumn<double>("most");
    const QSize size(40, 20);
    const QRgb white = qRgb(255, 255, 255), black = qRgb(0, 0, 0);
    QTest::newRow("a black border on white")
        << framed(size, white, white, black, 2) << 2 << 20.9 << 21.0;
    QTest::newRow("a border at 2.5:1 reads as 2.5:1")
        << framed(size, black, black, qRgb(0x4e, 0x4e, 0x4e), 2) << 2 << 2.45 << 2.6;
    QTest::newRow("no border but a fill that stands out")
        << framed(size, white, black, black, 2) << 0 << 20.9 << 21.0;
    QImage text = framed(size, white, white, white, 2);
    for (int x = 10; x < 30; ++x)
        text.setPixel(x, 12, black);
    QTest::newRow("text inside a borderless input is no border") << text << 2 << 1.0 << 1.01;
}

void TestShotWcag::boundaryContrastOfParts()
{
    QFETCH(QImage, image);
    QFETCH(int, band);
    QFETCH(double, least);
    QFETCH(double, most);
    const double ratio = boundaryContrast(image, image.rect().adjusted(2, 2, -2, -2), band);
    QVERIFY2(ratio >= least && ratio <= most, qPrintable(QString::number(ratio)));
}

void TestShotWcag::targetSpacing_data()
{
    QTest::addColumn<QRectF>("target");
    QTest::addColumn<QVector<QRectF>>("others");
    QTest::addColumn<bool>("spaced");
    const QRectF step(100, 100, 16, 16);
    QTest::newRow("alone") << step << QVector<QRectF>{} << true;
    QTest::newRow("a target 5 px away")
        << step << QVector<QRectF>{QRectF(121, 100, 40, 24)} << true;
    QTest::newRow("a target 2 px away")
        << step << QVector<QRectF>{QRectF(118, 100, 40, 24)} << false;
    QTest::newRow("another 16 px button right under it")
        << step << QVector<QRectF>{QRectF(100, 116, 16, 16)} << false;
}

void TestShotWcag::targetSpacing()
{
    QFETCH(QRectF, target);
    QFETCH(QVector<QRectF>, others);
    QFETCH(bool, spaced);
    QVector<QRectF> small;
    for (const QRectF &other : others)
        if (other.width() < 24 || other.height() < 24)
            small << other;
    QCOMPARE(targetSpaced(target, others, small), spaced);
}

void TestShotWcag::largeText_data()
{
    QTest::addColumn<double>("points");
    QTest::addColumn<bool>("bold");
    QTest::addColumn<bool>("large");
    QTest::newRow("18 pt") << 18.0 << false << true;
    QTest::newRow("14 pt bold") << 14.0 << true << true;
    QTest::newRow("14 pt not bold") << 14.0 << false << false;
    QTest::newRow("17 pt") << 17.0 << false << false;
}

void TestShotWcag::largeText()
{
    QFETCH(double, points);
    QFETCH(bool, bold);
    QFETCH(bool, large);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPointSizeF(points);
    font.setBold(bold);
    QCOMPARE(isLargeText(font), large);
}

void TestShotWcag::progressChunkIsMeasuredWherePainted_data()
{
    QTest::addColumn<bool>("rightToLeft");
    QTest::newRow("left to right: from the left end") << false;
    QTest::newRow("right to left: from the right end") << true;
}

void TestShotWcag::progressChunkIsMeasuredWherePainted()
{
    QFETCH(bool, rightToLeft);
    QProgressBar bar;
    bar.setLayoutDirection(rightToLeft ? Qt::RightToLeft : Qt::LeftToRight);
    bar.setTextVisible(false);
    bar.setStyleSheet(QStringLiteral("QProgressBar { background: #ffffff; border: none; }"
                                     "QProgressBar::chunk { background: #ff0000; }"));
    bar.setValue(30);
    bar.resize(200, 24);
    QRect groove;
    const QRect chunk = progressChunk(&bar, &groove);
    const QImage painted = bar.grab().toImage();
    QCOMPARE(painted.pixelColor(chunk.center()), QColor(255, 0, 0));
    const QPoint mirrored(groove.left() + groove.right() - chunk.center().x(), chunk.center().y());
    QCOMPARE(painted.pixelColor(mirrored), QColor(255, 255, 255));
}

// Themes' findings come interleaved; each page's crops are its own, in its order.
void TestShotWcag::eachThemesPageShowsItsOwnCrops()
{
    WcagReport report;
    report.themes = QStringList{QStringLiteral("first"), QStringLiteral("second")};
    // The last crop is the first's again: one file for both.
    const QVector<QPair<QString, QRgb>> findings{{QStringLiteral("first"), qRgb(255, 0, 0)},
                                                 {QStringLiteral("second"), qRgb(0, 255, 0)},
                                                 {QStringLiteral("first"), qRgb(0, 0, 255)},
                                                 {QStringLiteral("first"), qRgb(255, 0, 0)}};
    for (const auto &[theme, colour] : findings) {
        WcagFinding finding;
        finding.theme = theme;
        finding.crop = QImage(8, 8, QImage::Format_RGB32);
        finding.crop.fill(colour);
        report.findings << finding;
    }
    QTemporaryDir pages;
    ImageWriter writer;
    QVERIFY(writeWcagPages(report, pages.path(), writer));
    writer.waitForDone();
    const auto crop = [&pages](const QString &theme, int index) {
        return QImage(pages.filePath(theme + QLatin1Char('/') + wcagCropPath(index))).pixel(0, 0);
    };
    QCOMPARE(crop(QStringLiteral("first"), 0), qRgb(255, 0, 0));
    QCOMPARE(crop(QStringLiteral("first"), 1), qRgb(0, 0, 255));
    QCOMPARE(crop(QStringLiteral("second"), 0), qRgb(0, 255, 0));
    QVERIFY(!QFileInfo::exists(pages.filePath(QStringLiteral("first/") + wcagCropPath(2))));
    QVERIFY(!QFileInfo::exists(pages.filePath(QStringLiteral("second/") + wcagCropPath(1))));
}

void TestShotWcag::plantedFaults_data()
{
    QTest::addColumn<QString>("sheet");
    QTest::addColumn<QStringList>("expected"); // OBJECT STATE CRITERION SEVERITY
    QTest::newRow("a sheet that passes everything") << "clean" << QStringList{};
    QTest::newRow("a focus look painted like normal")
        << "focus-removed"
        << QStringList{"okButton focus 2.4.7 failure", "okButton focus 2.4.13 failure"};
    QTest::newRow("an input border at 2.5:1")
        << "dim-border" << QStringList{"nameEdit normal 1.4.11 failure"};
    QTest::newRow("a 16 px step button 2 px from the next button")
        << "small-step" << QStringList{"countSpinBox normal 2.5.8 failure"};
    QTest::newRow("placeholder text at 2:1")
        << "dim-placeholder"
        << QStringList{"nameEdit normal 1.4.3 failure", "nameEdit hover 1.4.3 failure",
                       "nameEdit focus 1.4.3 failure"};
    QTest::newRow("a disabled label at 2:1 is advice only")
        << "dim-disabled-label" << QStringList{"nameLabel disabled 1.4.3 advice"};
    QTest::newRow("an input border at 2:1 on hover only")
        << "dim-hover-border" << QStringList{"nameEdit hover 1.4.11 failure"};
    QTest::newRow("an input border short in normal and by another rule on hover")
        << "dim-border-dimmer-on-hover"
        << QStringList{"nameEdit normal 1.4.11 failure", "nameEdit hover 1.4.11 failure"};
    QTest::newRow("a disabled input border at 2:1 is advice only")
        << "dim-disabled-border" << QStringList{"nameEdit disabled 1.4.11 advice"};
}

void TestShotWcag::plantedFaults()
{
    QFETCH(QString, sheet);
    QFETCH(QStringList, expected);
    const QStringList found = findingsByTheme(audit.out).value(sheet);
    for (QString &line : expected)
        line += QStringLiteral(" ") + QString::number(plantedLine);
    QCOMPARE(found, expected);
    // The criteria table: every criterion passes but the one planted.
    static const QRegularExpression header(QStringLiteral("^criterion\\s"));
    const QStringList lines = audit.out.split(QLatin1Char('\n'));
    int row = -1;
    for (int index = 0; index < lines.size(); ++index)
        if (header.match(lines[index]).hasMatch())
            row = index;
    QVERIFY2(row >= 0, qPrintable(audit.out));
    static const QRegularExpression cells(QStringLiteral("\\s{2,}"));
    const int column = lines[row].split(cells).indexOf(sheet);
    QVERIFY(column > 0);
    for (const WcagCriterion &criterion : wcagCriteria()) {
        const QString verdict = lines[++row].split(cells).value(column);
        bool planted = false;
        for (const QString &line : qAsConst(expected))
            planted = planted || (line.section(' ', 2, 2) == QLatin1String(criterion.number) &&
                                  line.contains("failure"));
        QVERIFY2(verdict.startsWith(planted ? "fail" : "pass"),
                 qPrintable(criterion.number + QStringLiteral(": ") + lines[row]));
    }
}

void TestShotWcag::adviceAloneDoesNotFail_data()
{
    QTest::addColumn<QString>("sheet");
    QTest::newRow("disabled text") << "dim-disabled-label";
    QTest::newRow("a disabled input's border") << "dim-disabled-border";
}

void TestShotWcag::adviceAloneDoesNotFail()
{
    QFETCH(QString, sheet);
    const Run run = shot({"--sheet", dir.filePath(sheet + ".qss"), "--tab", "none", "--form", kForm,
                          "--audit=wcag", "--quiet", "--out", dir.filePath("advice")});
    QCOMPARE(run.exitCode, 0);
    QVERIFY2(run.out.contains("0 failures, 1 advice in 1 themes"), qPrintable(run.out));
}

void TestShotWcag::sarifNamesTheCriterion()
{
    const Run run =
        shot({"--sheet", sheets.at(2), "--sheet", sheets.last(), "--tab", "none", "--form", kForm,
              "--audit=wcag", "--format", "sarif", "--quiet", "--out", dir.filePath("sarif")});
    QCOMPARE(run.exitCode, 1);
    const QJsonObject sarifRun =
        QJsonDocument::fromJson(run.out.toUtf8()).object().value("runs").toArray().at(0).toObject();
    QMap<QString, QString> help;
    for (const QJsonValue &rule :
         sarifRun.value("tool").toObject().value("driver").toObject().value("rules").toArray())
        help.insert(rule.toObject().value("id").toString(),
                    rule.toObject().value("helpUri").toString());
    QCOMPARE(help.value("WCAG2.2-1.4.11"),
             QStringLiteral("https://www.w3.org/WAI/WCAG22/Understanding/non-text-contrast.html"));
    QCOMPARE(
        help.value("WCAG2.2-2.5.8"),
        QStringLiteral("https://www.w3.org/WAI/WCAG22/Understanding/target-size-minimum.html"));
    QCOMPARE(help.size(), wcagCriteria().size());
    QStringList results;
    for (const QJsonValue &value : sarifRun.value("results").toArray()) {
        const QJsonObject result = value.toObject();
        const QJsonObject physical = result.value("locations")
                                         .toArray()
                                         .at(0)
                                         .toObject()
                                         .value("physicalLocation")
                                         .toObject();
        results
            << QStringLiteral("%1 %2 %3 line %4")
                   .arg(result.value("ruleId").toString(), result.value("level").toString(),
                        QFileInfo(
                            physical.value("artifactLocation").toObject().value("uri").toString())
                            .fileName())
                   .arg(physical.value("region").toObject().value("startLine").toInt());
    }
    const QString line = QString::number(plantedLine);
    QCOMPARE(results, QStringList({"WCAG2.2-1.4.11 error dim-border.qss line " + line,
                                   "WCAG2.2-1.4.3 note dim-disabled-label.qss line " + line}));
}

// Three buttons, two of them alike, none with a focus look of its own: one group per
// criterion at the rule that paints them, whatever the format, and two crops.
void TestShotWcag::oneRuleOnSeveralWidgetsIsOneGroup()
{
    QString buttons;
    for (const char *name : {"twinButton", "otherTwinButton", "otherButton"})
        buttons +=
            QStringLiteral("<item><widget class=\"QPushButton\" name=\"%1\"><property "
                           "name=\"text\"><string>%2</string></property></widget></item>\n")
                .arg(QLatin1String(name),
                     QLatin1String(qstrcmp(name, "otherButton") ? "Same" : "Something else"));
    const QString form = writeSheet(
        "buttons.ui", "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<ui version=\"4.0\">\n"
                      "<widget class=\"QWidget\" name=\"root\"><layout class=\"QVBoxLayout\" "
                      "name=\"box\">\n" +
                          buttons + "</layout></widget>\n</ui>\n");
    const QStringList common{"--sheet", sheets.at(1),   "--tab",   "none",  "--form",
                             form,      "--audit=wcag", "--quiet", "--out", dir.filePath("group")};
    const Run text = shot(common + QStringList{"--html", dir.filePath("group-pages")});
    const Run sarif = shot(common + QStringList{"--format", "sarif"});
    const Run json = shot(common + QStringList{"--format", "json"});
    QCOMPARE(text.exitCode, 1);
    const QString line = QString::number(plantedLine);
    const QString widgets = QStringLiteral(
        "focus-removed/form-buttons-ui: twinButton, otherTwinButton, otherButton (focus)");

    const QStringList lines = text.out.split(QLatin1Char('\n'));
    for (const char *criterion : {"2.4.7", "2.4.13"}) {
        const int heading = int(lines.indexOf(QRegularExpression(
            QStringLiteral(".*:%1:1 \"QPushButton:focus\": %2 .* failure, 3 findings on 3 "
                           "widgets")
                .arg(line, QLatin1String(criterion)))));
        QVERIFY2(heading >= 0, qPrintable(text.out));
        QCOMPARE(lines.value(heading + 1), QStringLiteral("  widgets: ") + widgets);
    }
    QVERIFY2(lines.contains("6 failures, 0 advice in 1 themes, in 2 groups"), qPrintable(text.out));

    QFile page(dir.filePath("group-pages/focus-removed/index.html"));
    QVERIFY(page.open(QIODevice::ReadOnly));
    const QString html = QString::fromUtf8(page.readAll());
    static const QRegularExpression section(
        "<section class=\"group failure\" data-criterion=\"2.4.7\".*?</section>",
        QRegularExpression::DotMatchesEverythingOption);
    const QString focusVisible = section.match(html).captured();
    QVERIFY2(focusVisible.contains(widgets.toHtmlEscaped()), qPrintable(focusVisible));
    QCOMPARE(focusVisible.count("<img "), 2);
    QVERIFY2(
        focusVisible.contains(
            "<figcaption>form-buttons-ui/twinButton focus, form-buttons-ui/otherTwinButton focus"),
        qPrintable(focusVisible));

    QStringList results;
    for (const QJsonValue &value : QJsonDocument::fromJson(sarif.out.toUtf8())
                                       .object()
                                       .value("runs")
                                       .toArray()
                                       .at(0)
                                       .toObject()
                                       .value("results")
                                       .toArray()) {
        const QJsonObject result = value.toObject();
        QVERIFY(result.value("message").toObject().value("text").toString().contains(widgets));
        results << result.value("ruleId").toString() + QStringLiteral(" line ") +
                       QString::number(result.value("locations")
                                           .toArray()
                                           .at(0)
                                           .toObject()
                                           .value("physicalLocation")
                                           .toObject()
                                           .value("region")
                                           .toObject()
                                           .value("startLine")
                                           .toInt());
    }
    QCOMPARE(results, QStringList({"WCAG2.2-2.4.7 line " + line, "WCAG2.2-2.4.13 line " + line}));

    // JSON stays a finding per widget, each naming its group.
    const QJsonArray entries = QJsonDocument::fromJson(json.out.toUtf8()).array();
    QCOMPARE(entries.size(), 6);
    QSet<QString> groups;
    for (const QJsonValue &entry : entries)
        groups.insert(entry.toObject().value("group").toString());
    QCOMPARE(groups.size(), 2);
}

// The page as a browser shows it: the criteria table says what the text table said,
// and each finding's crop loads from the file system.
void TestShotWcag::pageInABrowser()
{
    const QString page = dir.filePath("pages/focus-removed/index.html");
    QVERIFY(QFileInfo::exists(page));
    const QString browser = QStandardPaths::findExecutable("chromium");
    if (browser.isEmpty())
        QSKIP("chromium is not installed (scripts/test.sh installs it); the page is untested");
    QTemporaryDir profile;
    QProcess process;
    process.start(browser, {"--headless", "--no-sandbox", "--disable-gpu", "--disable-quic",
                            "--no-first-run", "--disable-background-networking",
                            "--disable-component-update", "--disable-sync",
                            "--user-data-dir=" + profile.path(), "--virtual-time-budget=5000",
                            "--dump-dom", QUrl::fromLocalFile(page).toString()});
    QVERIFY(process.waitForFinished(120000));
    const QString dom = QString::fromUtf8(process.readAllStandardOutput());
    QVERIFY2(dom.contains("id=\"criteria\""),
             qPrintable(QString::fromUtf8(process.readAllStandardError())));
    static const QRegularExpression verdict(
        "<tr data-criterion=\"([0-9.]+)\">.*?<td class=\"(pass|fail)\">",
        QRegularExpression::DotMatchesEverythingOption);
    QMap<QString, QString> verdicts;
    for (auto it = verdict.globalMatch(dom); it.hasNext();) {
        const QRegularExpressionMatch match = it.next();
        verdicts.insert(match.captured(1), match.captured(2));
    }
    QCOMPARE(verdicts.size(), wcagCriteria().size());
    for (auto it = verdicts.cbegin(); it != verdicts.cend(); ++it)
        QCOMPARE(it.value(), QLatin1String(it.key().startsWith("2.4.") ? "fail" : "pass"));
    static const QRegularExpression image("<img\\b[^>]*>");
    int images = 0;
    for (auto it = image.globalMatch(dom); it.hasNext(); ++images) {
        const QString tag = it.next().captured();
        QVERIFY2(tag.contains("data-state=\"loaded\""), qPrintable(tag));
    }
    QCOMPARE(images, 2);
    QVERIFY2(dom.contains("QPushButton:focus"), qPrintable(dom));
    QVERIFY(dom.contains("<p id=\"summary\">2 failures, 0 advice in 2 groups</p>"));
}

QTEST_MAIN(TestShotWcag)
#include "tst_shotwcag.moc"
