// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "support/watchedfile.h"

#include "testsupport.h"

#include <QDir>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <cstdio>

// A file watched by its name through each way an editor saves it: after the save
// the watch wakes, and once renewed it wakes for a write in place to the new file,
// which only a watch on that file itself sees.
class TestWatchedFile : public QObject
{
    Q_OBJECT

private slots:
    void followsEverySave_data();
    void followsEverySave();
    void aFifoAtTheNameIsNeverOpened();
};

namespace {
bool write(const QString &path, const QByteArray &bytes,
           QIODevice::OpenMode mode = QIODevice::WriteOnly)
{
    QFile file(path);
    return file.open(mode) && file.write(bytes) == bytes.size();
}
} // namespace

void TestWatchedFile::followsEverySave_data()
{
    QTest::addColumn<bool>("existsAtStart");
    QTest::addColumn<QString>("save");
    QTest::newRow("written in place") << true << "in place";
    QTest::newRow("renamed over the name") << true << "rename";
    QTest::newRow("deleted and created again") << true << "recreate";
    QTest::newRow("missing at the start, created later") << false << "create";
}

void TestWatchedFile::followsEverySave()
{
    QFETCH(bool, existsAtStart);
    QFETCH(QString, save);
    QTemporaryDir directory;
    QVERIFY(directory.isValid());
    const QString path = directory.filePath(QStringLiteral("sheet.qss"));
    if (existsAtStart)
        QVERIFY(write(path, "QLabel { color: red; }"));
    WatchedFile file(path);
    QCOMPARE(file.stamp().isEmpty(), !existsAtStart);
    if (!existsAtStart)
        QVERIFY(file.missingText().contains(QLatin1String("sheet.qss")));
    const QString before = file.stamp();
    QSignalSpy changed(&file, &WatchedFile::changed);

    if (save == QLatin1String("in place")) {
        QVERIFY(write(path, "QLabel { color: blue; }"));
    } else if (save == QLatin1String("rename")) {
        const QString saved = directory.filePath(QStringLiteral("sheet.qss.new"));
        QVERIFY(write(saved, "QLabel { color: blue; }"));
        QCOMPARE(
            std::rename(QFile::encodeName(saved).constData(), QFile::encodeName(path).constData()),
            0);
    } else {
        if (save == QLatin1String("recreate"))
            QVERIFY(QFile::remove(path));
        QVERIFY(write(path, "QLabel { color: blue; }"));
    }
    QTRY_VERIFY(changed.count() > 0);
    QVERIFY(file.stamp() != before);

    // Renewed, it watches what stands at the name now.
    file.renew();
    QTest::qWait(50);
    changed.clear();
    QVERIFY(write(path, "QLabel { color: green; }", QIODevice::Append));
    QTRY_VERIFY(changed.count() > 0);
}

void TestWatchedFile::aFifoAtTheNameIsNeverOpened()
{
    QTemporaryDir directory;
    QVERIFY(directory.isValid());
    const QString path = directory.filePath(QStringLiteral("sheet.qss"));
    WatchedFile file(path);
    QSignalSpy changed(&file, &WatchedFile::changed);
    QVERIFY(makeFifo(path));
    QTRY_VERIFY(changed.count() > 0);
    // Looking at it and watching it never opens it: nothing here blocks.
    QVERIFY(!file.stamp().isEmpty());
    file.renew();
    file.renew();
    QVERIFY(QFile::remove(path));
    QTRY_VERIFY(file.stamp().isEmpty());
}

QTEST_GUILESS_MAIN(TestWatchedFile)
#include "tst_watchedfile.moc"
