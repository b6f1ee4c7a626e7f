// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "programs/prismark-profile/plantedranking.h"
#include "testsupport.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QUrl>
#include <QtTest>

// prismark-profile as its users run it: the planted culprit comes out first, cheap
// rules are never blamed, and the exit codes scripts rely on. Rankings are asserted,
// never times.
class TestProfile : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void matchingWorkFindsThePlantedRule_data();
    void matchingWorkFindsThePlantedRule();
    void timeFindsThePlantedRuleOnALargeForm();
    void cheapRulesAreNoCulprit();
    void instructionsCountedUnderCallgrind();
    void templateVariantIsProfiled();
    void refusals_data();
    void refusals();
    void reportPageInABrowser();

private:
    ProgramRun profile(const QStringList &arguments);
    QJsonObject profileJson(const QStringList &arguments);
    QString write(const QString &name, const QByteArray &text);

    QTemporaryDir dir;
    QString largeForm;
};

namespace {

// The group holding the rule of this line, or an empty object.
QJsonObject groupOfLine(const QJsonObject &report, int line)
{
    for (const QJsonValue &group : report.value("groups").toArray()) {
        for (const QJsonValue &groupLine : group.toObject().value("lines").toArray()) {
            if (groupLine.toInt() == line)
                return group.toObject();
        }
    }
    return QJsonObject();
}

QJsonObject ruleOfLine(const QJsonObject &report, int line)
{
    for (const QJsonValue &rule : report.value("rules").toArray()) {
        if (rule.toObject().value("line").toInt() == line)
            return rule.toObject();
    }
    return QJsonObject();
}

// A form of 400 labels in forty nested frames, each label flagged as the planted
// rule's attribute selector asks: the planted rule is over half of the apply here as
// on 2,000 labels, and each pass a fifth as long.
constexpr int kLabelsPerFrame = 10;

QByteArray largeFormText()
{
    QByteArray ui = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<ui version=\"4.0\">\n"
                    "<class>Large</class>\n<widget class=\"QWidget\" name=\"Large\">\n"
                    "<layout class=\"QGridLayout\" name=\"grid\">\n";
    for (int frame = 0; frame < 40; ++frame) {
        ui += QStringLiteral("<item row=\"%1\" column=\"%2\"><widget class=\"QFrame\" "
                             "name=\"frame%3\"><layout class=\"QVBoxLayout\" name=\"column%3\">\n")
                  .arg(frame / 8)
                  .arg(frame % 8)
                  .arg(frame)
                  .toUtf8();
        for (int label = 0; label < kLabelsPerFrame; ++label)
            ui += QStringLiteral("<item><widget class=\"QLabel\" name=\"label%1_%2\">"
                                 "<property name=\"text\"><string>x</string></property>"
                                 "<property name=\"flag\" stdset=\"0\"><string>on</string>"
                                 "</property></widget></item>\n")
                      .arg(frame)
                      .arg(label)
                      .toUtf8();
        ui += "</layout></widget></item>\n";
    }
    ui += "</layout>\n</widget>\n</ui>\n";
    return ui;
}

// 50 labels, flagged likewise: the planted rule is two thirds of the instructions,
// and the form small enough for callgrind.
QByteArray smallFormText()
{
    QByteArray ui = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<ui version=\"4.0\">\n"
                    "<class>Small</class>\n<widget class=\"QWidget\" name=\"Small\">\n"
                    "<layout class=\"QVBoxLayout\" name=\"column\">\n";
    for (int label = 0; label < 50; ++label)
        ui += QStringLiteral("<item><widget class=\"QLabel\" name=\"label%1\">"
                             "<property name=\"flag\" stdset=\"0\"><string>on</string>"
                             "</property></widget></item>\n")
                  .arg(label)
                  .toUtf8();
    return ui + "</layout>\n</widget>\n</ui>\n";
}

} // namespace

void TestProfile::initTestCase()
{
    QVERIFY(dir.isValid());
    largeForm = write("large.ui", largeFormText());
}

ProgramRun TestProfile::profile(const QStringList &arguments)
{
    return runProgram(QStringLiteral(PRISMARK_PROFILE_EXECUTABLE), arguments);
}

QJsonObject TestProfile::profileJson(const QStringList &arguments)
{
    const ProgramRun run = profile(QStringList{"--format", "json"} + arguments);
    if (run.exitCode != 0)
        qWarning("%s", qPrintable(run.err));
    return QJsonDocument::fromJson(run.out.toUtf8()).object();
}

QString TestProfile::write(const QString &name, const QByteArray &text)
{
    QFile file(dir.filePath(name));
    if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size())
        return QString();
    return file.fileName();
}

// Counting is deterministic: one round of timing is enough.
void TestProfile::matchingWorkFindsThePlantedRule_data()
{
    QTest::addColumn<QByteArray>("sheet");
    QTest::addColumn<int>("plantedLine");
    QTest::addColumn<QString>("reason");

    const QByteArray cheap = "QPushButton { color: #202020; }\n"
                             "QComboBox { color: #202020; }\n"
                             "#noSuchWidget { color: red; }\n";
    QTest::newRow("attribute selector under a universal one")
        << cheap + "* [flag=\"on\"] { color: blue; }\n"
        << 4 << "unindexed";
    QTest::newRow("universal hover") << cheap + "*:hover { background: #eeeeee; }\n"
                                     << 4 << "restyles";
    QTest::newRow("deep descendant selector") << cheap + "QTableView QLabel { color: red; }\n"
                                              << 4 << "descendant walk over deep";
    QTest::newRow("hover that re-lays out every button")
        << cheap + "QAbstractButton:hover { padding: 4px; }\n"
        << 4 << "restyles";
}

void TestProfile::matchingWorkFindsThePlantedRule()
{
    QFETCH(QByteArray, sheet);
    QFETCH(int, plantedLine);
    QFETCH(QString, reason);
    const QString path = write(QTest::currentDataTag() + QStringLiteral(".qss"), sheet);
    const QJsonObject report = profileJson({path, "--rounds", "1"});
    QVERIFY(!report.isEmpty());
    const QJsonObject planted = ruleOfLine(report, plantedLine);
    QCOMPARE(planted.value("workRank").toInt(), 1);
    for (const QJsonValue &rule : report.value("rules").toArray()) {
        if (rule.toObject().value("line").toInt() != plantedLine)
            QVERIFY2(rule.toObject().value("workRank").toInt() > 1,
                     qPrintable(rule.toObject().value("selectors").toString()));
    }
    const QString reasons =
        groupOfLine(report, plantedLine).value("reasons").toVariant().toStringList().join(";");
    QVERIFY2(reasons.contains(reason), qPrintable(reasons));
}

void TestProfile::timeFindsThePlantedRuleOnALargeForm()
{
    const QString sheet =
        write("planted-time.qss", "#noSuchWidget { color: red; }\n"
                                  "QPushButton#noSuchButton { color: red; }\n"
                                  "*[flag=\"on\"] { border: 2px solid red; border-radius: 6px; "
                                  "background: qlineargradient(x1: 0, y1: 0, x2: 0, y2: 1, "
                                  "stop: 0 #ffffff, stop: 1 #cccccc); padding: 3px; }\n"
                                  "QCalendarWidget { color: red; }\n");
    const QJsonObject report =
        profileJson({sheet, "--no-gallery", "--form", largeForm, "--rounds", "8"});
    QVERIFY(!report.isEmpty());
    QCOMPARE(report.value("widgets").toInt(), 40 * kLabelsPerFrame + 40 + 1);
    const QJsonArray groups = report.value("groups").toArray();
    QCOMPARE(groups.size(), 4);
    const QString fault = plantedRankingFault(groups, 3);
    QVERIFY2(fault.isEmpty(), qPrintable(fault));
    // What the text tells a reader adds up: the baseline's share of the apply and
    // every group's, whatever the machine did to single passes.
    double shares = report.value("baselineShare").toObject().value("mean").toDouble();
    for (const QJsonValue &group : groups)
        shares += group.toObject().value("applyShare").toObject().value("mean").toDouble();
    QVERIFY2(qAbs(shares - 1) < 1e-6, qPrintable(QString::number(shares)));
}

// Rules that match nothing, or one widget for a colour: nothing to blame.
void TestProfile::cheapRulesAreNoCulprit()
{
    const QString sheet = write("cheap.qss", "#noSuchWidget { color: red; }\n"
                                             "QFrame#noSuchFrame { color: red; }\n"
                                             "QLabel#noSuchLabel { color: #101010; }\n"
                                             "#appTitleLabel { color: #101010; }\n");
    const ProgramRun run = profile({sheet, "--rounds", "10"});
    QCOMPARE(run.exitCode, 0);
    QVERIFY2(run.out.contains("no rule group surely costs"), qPrintable(run.out));
    // Each group is said to cost too little to rank or, on a machine too busy to tell
    // in the rounds it had, to be not separable: never blamed, never left out.
    static const QRegularExpression said(
        "^(\\d) rule groups? (costs? less than|not separable from)",
        QRegularExpression::MultilineOption);
    int groups = 0;
    for (auto it = said.globalMatch(run.out); it.hasNext();)
        groups += it.next().captured(1).toInt();
    QVERIFY2(groups == 4, qPrintable(run.out));
}

// --deterministic counts instructions under callgrind: no slower pass can move them,
// so the planted rule leads and the others are decided minor, not merely unranked.
void TestProfile::instructionsCountedUnderCallgrind()
{
#ifdef PRISMARK_SANITIZE
    QSKIP("valgrind cannot run a program built with AddressSanitizer");
#endif
    if (QStandardPaths::findExecutable("valgrind").isEmpty())
        QSKIP("valgrind is not installed (scripts/test.sh installs it)");
    const QString form = write("small.ui", smallFormText());
    const QString sheet =
        write("counted.qss", "QPushButton { color: #202020; }\n"
                             "#noSuchWidget { color: red; }\n"
                             "*[flag=\"on\"] { border: 2px solid red; border-radius: 6px; "
                             "padding: 3px; }\n");
    const QJsonObject report =
        profileJson({sheet, "--deterministic", "--no-gallery", "--form", form});
    QVERIFY(!report.isEmpty());
    QCOMPARE(report.value("measuredIn").toString(), QStringLiteral("instructions"));
    QVERIFY(report.value("settled").toBool());
    const QJsonArray groups = report.value("groups").toArray();
    const QString fault = plantedRankingFault(groups, 3);
    QVERIFY2(fault.isEmpty(), qPrintable(fault));
    for (int i = 1; i < groups.size(); ++i)
        QCOMPARE(groups.at(i).toObject().value("verdict").toString(), QStringLiteral("minor"));
}

void TestProfile::templateVariantIsProfiled()
{
    const QString templatePath =
        QStringLiteral(PRISMARK_SOURCE_DIR "/resources/theme-sources/prismark.qss.in");
    const QJsonObject report = profileJson({templatePath, "--variant", "dark", "--rounds", "1"});
    QCOMPARE(report.value("variant").toString().toLower(), QStringLiteral("dark"));
    QVERIFY(report.value("rules").toArray().size() > 20);
    QVERIFY(report.value("widgets").toInt() > 100);
    // Lines are the template's, where the author edits the rule.
    QFile source(templatePath);
    QVERIFY(source.open(QIODevice::ReadOnly));
    const QByteArray written = source.readAll();
    const int line = written.left(written.indexOf("\n#appCloseButton:hover {")).count('\n') + 2;
    const QJsonObject closeHover = ruleOfLine(report, line);
    QCOMPARE(closeHover.value("selectors").toString(), QStringLiteral("#appCloseButton:hover"));
}

void TestProfile::refusals_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("message");

    const QString good = dir.filePath("good.qss");
    write("good.qss", "QLabel { color: red; }\n");
    write("rejected.qss", "QLabel { color: red; }\n}} QWidget {\n");
    write("notaform.ui", "not a form");
    QTest::newRow("no sheet") << QStringList() << 3 << "give one SHEET";
    QTest::newRow("two sheets") << QStringList{good, good} << 3 << "give one SHEET";
    QTest::newRow("unknown format")
        << QStringList{good, "--format", "xml"} << 3 << "unknown format";
    QTest::newRow("forms alone without a form")
        << QStringList{good, "--no-gallery"} << 3 << "--no-gallery";
    QTest::newRow("variant of a plain sheet")
        << QStringList{good, "--variant", "dark"} << 3 << "theme template";
    QTest::newRow("a scheme that is none") << QStringList{good, "--color-scheme", "grey"} << 3
                                           << "--color-scheme takes light or dark, not \"grey\"";
    QTest::newRow("a scheme that is none, for an application")
        << QStringList{good, "--color-scheme", "grey", "--", "no-such-program-here"} << 3
        << "--color-scheme takes light or dark";
    QTest::newRow("rounds not a number")
        << QStringList{good, "--rounds", "many"} << 3 << "--rounds";
    QTest::newRow("counting instructions in an application")
        << QStringList{good, "--deterministic", "--", "no-such-program-here"} << 3
        << "--deterministic is for the gallery and forms";
    QTest::newRow("variant the template lacks")
        << QStringList{PRISMARK_SOURCE_DIR "/resources/theme-sources/prismark.qss.in", "--variant",
                       "nosuch"}
        << 3 << "nosuch";
    QTest::newRow("missing sheet")
        << QStringList{dir.filePath("missing.qss")} << 2 << "missing.qss";
    QTest::newRow("a directory for a sheet") << QStringList{dir.path()} << 2 << "cannot read";
    QTest::newRow("sheet the toolkit rejects")
        << QStringList{dir.filePath("rejected.qss")} << 2 << "rejected.qss:2:";
    QTest::newRow("form that is no form")
        << QStringList{good, "--form", dir.filePath("notaform.ui")} << 2 << "notaform.ui";
}

void TestProfile::refusals()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QString, message);
    const ProgramRun run = profile(arguments);
    QCOMPARE(run.exitCode, exitCode);
    QVERIFY2(run.err.contains(message), qPrintable(run.err));
    QVERIFY(run.out.isEmpty());
}

// The page as a browser shows it: a row per group, each rule's link lands on its
// line, and a column named in the address sorts the table.
void TestProfile::reportPageInABrowser()
{
    const QString sheet = write("page.qss", "QPushButton { color: #202020; }\n"
                                            "\n"
                                            "* [flag=\"on\"] { color: blue; }\n"
                                            "QLabel { color: #303030; }\n");
    const QString out = dir.filePath("page");
    const QJsonObject report = profileJson({sheet, "--rounds", "1", "--html", out});
    QVERIFY(!report.isEmpty());

    const QString browser = QStandardPaths::findExecutable("chromium");
    if (browser.isEmpty())
        QSKIP("chromium is not installed (scripts/test.sh installs it); the page is untested");
    QTemporaryDir chromiumProfile;
    QProcess process;
    process.start(
        browser, {"--headless", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
                  "--disable-background-networking", "--disable-component-update", "--disable-sync",
                  "--user-data-dir=" + chromiumProfile.path(), "--virtual-time-budget=5000",
                  "--dump-dom", QUrl::fromLocalFile(out + "/index.html").toString() + "#by-tries"});
    QVERIFY(process.waitForFinished(120000));
    const QString dom = QString::fromUtf8(process.readAllStandardOutput());
    QVERIFY2(dom.contains("id=\"groups\""),
             qPrintable(QString::fromUtf8(process.readAllStandardError())));

    static const QRegularExpression link("<a href=\"#L(\\d+)\">\\d+: ([^<]*)</a>");
    QVector<int> lines;
    for (auto it = link.globalMatch(dom); it.hasNext();) {
        const QRegularExpressionMatch match = it.next();
        const int line = match.captured(1).toInt();
        lines << line;
        QVERIFY(dom.contains(QStringLiteral("id=\"L%1\"").arg(line)));
        QCOMPARE(match.captured(2).toHtmlEscaped(),
                 ruleOfLine(report, line).value("selectors").toString().toHtmlEscaped());
    }
    QCOMPARE(lines.size(), report.value("groups").toArray().size());
    // Sorted by tries, most first: the unindexed rule's row leads.
    QCOMPARE(lines.first(), 3);
}

QTEST_MAIN(TestProfile)
#include "tst_profile.moc"
