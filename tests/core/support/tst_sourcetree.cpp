// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "support/sourcetree.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

// A folder walked as git would leave it: the common .gitignore patterns, nested
// files, negation, and .git itself.
class TestSourceTree : public QObject
{
    Q_OBJECT

private slots:
    void ignores_data();
    void ignores();
    void walksWhatGitKeeps();
};

void TestSourceTree::ignores_data()
{
    QTest::addColumn<QString>("gitignore"); // the root's
    QTest::addColumn<QString>("path");
    QTest::addColumn<bool>("folder");
    QTest::addColumn<bool>("ignored");

    QTest::newRow("a name matches at any depth") << "*.o"
                                                 << "src/deep/a.o" << false << true;
    QTest::newRow("a star stops at a slash") << "src/*.cpp"
                                             << "src/deep/a.cpp" << false << false;
    QTest::newRow("a star within one folder") << "src/*.cpp"
                                              << "src/a.cpp" << false << true;
    QTest::newRow("a question mark is one character") << "a?.py"
                                                      << "ab.py" << false << true;
    QTest::newRow("a question mark is not two") << "a?.py"
                                                << "abc.py" << false << false;
    QTest::newRow("leading slash anchors to the folder") << "/build"
                                                         << "src/build" << true << false;
    QTest::newRow("leading slash at the top") << "/build"
                                              << "build" << true << true;
    QTest::newRow("trailing slash takes folders only") << "out/"
                                                       << "out" << false << false;
    QTest::newRow("trailing slash takes the folder") << "out/"
                                                     << "a/out" << true << true;
    QTest::newRow("leading double star") << "**/gen/*.h"
                                         << "x/y/gen/a.h" << false << true;
    QTest::newRow("leading double star at the top") << "**/gen/*.h"
                                                    << "gen/a.h" << false << true;
    QTest::newRow("inner double star crosses folders") << "a/**/b.ui"
                                                       << "a/x/y/b.ui" << false << true;
    QTest::newRow("inner double star may be none") << "a/**/b.ui"
                                                   << "a/b.ui" << false << true;
    QTest::newRow("trailing double star takes the inside") << "doc/**"
                                                           << "doc/x/y.py" << false << true;
    QTest::newRow("negation takes a file back") << "*.ui\n!keep.ui"
                                                << "forms/keep.ui" << false << false;
    QTest::newRow("the last pattern wins") << "!keep.ui\n*.ui"
                                           << "keep.ui" << false << true;
    QTest::newRow("a comment is no pattern") << "# *.ui"
                                             << "a.ui" << false << false;
    QTest::newRow("an escaped hash is a name") << "\\#x.py"
                                               << "#x.py" << false << true;
    QTest::newRow("a character class") << "[ab].cpp"
                                       << "b.cpp" << false << true;
    QTest::newRow("a negated character class") << "[!ab].cpp"
                                               << "b.cpp" << false << false;
    QTest::newRow("CR LF lines") << "*.o\r\n*.py\r\n"
                                 << "a.py" << false << true;
    QTest::newRow("trailing blanks are dropped") << "*.py   "
                                                 << "a.py" << false << true;
    QTest::newRow("dots are literal") << "a.ui"
                                      << "abui" << false << false;
}

void TestSourceTree::ignores()
{
    QFETCH(QString, gitignore);
    QFETCH(QString, path);
    QFETCH(bool, folder);
    QFETCH(bool, ignored);
    GitIgnore ignore;
    ignore.addFile(QString(), gitignore);
    QCOMPARE(ignore.ignored(path, folder), ignored);
}

namespace {
void write(const QString &path, const QByteArray &content = QByteArray())
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(content);
}
} // namespace

void TestSourceTree::walksWhatGitKeeps()
{
    QTemporaryDir root;
    QVERIFY(root.isValid());
    const QString r = root.path();
    write(r + "/.gitignore", "build/\n*.gen.py\n");
    write(r + "/main.cpp");
    write(r + "/notes.txt");
    write(r + "/.git/config.py");
    write(r + "/build/moc.cpp");
    write(r + "/src/a.gen.py");
    write(r + "/src/b.py");
    write(r + "/src/forms/.gitignore", "*.ui\n!kept.ui\n");
    write(r + "/src/forms/dropped.ui");
    write(r + "/src/forms/kept.ui");
    write(r + "/src/other/dropped.ui.bak");
    write(r + "/third/.gitignore", "/*.py\n");
    write(r + "/third/top.py");
    write(r + "/third/sub/deep.py");
    const QStringList files = walkSourceTree(r, [](const QString &name) {
        return name.endsWith(QLatin1String(".cpp")) || name.endsWith(QLatin1String(".py")) ||
               name.endsWith(QLatin1String(".ui"));
    });
    QStringList relative;
    for (const QString &file : files)
        relative.append(QDir(r).relativeFilePath(file));
    QCOMPARE(relative,
             (QStringList{"main.cpp", "src/b.py", "src/forms/kept.ui", "third/sub/deep.py"}));
}

QTEST_GUILESS_MAIN(TestSourceTree)
#include "tst_sourcetree.moc"
