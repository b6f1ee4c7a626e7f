// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "support/folderwalk.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

// The one folder walk: a project as git keeps it, in path order, and the bounded
// searches of a configuration, nearest folder first.
class TestFolderWalk : public QObject
{
    Q_OBJECT

private slots:
    void walksWhatGitKeeps();
    void ordersAndBounds_data();
    void ordersAndBounds();
};

namespace {
void write(const QString &path, const QByteArray &content = QByteArray())
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(content);
}

QStringList relativeTo(const QString &root, const QStringList &files)
{
    QStringList relative;
    for (const QString &file : files)
        relative.append(QDir(root).relativeFilePath(file));
    return relative;
}
} // namespace

void TestFolderWalk::walksWhatGitKeeps()
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
    FolderWalk walk;
    walk.asGitKeepsIt = true;
    walk.pathOrder = true;
    walk.wanted = [](const QString &path) {
        return path.endsWith(QLatin1String(".cpp")) || path.endsWith(QLatin1String(".py")) ||
               path.endsWith(QLatin1String(".ui"));
    };
    QCOMPARE(relativeTo(r, walkFolder(r, walk).files),
             (QStringList{"main.cpp", "src/b.py", "src/forms/kept.ui", "third/sub/deep.py"}));
}

void TestFolderWalk::ordersAndBounds_data()
{
    QTest::addColumn<bool>("pathOrder");
    QTest::addColumn<int>("maxDepth");
    QTest::addColumn<int>("maxFolders");
    QTest::addColumn<QStringList>("expected"); // "…" last when the walk stopped short
    // "b-.x" comes after the folder "b" by name, though before "b/c.x" as text.
    QTest::newRow("path order: a folder's files where its name falls")
        << true << -1 << -1 << QStringList{"a.x", "b/c.x", "b/d/e.x", "b-.x"};
    QTest::newRow("nearest folder first")
        << false << -1 << -1 << QStringList{"a.x", "b-.x", "b/c.x", "b/d/e.x"};
    QTest::newRow("one folder down") << false << 1 << -1 << QStringList{"a.x", "b-.x", "b/c.x"};
    QTest::newRow("the root alone") << false << 0 << -1 << QStringList{"a.x", "b-.x"};
    QTest::newRow("two folders read, the walk stops short")
        << false << -1 << 2 << QStringList{"a.x", "b-.x", "b/c.x", "…"};
}

void TestFolderWalk::ordersAndBounds()
{
    QFETCH(bool, pathOrder);
    QFETCH(int, maxDepth);
    QFETCH(int, maxFolders);
    QFETCH(QStringList, expected);
    QTemporaryDir root;
    const QString r = root.path();
    for (const char *file : {"a.x", "b/c.x", "b/d/e.x", "b-.x", ".h/f.x", "b/g.y"})
        write(r + QLatin1Char('/') + QLatin1String(file));
    // A link to a folder is never followed, and outside a project's walk neither is
    // a link to a file.
    QVERIFY(QFile::link(r + "/b", r + "/link"));
    QVERIFY(QFile::link(r + "/a.x", r + "/z.x"));
    FolderWalk walk;
    walk.pathOrder = pathOrder;
    walk.maxDepth = maxDepth;
    walk.maxFolders = maxFolders;
    walk.wanted = [](const QString &path) { return path.endsWith(QLatin1String(".x")); };
    const WalkedFiles walked = walkFolder(r, walk);
    QStringList found = relativeTo(r, walked.files);
    if (!walked.complete)
        found.append(QStringLiteral("…"));
    QCOMPARE(found, expected);
}

QTEST_GUILESS_MAIN(TestFolderWalk)
#include "tst_folderwalk.moc"
