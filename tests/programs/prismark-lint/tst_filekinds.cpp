// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "prismark-lint/filekinds.h"

#include <QtTest>

// Which row of the kinds of file a file is checked as, and which a folder walk takes.
class TestFileKinds : public QObject
{
    Q_OBJECT

private slots:
    void kindOfAFile_data();
    void kindOfAFile();
};

void TestFileKinds::kindOfAFile_data()
{
    QTest::addColumn<QString>("path"); // "-" for standard input
    QTest::addColumn<QString>("name"); // what it goes by
    QTest::addColumn<QString>("kind");
    QTest::addColumn<bool>("walked");
    QTest::newRow("a sheet") << "a.qss"
                             << "a.qss"
                             << "sheet" << true;
    QTest::newRow("any other name is read as a sheet, but not walked") << "a.css"
                                                                       << "a.css"
                                                                       << "sheet" << false;
    QTest::newRow("a template") << "t.qss.in"
                                << "t.qss.in"
                                << "template" << false;
    QTest::newRow("standard input named as a template is a sheet") << "-"
                                                                   << "t.qss.in"
                                                                   << "sheet" << false;
    QTest::newRow("standard input named as a source is one") << "-"
                                                             << "w.cpp"
                                                             << "C++" << true;
    QTest::newRow("a form, whatever the case of its suffix") << "ui/a.UI"
                                                             << "ui/a.UI"
                                                             << "form" << true;
    QTest::newRow("a header") << "a.hh"
                              << "a.hh"
                              << "C++" << true;
    QTest::newRow("a Python source") << "a.py"
                                     << "a.py"
                                     << "Python" << true;
}

void TestFileKinds::kindOfAFile()
{
    QFETCH(QString, path);
    QFETCH(QString, name);
    QFETCH(QString, kind);
    QFETCH(bool, walked);
    const LintFileKind &found = lintFileKindOf(LintedFile{path, name, {}});
    QCOMPARE(QString::fromLatin1(found.name), kind);
    QCOMPARE(isWalkedFileName(name), walked);
    // The forms a walk finds are the application's, and only those.
    QCOMPARE(found.applicationForms, kind == QLatin1String("form"));
}

QTEST_GUILESS_MAIN(TestFileKinds)
#include "tst_filekinds.moc"
