// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "prismark-shot/shotnames.h"
#include "prismark-shot/shotoptions.h"

#include <QTemporaryDir>
#include <QtTest>

// prismark-shot's command line read into its options without rendering anything:
// what each option sets, and the words and exit code of every refusal, the first
// wrong thing told.
class TestShotOptions : public QObject
{
    Q_OBJECT

private slots:
    void defaults();
    void everyOptionIsRead();
    void builtInThemesInOrderEachOnce_data();
    void builtInThemesInOrderEachOnce();
    void refusals_data();
    void refusals();
    void applicationCommandIsItsOwn();
    void applicationAuditIsRead();
};

namespace {

ParsedShotOptions parse(const QStringList &arguments)
{
    return parseShotOptions(QStringList{QStringLiteral("prismark-shot")} + arguments);
}

} // namespace

void TestShotOptions::defaults()
{
    const ParsedShotOptions parsed = parse({"--theme", "light"});
    QVERIFY2(parsed.runs(), qPrintable(parsed.error));
    const ShotOptions &options = parsed.options;
    QCOMPARE(options.tabNames, QStringList{"all"});
    QCOMPARE(options.windowSize, QSize(1040, 720));
    QCOMPARE(options.baseStyles, QStringList{"fusion"});
    QCOMPARE(options.scales, QVector<qreal>{1});
    QCOMPARE(options.directions, QVector<Qt::LayoutDirection>{Qt::LeftToRight});
    QCOMPARE(options.colorSchemes, QVector<ColorScheme>{ColorScheme::Light});
    QCOMPARE(options.outPath, QStringLiteral("shots"));
    QCOMPARE(options.threshold, 0.1);
    QCOMPARE(QLatin1String(options.auditFormat->name), QLatin1String("text"));
    QVERIFY(options.comparePath.isEmpty());
    QVERIFY(!options.audit && !options.contactSheet && !options.disabledToo && !options.quiet);
}

void TestShotOptions::everyOptionIsRead()
{
    const ParsedShotOptions parsed = parse({"--sheet",
                                            "mine.qss",
                                            "--tab",
                                            "views,Buttons",
                                            "--tab",
                                            "editors",
                                            "--form",
                                            "dialog.ui",
                                            "--size",
                                            "800X600",
                                            "--base-style",
                                            "windows",
                                            "--scale",
                                            "1,2",
                                            "--direction",
                                            "rtl",
                                            "--color-scheme",
                                            "Dark,light,dark",
                                            "--disabled",
                                            "--out",
                                            "new",
                                            "--contact-sheet",
                                            "--compare",
                                            "old",
                                            "--update-baseline",
                                            "--threshold",
                                            "2.5",
                                            "--quiet",
                                            "--list"});
    QVERIFY2(parsed.runs(), qPrintable(parsed.error));
    const ShotOptions &options = parsed.options;
    QVERIFY(options.builtInThemes.isEmpty());
    QCOMPARE(options.sheetPaths, QStringList{"mine.qss"});
    QCOMPARE(options.tabNames, QStringList({"views", "Buttons", "editors"}));
    QCOMPARE(options.formPaths, QStringList{"dialog.ui"});
    QCOMPARE(options.windowSize, QSize(800, 600));
    QCOMPARE(options.baseStyles, QStringList{"windows"});
    QCOMPARE(options.scales, QVector<qreal>({1, 2}));
    QCOMPARE(options.directions, QVector<Qt::LayoutDirection>{Qt::RightToLeft});
    QCOMPARE(options.colorSchemes, QVector<ColorScheme>({ColorScheme::Dark, ColorScheme::Light}));
    QCOMPARE(options.outPath, QStringLiteral("new"));
    QCOMPARE(options.comparePath, QStringLiteral("old"));
    QCOMPARE(options.threshold, 2.5);
    QVERIFY(options.disabledToo && options.contactSheet && options.updateBaseline);
    QVERIFY(options.quiet && options.listFiles && !options.audit);

    const ParsedShotOptions audit = parse({"--theme", "dark", "--audit", "--format", "sarif"});
    QVERIFY2(audit.runs(), qPrintable(audit.error));
    QVERIFY(audit.options.audit);
    QCOMPARE(QLatin1String(audit.options.auditFormat->name), QLatin1String("sarif"));
    QVERIFY(!audit.options.wcag);

    const ParsedShotOptions wcag = parse({"--theme", "dark", "--audit=wcag", "--html", "pages",
                                          "--format", "json", "--tab", "none", "--form", "a.ui"});
    QVERIFY2(wcag.runs(), qPrintable(wcag.error));
    QVERIFY(wcag.options.audit && wcag.options.wcag);
    QCOMPARE(wcag.options.htmlPath, QStringLiteral("pages"));
    QCOMPARE(QLatin1String(wcag.options.auditFormat->name), QLatin1String("json"));
}

void TestShotOptions::builtInThemesInOrderEachOnce_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QVector<int>>("themes");
    QTest::newRow("file stem and display name in any letter case")
        << QStringList{"--theme", "DARK", "--theme", "tokyo night LIGHT"}
        << QVector<int>{Dark, TokyoNightLight};
    QTest::newRow("a theme named twice is rendered once")
        << QStringList{"--theme", "light,dark", "--theme", "Light"} << QVector<int>{Light, Dark};
    QVector<int> darkFirst{Dark};
    for (int value = 0; value < Dark; ++value)
        darkFirst << value;
    QTest::newRow("all after one keeps that one first")
        << QStringList{"--theme", "dark", "--theme", "all"} << darkFirst;
}

void TestShotOptions::builtInThemesInOrderEachOnce()
{
    QFETCH(QStringList, arguments);
    QFETCH(QVector<int>, themes);
    const ParsedShotOptions parsed = parse(arguments);
    QVERIFY2(parsed.runs(), qPrintable(parsed.error));
    const QVector<Theme> &read = parsed.options.builtInThemes;
    QCOMPARE(QVector<int>(read.cbegin(), read.cend()), themes);
}

void TestShotOptions::refusals_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("error");
    const QStringList light{"--theme", "light"};
    QTest::newRow("an option the program does not know")
        << QStringList{"--bogus"} << 2 << "Unknown option 'bogus'.";
    QTest::newRow("an argument that is no option")
        << light + QStringList{"extra"} << 2 << "unexpected argument: extra";
    QTest::newRow("nothing to render")
        << QStringList{"--tab", "views"} << 2
        << "nothing to render: give --theme NAME|all or --sheet FILE";
    QTest::newRow("a size that is no WxH") << light + QStringList{"--size", "1040"} << 2
                                           << "--size wants WIDTHxHEIGHT, such as 1040x720";
    QTest::newRow("a base style the program does not know")
        << light + QStringList{"--base-style", "motif"} << 2
        << "unknown base style \"motif\"; valid: fusion, windows";
    QTest::newRow("one bad scale in the list") << light + QStringList{"--scale", "1,0"} << 2
                                               << "--scale wants numbers above 0 and up to 8";
    QTest::newRow("a direction that is none") << light + QStringList{"--direction", "up"} << 2
                                              << "unknown direction \"up\"; valid: ltr, rtl";
    QTest::newRow("an audit of two scales")
        << light + QStringList{"--audit", "--scale", "1,2"} << 2
        << "--audit takes one base style, one scale and one direction";
    QTest::newRow("an audit with a comparison")
        << light + QStringList{"--audit", "--compare", "old"} << 2
        << "--audit renders states only; leave out --compare";
    QTest::newRow("an audit with disabled renders")
        << light + QStringList{"--audit", "--disabled"} << 2
        << "--audit renders states only; leave out --disabled";
    QTest::newRow("an audit the program does not know")
        << light + QStringList{"--audit=colour"} << 2
        << "unknown audit \"colour\": use --audit or --audit=wcag";
    QTest::newRow("pages without the WCAG audit")
        << light + QStringList{"--audit", "--html", "pages"} << 2
        << "--html writes --audit=wcag's pages; add --audit=wcag";
    QTest::newRow("no gallery tab and no form")
        << light + QStringList{"--tab", "none"} << 2
        << "--tab none leaves only forms to render; give --form DIALOG.ui";
    QTest::newRow("a threshold over 100 percent") << light + QStringList{"--threshold", "101"} << 2
                                                  << "--threshold wants a percentage from 0 to 100";
    QTest::newRow("the baseline is the output folder")
        << light + QStringList{"--compare", "@", "--out", "@/."} << 2
        << "--compare needs a baseline folder other than --out";
    QTest::newRow("a baseline to update but none to compare with")
        << light + QStringList{"--update-baseline"} << 2
        << "--update-baseline needs --compare BASELINE_DIR";
    QTest::newRow("an unknown format") << light + QStringList{"--audit", "--format", "xml"} << 2
                                       << "unknown format \"xml\": use text, json or sarif";
    QTest::newRow("an unknown theme lists the valid names")
        << QStringList{"--theme", "light,sepia"} << 2
        << "unknown theme \"sepia\"; valid names, as file stem or display name in any letter "
           "case, or all:\n  " +
               builtInThemeNames().join("\n  ");
    QTest::newRow("a program but no sheet")
        << QStringList{"--", "./app"} << 2
        << "expects exactly one SHEET before \"-- PROGRAM\"; see --help";
    QTest::newRow("a sheet but no program after the dashes")
        << QStringList{"mine.qss", "--"} << 2 << "expects PROGRAM after \"--\"; see --help";
    QTest::newRow("a gallery tab for a program")
        << QStringList{"--tab", "buttons", "mine.qss", "--", "./app"} << 2
        << "--tab is for the gallery, not for PROGRAM";
    QTest::newRow("an audit of a program in two scales")
        << QStringList{"--audit", "--scale", "1,2", "mine.qss", "--", "./app"} << 2
        << "--audit takes one base style, one scale and one direction";
    QTest::newRow("an audit of a program compared with a baseline")
        << QStringList{"--audit=wcag", "--compare", "base", "mine.qss", "--", "./app"} << 2
        << "--audit renders states only; leave out --compare";
    QTest::newRow("a settle time that is no number")
        << QStringList{"--settle", "soon", "mine.qss", "--", "./app"} << 2
        << "--settle wants seconds from 0 to 600";
    QTest::newRow("a settle time for the gallery")
        << light + QStringList{"--settle", "1"} << 2 << "--settle is for \"SHEET -- PROGRAM\"";
    QTest::newRow("a variant of a plain sheet")
        << QStringList{"--variant", "dark", "mine.qss", "--", "./app"} << 2
        << "--variant is for a theme template (SHEET.qss.in)";
    QTest::newRow("a variant for the gallery") << light + QStringList{"--variant", "dark"} << 2
                                               << "--variant is for \"SHEET.qss.in -- PROGRAM\"";
    QTest::newRow("a colour scheme that is none")
        << light + QStringList{"--color-scheme", "light,sepia"} << 2
        << "unknown colour scheme \"sepia\"; valid: light, dark";
    const QString shardError = "--shard wants K/N, part K of N parts with 1 <= K <= N, such as 2/4";
    QTest::newRow("a part that is no K/N")
        << light + QStringList{"--shard", "2"} << 2 << shardError;
    QTest::newRow("a part beyond the parts")
        << light + QStringList{"--shard", "4/3"} << 2 << shardError;
    QTest::newRow("a part of no parts") << light + QStringList{"--shard", "0/0"} << 2 << shardError;
    QTest::newRow("part zero") << light + QStringList{"--shard", "0/3"} << 2 << shardError;
    QTest::newRow("a part of an application's run")
        << QStringList{"--shard", "1/2", "mine.qss", "--", "./app"} << 2
        << "--shard is for the gallery, not for PROGRAM";
    QTest::newRow("a merge with a matrix option")
        << QStringList{"--merge", "out", "--scale", "2", "part1"} << 2
        << "--merge OUT PART... takes --html and --quiet alone; the parts hold the rest of the "
           "command line";
    QTest::newRow("a merge of no parts")
        << QStringList{"--merge", "out"} << 2 << "--merge OUT wants the parts' folders after it";
    QTest::newRow("a bad size is told before an unknown theme")
        << QStringList{"--theme", "sepia", "--size", "wide"} << 2
        << "--size wants WIDTHxHEIGHT, such as 1040x720";
}

void TestShotOptions::refusals()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QString, error);
    QTemporaryDir folder;
    for (QString &argument : arguments)
        argument.replace(QLatin1Char('@'), folder.path());
    const ParsedShotOptions parsed = parse(arguments);
    QVERIFY(!parsed.runs());
    QCOMPARE(parsed.exitCode, exitCode);
    QCOMPARE(parsed.error, error);
    QVERIFY(parsed.answer.isEmpty());
}

// What follows "--" is the application's, its options too; a matrix and a
// comparison apply to it as to the gallery.
void TestShotOptions::applicationCommandIsItsOwn()
{
    const ParsedShotOptions parsed =
        parse({"--settle", "0.25", "--scale", "1,2", "--compare", "old", "mine.qss", "--",
               "python3", "app.py", "--theme", "dark", "--"});
    QVERIFY2(parsed.runs(), qPrintable(parsed.error));
    const ShotOptions &options = parsed.options;
    QCOMPARE(options.sheetPaths, QStringList{"mine.qss"});
    QCOMPARE(options.program, QStringLiteral("python3"));
    QCOMPARE(options.programArguments, (QStringList{"app.py", "--theme", "dark", "--"}));
    QCOMPARE(options.settleMs, 250);
    QCOMPARE(options.scales, (QVector<qreal>{1, 2}));
    QCOMPARE(options.comparePath, QStringLiteral("old"));
    QVERIFY(options.builtInThemes.isEmpty());
}

void TestShotOptions::applicationAuditIsRead()
{
    const ParsedShotOptions parsed =
        parse({"--audit=wcag", "--format", "sarif", "--html", "pages", "mine.qss", "--", "./app"});
    QVERIFY2(parsed.runs(), qPrintable(parsed.error));
    QVERIFY(parsed.options.audit && parsed.options.wcag);
    QCOMPARE(QLatin1String(parsed.options.auditFormat->name), QLatin1String("sarif"));
    QCOMPARE(parsed.options.htmlPath, QStringLiteral("pages"));
}

QTEST_GUILESS_MAIN(TestShotOptions)
#include "tst_shotoptions.moc"
