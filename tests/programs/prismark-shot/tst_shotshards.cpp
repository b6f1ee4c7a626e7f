// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "prismark-shot/shotoptions.h"
#include "prismark-shot/shotshards.h"
#include "prismark-shot/shotsubjects.h"
#include "testsupport.h"

#include <QDirIterator>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <algorithm>

// prismark-shot --shard K/N and --merge: the parts of a matrix, each rendered on its
// own, joined give what one run of the whole gives, to the byte and the exit code.
class TestShotShards : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void partsSplitTheMatrixEvenly_data();
    void partsSplitTheMatrixEvenly();
    void mergedPartsAreOneRun_data();
    void mergedPartsAreOneRun();
    void mergeRefusesPartsThatMakeNoWhole_data();
    void mergeRefusesPartsThatMakeNoWhole();

private:
    ProgramRun shot(const QStringList &arguments);
    QString path(const QString &name) const { return dir.filePath(name); }

    QTemporaryDir dir;
    QString form;
};

namespace {

const QStringList kMatrix{"--theme", "light",          "--tab",      "buttons,views", "--scale",
                          "1,2",     "--color-scheme", "light,dark", "--quiet"};

const char kForm[] = R"(<?xml version="1.0" encoding="UTF-8"?>
<ui version="4.0">
 <class>LabelForm</class>
 <widget class="QWidget" name="LabelForm">
  <property name="geometry"><rect><x>0</x><y>0</y><width>300</width><height>120</height></rect></property>
  <layout class="QVBoxLayout" name="layout">
   <item><widget class="QLabel" name="label"><property name="text"><string>Label</string></property></widget></item>
   <item><widget class="QPushButton" name="button"><property name="text"><string>OK</string></property></widget></item>
  </layout>
 </widget>
</ui>
)";

QMap<QString, QByteArray> filesUnder(const QString &root)
{
    QMap<QString, QByteArray> files;
    QDirIterator it(root, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        QFile file(it.next());
        if (file.open(QIODevice::ReadOnly))
            files.insert(QDir(root).relativeFilePath(file.fileName()), file.readAll());
    }
    return files;
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

} // namespace

ProgramRun TestShotShards::shot(const QStringList &arguments)
{
    return runProgram(QStringLiteral(PRISMARK_SHOT_EXECUTABLE), arguments);
}

void TestShotShards::initTestCase()
{
    QVERIFY(dir.isValid());
    form = path("form.ui");
    QVERIFY(writeFile(form, kForm));
    QVERIFY(writeFile(path("dim.qss"), "QLabel { color: #101010; }\n"));
    // Baselines: one the matrix matches, and one where a dark image changed and a
    // disabled render no run of the matrix makes is left over.
    QCOMPARE(shot(kMatrix + QStringList{"--out", path("baseline")}).exitCode, 0);
    QCOMPARE(shot(kMatrix + QStringList{"--out", path("changed")}).exitCode, 0);
    QVERIFY(QFile::remove(path("changed/light-dark/views@2x.png")));
    QVERIFY(QFile::copy(path("changed/light-dark/buttons@2x.png"),
                        path("changed/light-dark/views@2x.png")));
    QVERIFY(QFile::copy(path("changed/light-dark/buttons.png"),
                        path("changed/light-dark/buttons-disabled.png")));
}

void TestShotShards::partsSplitTheMatrixEvenly_data()
{
    QTest::addColumn<int>("themes");
    QTest::addColumn<QVector<qreal>>("scales");
    QTest::addColumn<int>("shards");
    QTest::newRow("twelve themes in four parts") << 12 << QVector<qreal>{1} << 4;
    QTest::newRow("one theme, four scales, in three parts")
        << 1 << QVector<qreal>{1, 1.5, 2, 3} << 3;
    QTest::newRow("more parts than cells leaves parts empty") << 1 << QVector<qreal>{1, 2} << 5;
    QTest::newRow("one part holds all") << 3 << QVector<qreal>{1, 2} << 1;
}

// Every cell in exactly one part, and no part heavier than the lightest by more than
// the dearest cell: what longest first, to the lightest part, promises.
void TestShotShards::partsSplitTheMatrixEvenly()
{
    QFETCH(int, themes);
    QFETCH(QVector<qreal>, scales);
    QFETCH(int, shards);
    ShotOptions options;
    options.baseStyles = QStringList{"fusion", "windows"};
    options.directions = {Qt::LeftToRight};
    options.scales = scales;
    ShotSubjects subjects;
    subjects.themes.resize(themes);
    subjects.tabs.resize(8);
    const int cells = matrixCellCount(options, themes);
    QVector<int> holders(cells, 0);
    QVector<qint64> loads;
    qint64 dearest = 0;
    for (int shard = 1; shard <= shards; ++shard) {
        const QVector<bool> held = shardCells(options, subjects, shard, shards);
        QCOMPARE(held, shardCells(options, subjects, shard, shards));
        QCOMPARE(held.size(), cells);
        qint64 load = 0;
        for (int cell = 0; cell < cells; ++cell) {
            holders[cell] += held[cell] ? 1 : 0;
            load += held[cell] ? matrixCellCost(options, subjects, cell) : 0;
            dearest = std::max(dearest, matrixCellCost(options, subjects, cell));
        }
        loads << load;
    }
    QCOMPARE(holders, QVector<int>(cells, 1));
    const auto [lightest, heaviest] = std::minmax_element(loads.cbegin(), loads.cend());
    QVERIFY2(*heaviest - *lightest <= dearest,
             qPrintable(QStringLiteral("%1 .. %2, dearest cell %3")
                            .arg(*lightest)
                            .arg(*heaviest)
                            .arg(dearest)));
}

void TestShotShards::mergedPartsAreOneRun_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::newRow("a comparison that passes, with contact sheets")
        << kMatrix + QStringList{"--compare", path("baseline"), "--contact-sheet"} << 0;
    QTest::newRow("a comparison that fails in one part")
        << kMatrix + QStringList{"--compare", path("changed")} << 1;
    QTest::newRow("a WCAG audit per scheme")
        << QStringList{"--theme",      "light",    "--sheet", path("dim.qss"), "--color-scheme",
                       "light,dark",   "--tab",    "none",    "--form",        form,
                       "--audit=wcag", "--format", "json",    "--quiet"}
        << 1;
}

void TestShotShards::mergedPartsAreOneRun()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    const QString root = path(QStringLiteral("runs/") + QTest::currentDataTag());
    const bool audit = arguments.contains("--audit=wcag");
    const QStringList pages{"--html", root + "/one-pages"};
    const ProgramRun one =
        shot(arguments + QStringList{"--out", root + "/one"} + (audit ? pages : QStringList()));
    QCOMPARE(one.exitCode, exitCode);
    QStringList parts;
    for (const char *shard : {"1/3", "2/3", "3/3"}) {
        parts << root + QStringLiteral("/part%1").arg(parts.size() + 1);
        const ProgramRun part =
            shot(arguments + QStringList{"--shard", shard, "--out", parts.last()});
        QVERIFY2(part.exitCode == 0 || part.exitCode == 1, qPrintable(part.err));
    }
    const ProgramRun merged =
        shot(QStringList{"--merge", root + "/merged"} +
             (audit ? QStringList{"--html", root + "/merged-pages"} : QStringList()) + parts);
    QCOMPARE(merged.exitCode, exitCode);
    QCOMPARE(merged.out, one.out);
    const QMap<QString, QByteArray> expected = filesUnder(root + "/one");
    const QMap<QString, QByteArray> files = filesUnder(root + "/merged");
    QCOMPARE(files.keys(), expected.keys());
    for (auto file = expected.cbegin(); file != expected.cend(); ++file)
        QVERIFY2(files.value(file.key()) == file.value(), qPrintable(file.key()));
    if (audit) {
        QCOMPARE(filesUnder(root + "/merged-pages"), filesUnder(root + "/one-pages"));
        QVERIFY(!filesUnder(root + "/one-pages").isEmpty());
    }
}

void TestShotShards::mergeRefusesPartsThatMakeNoWhole_data()
{
    QTest::addColumn<QStringList>("parts");
    QTest::addColumn<QString>("message");
    QTest::newRow("a part missing") << QStringList{"a1", "a3"} << "part 2/3 is missing";
    QTest::newRow("a part twice") << QStringList{"a1", "a2", "a2copy", "a3"} << "are both part 2/3";
    QTest::newRow("a part of another matrix")
        << QStringList{"a1", "b2", "a3"} << "are parts of different matrices";
    QTest::newRow("a folder that is no part")
        << QStringList{"a1", "a2", "baseline"} << "is no --shard part";
    QTest::newRow("a part whose theme folder leaves OUT")
        << QStringList{"a1", "escape", "a3"} << "values out of range";
}

void TestShotShards::mergeRefusesPartsThatMakeNoWhole()
{
    QFETCH(QStringList, parts);
    QFETCH(QString, message);
    const QString root = path("refusals");
    if (!QFileInfo::exists(root + "/a3")) {
        for (int shard = 1; shard <= 3; ++shard)
            QCOMPARE(shot(kMatrix + QStringList{"--shard", QStringLiteral("%1/3").arg(shard),
                                                "--out", root + QStringLiteral("/a%1").arg(shard)})
                         .exitCode,
                     0);
        QCOMPARE(shot(kMatrix +
                      QStringList{"--direction", "rtl", "--shard", "2/3", "--out", root + "/b2"})
                     .exitCode,
                 0);
        QCOMPARE(shot(kMatrix + QStringList{"--shard", "2/3", "--out", root + "/a2copy"}).exitCode,
                 0);
        QFile manifest(root + "/a2/shard.json");
        QVERIFY(manifest.open(QIODevice::ReadOnly) && QDir().mkpath(root + "/escape"));
        QVERIFY(writeFile(root + "/escape/shard.json",
                          manifest.readAll().replace("\"light-dark\"", "\"../light-dark\"")));
    }
    QStringList folders;
    for (const QString &part : parts)
        folders << (part == "baseline" ? path(part) : root + '/' + part);
    const ProgramRun run = shot(QStringList{"--merge", root + "/out"} + folders);
    QCOMPARE(run.exitCode, 2);
    QVERIFY2(run.err.contains(message), qPrintable(run.err));
    QVERIFY(!QFileInfo::exists(root + "/out"));
}

QTEST_GUILESS_MAIN(TestShotShards)
#include "tst_shotshards.moc"
