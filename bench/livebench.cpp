// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

// On-demand benchmark of the live preview: from the write of a style sheet file to
// the repainted gallery, against applyTheme of the same built-in theme; see the README.

#include "bench/benchsupport.h"
#include "live/livesheet.h"
#include "live/sheetdiagnosticswindow.h"
#include "shell/mainwindow.h"
#include "theme/stylesheetloader.h"
#include "theme/themecatalogue.h"

#include <QApplication>
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

} // namespace

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

    // Write and floor alternate and switch between the same two themes, so both see
    // the same restyle and the same machine load.
    // Each measurement starts from a gallery fully painted in the theme it leaves, so
    // no paint left over from setting it up is counted.
    const auto showTheme = [&](Theme theme) {
        repaint.arm();
        window.applyTheme(theme);
        repaint.wait();
        settle();
        runOut();
    };
    std::vector<double> savingTimes, writeTimes, floorTimes, applyTimes, installTimes, addedTimes,
        pairedRatios;
    for (int step = 0; step < kWrites; ++step) {
        const auto from = static_cast<Theme>(step % ThemeCount);
        const auto to = static_cast<Theme>((step + 1) % ThemeCount);

        showTheme(from);
        repaint.arm();
        double start = repaint.now();
        window.applyTheme(to);
        repaint.wait();
        floorTimes.push_back(repaint.repaintedAt() - start);
        settle();

        showTheme(from);
        repaint.arm();
        start = repaint.now();
        window.applyStyleSheet(sheets[to], QStringLiteral("author.qss"));
        repaint.wait();
        installTimes.push_back(repaint.repaintedAt() - start);
        settle();

        showTheme(from);
        repaint.arm();
        start = repaint.now();
        writeFile(path, sheets[to]);
        // Timed from the moment the write is complete, as an editor's save is.
        const double written = repaint.now();
        savingTimes.push_back(written - start);
        repaint.wait();
        writeTimes.push_back(repaint.repaintedAt() - written);
        addedTimes.push_back(writeTimes.back() - floorTimes.back());
        pairedRatios.push_back(writeTimes.back() / floorTimes.back());
        applyTimes.push_back(sheet.applyMilliseconds());
        settle();
    }

    printReport(
        {savingTimes, writeTimes, floorTimes, applyTimes, installTimes, addedTimes, pairedRatios});
    return 0;
}
