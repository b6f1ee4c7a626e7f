// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "support/glob.h"

#include <QtTest>

// The one glob, as a configuration writes it: what a glob matches, what is wrong with
// one, and where a search for its files starts and how deep it goes.
class TestGlob : public QObject
{
    Q_OBJECT

private slots:
    void matches_data();
    void matches();
    void errors_data();
    void errors();
    void searchBounds_data();
    void searchBounds();
};

void TestGlob::matches_data()
{
    QTest::addColumn<QString>("glob");
    QTest::addColumn<QString>("path"); // relative to the configuration's directory
    QTest::addColumn<bool>("matches");
    QTest::newRow("* stays in one directory") << "themes/*.qss"
                                              << "themes/a/b.qss" << false;
    QTest::newRow("* within a directory") << "themes/*.qss"
                                          << "themes/dark.qss" << true;
    QTest::newRow("**/ spans no directory") << "themes/**/*.qss"
                                            << "themes/dark.qss" << true;
    QTest::newRow("**/ spans several") << "themes/**/*.qss"
                                       << "themes/a/b/c.qss" << true;
    QTest::newRow("a leading **/ matches at the top") << "**/generated/*.qss"
                                                      << "generated/x.qss" << true;
    QTest::newRow("a trailing ** takes everything below") << "vendor/**"
                                                          << "vendor/a/b.qss" << true;
    QTest::newRow("no slash: the file name in any directory") << "*.qss"
                                                              << "a/b/c.qss" << true;
    QTest::newRow("no slash: not another extension") << "*.qss"
                                                     << "a/b/c.qss.in" << false;
    QTest::newRow("a slash anchors at the configuration's directory") << "a/*.qss"
                                                                      << "x/a/b.qss" << false;
    QTest::newRow("./ at the start is the configuration's directory") << "./a/*.qss"
                                                                      << "a/b.qss" << true;
    QTest::newRow("./ anchors a file name at the configuration's directory") << "./a.qss"
                                                                             << "x/a.qss" << false;
    QTest::newRow("? is one character") << "dark?.qss"
                                        << "dark2.qss" << true;
    QTest::newRow("? is no slash") << "a?b.qss"
                                   << "a/b.qss" << false;
    QTest::newRow("a set") << "theme[0-9].qss"
                           << "theme7.qss" << true;
    QTest::newRow("a negated set") << "[!_]*.qss"
                                   << "_private.qss" << false;
    QTest::newRow("alternatives") << "themes/*.{qss,css}"
                                  << "themes/a.css" << true;
    QTest::newRow("case counts") << "*.QSS"
                                 << "a.qss" << false;
    QTest::newRow("regular expression characters are plain") << "a+(b).qss"
                                                             << "a+(b).qss" << true;
    QTest::newRow("a dot is no wildcard") << "a.qss"
                                          << "abqss" << false;
    QTest::newRow("an unclosed set matches nothing") << "[a-"
                                                     << "[a-" << false;
    // A set is one character within a folder, negated or not, as "?" is.
    QTest::newRow("[!...] is no slash") << "a[!_]b.qss"
                                        << "a/b.qss" << false;
    QTest::newRow("[!...] is any other character") << "a[!_]b.qss"
                                                   << "a-b.qss" << true;
    QTest::newRow("a set holding a slash still matches none") << "a[+-0]b"
                                                              << "a/b" << false;
    // "**" spans folders only as a whole segment; elsewhere it is one "*".
    QTest::newRow("** inside a name stays in its folder") << "themes/**.qss"
                                                          << "themes/a/b.qss" << false;
    QTest::newRow("** inside a name within its folder") << "themes/**.qss"
                                                        << "themes/a.qss" << true;
    QTest::newRow("**/ in the middle may be none") << "a/**/b.qss"
                                                   << "a/b.qss" << true;
    // A character past 16 bits is one character, plain or in a set.
    QTest::newRow("a character past 16 bits") << QString::fromUtf8("\xf0\x9f\x98\x80?.qss")
                                              << QString::fromUtf8("\xf0\x9f\x98\x80"
                                                                   "a.qss")
                                              << true;
    QTest::newRow("a character past 16 bits in a set")
        << QString::fromUtf8("[\xf0\x9f\x98\x80x].qss") << QString::fromUtf8("\xf0\x9f\x98\x80.qss")
        << true;
    QTest::newRow("a lone ** takes any name") << "**"
                                              << "a/b/c.qss" << true;
}

void TestGlob::matches()
{
    QFETCH(QString, glob);
    QFETCH(QString, path);
    QFETCH(bool, matches);
    QCOMPARE(PathGlob(glob).matches(path), matches);
}

void TestGlob::errors_data()
{
    QTest::addColumn<QString>("glob");
    QTest::addColumn<QString>("error"); // "" for a valid glob
    QTest::newRow("a set never closed") << "./a[b"
                                        << "\"[\" is never closed in \"./a[b\"";
    QTest::newRow("alternatives never closed") << "*.{qss,css"
                                               << "\"{\" is never closed in \"*.{qss,css\"";
    QTest::newRow("a range backwards") << "[z-a].qss"
                                       << "\"[z-a].qss\" is no glob: ";
    QTest::newRow("a closing brace alone is plain") << "a}.qss"
                                                    << "";
}

void TestGlob::errors()
{
    QFETCH(QString, glob);
    QFETCH(QString, error);
    const QString problem = PathGlob(glob).error();
    QVERIFY2(error.isEmpty() ? problem.isEmpty() : problem.startsWith(error), qPrintable(problem));
}

void TestGlob::searchBounds_data()
{
    QTest::addColumn<QString>("glob");
    QTest::addColumn<QString>("fixed");
    QTest::addColumn<int>("depth"); // -1: any
    QTest::newRow("**/ reaches any depth") << "src/ui/**/*.ui"
                                           << "src/ui/" << -1;
    QTest::newRow("a name at any depth") << "*.ui"
                                         << "" << -1;
    QTest::newRow("as deep as its folders") << "ui/*/x/*.ui"
                                            << "ui/" << 2;
    QTest::newRow("** inside a name reaches no deeper") << "ui/**.ui"
                                                        << "ui/" << 0;
}

void TestGlob::searchBounds()
{
    QFETCH(QString, glob);
    QFETCH(QString, fixed);
    QFETCH(int, depth);
    QCOMPARE(globFixedFolders(glob), fixed);
    QCOMPARE(globFolderDepth(glob), depth);
}

QTEST_GUILESS_MAIN(TestGlob)
#include "tst_glob.moc"
