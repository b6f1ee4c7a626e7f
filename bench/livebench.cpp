// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

// On-demand benchmark of the live preview: from the write of a style sheet file to
// the repainted gallery, against applyTheme of the same built-in theme; then a token
// edit of a theme template against a plain sheet edit of the same size; see the README.

#include "bench/benchsupport.h"
#include "live/livesheet.h"
#include "live/sheetdiagnosticswindow.h"
#include "shell/mainwindow.h"
#include "theme/stylesheetloader.h"
#include "theme/themecatalogue.h"
#include "tokens/themebuild.h"

#include <QApplication>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr int kWrites = 30;

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

// Notes when the main window is repainted once armed: the time of the last of its
// widgets' paints in the pass. The toolkit paints a window in one pass, so when the
// events that carried the pass are handled, it is done; what those events run after
// the paint (the live sheet's full analysis, say) is not part of it. Armed before
// the change, so it must be armed on a gallery with nothing left to paint (see
// runOut).
class RepaintWatcher : public QObject
{
public:
    explicit RepaintWatcher(QWidget *window)
        : window(window)
    {
        clock.start();
        qApp->installEventFilter(this);
    }
    ~RepaintWatcher() override { qApp->removeEventFilter(this); }

    void arm() { armed = true; }
    // On the watcher's clock, in milliseconds.
    double now() const { return clock.nsecsElapsed() / 1e6; }
    double repaintedAt() const { return lastPaint; }

    // Blocks in the event loop until the armed paint has happened, as the program
    // sleeps in its own loop while a burst settles. (processEvents with a time limit
    // drops WaitForMoreEvents and would spin through the settle instead.)
    void wait()
    {
        QTimer timeout;
        timeout.setSingleShot(true);
        timeout.start(10000);
        while (!painted && timeout.isActive())
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        if (!painted) {
            std::fprintf(stderr, "warning: no repaint within 10 s\n");
            lastPaint = now();
        }
        armed = painted = false;
    }

protected:
    bool eventFilter(QObject *object, QEvent *event) override
    {
        if (armed && event->type() == QEvent::Paint && object->isWidgetType() &&
            static_cast<QWidget *>(object)->window() == window) {
            painted = true;
            lastPaint = now();
        }
        return false;
    }

private:
    QWidget *window;
    QElapsedTimer clock;
    bool armed = false;
    bool painted = false;
    double lastPaint = 0;
};

void settle()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}

// Runs the event loop for a moment. A theme change leaves work behind that
// processEvents() does not wait for (the toolkit's layout settles, and repaints, on
// the next pass); left over, it would land in the next measurement.
void runOut()
{
    QTimer moment;
    moment.setSingleShot(true);
    moment.start(50);
    while (moment.isActive())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

bool writeFile(const QString &path, const QString &text)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(text.toUtf8()) >= 0;
}

// What one run measured, step by step.
struct LiveTimes
{
    std::vector<double> savingTimes, writeTimes, floorTimes, applyTimes, installTimes, addedTimes,
        pairedRatios;
};

void printReport(const LiveTimes &times)
{
    const double writeMedian = median(times.writeTimes);
    const double floorMedian = median(times.floorTimes);
    std::printf("  %-52s median %7.2f ms\n", "writing the file (not counted below)",
                median(times.savingTimes));
    std::printf("  %-52s median %7.2f ms\n", "file written -> gallery repainted", writeMedian);
    std::printf("  %-52s median %7.2f ms\n", "  of which change seen -> sheet installed",
                median(times.applyTimes));
    std::printf("  %-52s median %7.2f ms\n", "floor: applyTheme -> gallery repainted", floorMedian);
    std::printf("  %-52s median %7.2f ms\n", "the same text installed directly -> repainted",
                median(times.installTimes));
    std::printf("  %-52s %.2fx\n", "ratio, write / floor", writeMedian / floorMedian);
    // Step by step, so that the machine's drift over the run cancels out.
    std::printf("  %-52s %.2fx\n", "  the same, paired per step", median(times.pairedRatios));
    std::printf("  %-52s median %7.2f ms\n", "added by the live path (write - floor, each step)",
                median(times.addedTimes));
    std::printf("\n  goal: at most 100 ms and at most 1.3x the floor: %s\n",
                writeMedian <= 100 && writeMedian <= 1.3 * floorMedian ? "met" : "NOT met");
}

// The theme sources (the template and its token files) copied under target, so they
// can be written; the copied template's path.
QString copyThemeSources(const QString &target)
{
    const QDir from = QFileInfo(QStringLiteral(PRISMARK_THEME_TEMPLATE)).dir();
    QDirIterator files(from.path(), QDir::Files, QDirIterator::Subdirectories);
    while (files.hasNext()) {
        const QString file = files.next();
        const QString copy = target + QLatin1Char('/') + from.relativeFilePath(file);
        QDir().mkpath(QFileInfo(copy).path());
        QFile::copy(file, copy);
    }
    return target + QLatin1Char('/') +
           QFileInfo(QStringLiteral(PRISMARK_THEME_TEMPLATE)).fileName();
}

struct TokenEditTimes
{
    std::vector<double> tokenTimes, plainTimes, tokenApplyTimes, plainApplyTimes, pairedRatios;
};

void printTokenReport(const TokenEditTimes &times, int sheetBytes)
{
    const double token = median(times.tokenTimes);
    const double plain = median(times.plainTimes);
    std::printf(
        "\nToken edit of the built-in themes' template (variant Light, a %d-byte sheet)\n\n",
        sheetBytes);
    std::printf("  %-52s median %7.2f ms\n", "token file written -> gallery repainted", token);
    std::printf("  %-52s median %7.2f ms\n", "  of which change seen -> sheet built, installed",
                median(times.tokenApplyTimes));
    std::printf("  %-52s median %7.2f ms\n", "plain sheet written -> gallery repainted", plain);
    std::printf("  %-52s median %7.2f ms\n", "  of which change seen -> sheet installed",
                median(times.plainApplyTimes));
    std::printf("  %-52s %.2fx\n", "ratio, token edit / plain edit", token / plain);
    std::printf("  %-52s %.2fx\n", "  the same, paired per step", median(times.pairedRatios));
    std::printf("\n  goal: a token edit at most 1.2x a plain edit: %s\n",
                token <= 1.2 * plain ? "met" : "NOT met");
}

// What is measured, on which platform, with sheets of which sizes.
void printHeader(const QString (&sheets)[ThemeCount])
{
    std::printf(
        "Prismark Live benchmark: %d writes, platform \"%s\", sheets of %d to %d bytes\n\n",
        kWrites, qPrintable(QGuiApplication::platformName()),
        int(std::min_element(std::begin(sheets), std::end(sheets),
                             [](const QString &a, const QString &b) { return a.size() < b.size(); })
                ->size()),
        int(std::max_element(std::begin(sheets), std::end(sheets),
                             [](const QString &a, const QString &b) { return a.size() < b.size(); })
                ->size()));
}

// The gallery being measured and the watcher of its repaints.
struct Bench
{
    MainWindow &window;
    RepaintWatcher &repaint;

    // Each measurement starts from a gallery fully painted in the theme it leaves, so
    // no paint left over from setting it up is counted.
    void showTheme(Theme theme)
    {
        repaint.arm();
        window.applyTheme(theme);
        repaint.wait();
        settle();
        runOut();
    }
};

// Write and floor alternate and switch between the same two themes, so both see the
// same restyle and the same machine load.
LiveTimes measureLiveWrites(Bench &bench, LiveSheet &sheet, const QString &path,
                            const QString (&sheets)[ThemeCount])
{
    RepaintWatcher &repaint = bench.repaint;
    LiveTimes times;
    for (int step = 0; step < kWrites; ++step) {
        const auto from = static_cast<Theme>(step % ThemeCount);
        const auto to = static_cast<Theme>((step + 1) % ThemeCount);

        bench.showTheme(from);
        repaint.arm();
        double start = repaint.now();
        bench.window.applyTheme(to);
        repaint.wait();
        times.floorTimes.push_back(repaint.repaintedAt() - start);
        settle();

        bench.showTheme(from);
        repaint.arm();
        start = repaint.now();
        bench.window.applyStyleSheet(sheets[to], QStringLiteral("author.qss"));
        repaint.wait();
        times.installTimes.push_back(repaint.repaintedAt() - start);
        settle();

        bench.showTheme(from);
        repaint.arm();
        start = repaint.now();
        writeFile(path, sheets[to]);
        // Timed from the moment the write is complete, as an editor's save is.
        const double written = repaint.now();
        times.savingTimes.push_back(written - start);
        repaint.wait();
        times.writeTimes.push_back(repaint.repaintedAt() - written);
        times.addedTimes.push_back(times.writeTimes.back() - times.floorTimes.back());
        times.pairedRatios.push_back(times.writeTimes.back() / times.floorTimes.back());
        times.applyTimes.push_back(sheet.applyMilliseconds());
        settle();
    }
    return times;
}

// A token edit: one colour of the template's light tokens changed and changed back,
// and the sheet each of the two token texts builds.
struct TokenEdit
{
    QString templatePath, tokenPath;
    QString tokenTexts[2];
    QByteArray builtSheets[2];
};

// Copies the theme sources under directory and builds both token texts; false, with
// the reason on standard error, when that fails.
bool prepareTokenEdit(const QTemporaryDir &directory, TokenEdit &edit)
{
    edit.templatePath = copyThemeSources(directory.filePath(QStringLiteral("theme")));
    edit.tokenPath =
        QFileInfo(edit.templatePath).dir().filePath(QStringLiteral("tokens/light.tokens.json"));
    QFile tokenFile(edit.tokenPath);
    if (!tokenFile.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "cannot read %s\n", qPrintable(edit.tokenPath));
        return false;
    }
    edit.tokenTexts[0] = QString::fromUtf8(tokenFile.readAll());
    edit.tokenTexts[1] = QString(edit.tokenTexts[0])
                             .replace(QLatin1String("\"#f6f8fb\""), QLatin1String("\"#f7f9fc\""));
    tokenFile.close();
    for (int i = 0; i < 2; ++i) {
        ThemeBuildOptions options;
        options.variants = QStringList{QStringLiteral("Light")};
        options.sourceTexts.insert(QDir::cleanPath(QFileInfo(edit.tokenPath).absoluteFilePath()),
                                   edit.tokenTexts[i]);
        const ThemeBuild build = buildTheme(edit.templatePath, options);
        if (!build.ok() || build.sheets.isEmpty()) {
            std::fprintf(stderr, "the template does not build\n");
            return false;
        }
        edit.builtSheets[i] = build.sheets.constFirst().text;
    }
    if (edit.builtSheets[0] == edit.builtSheets[1]) {
        std::fprintf(stderr, "the token edit does not change the sheet\n");
        return false;
    }
    return true;
}

// The token edit against a plain sheet edit that installs the same text. Each starts
// from the same built-in theme, so both see the same restyle, and they alternate, so
// both see the same machine load.
TokenEditTimes measureTokenEdits(Bench &bench, const TokenEdit &edit, LiveSheet &templateSheet,
                                 LiveSheet &plainSheet)
{
    RepaintWatcher &repaint = bench.repaint;
    TokenEditTimes times;
    for (int step = 0; step < kWrites; ++step) {
        const int next = (step + 1) % 2;
        bench.showTheme(Dark);
        repaint.arm();
        writeFile(edit.tokenPath, edit.tokenTexts[next]);
        double written = repaint.now();
        repaint.wait();
        times.tokenTimes.push_back(repaint.repaintedAt() - written);
        times.tokenApplyTimes.push_back(templateSheet.applyMilliseconds());
        settle();

        bench.showTheme(Dark);
        repaint.arm();
        writeFile(plainSheet.path(), QString::fromUtf8(edit.builtSheets[next]));
        written = repaint.now();
        repaint.wait();
        times.plainTimes.push_back(repaint.repaintedAt() - written);
        times.plainApplyTimes.push_back(plainSheet.applyMilliseconds());
        times.pairedRatios.push_back(times.tokenTimes.back() / times.plainTimes.back());
        settle();
    }
    return times;
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(quietPlatformNotices);
    QApplication application(argc, argv);

    QString sheets[ThemeCount];
    for (int theme = 0; theme < ThemeCount; ++theme)
        sheets[theme] = loadThemeStyleSheet(static_cast<Theme>(theme));
    QTemporaryDir directory;
    const QString path = directory.filePath(QStringLiteral("author.qss"));
    writeFile(path, sheets[Light]);

    MainWindow window;
    LiveSheet sheet(&window, path);
    sheet.apply();
    auto *diagnostics = new SheetDiagnosticsWindow(&sheet, &window);
    RepaintWatcher repaint(&window);
    window.show();
    diagnostics->show();
    settle();
    printHeader(sheets);

    Bench bench{window, repaint};
    printReport(measureLiveWrites(bench, sheet, path, sheets));

    TokenEdit edit;
    if (!prepareTokenEdit(directory, edit))
        return 1;
    const QString plainPath = directory.filePath(QStringLiteral("built.qss"));
    writeFile(plainPath, QString::fromUtf8(edit.builtSheets[0]));
    LiveSheet plainSheet(&window, plainPath);
    plainSheet.apply();
    LiveSheet templateSheet(&window, edit.templatePath);
    templateSheet.apply();
    settle();
    const TokenEditTimes tokenTimes = measureTokenEdits(bench, edit, templateSheet, plainSheet);
    if (!templateSheet.isTemplate() || templateSheet.outcome() != LiveSheet::Outcome::Applied)
        std::fprintf(stderr, "warning: the template's last build was not installed: %s\n",
                     qPrintable(templateSheet.problem()));
    printTokenReport(tokenTimes, int(edit.builtSheets[0].size()));
    return 0;
}
