// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "attach/windowshots.h"
#include "audit/auditreport.h"
#include "prismark-shot/appshots.h"
#include "prismark-shot/shotoptions.h"
#include "standins/attachedappnames.h"
#include "standins/attachedapps.h"

#include "support/safefilename.h"

#include <QColor>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

#include <algorithm>

namespace {

// The toolkit drops this whole sheet: the second rule has no opening brace.
const char brokenSheet[] = "QMainWindow { background: rgb(0, 0, 0); }\n"
                           "QPushButton color: red; }\n";
// Long enough for the dialog the application opens on a timer.
const QString settle = QStringLiteral("1.5");
// The author's colour, and the application's button with a focus look no different
// from its normal one, planted on the last line.
const char plantedFocusSheet[] =
    "QMainWindow, QDialog { background: rgb(200, 30, 30); }\n"
    "QPushButton { background: #ffffff; color: #000000; border: 2px solid #000000; "
    "padding: 6px; }\n"
    "QPushButton:focus { background: #ffffff; }\n";
constexpr int plantedFocusLine = 3;

// The widgets line of the grouped report's group whose heading starts so.
QString groupWidgets(const QString &output, const QString &heading)
{
    const QStringList lines = output.split(QLatin1Char('\n'));
    for (int index = 0; index + 1 < lines.size(); ++index)
        if (lines[index].startsWith(heading) && lines[index + 1].startsWith(QLatin1String("  ")))
            return lines[index + 1];
    return QString();
}

// prismark-shot as CI runs it; the application's standard input stays open, as a
// terminal's would.
struct ShotRun
{
    int status = -1;
    QString errors;
    QString output;
};

ShotRun runShot(const QStringList &arguments)
{
    QProcess shot;
    shot.start(QStringLiteral(PRISMARK_SHOT_EXECUTABLE), arguments);
    ShotRun run;
    if (!shot.waitForFinished(60000)) {
        shot.kill();
        shot.waitForFinished();
        return run;
    }
    run.status = shot.exitStatus() == QProcess::NormalExit ? shot.exitCode() : -1;
    run.errors = QString::fromLocal8Bit(shot.readAllStandardError());
    run.output = QString::fromUtf8(shot.readAllStandardOutput());
    return run;
}

QColor pixel(const QString &path, const QPoint &point)
{
    const QImage image(path);
    return image.isNull() ? QColor() : image.pixelColor(point);
}

} // namespace

class TestAttachShot : public QObject
{
    Q_OBJECT
private slots:
    void windowsAreRenderedWithTheSheet_data();
    void windowsAreRenderedWithTheSheet();
    void windowsAreRenderedInEachScheme_data();
    void windowsAreRenderedInEachScheme();
    void agentRendersAsThePlugin_data();
    void agentRendersAsThePlugin();
    void eachCombinationIsARunOfItsOwn();
    void comparisonNoticesASheetChange();
    void templateVariantsAreRunsOfTheirOwn_data();
    void templateVariantsAreRunsOfTheirOwn();
    void failureIsSaidPlainly_data();
    void failureIsSaidPlainly();
    void auditFindsThePlantedFaultAndClicksNothing_data();
    void auditFindsThePlantedFaultAndClicksNothing();
    void auditReportsAsForTheGallery_data();
    void auditReportsAsForTheGallery();
    void unnamedWidgetsAreAuditedByPlace_data();
    void unnamedWidgetsAreAuditedByPlace();
    void nothingToAuditIsNoPass_data();
    void nothingToAuditIsNoPass();
    void windowFilesAreUniqueInShownOrder_data();
    void windowFilesAreUniqueInShownOrder();
    void baselineFilesNameTheirWindows_data();
    void baselineFilesNameTheirWindows();

private:
    QTemporaryDir folder;
};

void TestAttachShot::windowsAreRenderedWithTheSheet_data()
{
    addAttachedApplicationRows();
}

// Both windows, the dialog opened on a timer too, in the author's colour; the
// label's own widget-level sheet kept.
void TestAttachShot::windowsAreRenderedWithTheSheet()
{
    QFETCH(QString, program);
    QFETCH(QStringList, arguments);
    QFETCH(QString, module);
    SKIP_UNLESS_RUNNABLE(whyPythonIsSkipped(module));

    const QDir run(folder.filePath(QString::fromLatin1(QTest::currentDataTag())));
    QVERIFY(QDir().mkpath(run.path()));
    const QString sheet = run.filePath(QStringLiteral("author.qss"));
    QVERIFY(writeFile(sheet, redSheet));
    const ShotRun shot =
        runShot(QStringList{QStringLiteral("--settle"), settle, QStringLiteral("--out"),
                            run.filePath("shots"), sheet, QStringLiteral("--"), program} +
                arguments);
    QVERIFY2(shot.status == 0, qPrintable(shot.errors));
    const QDir app(run.filePath(QStringLiteral("shots/author/app")));
    const QString main =
        app.filePath(QLatin1String(AttachedApp::mainName) + QStringLiteral(".png"));
    const QString dialog =
        app.filePath(QLatin1String(AttachedApp::dialogName) + QStringLiteral(".png"));
    QCOMPARE(pixel(main, backgroundPoint), QColor(200, 30, 30));
    QCOMPARE(pixel(dialog, backgroundPoint), QColor(200, 30, 30));
    QCOMPARE(pixel(main, labelPoint), QColor(0, 0, 255));
}

void TestAttachShot::windowsAreRenderedInEachScheme_data()
{
    addAttachedApplicationRows();
}

// A sheet that leaves the window to the palette: the application, started once per
// scheme, paints it as on a light desktop and as on a dark one.
void TestAttachShot::windowsAreRenderedInEachScheme()
{
    QFETCH(QString, program);
    QFETCH(QStringList, arguments);
    QFETCH(QString, module);
    SKIP_UNLESS_RUNNABLE(whyPythonIsSkipped(module));

    const QDir run(folder.filePath(QStringLiteral("schemes-") +
                                   QString::fromLatin1(QTest::currentDataTag()).replace(' ', '-')));
    QVERIFY(QDir().mkpath(run.path()));
    const QString sheet = run.filePath(QStringLiteral("author.qss"));
    QVERIFY(writeFile(sheet, "QPushButton { padding: 2px; }\n"));
    const ShotRun shot =
        runShot(QStringList{QStringLiteral("--color-scheme"), QStringLiteral("light,dark"),
                            QStringLiteral("--settle"), settle, QStringLiteral("--out"),
                            run.filePath("shots"), sheet, QStringLiteral("--"), program} +
                arguments);
    QVERIFY2(shot.status == 0, qPrintable(shot.errors));
    const QString main =
        QStringLiteral("/app/") + QLatin1String(AttachedApp::mainName) + QStringLiteral(".png");
    const QColor light =
        pixel(run.filePath(QStringLiteral("shots/author-light") + main), backgroundPoint);
    const QColor dark =
        pixel(run.filePath(QStringLiteral("shots/author-dark") + main), backgroundPoint);
    QVERIFY2(qGray(light.rgb()) > 180, qPrintable(light.name()));
    QVERIFY2(qGray(dark.rgb()) < 80, qPrintable(dark.name()));
}

void TestAttachShot::agentRendersAsThePlugin_data()
{
    QTest::addColumn<QString>("program");
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("module");
    QTest::addColumn<QString>("sheetName");
    QTest::addColumn<QStringList>("variant");
    QTest::addColumn<QColor>("colour");
    for (const AttachedApplication &application : attachedApplications()) {
        if (application.module.isEmpty())
            continue;
        QTest::addRow("%s, a sheet", application.name)
            << application.program << application.arguments << application.module
            << QStringLiteral("author.qss") << QStringList() << QColor(200, 30, 30);
        // Built here and sent to the agent, which builds nothing.
        QTest::addRow("%s, a template's variant", application.name)
            << application.program << application.arguments << application.module
            << QStringLiteral("author.qss.in")
            << QStringList{QStringLiteral("--variant"), QStringLiteral("deep-dark")}
            << QColor(220, 200, 0);
    }
}

// The windows through the Python agent, where the plugin could have rendered them:
// the author's colour, the label's own sheet, and the very pixels of the plugin's.
void TestAttachShot::agentRendersAsThePlugin()
{
    QFETCH(QString, program);
    QFETCH(QStringList, arguments);
    QFETCH(QString, module);
    QFETCH(QString, sheetName);
    QFETCH(QStringList, variant);
    QFETCH(QColor, colour);
    SKIP_UNLESS_RUNNABLE(whyPythonIsSkipped(module));

    const QDir run(folder.filePath(
        QStringLiteral("ways-") +
        QString::fromLatin1(QTest::currentDataTag()).replace(QLatin1Char(' '), QLatin1Char('-'))));
    QVERIFY(QDir().mkpath(run.path()));
    const QString sheet = run.filePath(sheetName);
    QVERIFY(writeFile(sheet, "/*\n@variant Light light.tokens.json\n"
                             "@variant DeepDark dark.tokens.json\n*/\n"
                             "QMainWindow, QDialog { background: {color.window}; }\n"));
    if (variant.isEmpty())
        QVERIFY(writeFile(sheet, redSheet));
    QVERIFY(writeFile(run.filePath(QStringLiteral("dark.tokens.json")),
                      R"({"color": {"$type": "color", "window": {"$value": "#dcc800"}}})"));
    QVERIFY(writeFile(run.filePath(QStringLiteral("light.tokens.json")), "{}"));
    const QString theme =
        variant.isEmpty() ? QStringLiteral("author") : QStringLiteral("author-deep-dark");
    QStringList windows;
    for (const QString &way : {QStringLiteral("plugin"), QStringLiteral("python")}) {
        const ShotRun shot =
            runShot(QStringList{QStringLiteral("--attach"), way, QStringLiteral("--settle"), settle,
                                QStringLiteral("--out"), run.filePath(way)} +
                    variant + QStringList{sheet, QStringLiteral("--"), program} + arguments);
        QVERIFY2(shot.status == 0, qPrintable(shot.errors));
        const QDir app(run.filePath(way + QLatin1Char('/') + theme + QStringLiteral("/app")));
        windows << app.entryList(QDir::Files, QDir::Name).join(QLatin1Char(','));
    }
    QCOMPARE(windows.constLast(), windows.constFirst());
    QCOMPARE(windows.constFirst(), QStringLiteral("%1.png,%2.png")
                                       .arg(QLatin1String(AttachedApp::dialogName),
                                            QLatin1String(AttachedApp::mainName)));
    const QString main = QLatin1Char('/') + theme + QStringLiteral("/app/") +
                         QLatin1String(AttachedApp::mainName) + QStringLiteral(".png");
    QCOMPARE(pixel(run.filePath(QStringLiteral("python") + main), backgroundPoint), colour);
    QCOMPARE(pixel(run.filePath(QStringLiteral("python") + main), labelPoint), QColor(0, 0, 255));
    for (const QString &window : windows.constFirst().split(QLatin1Char(','))) {
        const QString tail = QLatin1Char('/') + theme + QStringLiteral("/app/") + window;
        QCOMPARE(QImage(run.filePath(QStringLiteral("python") + tail)),
                 QImage(run.filePath(QStringLiteral("plugin") + tail)));
    }
}

void TestAttachShot::auditFindsThePlantedFaultAndClicksNothing_data()
{
    addAttachedApplicationRows();
}

// The audit inside the application: the planted focus fault on its button, at the
// planted line; none of the button's handlers ran; its states strip written.
void TestAttachShot::auditFindsThePlantedFaultAndClicksNothing()
{
    QFETCH(QString, program);
    QFETCH(QStringList, arguments);
    QFETCH(QString, module);
    SKIP_UNLESS_RUNNABLE(whyPythonIsSkipped(module));

    const QDir run(
        folder.filePath(QStringLiteral("audit-") + QString::fromLatin1(QTest::currentDataTag())));
    QVERIFY(QDir().mkpath(run.path()));
    const QString sheet = run.filePath(QStringLiteral("author.qss"));
    QVERIFY(writeFile(sheet, plantedFocusSheet));
    const ShotRun shot =
        runShot(QStringList{QStringLiteral("--audit=wcag"), QStringLiteral("--settle"), settle,
                            QStringLiteral("--out"), run.filePath("shots"), sheet,
                            QStringLiteral("--"), program} +
                arguments);
    QVERIFY2(shot.status == 1, qPrintable(shot.errors + shot.output));
    const QString widgets =
        groupWidgets(shot.output, QStringLiteral("%1:%2:1 \"QPushButton:focus\": 2.4.7 Focus "
                                                 "Visible (AA) failure")
                                      .arg(sheet)
                                      .arg(plantedFocusLine));
    QVERIFY2(widgets.contains(
                 QStringLiteral("author/app/%1: ").arg(QLatin1String(AttachedApp::mainName))) &&
                 widgets.contains(QLatin1String(AttachedApp::buttonName)),
             qPrintable(shot.output));
    QVERIFY2(!shot.errors.contains(QLatin1String(AttachedApp::handlerRan)),
             qPrintable(shot.errors));
    QVERIFY(!QImage(run.filePath(QStringLiteral("shots/author/app/states/%1/%2.png")
                                     .arg(QLatin1String(AttachedApp::mainName),
                                          QLatin1String(AttachedApp::buttonName))))
                 .isNull());
}

void TestAttachShot::auditReportsAsForTheGallery_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<QString>("file");
    QTest::newRow("the state audit as SARIF")
        << QStringList{"--audit", "--format", "sarif"} << "\"ruleId\": \"no-visible-focus\""
        << "";
    QTest::newRow("the WCAG audit as SARIF")
        << QStringList{"--audit=wcag", "--format", "sarif"} << "\"ruleId\": \"WCAG2.2-2.4.7\""
        << "";
    QTest::newRow("a template's variant audited under its own name")
        << QStringList{"--audit=wcag", "--variant", "deep-dark"} << "author-deep-dark/app/"
        << "";
    // The button holds the window's focus, which disabling it would move.
    QTest::newRow("the WCAG audit's page and the states it left out")
        << QStringList{"--audit=wcag", "--html", "pages"} << "pickMe disabled: not audited"
        << "pages/author/app/index.html";
}

void TestAttachShot::auditReportsAsForTheGallery()
{
    QFETCH(QStringList, options);
    QFETCH(QString, expected);
    QFETCH(QString, file);
    const QDir run(folder.filePath(
        QStringLiteral("audit-report-") +
        QString::fromLatin1(QTest::currentDataTag()).replace(QLatin1Char(' '), QLatin1Char('-'))));
    QVERIFY(QDir().mkpath(run.path()));
    QDir::setCurrent(run.path());
    const bool variants = options.contains(QStringLiteral("--variant"));
    const QString sheet =
        run.filePath(variants ? QStringLiteral("author.qss.in") : QStringLiteral("author.qss"));
    QVERIFY(writeFile(sheet, variants ? QByteArray("/*\n@variant Light light.tokens.json\n"
                                                   "@variant DeepDark dark.tokens.json\n*/\n") +
                                            plantedFocusSheet
                                      : QByteArray(plantedFocusSheet)));
    for (const char *tokens : {"light.tokens.json", "dark.tokens.json"})
        QVERIFY(writeFile(run.filePath(QLatin1String(tokens)), "{}"));
    const ShotRun shot = runShot(
        options + QStringList{QStringLiteral("--settle"), QStringLiteral("0.5"),
                              QStringLiteral("--out"), run.filePath("shots"), sheet,
                              QStringLiteral("--"), QStringLiteral(ATTACHED_APP_EXECUTABLE)});
    QVERIFY2(shot.status == 1, qPrintable(shot.errors + shot.output));
    QVERIFY2(shot.output.contains(expected), qPrintable(shot.output));
    if (!file.isEmpty())
        QVERIFY(QFile::exists(run.filePath(file)));
}

void TestAttachShot::unnamedWidgetsAreAuditedByPlace_data()
{
    addAttachedApplicationRows();
}

// Most applications name no widget: each is audited all the same, filed under its
// window's class and its place, its strip written under that name.
void TestAttachShot::unnamedWidgetsAreAuditedByPlace()
{
    QFETCH(QString, program);
    QFETCH(QStringList, arguments);
    QFETCH(QString, module);
    SKIP_UNLESS_RUNNABLE(whyPythonIsSkipped(module));

    const QDir run(
        folder.filePath(QStringLiteral("unnamed-") + QString::fromLatin1(QTest::currentDataTag())));
    QVERIFY(QDir().mkpath(run.path()));
    const QString sheet = run.filePath(QStringLiteral("author.qss"));
    QVERIFY(writeFile(sheet, plantedFocusSheet));
    const ShotRun shot =
        runShot(QStringList{QStringLiteral("--audit=wcag"), QStringLiteral("--settle"), settle,
                            QStringLiteral("--out"), run.filePath("shots"), sheet,
                            QStringLiteral("--"), program} +
                arguments + QStringList{QLatin1String(AttachedApp::unnamedOption)});
    QVERIFY2(shot.status == ShotDifferences, qPrintable(shot.errors + shot.output));
    const QString button = QStringLiteral("QWidget[1]/QPushButton[1] \"Pick me\"");
    const QString widgets = groupWidgets(
        shot.output, sheet + QStringLiteral(":%1:1 \"QPushButton:focus\": 2.4.7 Focus Visible "
                                            "(AA) failure")
                                 .arg(plantedFocusLine));
    QVERIFY2(widgets.contains(QStringLiteral("author/app/QMainWindow: ")) &&
                 widgets.contains(button),
             qPrintable(shot.output));
    QSet<QString> taken;
    QVERIFY(!QImage(run.filePath(QStringLiteral("shots/author/app/states/QMainWindow/%1.png")
                                     .arg(uniqueSafeFileStem(button, &taken))))
                 .isNull());
    QVERIFY2(!shot.errors.contains(QLatin1String(AttachedApp::handlerRan)),
             qPrintable(shot.errors));
}

void TestAttachShot::nothingToAuditIsNoPass_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QString>("said");
    QTest::addColumn<QString>("page");
    const QString line = QStringLiteral("author/app: nothing audited");
    QTest::newRow("the state audit") << QStringList{"--audit"} << line << "";
    QTest::newRow("the WCAG audit") << QStringList{"--audit=wcag"} << line << "";
    QTest::newRow("the WCAG audit as JSON")
        << QStringList{"--audit=wcag", "--format", "json"}
        << QStringLiteral("\"check\": \"%1\"").arg(QLatin1String(kNothingAuditedId)) << "";
    QTest::newRow("the WCAG audit as SARIF")
        << QStringList{"--audit=wcag", "--format", "sarif"}
        << QStringLiteral("\"ruleId\": \"%1\"").arg(QLatin1String(kNothingAuditedId)) << "";
    QTest::newRow("the WCAG audit's page")
        << QStringList{"--audit=wcag", "--html", "pages"} << line << "pages/author/app/index.html";
}

// An application whose windows show no widget to audit is no pass in any format:
// it is said, and the status is neither success nor a failure found.
void TestAttachShot::nothingToAuditIsNoPass()
{
    QFETCH(QStringList, options);
    QFETCH(QString, said);
    QFETCH(QString, page);
    const QDir run(folder.filePath(
        QStringLiteral("nothing-") +
        QString::fromLatin1(QTest::currentDataTag()).replace(QLatin1Char(' '), QLatin1Char('-'))));
    QVERIFY(QDir().mkpath(run.path()));
    QDir::setCurrent(run.path());
    const QString sheet = run.filePath(QStringLiteral("author.qss"));
    QVERIFY(writeFile(sheet, plantedFocusSheet));
    const ShotRun shot =
        runShot(options + QStringList{QStringLiteral("--settle"), QStringLiteral("0.5"),
                                      QStringLiteral("--out"), run.filePath("shots"), sheet,
                                      QStringLiteral("--"), QStringLiteral(ATTACHED_APP_EXECUTABLE),
                                      QLatin1String(AttachedApp::bareOption)});
    QVERIFY2(shot.status == ShotNothingAudited, qPrintable(shot.errors + shot.output));
    QVERIFY2(shot.output.contains(said), qPrintable(shot.output));
    const QRegularExpression pass(QStringLiteral("\\bpass\\b"));
    QVERIFY2(!shot.output.contains(pass), qPrintable(shot.output));
    if (!page.isEmpty()) {
        QFile html(run.filePath(page));
        QVERIFY(html.open(QIODevice::ReadOnly));
        const QString text = QString::fromUtf8(html.readAll());
        QVERIFY2(text.contains(QStringLiteral(">nothing audited<")) &&
                     !text.contains(QStringLiteral(">pass<")),
                 qPrintable(text));
    }
}

void TestAttachShot::eachCombinationIsARunOfItsOwn()
{
    const QDir run(folder.filePath(QStringLiteral("matrix")));
    QVERIFY(QDir().mkpath(run.path()));
    const QString sheet = run.filePath(QStringLiteral("author.qss"));
    QVERIFY(writeFile(sheet, redSheet));
    const ShotRun shot =
        runShot({QStringLiteral("--settle"), QStringLiteral("0.5"), QStringLiteral("--scale"),
                 QStringLiteral("1,2"), QStringLiteral("--base-style"),
                 QStringLiteral("fusion,windows"), QStringLiteral("--out"), run.filePath("shots"),
                 sheet, QStringLiteral("--"), QStringLiteral(ATTACHED_APP_EXECUTABLE)});
    QVERIFY2(shot.status == 0, qPrintable(shot.errors));
    const QDir app(run.filePath(QStringLiteral("shots/author/app")));
    const QString main = QLatin1String(AttachedApp::mainName);
    for (const QString &suffix : {QString(), QStringLiteral("-windows")}) {
        const QImage single(app.filePath(main + suffix + QStringLiteral(".png")));
        const QImage twice(app.filePath(main + suffix + QStringLiteral("@2x.png")));
        QVERIFY2(!single.isNull() && !twice.isNull(), qPrintable(suffix));
        QCOMPARE(twice.size(), single.size() * 2);
        QCOMPARE(twice.pixelColor(backgroundPoint * 2), QColor(200, 30, 30));
    }
    // The base style draws the button: the two renders differ.
    QVERIFY(QImage(app.filePath(main + QStringLiteral(".png"))) !=
            QImage(app.filePath(main + QStringLiteral("-windows.png"))));
}

void TestAttachShot::comparisonNoticesASheetChange()
{
    const QDir run(folder.filePath(QStringLiteral("compare")));
    QVERIFY(QDir().mkpath(run.path()));
    const QString sheet = run.filePath(QStringLiteral("author.qss"));
    QVERIFY(writeFile(sheet, redSheet));
    const auto shoot = [&](const QString &out, const QStringList &more) {
        return runShot(
            QStringList{QStringLiteral("--settle"), settle, QStringLiteral("--out"),
                        run.filePath(out)} +
            more +
            QStringList{sheet, QStringLiteral("--"), QStringLiteral(ATTACHED_APP_EXECUTABLE)});
    };
    const QStringList compare{QStringLiteral("--compare"), run.filePath("baseline")};
    ShotRun shot = shoot(QStringLiteral("baseline"), {});
    QVERIFY2(shot.status == 0, qPrintable(shot.errors));
    shot = shoot(QStringLiteral("same"), compare);
    QVERIFY2(shot.status == 0, qPrintable(shot.errors));

    QVERIFY(writeFile(sheet, yellowSheet));
    shot = shoot(QStringLiteral("changed"), compare);
    QCOMPARE(shot.status, 1);
    QVERIFY(
        QFile::exists(run.filePath(QStringLiteral("changed/diff/author/app/") +
                                   QLatin1String(AttachedApp::mainName) + QStringLiteral(".png"))));

    // A window the baseline has and the application no longer shows is missing.
    QVERIFY(QFile::copy(run.filePath(QStringLiteral("baseline/author/app/attachedMain.png")),
                        run.filePath(QStringLiteral("baseline/author/app/gone.png"))));
    QVERIFY(writeFile(sheet, redSheet));
    shot = shoot(QStringLiteral("gone"), compare);
    QCOMPARE(shot.status, 1);

    // The run's own windows go over the baseline's; the rest of it stays.
    QVERIFY(writeFile(sheet, yellowSheet));
    shot = shoot(QStringLiteral("updated"),
                 compare + QStringList{QStringLiteral("--update-baseline")});
    QVERIFY2(shot.status == 0, qPrintable(shot.errors));
    QCOMPARE(pixel(run.filePath(QStringLiteral("baseline/author/app/attachedMain.png")),
                   backgroundPoint),
             QColor(220, 200, 0));
    QVERIFY(QFile::exists(run.filePath(QStringLiteral("baseline/author/app/gone.png"))));
}

void TestAttachShot::templateVariantsAreRunsOfTheirOwn_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QStringList>("folders");
    QTest::newRow("the variant named, in kebab case")
        << QStringList{QStringLiteral("--variant"), QStringLiteral("deep-dark")}
        << QStringList{QStringLiteral("mytheme-deep-dark")};
    QTest::newRow("every variant when none is named")
        << QStringList()
        << QStringList{QStringLiteral("mytheme-deep-dark"), QStringLiteral("mytheme-light")};
}

void TestAttachShot::templateVariantsAreRunsOfTheirOwn()
{
    QFETCH(QStringList, options);
    QFETCH(QStringList, folders);
    const QDir run(folder.filePath(QString::fromLatin1(QTest::currentDataTag())));
    QVERIFY(QDir().mkpath(run.path()));
    const QString sheet = run.filePath(QStringLiteral("mytheme.qss.in"));
    QVERIFY(writeFile(sheet, "/*\n@variant Light light.tokens.json\n"
                             "@variant DeepDark dark.tokens.json\n*/\n"
                             "QMainWindow, QDialog { background: {color.window}; }\n"));
    QVERIFY(writeFile(run.filePath(QStringLiteral("light.tokens.json")),
                      R"({"color": {"$type": "color", "window": {"$value": "#c81e1e"}}})"));
    QVERIFY(writeFile(run.filePath(QStringLiteral("dark.tokens.json")),
                      R"({"color": {"$type": "color", "window": {"$value": "#dcc800"}}})"));
    const ShotRun shot =
        runShot(QStringList{QStringLiteral("--settle"), QStringLiteral("0.5"),
                            QStringLiteral("--out"), run.filePath("shots")} +
                options +
                QStringList{sheet, QStringLiteral("--"), QStringLiteral(ATTACHED_APP_EXECUTABLE)});
    QVERIFY2(shot.status == 0, qPrintable(shot.errors));
    QCOMPARE(
        QDir(run.filePath(QStringLiteral("shots"))).entryList(QDir::Dirs | QDir::NoDotAndDotDot),
        folders);
    const QString main =
        QLatin1String("/app/") + QLatin1String(AttachedApp::mainName) + QStringLiteral(".png");
    QCOMPARE(pixel(run.filePath(QStringLiteral("shots/mytheme-deep-dark") + main), backgroundPoint),
             QColor(220, 200, 0));
    if (folders.contains(QStringLiteral("mytheme-light")))
        QCOMPARE(pixel(run.filePath(QStringLiteral("shots/mytheme-light") + main), backgroundPoint),
                 QColor(200, 30, 30));
}

void TestAttachShot::failureIsSaidPlainly_data()
{
    QTest::addColumn<QByteArray>("sheet");
    QTest::addColumn<QStringList>("command");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QStringList>("options");
    const QByteArray red = redSheet;
    QTest::newRow("sheet the toolkit rejects")
        << QByteArray(brokenSheet) << QStringList{QStringLiteral(ATTACHED_APP_EXECUTABLE)} << 3
        << QStringLiteral("the toolkit did not take") << QStringList();
    QTest::newRow("program not found")
        << red << QStringList{QStringLiteral("no-such-program-here")} << 4
        << QStringLiteral("prismark-shot: no-such-program-here: no such program on PATH")
        << QStringList();
    QTest::newRow("program links no Qt")
        << red << QStringList{QStringLiteral("/bin/true")} << 4
        << QStringLiteral("exited with status 0 before prismark-shot could attach; /bin/true "
                          "links no Qt library")
        << QStringList();
    QTest::newRow("application shows no window")
        << red
        << QStringList{systemPython, QStringLiteral("-c"),
                       QStringLiteral("import sys\nfrom PyQt%1.QtWidgets import QApplication\n"
                                      "a = QApplication(sys.argv)\na.exec()")
                           .arg(QT_VERSION_MAJOR)}
        << 4 << QStringLiteral("showed no window within 0.5 s; give it longer with --settle")
        << QStringList();
    QTest::newRow("application ends before it has settled")
        << red
        << QStringList{systemPython, QStringLiteral("-c"),
                       QStringLiteral(
                           "import sys\nfrom PyQt%1.QtCore import QTimer\n"
                           "from PyQt%1.QtWidgets import QApplication, QWidget\n"
                           "a = QApplication(sys.argv)\nw = QWidget()\nw.show()\n"
                           "QTimer.singleShot(100, lambda: a.exit(5))\nsys.exit(a.exec())")
                           .arg(QT_VERSION_MAJOR)}
        << 4 << QStringLiteral("ended (status 5) before its windows were rendered")
        << QStringList();
    // Put on by the agent before prismark-shot's check, and taken off by it.
    QTest::newRow("sheet the toolkit rejects, through the Python agent")
        << QByteArray(brokenSheet)
        << QStringList{systemPython, QStringLiteral(ATTACHED_APP_SCRIPT),
                       QStringLiteral("pyqt%1").arg(QT_VERSION_MAJOR)}
        << 3 << QStringLiteral("the toolkit did not take")
        << QStringList{QStringLiteral("--attach"), QStringLiteral("python")};
}

void TestAttachShot::failureIsSaidPlainly()
{
    QFETCH(QByteArray, sheet);
    QFETCH(QStringList, command);
    QFETCH(int, status);
    QFETCH(QString, message);
    QFETCH(QStringList, options);
    SKIP_UNLESS_RUNNABLE(whyCommandIsSkipped(command));
    const QString sheetPath = folder.filePath(QStringLiteral("failing.qss"));
    QVERIFY(writeFile(sheetPath, sheet));
    const QStringList arguments{QStringLiteral("--settle"), QStringLiteral("0.5"),
                                QStringLiteral("--out"),
                                folder.filePath(QStringLiteral("failing"))};
    const ShotRun shot =
        runShot(arguments + options + QStringList{sheetPath, QStringLiteral("--")} + command);
    QVERIFY2(shot.errors.contains(message), qPrintable(shot.errors));
    QCOMPARE(shot.status, status);
    // Said as it happened: no deadline of prismark-shot's ran out and stopped the
    // application (each of those says "It was stopped.").
    QVERIFY2(!shot.errors.contains(QLatin1String("It was stopped.")), qPrintable(shot.errors));
}

void TestAttachShot::windowFilesAreUniqueInShownOrder_data()
{
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QStringList>("files");
    QTest::newRow("two windows of one class numbered from the second shown")
        << QStringList{QStringLiteral("QDialog"), QStringLiteral("main"), QStringLiteral("QDialog")}
        << QStringList{QStringLiteral("QDialog"), QStringLiteral("main"),
                       QStringLiteral("QDialog-2")};
    QTest::newRow("a name that is no file name")
        << QStringList{QStringLiteral("../settings dialog"), QStringLiteral("Ns::Window")}
        << QStringList{QStringLiteral("_.._settings_dialog"), QStringLiteral("Ns__Window")};
    QTest::newRow("a number taken by a window of that name")
        << QStringList{QStringLiteral("a-2"), QStringLiteral("a"), QStringLiteral("a")}
        << QStringList{QStringLiteral("a-2"), QStringLiteral("a"), QStringLiteral("a-3")};
}

void TestAttachShot::windowFilesAreUniqueInShownOrder()
{
    QFETCH(QStringList, names);
    QFETCH(QStringList, files);
    QCOMPARE(windowFileStems(names), files);
}

void TestAttachShot::baselineFilesNameTheirWindows_data()
{
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QStringList>("known");
    QTest::addColumn<QStringList>("windows");
    QTest::newRow("a known window's combination")
        << QStringList{QStringLiteral("main-rtl@2x.png")} << QStringList{QStringLiteral("main")}
        << QStringList{QStringLiteral("main")};
    QTest::newRow("a window no longer shown, by its shortest name")
        << QStringList{QStringLiteral("gone-windows-rtl.png")}
        << QStringList{QStringLiteral("main")}
        << QStringList{QStringLiteral("main"), QStringLiteral("gone")};
    QTest::newRow("a known window whose name ends like a combination")
        << QStringList{QStringLiteral("panel-rtl.png")} << QStringList{QStringLiteral("panel-rtl")}
        << QStringList{QStringLiteral("panel-rtl")};
}

void TestAttachShot::baselineFilesNameTheirWindows()
{
    QFETCH(QStringList, files);
    QFETCH(QStringList, known);
    QFETCH(QStringList, windows);
    QCOMPARE(baselineWindowNames(files, known), windows);
}

QTEST_MAIN(TestAttachShot)
#include "tst_attachshot.moc"
