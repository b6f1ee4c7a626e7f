// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "live/livesheet.h"
#include "live/sheetdiagnosticswindow.h"
#include "shell/mainwindow.h"
#include "switcher/styleswitcherwindow.h"

#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QtTest>

#include <algorithm>
#include <cstdio>
#include <sys/stat.h>

namespace {

const QString sheetA = QStringLiteral("QLabel { color: #102030; }\n");
const QString sheetB = QStringLiteral("QLabel { color: #405060; }\n");
const QString sheetC = QStringLiteral("QLabel { color: #708090; }\n");
// The toolkit drops this whole sheet: the second rule has no opening brace.
const QString brokenOnLine2 =
    QStringLiteral("QLabel { color: #102030; }\nQPushButton color: red; }\n");

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(bytes) == bytes.size();
}

bool writeFile(const QString &path, const QString &text)
{
    return writeFile(path, text.toUtf8());
}

LintDiagnostic diagnosticAt(int line, LintSeverity severity, const QString &check)
{
    return {QString(), line, 3, severity, check, QStringLiteral("made up for the test")};
}

QString writtenFile(const QTemporaryDir &directory, const QString &text)
{
    const QString path = directory.filePath(QStringLiteral("author.qss"));
    writeFile(path, text);
    return path;
}

// A live preview of author.qss in a temporary directory, started on a first text.
struct LivePreview
{
    explicit LivePreview(const QString &initial)
        : path(writtenFile(directory, initial))
    {
        sheet.apply();
    }

    QString statusLine() const
    {
        return window.findChild<QLabel *>(QStringLiteral("statusLabel"))->text();
    }

    // Everything the diagnostics window says, its labels and its list.
    QString diagnosticsText() const
    {
        QStringList texts;
        for (const QLabel *label : diagnostics->findChildren<QLabel *>())
            texts << label->text();
        for (int row = 0; row < list->count(); ++row)
            texts << list->item(row)->text();
        return texts.join(QLatin1Char('\n'));
    }

    QTemporaryDir directory;
    const QString path;
    MainWindow window;
    LiveSheet sheet{&window, path};
    SheetDiagnosticsWindow *diagnostics = new SheetDiagnosticsWindow(&sheet, &window);
    QListWidget *list = diagnostics->findChild<QListWidget *>();
};

} // namespace

class TestLive : public QObject
{
    Q_OBJECT

private slots:
    void changedFileIsApplied_data();
    void changedFileIsApplied();
    void burstSettlesOnItsFinalContent();
    void rejectedSheetKeepsLastGood_data();
    void rejectedSheetKeepsLastGood();
    void unreadableFileIsRefused_data();
    void unreadableFileIsRefused();
    void applyButtonReturnsFromBuiltInTheme();
    void activatedDiagnosticOpensEditorOrCopies_data();
    void activatedDiagnosticOpensEditorOrCopies();
};

void TestLive::changedFileIsApplied_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<QString>("newText");
    QTest::newRow("written in place") << "in place" << sheetB;
    QTest::newRow("new file renamed over it") << "rename" << sheetB;
    QTest::newRow("deleted, then created again") << "re-create" << sheetB;
    QTest::newRow("emptied: the toolkit's own look") << "in place" << QString();
}

void TestLive::changedFileIsApplied()
{
    QFETCH(QString, how);
    QFETCH(QString, newText);
    LivePreview live(sheetA);
    QCOMPARE(qApp->styleSheet(), sheetA);
    QCOMPARE(live.statusLine(), QStringLiteral("Current style: author.qss"));

    if (how == QLatin1String("rename")) {
        const QString saved = live.directory.filePath(QStringLiteral("author.qss.new"));
        QVERIFY(writeFile(saved, newText));
        // As editors save: one atomic rename over the old file (QFile::rename
        // would refuse an existing target).
        QCOMPARE(::rename(QFile::encodeName(saved).constData(),
                          QFile::encodeName(live.path).constData()),
                 0);
    } else {
        if (how == QLatin1String("re-create")) {
            // While it is gone the last sheet stays, and the window says so.
            QVERIFY(QFile::remove(live.path));
            QTRY_COMPARE(live.sheet.outcome(), LiveSheet::Outcome::Missing);
            QCOMPARE(qApp->styleSheet(), sheetA);
            QVERIFY2(live.diagnosticsText().contains("author.qss is missing; waiting"),
                     qPrintable(live.diagnosticsText()));
        }
        QVERIFY(writeFile(live.path, newText));
    }
    QTRY_COMPARE(qApp->styleSheet(), newText);
    QCOMPARE(live.statusLine(), QStringLiteral("Current style: author.qss"));

    // The watch must survive the change: the next save is seen too.
    QVERIFY(writeFile(live.path, sheetC));
    QTRY_COMPARE(qApp->styleSheet(), sheetC);
}

void TestLive::burstSettlesOnItsFinalContent()
{
    LivePreview live(sheetA);
    for (int i = 0; i < 50; ++i) {
        QVERIFY(writeFile(live.path, QStringLiteral("QLabel { margin: %1px; }\n").arg(i)));
        QCoreApplication::processEvents();
    }
    QVERIFY(writeFile(live.path, sheetB));
    QTRY_COMPARE(qApp->styleSheet(), sheetB);
    // Nothing older may follow the final content.
    QTest::qWait(300);
    QCOMPARE(qApp->styleSheet(), sheetB);
}

void TestLive::rejectedSheetKeepsLastGood_data()
{
    QTest::addColumn<QString>("check");
    QTest::addColumn<bool>("realAnalysis");
    // The first two rows go through the style sheet analysis itself.
    QTest::newRow("syntax error, found by the analysis") << "syntax" << true;
    QTest::newRow("FIFO as an image, found by the analysis") << "unsafe-resource" << true;
    QTest::newRow("syntax error, injected verdict") << "syntax" << false;
    QTest::newRow("unsafe resource, injected verdict") << "unsafe-resource" << false;
}

void TestLive::rejectedSheetKeepsLastGood()
{
    QFETCH(QString, check);
    QFETCH(bool, realAnalysis);
    LivePreview live(sheetA);
    QString badText = brokenOnLine2;
    if (check == QLatin1String("unsafe-resource")) {
        const QString fifo = live.directory.filePath(QStringLiteral("pipe.png"));
        QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
        badText = QStringLiteral("QLabel { color: #102030; }\nQPushButton { image: url(%1); }\n")
                      .arg(fifo);
    }
    if (realAnalysis) {
        // Asked first: a sheet naming a FIFO that reached the toolkit would block it.
        const auto found = lintStyleSheet(badText.toUtf8(), live.path);
        if (std::none_of(found.begin(), found.end(), LiveSheet::rejects))
            QFAIL("the style sheet analysis does not report the fault");
    } else {
        live.sheet.setLinter([check](const QByteArray &bytes, const QString &) {
            QVector<LintDiagnostic> found{diagnosticAt(1, LintSeverity::Warning, "contrast")};
            if (bytes.contains("QPushButton"))
                found << diagnosticAt(2, LintSeverity::Error, check);
            return found;
        });
    }

    QVERIFY(writeFile(live.path, badText));
    QTRY_COMPARE(live.sheet.outcome(), LiveSheet::Outcome::Rejected);
    QCOMPARE(qApp->styleSheet(), sheetA);
    QCOMPARE(live.statusLine(), QStringLiteral("Current style: author.qss"));
    // The error is listed first, at its line, and named as the reason.
    QVERIFY(live.list->count() > 0);
    QVERIFY2(live.list->item(0)->text().startsWith(QLatin1String("2:")) &&
                 live.list->item(0)->text().endsWith(QStringLiteral("[%1]").arg(check)),
             qPrintable(live.list->item(0)->text()));
    QVERIFY(live.diagnosticsText().contains(QLatin1String("Not applied: line 2")));

    QVERIFY(writeFile(live.path, sheetB));
    QTRY_COMPARE(qApp->styleSheet(), sheetB);
}

void TestLive::unreadableFileIsRefused_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("said");
    QTest::newRow("a FIFO in its place") << "fifo"
                                         << "a FIFO";
    QTest::newRow("a 20 MB file") << "large"
                                  << "16 MiB";
}

void TestLive::unreadableFileIsRefused()
{
    QFETCH(QString, kind);
    QFETCH(QString, said);
    LivePreview live(sheetA);
    if (kind == QLatin1String("fifo")) {
        QVERIFY(QFile::remove(live.path));
        QCOMPARE(::mkfifo(QFile::encodeName(live.path).constData(), 0600), 0);
    } else {
        QVERIFY(writeFile(live.path, QByteArray(20 * 1000 * 1000, ' ')));
    }
    QTRY_COMPARE(live.sheet.outcome(), LiveSheet::Outcome::Unreadable);
    QCOMPARE(qApp->styleSheet(), sheetA);
    QVERIFY2(live.diagnosticsText().contains(said), qPrintable(live.diagnosticsText()));
}

void TestLive::applyButtonReturnsFromBuiltInTheme()
{
    LivePreview live(sheetA);
    // Light was checked before the file was applied; picking it must still work.
    auto *light =
        live.window.findChild<StyleSwitcherWindow *>()->findChildren<QRadioButton *>().first();
    light->click();
    QCOMPARE(live.statusLine(), QStringLiteral("Current style: Light"));
    QVERIFY(qApp->styleSheet() != sheetA);

    live.diagnostics->findChild<QPushButton *>()->click();
    QCOMPARE(qApp->styleSheet(), sheetA);
    QCOMPARE(live.statusLine(), QStringLiteral("Current style: author.qss"));
}

void TestLive::activatedDiagnosticOpensEditorOrCopies_data()
{
    QTest::addColumn<QByteArray>("visual");
    QTest::addColumn<QByteArray>("editor");
    QTest::addColumn<QStringList>("expectedArguments");
    QTest::newRow("EDITOR with an option of its own")
        << QByteArray() << QByteArray("STUB -w") << QStringList{"-w", "+7", "PATH"};
    QTest::newRow("VISUAL wins over EDITOR")
        << QByteArray("STUB") << QByteArray("false") << QStringList{"+7", "PATH"};
    QTest::newRow("neither set: copied to the clipboard")
        << QByteArray() << QByteArray() << QStringList();
}

void TestLive::activatedDiagnosticOpensEditorOrCopies()
{
    QFETCH(QByteArray, visual);
    QFETCH(QByteArray, editor);
    QFETCH(QStringList, expectedArguments);
    QTemporaryDir scripts;
    const QString stub = scripts.filePath(QStringLiteral("editor"));
    const QString record = stub + QStringLiteral(".args");
    QVERIFY(writeFile(stub, QStringLiteral("#!/bin/sh\nprintf '%s\\n' \"$@\" > \"$0.tmp\" && "
                                           "mv \"$0.tmp\" \"$0.args\"\n")));
    QVERIFY(QFile::setPermissions(stub, QFile::ReadOwner | QFile::ExeOwner));
    qputenv("VISUAL", visual.replace("STUB", QFile::encodeName(stub)));
    qputenv("EDITOR", editor.replace("STUB", QFile::encodeName(stub)));

    LivePreview live(sheetA);
    live.sheet.setLinter([](const QByteArray &, const QString &) {
        return QVector<LintDiagnostic>{diagnosticAt(7, LintSeverity::Warning, "contrast")};
    });
    live.sheet.apply();
    QCOMPARE(live.list->count(), 1);
    emit live.list->itemActivated(live.list->item(0));

    if (expectedArguments.isEmpty()) {
        QCOMPARE(QGuiApplication::clipboard()->text(), live.path + QStringLiteral(":7:3"));
    } else {
        expectedArguments.replaceInStrings(QStringLiteral("PATH"), live.path);
        QTRY_VERIFY(QFile::exists(record));
        QFile recorded(record);
        QVERIFY(recorded.open(QIODevice::ReadOnly | QIODevice::Text));
        QCOMPARE(QString::fromUtf8(recorded.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts),
                 expectedArguments);
    }
    qunsetenv("VISUAL");
    qunsetenv("EDITOR");
}

QTEST_MAIN(TestLive)
#include "tst_live.moc"
