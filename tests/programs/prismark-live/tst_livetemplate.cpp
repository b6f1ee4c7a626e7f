// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "live/livesheet.h"
#include "live/sheetdiagnosticswindow.h"
#include "shell/mainwindow.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <cstdio>

// prismark-live on a theme template: built in memory, followed through its token
// files, the last good build kept, its variants chosen.
namespace {

const char *const kTemplate = "/*\n"
                              "@tokens tokens/base.tokens.json\n"
                              "@variant Light tokens/light.tokens.json\n"
                              "@variant Dark tokens/dark.tokens.json\n"
                              "*/\n"
                              "\n"
                              "QLabel {\n"
                              "    color: {color.text};\n"
                              "    font-size: {size.font};\n"
                              "}\n";
const char *const kBase = R"j({"size": {"$type": "dimension", "font": {"$value": "12px"}}})j";
const char *const kLight = R"j({"color": {"$type": "color", "text": {"$value": "#102030"}}})j";
const char *const kDark = R"j({"color": {"$type": "color", "text": {"$value": "#e0e0e0"}}})j";

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(bytes) == bytes.size();
}

struct LiveTemplate
{
    LiveTemplate()
        : path(write())
    {
        sheet.apply();
    }

    QString write()
    {
        writeFile(directory.filePath(QStringLiteral("tokens/base.tokens.json")), kBase);
        writeFile(directory.filePath(QStringLiteral("tokens/light.tokens.json")), kLight);
        writeFile(directory.filePath(QStringLiteral("tokens/dark.tokens.json")), kDark);
        const QString file = directory.filePath(QStringLiteral("mytheme.qss.in"));
        writeFile(file, kTemplate);
        return file;
    }
    QString lightTokens() const
    {
        return directory.filePath(QStringLiteral("tokens/light.tokens.json"));
    }
    QStringList listed() const
    {
        QStringList lines;
        for (int row = 0; row < list->count(); ++row)
            lines << list->item(row)->text();
        return lines;
    }

    QTemporaryDir directory;
    const QString path;
    MainWindow window;
    LiveSheet sheet{&window, path};
    SheetDiagnosticsWindow *diagnostics = new SheetDiagnosticsWindow(&sheet, &window);
    QListWidget *list = diagnostics->findChild<QListWidget *>();
    QComboBox *chooser = diagnostics->findChild<QComboBox *>();
};

} // namespace

class TestLiveTemplate : public QObject
{
    Q_OBJECT

private slots:
    // The application's sheet outlives each preview; the next starts without it.
    void cleanup() { qApp->setStyleSheet(QString()); }
    void firstVariantIsShown();
    void variantAskedForFirstIsTheOnlyOneInstalled();
    void tokenEditRepaints_data();
    void tokenEditRepaints();
    void brokenTokenFileKeepsLastGoodBuild();
    void findingIsListedWhereItWasWritten();
    void contrastListsTheTokenAndTheOtherColour();
    void variantChooserSwitches();
    void variantOptionOfTheProgram_data();
    void variantOptionOfTheProgram();
};

void TestLiveTemplate::firstVariantIsShown()
{
    LiveTemplate live;
    QCOMPARE(live.sheet.outcome(), LiveSheet::Outcome::Applied);
    QCOMPARE(live.sheet.variant(), QStringLiteral("Light"));
    QVERIFY2(qApp->styleSheet().contains(QStringLiteral("color: #102030;")),
             qPrintable(qApp->styleSheet()));
    QVERIFY(live.sheet.watchedSources().contains(QDir::cleanPath(live.lightTokens())));
}

// As an attached application starts: its variant built and installed once, and the
// full analysis kept until the application has painted.
void TestLiveTemplate::variantAskedForFirstIsTheOnlyOneInstalled()
{
    LiveTemplate live;
    QStringList installed;
    LiveSheet sheet(live.path, [&](const QString &text) { installed << text; });
    QSignalSpy updated(&sheet, &LiveSheet::updated);
    sheet.setFirstVariant(QStringLiteral("dark"));
    sheet.holdFullAnalysis();
    sheet.apply();
    QCOMPARE(sheet.variant(), QStringLiteral("Dark"));
    QCOMPARE(installed.size(), 1);
    QVERIFY2(installed.constFirst().contains(QStringLiteral("#e0e0e0")),
             qPrintable(installed.constFirst()));
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    QCOMPARE(updated.count(), 0);
    sheet.releaseFullAnalysis();
    QTRY_COMPARE(updated.count(), 1);
}

void TestLiveTemplate::tokenEditRepaints_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("written in place") << "in place";
    QTest::newRow("new file renamed over it") << "rename";
    QTest::newRow("deleted, then created again") << "re-create";
}

void TestLiveTemplate::tokenEditRepaints()
{
    QFETCH(QString, how);
    LiveTemplate live;
    const QByteArray edited = R"j({"color": {"$type": "color", "text": {"$value": "#405060"}}})j";
    if (how == QLatin1String("rename")) {
        const QString saved = live.lightTokens() + QStringLiteral(".new");
        QVERIFY(writeFile(saved, edited));
        QCOMPARE(std::rename(QFile::encodeName(saved).constData(),
                             QFile::encodeName(live.lightTokens()).constData()),
                 0);
    } else {
        if (how == QLatin1String("re-create")) {
            // While it is gone the build fails, and the last good one stays.
            QVERIFY(QFile::remove(live.lightTokens()));
            QTRY_COMPARE(live.sheet.outcome(), LiveSheet::Outcome::Rejected);
            QVERIFY(qApp->styleSheet().contains(QStringLiteral("#102030")));
        }
        QVERIFY(writeFile(live.lightTokens(), edited));
    }
    QTRY_VERIFY2(qApp->styleSheet().contains(QStringLiteral("color: #405060;")),
                 qPrintable(qApp->styleSheet()));
    QCOMPARE(live.sheet.outcome(), LiveSheet::Outcome::Applied);
}

void TestLiveTemplate::brokenTokenFileKeepsLastGoodBuild()
{
    LiveTemplate live;
    // "#1020" is no colour: an error at the value, on line 1.
    const QByteArray broken = R"j({"color": {"$type": "color", "text": {"$value": "#10z0"}}})j";
    QVERIFY(writeFile(live.lightTokens(), broken));
    QTRY_COMPARE(live.sheet.outcome(), LiveSheet::Outcome::Rejected);
    QVERIFY(qApp->styleSheet().contains(QStringLiteral("color: #102030;")));
    const QStringList listed = live.listed();
    QVERIFY2(std::any_of(listed.begin(), listed.end(),
                         [](const QString &line) {
                             return line.startsWith(
                                        QStringLiteral("tokens/light.tokens.json:1:")) &&
                                    line.contains(QStringLiteral("[theme-build]"));
                         }),
             qPrintable(listed.join(QLatin1Char('\n'))));
    QVERIFY(
        live.sheet.problem().startsWith(QStringLiteral("Not built: tokens/light.tokens.json:1:")));
}

void TestLiveTemplate::findingIsListedWhereItWasWritten()
{
    LiveTemplate live;
    QByteArray text = kTemplate;
    text.replace("    font-size", "    colr: red;\n    font-size");
    QVERIFY(writeFile(live.path, text));
    QTRY_VERIFY(live.sheet.outcome() == LiveSheet::Outcome::Applied &&
                qApp->styleSheet().contains(QStringLiteral("colr")));
    // Its full analysis runs after the paint.
    const auto listedAtItsLine = [&live] {
        const QStringList listed = live.listed();
        return std::any_of(listed.begin(), listed.end(), [](const QString &line) {
            return line.startsWith(QStringLiteral("9:5  ")) &&
                   line.contains(QStringLiteral("[unknown-property]"));
        });
    };
    QTRY_VERIFY2(listedAtItsLine(), qPrintable(live.listed().join(QLatin1Char('\n'))));
}

void TestLiveTemplate::contrastListsTheTokenAndTheOtherColour()
{
    LiveTemplate live;
    QByteArray text = kTemplate;
    text.replace("    font-size", "    background: #1a2a3a;\n    font-size");
    QVERIFY(writeFile(live.path, text));
    QTRY_VERIFY(live.sheet.outcome() == LiveSheet::Outcome::Applied &&
                qApp->styleSheet().contains(QStringLiteral("#1a2a3a")));
    // The text's token in Light's file, and below it the background where it was written.
    const QString finding = QStringLiteral("tokens/light.tokens.json:1:%1  text #102030 on #1a2a3a")
                                .arg(QByteArray(kLight).indexOf("\"#102030\"") + 1);
    const auto listedBelowIt = [&live, &finding] {
        const QStringList listed = live.listed();
        for (int row = 0; row + 1 < listed.size(); ++row) {
            if (listed.at(row).startsWith(finding) &&
                listed.at(row).contains(QLatin1String("(via {color.text})")))
                return listed.at(row + 1) == QStringLiteral("      9:17  background #1a2a3a");
        }
        return false;
    };
    QTRY_VERIFY2(listedBelowIt(), qPrintable(live.listed().join(QLatin1Char('\n'))));
}

void TestLiveTemplate::variantChooserSwitches()
{
    LiveTemplate live;
    QVERIFY(live.chooser);
    QCOMPARE(live.chooser->count(), 2);
    QCOMPARE(live.chooser->currentText(), QStringLiteral("Light"));
    emit live.chooser->textActivated(QStringLiteral("Dark"));
    QCOMPARE(live.sheet.variant(), QStringLiteral("Dark"));
    QVERIFY2(qApp->styleSheet().contains(QStringLiteral("color: #e0e0e0;")),
             qPrintable(qApp->styleSheet()));
    // A token file of the other variant is watched as well.
    QVERIFY(writeFile(live.directory.filePath(QStringLiteral("tokens/dark.tokens.json")),
                      R"j({"color": {"$type": "color", "text": {"$value": "#c0c0c0"}}})j"));
    QTRY_VERIFY(qApp->styleSheet().contains(QStringLiteral("color: #c0c0c0;")));
    QCOMPARE(live.chooser->currentText(), QStringLiteral("Dark"));
}

void TestLiveTemplate::variantOptionOfTheProgram_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("variant");
    QTest::addColumn<QString>("error");
    QTest::newRow("a variant the template lacks") << "mytheme.qss.in"
                                                  << "Sepia"
                                                  << "has no variant \"Sepia\"; it has Light, Dark";
    QTest::newRow("--variant on a plain sheet") << "plain.qss"
                                                << "Dark"
                                                << "for a theme template";
}

void TestLiveTemplate::variantOptionOfTheProgram()
{
    QFETCH(QString, file);
    QFETCH(QString, variant);
    QFETCH(QString, error);
    LiveTemplate live;
    QVERIFY(writeFile(live.directory.filePath(QStringLiteral("plain.qss")), "QLabel {}\n"));
    QProcess program;
    program.setWorkingDirectory(live.directory.path());
    program.start(QStringLiteral(PRISMARK_LIVE_EXECUTABLE),
                  {QStringLiteral("--variant"), variant, file});
    QVERIFY(program.waitForFinished(60000));
    QCOMPARE(program.exitCode(), 2);
    const QString stderrText = QString::fromUtf8(program.readAllStandardError());
    QVERIFY2(stderrText.contains(error), qPrintable(stderrText));
}

QTEST_MAIN(TestLiveTemplate)
#include "tst_livetemplate.moc"
