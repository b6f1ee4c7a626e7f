// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "audit/stateaudit.h"
#include "testsupport.h"

#include <QDirIterator>
#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

// prismark-shot --audit: the states a user sees, measured; faults planted in a sheet
// are found and named where the sheet paints them, and a sheet that styles the
// states well gets no such finding.
class TestShotAudit : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void measures_data();
    void measures();
    void plantedFaults_data();
    void plantedFaults();
    void formatsAsLintWritesThem();
    void stripsRepeatToTheByte();
    void formObjectNamesStayInTheFolder();

private:
    using Run = ProgramRun;
    Run shot(const QStringList &arguments);
    QString writeSheet(const QString &name, const QString &text);

    QTemporaryDir dir;
    QString bad;
    QString good;
    Run audit;
    // Each finding's own line, as JSON keeps it.
    QStringList messages;
};

namespace {

// White page; buttons and line edits black on white with a black border.
const char kSheetHead[] = "/*\n"
                          " * @palette Window = #ffffff\n"
                          " * @palette Base = #ffffff\n"
                          " */\n"
                          "QPushButton { background: #ffffff; color: #000000; "
                          "border: 1px solid #000000; padding: 4px; }\n";

// Hover painted like normal, disabled text nearly white, a line edit with no focus,
// and (by leaving them out) no pressed or checked look.
const char kBadSheet[] = "QPushButton:hover { background: #ffffff; }\n"
                         "QPushButton:disabled { color: #dddddd; }\n"
                         "QLineEdit { background: #ffffff; color: #000000; "
                         "border: 1px solid #000000; }\n"
                         "QSpinBox::up-button { background: #ffffff; border: 1px solid #000000; }\n"
                         "QTabBar::tab { background: #ffffff; color: #000000; }\n";

const char kGoodSheet[] =
    "QPushButton:hover { background: #000000; color: #ffffff; }\n"
    "QPushButton:pressed { background: #ffffff; color: #000000; "
    "border: 3px solid #000000; }\n"
    "QPushButton:focus { background: #1040a0; color: #ffffff; }\n"
    "QPushButton:disabled { color: #595959; }\n"
    "QPushButton:checked { background: #000000; color: #ffffff; }\n"
    "QLineEdit { background: #ffffff; color: #000000; "
    "border: 1px solid #000000; }\n"
    "QLineEdit:focus { border: 3px solid #000000; }\n"
    "QSpinBox::up-button { background: #ffffff; border: 1px solid #000000; }\n"
    "QSpinBox::up-button:pressed { background: #000000; }\n"
    "QTabBar::tab { background: #ffffff; color: #000000; }\n"
    "QTabBar::tab:pressed { background: #000000; color: #ffffff; }\n"
    "QComboBox { background: #ffffff; color: #000000; }\n"
    "QComboBox:on { background: #000000; color: #ffffff; }\n";

QMap<QString, QByteArray> filesUnder(const QString &root)
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

QImage framed(QSize size, QRgb inside, QRgb border)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(inside);
    for (int x = 0; x < size.width(); ++x) {
        image.setPixel(x, 0, border);
        image.setPixel(x, size.height() - 1, border);
    }
    for (int y = 0; y < size.height(); ++y) {
        image.setPixel(0, y, border);
        image.setPixel(size.width() - 1, y, border);
    }
    return image;
}

} // namespace

TestShotAudit::Run TestShotAudit::shot(const QStringList &arguments)
{
    return runProgram(QStringLiteral(PRISMARK_SHOT_EXECUTABLE), arguments);
}

QString TestShotAudit::writeSheet(const QString &name, const QString &text)
{
    const QString path = dir.filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(text.toUtf8()) < 0)
        return QString();
    return path;
}

void TestShotAudit::initTestCase()
{
    QVERIFY(dir.isValid());
    bad = writeSheet("bad.qss", QLatin1String(kSheetHead) + QLatin1String(kBadSheet));
    good = writeSheet("good.qss", QLatin1String(kSheetHead) + QLatin1String(kGoodSheet));
    audit = shot({"--sheet", bad, "--sheet", good, "--tab", "overview", "--audit", "--quiet",
                  "--format", "json", "--out", dir.filePath("both")});
    QCOMPARE(audit.exitCode, 1);
    for (const QJsonValue &entry : QJsonDocument::fromJson(audit.out.toUtf8()).array())
        messages << entry.toObject().value("message").toString();
    QVERIFY(!messages.isEmpty());
}

void TestShotAudit::measures_data()
{
    QTest::addColumn<QImage>("before");
    QTest::addColumn<QImage>("after");
    QTest::addColumn<bool>("visible");
    const QSize size(40, 20);
    QTest::newRow("a black outline on white is visible")
        << framed(size, qRgb(255, 255, 255), qRgb(255, 255, 255))
        << framed(size, qRgb(255, 255, 255), qRgb(0, 0, 0)) << true;
    QTest::newRow("an outline at 2:1 is not")
        << framed(size, qRgb(255, 255, 255), qRgb(255, 255, 255))
        << framed(size, qRgb(255, 255, 255), qRgb(0xa0, 0xa0, 0xa0)) << false;
    QTest::newRow("a whole fill changed by less than 3:1 is not")
        << framed(size, qRgb(255, 255, 255), qRgb(0, 0, 0))
        << framed(size, qRgb(0xc0, 0xc0, 0xc0), qRgb(0, 0, 0)) << false;
    QImage dot = framed(size, qRgb(255, 255, 255), qRgb(255, 255, 255));
    for (int x = 10; x < 20; ++x)
        dot.setPixel(x, 10, qRgb(0, 0, 0));
    QTest::newRow("a short black line is fewer pixels than an outline")
        << framed(size, qRgb(255, 255, 255), qRgb(255, 255, 255)) << dot << false;
}

void TestShotAudit::measures()
{
    QFETCH(QImage, before);
    QFETCH(QImage, after);
    QFETCH(bool, visible);
    const StateDifference difference = measureStateDifference(before, after, before.size());
    QCOMPARE(difference.visible(), visible);
    QVERIFY(difference.outline > 0 && difference.outline <= outlinePixels(QSize(40, 20)));
}

void TestShotAudit::plantedFaults_data()
{
    QTest::addColumn<QString>("line"); // start of the finding's line
    QTest::addColumn<bool>("found");
    QTest::addColumn<QString>("rule"); // how the rest of the line names it
    QTest::newRow("a line edit without a focus style")
        << "bad/overview/overviewLineEdit focus: no visible focus" << true
        << "no rule names :focus, \"QLineEdit\" at " + QDir(dir.path()).filePath("bad.qss:8:1") +
               " paints the widget";
    QTest::newRow("hover painted like normal")
        << "bad/overview/overviewPushButton hover: hover looks like normal" << true
        << "painted by \"QPushButton:hover\" at " + QDir(dir.path()).filePath("bad.qss:6:1");
    QTest::newRow("disabled text too faint to read")
        << "bad/overview/overviewPushButton disabled: disabled text unreadable" << true
        << "painted by \"QPushButton:disabled\" at " + QDir(dir.path()).filePath("bad.qss:7:1");
    QTest::newRow("a checkable button with no checked look")
        << "bad/overview/overviewCheckableButton checked: checked looks like unchecked" << true
        << "no rule names :checked, \"QPushButton\" at " +
               QDir(dir.path()).filePath("bad.qss:5:1") + " paints the widget";
    QTest::newRow("a checked button filled black")
        << "good/overview/overviewCheckableButton checked:" << false << QString();
    QTest::newRow("a line edit whose focus border is thick and black")
        << "good/overview/overviewLineEdit focus:" << false << QString();
    QTest::newRow("a button whose hover inverts it")
        << "good/overview/overviewPushButton hover:" << false << QString();
    QTest::newRow("a button whose focus fills it")
        << "good/overview/overviewPushButton focus:" << false << QString();
    QTest::newRow("disabled text at 7:1")
        << "good/overview/overviewPushButton disabled:" << false << QString();
    QTest::newRow("a press that thickens the border")
        << "good/overview/overviewPushButton pressed:" << false << QString();
    // Pressed beyond buttons: a real press on a spin box's step button, a tab, a
    // combo box (its list opens), each painted pressed only where the sheet says so.
    QTest::newRow("a spin box's step button with no pressed look")
        << "bad/overview/overviewSpinBox pressed: pressed looks like normal" << true << QString();
    QTest::newRow("a tab with no pressed look")
        << "bad/overview/overviewNestedTabWidget pressed: pressed looks like normal" << true
        << QString();
    QTest::newRow("a step button that turns black when pressed")
        << "good/overview/overviewSpinBox pressed:" << false << QString();
    QTest::newRow("a tab that turns black when pressed")
        << "good/overview/overviewNestedTabWidget pressed:" << false << QString();
    QTest::newRow("a combo box that turns black while its list is open")
        << "good/overview/overviewComboBox pressed:" << false << QString();
}

void TestShotAudit::plantedFaults()
{
    QFETCH(QString, line);
    QFETCH(bool, found);
    QFETCH(QString, rule);
    QStringList matching;
    for (const QString &output : qAsConst(messages))
        if (output.startsWith(line))
            matching << output;
    QCOMPARE(matching.size(), found ? 1 : 0);
    if (found)
        QVERIFY2(matching.first().endsWith(rule), qPrintable(matching.first()));
}

// Text and SARIF give a group per rule and check, JSON an entry per finding that
// names its group.
void TestShotAudit::formatsAsLintWritesThem()
{
    const QStringList common{"--sheet", bad, "--tab", "overview", "--audit", "--quiet"};
    const Run text = shot(common + QStringList{"--out", dir.filePath("text")});
    const Run json = shot(common + QStringList{"--out", dir.filePath("json"), "--format", "json"});
    const Run sarif =
        shot(common + QStringList{"--out", dir.filePath("sarif"), "--format", "sarif"});
    QCOMPARE(text.exitCode, 1);
    QCOMPARE(json.exitCode, 1);
    QCOMPARE(sarif.exitCode, 1);

    const QJsonArray array = QJsonDocument::fromJson(json.out.toUtf8()).array();
    QStringList groups;
    for (const QJsonValue &value : array) {
        const QJsonObject entry = value.toObject();
        QCOMPARE(entry.keys(),
                 QStringList({"check", "column", "file", "group", "line", "message", "severity"}));
        QCOMPARE(entry.value("severity").toString(), QStringLiteral("warning"));
        // Findings with a rule point at it in the sheet, and are grouped by it.
        const QString group = entry.value("group").toString();
        if (entry.value("line").toInt() > 0) {
            QCOMPARE(entry.value("file").toString(), bad);
            QVERIFY2(group.startsWith(
                         QStringLiteral("%1:%2:").arg(bad).arg(entry.value("line").toInt())),
                     qPrintable(group));
        }
        QVERIFY2(group.endsWith(" " + entry.value("check").toString()), qPrintable(group));
        if (!groups.contains(group))
            groups << group;
    }
    // The line edit's and the buttons' rules fail at least.
    QVERIFY(groups.size() > 1 && groups.size() <= array.size());

    const QStringList lines = text.out.trimmed().split('\n');
    QVERIFY2(lines.last().endsWith(
                 QStringLiteral(" warnings in 1 themes, in %1 groups").arg(groups.size())),
             qPrintable(lines.last()));
    QVERIFY(lines.last().startsWith(QStringLiteral("%1 warnings").arg(array.size())));
    int headings = 0;
    for (const QString &line : lines)
        headings += line.contains(QRegularExpression(", \\d+ findings? on \\d+ widgets?$"));
    QCOMPARE(headings, groups.size());

    const QJsonObject log = QJsonDocument::fromJson(sarif.out.toUtf8()).object();
    QCOMPARE(log.value("version").toString(), QStringLiteral("2.1.0"));
    const QJsonObject run = log.value("runs").toArray().at(0).toObject();
    const QJsonArray rules =
        run.value("tool").toObject().value("driver").toObject().value("rules").toArray();
    const QJsonArray results = run.value("results").toArray();
    QCOMPARE(results.size(), groups.size());
    for (const QJsonValue &value : results) {
        const QJsonObject result = value.toObject();
        const int index = result.value("ruleIndex").toInt();
        QCOMPARE(rules.at(index).toObject().value("id").toString(),
                 result.value("ruleId").toString());
        const QJsonObject physical = result.value("locations")
                                         .toArray()
                                         .at(0)
                                         .toObject()
                                         .value("physicalLocation")
                                         .toObject();
        const int line = physical.value("region").toObject().value("startLine").toInt();
        // Each result is one group's, at its rule's line.
        int matching = 0;
        for (const QString &group : qAsConst(groups))
            matching += group.startsWith(QStringLiteral("%1:%2:").arg(bad).arg(line)) &&
                        group.endsWith(" " + result.value("ruleId").toString());
        QVERIFY2(line == 0 || matching == 1, qPrintable(result.value("message").toString()));
    }
}

// The same strips whether a theme is audited alone or after another.
void TestShotAudit::stripsRepeatToTheByte()
{
    QCOMPARE(shot({"--sheet", bad, "--tab", "overview", "--audit", "--quiet", "--out",
                   dir.filePath("alone")})
                 .exitCode,
             1);
    const auto alone = filesUnder(dir.filePath("alone"));
    const auto both = filesUnder(dir.filePath("both"));
    QVERIFY(alone.contains("bad/states/overview/overviewPushButton.png"));
    QVERIFY(alone.contains("bad/states/overview/overviewLineEdit.png"));
    for (auto it = alone.cbegin(); it != alone.cend(); ++it)
        QVERIFY2(both.value(it.key()) == it.value(), qPrintable(it.key()));
    // The button's strip: normal, hover, pressed, focus and disabled side by side,
    // each the widget and a margin of 4 pixels.
    const QImage strip(dir.filePath("alone/bad/states/overview/overviewPushButton.png"));
    QCOMPARE((strip.width() + 2) % 5, 0);
}

// Names come from the author's form; none may write outside the strip folder or
// over another widget's strip.
void TestShotAudit::formObjectNamesStayInTheFolder()
{
    const QString form = writeSheet(
        "names.ui",
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<ui version=\"4.0\">\n"
        "<widget class=\"QWidget\" name=\"root\"><layout class=\"QVBoxLayout\" name=\"box\">\n"
        "<item><widget class=\"QPushButton\" name=\"../../escape\"><property name=\"text\">"
        "<string>One</string></property></widget></item>\n"
        "<item><widget class=\"QPushButton\" name=\"twin\"><property name=\"text\">"
        "<string>Two</string></property></widget></item>\n"
        "<item><widget class=\"QPushButton\" name=\"twin\"><property name=\"text\">"
        "<string>Three</string></property></widget></item>\n"
        "</layout></widget>\n</ui>\n");
    const QString out = dir.filePath("names");
    const Run run = shot(
        {"--sheet", good, "--tab", "overview", "--form", form, "--audit", "--quiet", "--out", out});
    QVERIFY2(run.exitCode == 0 || run.exitCode == 1, qPrintable(run.err));
    QCOMPARE(QDir(out + "/good/states/form-names").entryList(QDir::Files, QDir::Name),
             QStringList({"_.._.._escape.png", "twin-2.png", "twin.png"}));
    QVERIFY(!QFileInfo::exists(dir.filePath("escape.png")));
}

QTEST_GUILESS_MAIN(TestShotAudit)
#include "tst_shotaudit.moc"
