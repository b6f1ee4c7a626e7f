// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "support/safefileread.h"

#include "testsupport.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>

// Reading never blocks and never reads more than allowed, whatever the name turns out to be.
class TestSafeFileRead : public QObject
{
    Q_OBJECT
private slots:
    void refusesWhatIsNotARegularFile_data();
    void refusesWhatIsNotARegularFile();
    void sizeLimit();
    void textModeFoldsCrLf();
};

void TestSafeFileRead::refusesWhatIsNotARegularFile_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("error");
    QTest::newRow("a FIFO is refused without waiting for a writer") << "fifo"
                                                                    << "a FIFO";
    QTest::newRow("a directory is refused") << "directory"
                                            << "a directory";
    QTest::newRow("a character device is refused") << "device"
                                                   << "a device";
    QTest::newRow("a missing file says so") << "missing"
                                            << "No such file or directory";
}

void TestSafeFileRead::refusesWhatIsNotARegularFile()
{
    QFETCH(QString, kind);
    QFETCH(QString, error);
    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("sheet.qss"));
    if (kind == "fifo")
        QVERIFY(makeFifo(path));
    else if (kind == "directory")
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("sheet.qss")));
    else if (kind == "device")
        path = QStringLiteral("/dev/zero"); // would never end if read
    const FileReadResult result = readRegularFile(path);
    QVERIFY(!result.ok);
    QVERIFY(result.bytes.isEmpty());
    QCOMPARE(result.error, error);
}

void TestSafeFileRead::sizeLimit()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("sheet.qss"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(QByteArray(2 * 1024 * 1024, 'a'));
    file.close();

    QCOMPARE(readRegularFile(path, 2 * 1024 * 1024).bytes.size(), 2 * 1024 * 1024);
    const FileReadResult over = readRegularFile(path, 2 * 1024 * 1024 - 1);
    QVERIFY(!over.ok);
    QVERIFY(over.bytes.isEmpty());
    QCOMPARE(over.error, QStringLiteral("larger than the limit of 2097151 bytes"));
    QCOMPARE(readRegularFile(path, 1024 * 1024).error,
             QStringLiteral("larger than the limit of 1 MiB"));
}

void TestSafeFileRead::textModeFoldsCrLf()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("sheet.qss"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("a {}\r\nb {}\r\n");
    file.close();
    QCOMPARE(readRegularFile(path, -1, true).bytes, QByteArray("a {}\nb {}\n"));
    QCOMPARE(readRegularFile(path).bytes, QByteArray("a {}\r\nb {}\r\n"));
}

QTEST_GUILESS_MAIN(TestSafeFileRead)
#include "tst_safefileread.moc"
