// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "theme/stylesheetloader.h"

#include "testsupport.h"

#include <QtTest>

#include <sys/stat.h>
#include <unistd.h>

namespace {

// What a test row puts into one "styles" directory.
enum class Disk
{
    None,
    Text,
    Empty,
    Directory,
    Fifo,
    Unreadable
};

QString compiledIn(const QString &fileName)
{
    return readStyleSheetFile(QStringLiteral(":/styles/%1").arg(fileName));
}

QString dataDirectoryCopy(const QString &fileName)
{
    return readStyleSheetFile(QDir(styleSheetSearchDirectories().at(2)).filePath(fileName));
}

void place(const QString &directory, const QString &fileName, Disk kind, const QByteArray &text)
{
    QVERIFY(QDir().mkpath(directory));
    const QString path = QDir(directory).filePath(fileName);
    switch (kind) {
    case Disk::None:
        return;
    case Disk::Directory:
        QVERIFY(QDir().mkpath(path));
        return;
    case Disk::Fifo:
        QVERIFY(makeFifo(path));
        return;
    case Disk::Text:
    case Disk::Empty:
    case Disk::Unreadable: {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        if (kind != Disk::Empty)
            file.write(text);
        file.close();
        if (kind == Disk::Unreadable)
            QVERIFY(file.setPermissions(QFileDevice::WriteOwner));
        return;
    }
    }
}

} // namespace

Q_DECLARE_METATYPE(Disk)

class TestStyleSheetLoader : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void searchDirectoriesInOrder();
    void dataDirectoryFollowsTheExecutable();
    void compiledInCopiesExist();
    void precedence_data();
    void precedence();
    void completeMissGivesEmptyText();
    void lineEndsAndEncoding_data();
    void lineEndsAndEncoding();
    void diskFallbackWhenCompiledInCopyIsGone();
    void largeFileIsReadWhole();

private:
    QTemporaryDir workingDirectory;
    QString previousCurrent;
};

void TestStyleSheetLoader::init()
{
    QVERIFY(workingDirectory.isValid());
    previousCurrent = QDir::currentPath();
    QVERIFY(QDir::setCurrent(workingDirectory.path()));
}

void TestStyleSheetLoader::cleanup()
{
    QDir::setCurrent(previousCurrent);
    // Give back read rights first, or removeRecursively leaves unreadable files behind.
    for (const QString &root : {stylesBesideExecutable(), workingDirectory.filePath("styles")}) {
        QDirIterator it(root, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System,
                        QDirIterator::Subdirectories);
        while (it.hasNext())
            QFile::setPermissions(it.next(), QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                                 QFileDevice::ExeOwner);
        QDir(root).removeRecursively();
    }
}

void TestStyleSheetLoader::searchDirectoriesInOrder()
{
    const QStringList directories = styleSheetSearchDirectories();
    QCOMPARE(directories.size(), 3);
    QCOMPARE(directories.at(0), stylesBesideExecutable());
    QCOMPARE(directories.at(1), QDir(workingDirectory.path()).filePath("styles"));
    QVERIFY(QFileInfo(directories.at(2)).isAbsolute());
    QVERIFY(!dataDirectoryCopy("light.qss").isEmpty());
}

void TestStyleSheetLoader::dataDirectoryFollowsTheExecutable()
{
    // The test binary runs from the build tree, so its data directory is the build's copy.
    const QString buildCopy = styleSheetDataDirectory(QCoreApplication::applicationDirPath());
    QVERIFY(QFileInfo(QDir(buildCopy).filePath("light.qss")).isFile());

    // An unpacked or moved installation: bin/ beside share/prismark/styles.
    const QString root = workingDirectory.filePath("unpacked/usr");
    QVERIFY(QDir().mkpath(root + "/bin"));
    QCOMPARE(styleSheetDataDirectory(root + "/bin"), buildCopy);
    QVERIFY(QDir().mkpath(root + "/share/prismark/styles"));
    QCOMPARE(styleSheetDataDirectory(root + "/bin"), root + "/share/prismark/styles");
}

void TestStyleSheetLoader::compiledInCopiesExist()
{
    for (int value = 0; value < ThemeCount; ++value) {
        const QString fileName = styleSheetFileName(Theme(value));
        QVERIFY2(compiledIn(fileName).startsWith("/*\n@palette Window = #"), qPrintable(fileName));
    }
}

void TestStyleSheetLoader::precedence_data()
{
    QTest::addColumn<int>("theme");
    QTest::addColumn<Disk>("beside");
    QTest::addColumn<Disk>("current");
    QTest::addColumn<QString>("expected");

    // "beside", "current": the texts written there; "compiled", "data": those copies.
    QTest::newRow("dark.qss beside the executable overrides the compiled-in copy")
        << int(Dark) << Disk::Text << Disk::None << "beside";
    QTest::newRow("light.qss beside the executable overrides the compiled-in copy")
        << int(Light) << Disk::Text << Disk::None << "beside";
    QTest::newRow("blueLight.qss beside the executable is ignored")
        << int(BlueLight) << Disk::Text << Disk::Text << "compiled";
    QTest::newRow("purpleBlue.qss in the working directory is ignored")
        << int(PurpleBlue) << Disk::None << Disk::Text << "compiled";
    QTest::newRow("beside the executable wins over the working directory")
        << int(Dark) << Disk::Text << Disk::Text << "beside";
    QTest::newRow("working directory copy is used when none is beside the executable")
        << int(Light) << Disk::None << Disk::Text << "current";
    QTest::newRow("empty light.qss beside the executable is skipped")
        << int(Light) << Disk::Empty << Disk::Text << "current";
    QTest::newRow("empty copies in both places fall through to the data directory")
        << int(Light) << Disk::Empty << Disk::Empty << "data";
    QTest::newRow("directory named dark.qss is skipped")
        << int(Dark) << Disk::Directory << Disk::Text << "current";
    QTest::newRow("FIFO named light.qss is skipped instead of blocking")
        << int(Light) << Disk::Fifo << Disk::Text << "current";
    QTest::newRow("FIFO in the working directory is skipped too")
        << int(Dark) << Disk::None << Disk::Fifo << "data";
    QTest::newRow("unreadable dark.qss is skipped")
        << int(Dark) << Disk::Unreadable << Disk::Text << "current";
    QTest::newRow("out-of-range theme reads like Light")
        << 12 << Disk::Text << Disk::None << "beside";
    QTest::newRow("negative theme reads like Light") << -1 << Disk::None << Disk::Text << "current";
}

void TestStyleSheetLoader::precedence()
{
    QFETCH(int, theme);
    QFETCH(Disk, beside);
    QFETCH(Disk, current);
    QFETCH(QString, expected);

    if ((beside == Disk::Unreadable || current == Disk::Unreadable) && ::geteuid() == 0)
        QSKIP("file permissions do not stop root from reading");

    const QString fileName = styleSheetFileName(Theme(theme));
    place(stylesBesideExecutable(), fileName, beside, "/* beside the executable */");
    place(QDir::current().filePath("styles"), fileName, current, "/* working directory */");

    QString want;
    if (expected == "beside")
        want = "/* beside the executable */";
    else if (expected == "current")
        want = "/* working directory */";
    else if (expected == "compiled")
        want = compiledIn(fileName);
    else
        want = dataDirectoryCopy(fileName);
    QVERIFY(!want.isEmpty());
    QCOMPARE(loadThemeStyleSheet(Theme(theme)), want);
}

void TestStyleSheetLoader::completeMissGivesEmptyText()
{
    QCOMPARE(readStyleSheetFromDisk("noSuchTheme.qss"), QString());
    QCOMPARE(readStyleSheetFile(":/styles/noSuchTheme.qss"), QString());
    QCOMPARE(readStyleSheetFile(QString()), QString());
}

void TestStyleSheetLoader::lineEndsAndEncoding_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("expected");

    QTest::newRow("CR LF arrives as LF") << QByteArray("a {\r\n}\r\n") << "a {\n}\n";
    QTest::newRow("mixed line ends") << QByteArray("a\r\nb\nc") << "a\nb\nc";
    QTest::newRow("UTF-8 is decoded")
        << QByteArray("/* \xc3\xa9 */") << QString::fromUtf8("/* é */");
    QTest::newRow("invalid UTF-8 is replaced, not dropped")
        << QByteArray("x\xff\xfey") << QString::fromUtf8("x\xef\xbf\xbd\xef\xbf\xbdy");
    // Text ends at a NUL byte under either toolkit, so a file that starts with one
    // reads as empty and the search goes on.
    QTest::newRow("a NUL byte ends the text") << QByteArray("a\0b", 3) << QString("a");
    QTest::newRow("a file that starts with a NUL byte is skipped")
        << QByteArray("\0/* after the NUL */", 20) << dataDirectoryCopy("dark.qss");
}

void TestStyleSheetLoader::lineEndsAndEncoding()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, expected);

    place(stylesBesideExecutable(), "dark.qss", Disk::Text, bytes);
    QCOMPARE(readStyleSheetFromDisk("dark.qss"), expected);
}

void TestStyleSheetLoader::diskFallbackWhenCompiledInCopyIsGone()
{
    place(stylesBesideExecutable(), "blueLight.qss", Disk::Text, "/* beside the executable */");
    Q_CLEANUP_RESOURCE(styles);
    const QString withoutResources = loadThemeStyleSheet(BlueLight);
    const QString lightWithoutResources = loadThemeStyleSheet(Light);
    Q_INIT_RESOURCE(styles);

    QCOMPARE(withoutResources, QString("/* beside the executable */"));
    QCOMPARE(lightWithoutResources, dataDirectoryCopy("light.qss"));
    QCOMPARE(loadThemeStyleSheet(BlueLight), compiledIn("blueLight.qss"));
}

void TestStyleSheetLoader::largeFileIsReadWhole()
{
    const QByteArray big(24 * 1024 * 1024, 'x');
    place(stylesBesideExecutable(), "dark.qss", Disk::Text, big);
    QCOMPARE(loadThemeStyleSheet(Dark).size(), big.size());
}

QTEST_GUILESS_MAIN(TestStyleSheetLoader)
#include "tst_stylesheetloader.moc"
