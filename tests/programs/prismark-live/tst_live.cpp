// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "live/livesheet.h"
#include "live/livewindowplacement.h"
#include "live/sheetdiagnosticswindow.h"
#include "shell/mainwindow.h"
#include "switcher/styleswitcherwindow.h"

#include "testsupport.h"

#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QFileSystemWatcher>
#include <QLabel>
#include <QListWidget>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QScreen>
#include <QStyleFactory>
#include <QTemporaryDir>
#include <QtTest>
#include <qpa/qwindowsysteminterface.h>

#include <algorithm>
#include <cstdio>
#include <future>
#include <memory>
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

// Longer than any test runs: a wait this long ends only with the next change.
constexpr int aLongTime = 3600 * 1000;

// Writes the text and returns once the change has been announced, as the live sheet's
// own watch announces it, and what that set off has run.
bool writeAndWaitForNotice(const QString &path, const QString &text)
{
    QFileSystemWatcher probe({path});
    QSignalSpy noticed(&probe, &QFileSystemWatcher::fileChanged);
    if (!writeFile(path, text) || !noticed.wait(5000))
        return false;
    for (int pass = 0; pass < 3; ++pass)
        QCoreApplication::processEvents();
    return true;
}

// A sheet whose header gives the window colour, with a rule that does not touch it.
QString sheetWithWindowColour(const QColor &colour)
{
    return QStringLiteral("/*\n * @palette Window = %1\n */\n").arg(colour.name()) + sheetA;
}

// The share of the window's pixels painted in the colour.
double shareInColour(QWidget &window, const QColor &colour)
{
    const QImage image = window.grab().toImage().convertToFormat(QImage::Format_RGB32);
    qint64 count = 0;
    for (int y = 0; y < image.height(); ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        count += std::count(line, line + image.width(), colour.rgb());
    }
    return double(count) / (double(image.width()) * image.height());
}

// The offscreen platform's one screen, made the size of a real one.
void setScreenGeometry(QScreen *screen, const QRect &geometry, const QRect &available)
{
    QWindowSystemInterface::handleScreenGeometryChange(screen, geometry, available);
    QWindowSystemInterface::flushWindowSystemEvents();
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

    // From now on, the style sheet in force after each update the live sheet announces.
    void recordShownSheets()
    {
        QObject::connect(&sheet, &LiveSheet::updated, &sheet,
                         [this] { shown << qApp->styleSheet(); });
    }

    QTemporaryDir directory;
    const QString path;
    QStringList shown;
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
    void burstIsAppliedOnceWithItsFinalContent_data();
    void burstIsAppliedOnceWithItsFinalContent();
    void eachBurstIsCheckedAheadOnce();
    void emptiedFileShowsOnlyOnceItStaysEmpty_data();
    void emptiedFileShowsOnlyOnceItStaysEmpty();
    void paletteHeaderIsWhatTheGalleryPaints_data();
    void paletteHeaderIsWhatTheGalleryPaints();
    void commandLineExitStatus_data();
    void commandLineExitStatus();
    void diagnosticsFrameAtTheScreensEdges_data();
    void diagnosticsFrameAtTheScreensEdges();
    void toolsFrameBesideTheApplication_data();
    void toolsFrameBesideTheApplication();
    void windowsLandOnTheScreen_data();
    void windowsLandOnTheScreen();
    void saveShowsBeforeItsFullAnalysis();
    void rejectedSheetKeepsLastGood_data();
    void rejectedSheetKeepsLastGood();
    void sheetCheckedAheadIsJudgedAsItStands_data();
    void sheetCheckedAheadIsJudgedAsItStands();
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

void TestLive::burstIsAppliedOnceWithItsFinalContent_data()
{
    QTest::addColumn<QStringList>("burst");
    QTest::addColumn<QString>("shown");
    QTest::newRow("five versions in a row: only the last shows")
        << QStringList{sheetB, sheetC, sheetA, sheetC, sheetB} << sheetB;
    QTest::newRow("a broken version early on does not keep the good last one out")
        << QStringList{brokenOnLine2, sheetC, sheetB} << sheetB;
    QTest::newRow("a good version early on does not let a broken last one in")
        << QStringList{sheetB, sheetC, brokenOnLine2} << sheetA;
}

void TestLive::burstIsAppliedOnceWithItsFinalContent()
{
    QFETCH(QStringList, burst);
    QFETCH(QString, shown);
    LivePreview live(sheetA);
    live.recordShownSheets();
    // Each write is seen before the next; the burst stays unsettled until its last one.
    live.sheet.setSettleTimes(aLongTime, aLongTime);
    const QString last = burst.takeLast();
    for (const QString &text : qAsConst(burst))
        QVERIFY(writeAndWaitForNotice(live.path, text));
    QCOMPARE(live.shown, QStringList());

    live.sheet.setSettleTimes(0, aLongTime);
    QVERIFY(writeAndWaitForNotice(live.path, last));
    QTRY_COMPARE(live.shown.size(), 1);
    QCOMPARE(live.shown, QStringList{shown});
    QCOMPARE(live.sheet.outcome(),
             shown == sheetA ? LiveSheet::Outcome::Rejected : LiveSheet::Outcome::Applied);
}

// The refusing checks run once a burst, on its first new text, while it settles; a
// burst that ended without a read leaves nothing a later burst would take as checked.
void TestLive::eachBurstIsCheckedAheadOnce()
{
    LivePreview live(sheetA);
    QStringList checked;
    live.sheet.setLinter(
        [&checked](const QByteArray &bytes, const QString &, LiveSheet::Scope scope) {
            if (scope == LiveSheet::Scope::Rejecting)
                checked << QString::fromUtf8(bytes);
            return QVector<LintDiagnostic>();
        });
    live.sheet.setSettleTimes(aLongTime, aLongTime);
    for (const QString &text : {sheetB, sheetC, sheetB})
        QVERIFY(writeAndWaitForNotice(live.path, text));
    QCOMPARE(checked, QStringList{sheetB});

    // The burst ends on a file too large to read: nothing read, nothing installed.
    live.sheet.setSettleTimes(0, aLongTime);
    QVERIFY(writeFile(live.path, QByteArray(20 * 1000 * 1000, ' ')));
    QTRY_COMPARE(live.sheet.outcome(), LiveSheet::Outcome::Unreadable);
    live.sheet.setSettleTimes(aLongTime, aLongTime);
    QVERIFY(writeAndWaitForNotice(live.path, sheetC));
    QCOMPARE(checked, (QStringList{sheetB, sheetC}));
}

void TestLive::emptiedFileShowsOnlyOnceItStaysEmpty_data()
{
    QTest::addColumn<int>("emptyMs");
    QTest::addColumn<QString>("refill");
    QTest::addColumn<QStringList>("shown");
    // The first row is an editor's save caught between its truncate and its write.
    QTest::newRow("emptied, then written before it settles: the empty sheet never shows")
        << aLongTime << sheetB << QStringList{sheetB};
    QTest::newRow("emptied and not yet settled: the last sheet stays")
        << aLongTime << QString() << QStringList();
    QTest::newRow("emptied and settled: the toolkit's own look")
        << 1 << QString() << QStringList{QString()};
}

void TestLive::emptiedFileShowsOnlyOnceItStaysEmpty()
{
    QFETCH(int, emptyMs);
    QFETCH(QString, refill);
    QFETCH(QStringList, shown);
    LivePreview live(sheetA);
    live.recordShownSheets();
    live.sheet.setSettleTimes(0, emptyMs);
    QVERIFY(writeAndWaitForNotice(live.path, QString()));
    if (!refill.isEmpty())
        QVERIFY(writeAndWaitForNotice(live.path, refill));
    if (!shown.isEmpty())
        QTRY_COMPARE(live.shown.size(), shown.size());
    QCOMPARE(live.shown, shown);
    QCOMPARE(qApp->styleSheet(), shown.isEmpty() ? sheetA : shown.last());
}

// Counts the paints of a window's widgets made with a sheet installed.
class PaintCounter : public QObject
{
public:
    PaintCounter(QWidget *window, const QString &sheet)
        : window(window)
        , sheet(sheet)
    {
        qApp->installEventFilter(this);
    }
    ~PaintCounter() override { qApp->removeEventFilter(this); }
    int paints = 0;

protected:
    bool eventFilter(QObject *object, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && object->isWidgetType() &&
            static_cast<QWidget *>(object)->window() == window && qApp->styleSheet() == sheet)
            ++paints;
        return false;
    }

private:
    QWidget *window;
    QString sheet;
};

// The author waits for a save to show, not for its diagnostics: only the checks that
// can keep a text out run before it is installed, the others once the gallery has
// painted it, and the save's one update carries what they found.
void TestLive::saveShowsBeforeItsFullAnalysis()
{
    LivePreview live(sheetA);
    live.window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&live.window));
    PaintCounter paintedWithB(&live.window, sheetB);
    QStringList calls;
    live.sheet.setLinter([&](const QByteArray &, const QString &, LiveSheet::Scope scope) {
        const bool installed = qApp->styleSheet() == sheetB;
        if (scope == LiveSheet::Scope::Rejecting) {
            calls << (installed ? QStringLiteral("rejecting, after install")
                                : QStringLiteral("rejecting"));
            return QVector<LintDiagnostic>();
        }
        calls << (paintedWithB.paints > 0 ? QStringLiteral("full, painted")
                                          : QStringLiteral("full, too early"));
        return QVector<LintDiagnostic>{diagnosticAt(4, LintSeverity::Warning, "contrast")};
    });
    QStringList listed;
    QObject::connect(&live.sheet, &LiveSheet::updated, &live.sheet, [&] {
        listed << (live.list->count() == 1 ? live.list->item(0)->text() : QString());
    });

    live.sheet.setSettleTimes(0, aLongTime);
    QVERIFY(writeFile(live.path, sheetB));
    QTRY_COMPARE(listed.size(), 1);
    QVERIFY(listed.first().startsWith(QLatin1String("4:3")));
    QCOMPARE(calls.last(), QStringLiteral("full, painted"));
    QCOMPARE(calls.count(QStringLiteral("rejecting")), calls.size() - 1);
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
        QVERIFY(makeFifo(fifo));
        badText = QStringLiteral("QLabel { color: #102030; }\nQPushButton { image: url(%1); }\n")
                      .arg(fifo);
    }
    if (realAnalysis) {
        // Asked first: a sheet naming a FIFO that reached the toolkit would block it.
        const auto found = lintStyleSheet(badText.toUtf8(), live.path);
        if (std::none_of(found.begin(), found.end(), LiveSheet::rejects))
            QFAIL("the style sheet analysis does not report the fault");
    } else {
        live.sheet.setLinter([check](const QByteArray &bytes, const QString &, LiveSheet::Scope) {
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

void TestLive::sheetCheckedAheadIsJudgedAsItStands_data()
{
    QTest::addColumn<QString>("checked");
    QTest::addColumn<QString>("installed");
    QTest::newRow("broken when checked, broken still") << brokenOnLine2 << brokenOnLine2;
    QTest::newRow("broken when checked, mended since") << brokenOnLine2 << sheetA;
    QTest::newRow("good when checked, broken since") << sheetA << brokenOnLine2;
    QTest::newRow("good when checked, good still") << sheetA << sheetA;
}

// An attached application checks its sheet on another thread while it builds its
// first window: that verdict holds for the text it was given, never for a text
// written over it before the install.
void TestLive::sheetCheckedAheadIsJudgedAsItStands()
{
    QFETCH(QString, checked);
    QFETCH(QString, installed);
    QTemporaryDir directory;
    const QString path = writtenFile(directory, checked);
    const LintConfigResult config = LiveSheet::configurationOf(path);
    const LiveSheet::CheckedAhead ahead =
        std::async(std::launch::async, &LiveSheet::checkAheadOf, path, config.options).get();
    QCOMPARE(ahead.bytes, checked.toUtf8());
    QVERIFY(writeFile(path, installed));
    QStringList installs;
    LiveSheet sheet(
        path, [&installs](const QString &text) { installs << text; }, config,
        [ahead] { return ahead; });
    sheet.apply();
    const bool good = installed == sheetA;
    QCOMPARE(sheet.outcome(), good ? LiveSheet::Outcome::Applied : LiveSheet::Outcome::Rejected);
    QCOMPARE(installs, good ? QStringList{sheetA} : QStringList());
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
        QVERIFY(makeFifo(live.path));
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
    live.sheet.setLinter([](const QByteArray &, const QString &, LiveSheet::Scope) {
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

void TestLive::paletteHeaderIsWhatTheGalleryPaints_data()
{
    QTest::addColumn<QString>("saved");
    QTest::addColumn<QColor>("painted");
    const QColor red(0x8b, 0x30, 0x26);
    const std::unique_ptr<QStyle> fusion(QStyleFactory::create(QStringLiteral("Fusion")));
    QTest::newRow("an edit to the header alone repaints in its new colour")
        << sheetWithWindowColour(red) << red;
    QTest::newRow("a sheet without a header leaves none of the old header's colours")
        << sheetA << fusion->standardPalette().color(QPalette::Window);
}

void TestLive::paletteHeaderIsWhatTheGalleryPaints()
{
    QFETCH(QString, saved);
    QFETCH(QColor, painted);
    const QColor green(0x2a, 0x6b, 0x3c);
    LivePreview live(sheetWithWindowColour(green));
    live.window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&live.window));
    QCOMPARE(QApplication::palette().color(QPalette::Window), green);
    QVERIFY(shareInColour(live.window, green) > 0.25);

    QVERIFY(writeFile(live.path, saved));
    QTRY_COMPARE(qApp->styleSheet(), saved);
    QCOMPARE(QApplication::palette().color(QPalette::Window), painted);
    QVERIFY(shareInColour(live.window, painted) > 0.25);
    QCOMPARE(shareInColour(live.window, green), 0.0);
}

void TestLive::commandLineExitStatus_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("said");
    QTest::newRow("a missing FILE is 1, and named")
        << QStringList{"@gone.qss"} << 1 << "gone.qss: no such file";
    QTest::newRow("a FIFO as FILE is 1, without a hang")
        << QStringList{"@fifo.qss"} << 1 << "a FIFO";
    QTest::newRow("no FILE is wrong usage") << QStringList() << 2 << "exactly one FILE";
    QTest::newRow("two FILEs are wrong usage")
        << QStringList{"@author.qss", "@author.qss"} << 2 << "exactly one FILE";
    QTest::newRow("an unknown option is wrong usage")
        << QStringList{"--colour", "@author.qss"} << 2 << "colour";
    QTest::newRow("a scheme that is none is wrong usage, and the schemes named")
        << QStringList{"--color-scheme", "sepia", "@author.qss"} << 2
        << "--color-scheme takes light or dark, not \"sepia\"";
    QTest::newRow("so with PROGRAM too, which is not started")
        << QStringList{"--color-scheme=", "@author.qss", "--", "true"} << 2
        << "--color-scheme takes light or dark";
}

void TestLive::commandLineExitStatus()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, status);
    QFETCH(QString, said);
    QTemporaryDir directory;
    writtenFile(directory, sheetA);
    QVERIFY(makeFifo(directory.filePath("fifo.qss")));
    arguments.replaceInStrings(QRegularExpression("^@"), directory.path() + '/');

    ProgramOptions options;
    options.timeoutMs = 30000;
    const ProgramRun live =
        runProgram(QStringLiteral(PRISMARK_LIVE_EXECUTABLE), arguments, options);
    QCOMPARE(live.exitCode, status);
    QVERIFY2(live.err.contains(said), qPrintable(live.err));
}

void TestLive::windowsLandOnTheScreen_data()
{
    QTest::addColumn<QRect>("screen");
    QTest::addColumn<QRect>("available");
    QTest::addColumn<bool>("sideBySide");
    QTest::newRow("1920 x 1080 with a panel on the left: side by side, centred beside it")
        << QRect(0, 0, 1920, 1080) << QRect(64, 0, 1856, 1080) << true;
    QTest::newRow("1366 x 768: too narrow for the three; on the screen, the main one centred")
        << QRect(0, 0, 1366, 768) << QRect(0, 0, 1366, 728) << false;
}

void TestLive::windowsLandOnTheScreen()
{
    QFETCH(QRect, screen);
    QFETCH(QRect, available);
    QFETCH(bool, sideBySide);
    QScreen *primary = QGuiApplication::primaryScreen();
    const auto restore = qScopeGuard(
        [primary, before = primary->geometry(), beforeAvailable = primary->availableGeometry()] {
            setScreenGeometry(primary, before, beforeAvailable);
        });
    setScreenGeometry(primary, screen, available);

    // As prismark-live starts.
    QTemporaryDir directory;
    MainWindow window;
    LiveSheet sheet(&window, writtenFile(directory, sheetA));
    sheet.apply();
    auto *diagnostics = new SheetDiagnosticsWindow(&sheet, &window);
    auto *switcher = window.findChild<StyleSwitcherWindow *>();
    makeRoomBesideMainWindow(&window, switcher->width() + 16);
    window.show();
    diagnostics->show();
    QVERIFY(QTest::qWaitForWindowExposed(diagnostics));

    const QRect main = window.frameGeometry();
    const QRect tool = switcher->frameGeometry();
    const QRect below = diagnostics->frameGeometry();
    QVERIFY(available.contains(tool));
    QVERIFY(available.contains(below));
    // Just below the switcher, as wide as it, tall enough for a list.
    QCOMPARE(below.left(), tool.left());
    QCOMPARE(below.width(), tool.width());
    QVERIFY(below.top() > tool.bottom() && below.top() <= tool.bottom() + 24);
    QVERIFY(below.height() >= 220);
    if (sideBySide) {
        QVERIFY(available.contains(main));
        QVERIFY(!main.intersects(tool) && !main.intersects(below));
        const int marginLeft = main.left() - available.left();
        const int marginRight = available.right() - tool.right();
        QVERIFY2(qAbs(marginLeft - marginRight) <= 16,
                 qPrintable(QStringLiteral("%1 left, %2 right").arg(marginLeft).arg(marginRight)));
    } else {
        // Too narrow for the three: the main window keeps its place in the middle.
        QVERIFY(qAbs(main.center().x() - available.center().x()) <= 1);
    }
}

void TestLive::diagnosticsFrameAtTheScreensEdges_data()
{
    QTest::addColumn<QRect>("switcher");
    QTest::addColumn<QRect>("expected");
    // A screen of 1000 x 800; a frame of 300 x 400 wanted, 220 at least; gap 12.
    QTest::newRow("room below: just below, full height")
        << QRect(600, 100, 300, 200) << QRect(600, 312, 300, 400);
    QTest::newRow("less room than wanted: below, as tall as the room")
        << QRect(600, 300, 300, 200) << QRect(600, 512, 300, 288);
    QTest::newRow("exactly the least height below: still below")
        << QRect(600, 368, 300, 200) << QRect(600, 580, 300, 220);
    QTest::newRow("one pixel less: above, as tall as the room there")
        << QRect(600, 369, 300, 200) << QRect(600, 0, 300, 357);
    QTest::newRow("no room either way: above, the least height, inside the screen")
        << QRect(600, 100, 300, 600) << QRect(600, 0, 300, 220);
    QTest::newRow("past the right edge: moved in")
        << QRect(850, 100, 300, 200) << QRect(700, 312, 300, 400);
}

void TestLive::diagnosticsFrameAtTheScreensEdges()
{
    QFETCH(QRect, switcher);
    QFETCH(QRect, expected);
    QCOMPARE(diagnosticsFrameRect(switcher, QSize(300, 400), 220, QRect(0, 0, 1000, 800)),
             expected);
}

void TestLive::toolsFrameBesideTheApplication_data()
{
    QTest::addColumn<QRect>("windows");
    QTest::addColumn<QRect>("expected");
    // A screen of 1000 x 800 from x 100; a frame of 300 x 400 wanted; gap 12.
    QTest::newRow("room at the right: there, level with the windows")
        << QRect(150, 50, 400, 300) << QRect(562, 50, 300, 400);
    QTest::newRow("one pixel short at the right: at the left")
        << QRect(500, 50, 289, 300) << QRect(188, 50, 300, 400);
    QTest::newRow("room on neither side: the screen's right edge")
        << QRect(150, 50, 800, 300) << QRect(800, 50, 300, 400);
    QTest::newRow("windows low on the screen: moved up to fit")
        << QRect(150, 600, 400, 300) << QRect(562, 400, 300, 400);
    QTest::newRow("windows on another screen at the left: inside this one")
        << QRect(-900, 50, 400, 300) << QRect(100, 50, 300, 400);
}

void TestLive::toolsFrameBesideTheApplication()
{
    QFETCH(QRect, windows);
    QFETCH(QRect, expected);
    QCOMPARE(besideWindowsFrameRect(windows, QSize(300, 400), QRect(100, 0, 1000, 800)), expected);
}

QTEST_MAIN(TestLive)
#include "tst_live.moc"
