// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

// On-demand benchmark of theme switching, start-up and memory; see the README.

#include "bench/benchsupport.h"
#include "preview/previewcontent.h"
#include "shell/mainwindow.h"
#include "shell/titlebar.h"
#include "switcher/styleswitcherwindow.h"
#include "theme/palettedirectives.h"
#include "theme/stylesheetloader.h"
#include "theme/themecatalogue.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QHBoxLayout>
#include <QMainWindow>
#include <QPixmapCache>
#include <QPointer>
#include <QProxyStyle>
#include <QSizeGrip>
#include <QStyleFactory>
#include <QVBoxLayout>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <iterator>
#include <malloc.h>
#include <memory>
#include <vector>

namespace {

constexpr int kRepetitions = 7;
// A switch costs a tenth of a start-up, so it can afford more.
constexpr int kSwitchRepetitions = 21;
constexpr int kSoakRounds = 100;
constexpr int kUncachedRounds = 50;

struct Sample
{
    double median;
    double min;
    double max;
};

Sample summarise(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    const double median = n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
    return {median, values.front(), values.back()};
}

void printSample(const char *label, const Sample &sample, const char *unit = "ms")
{
    std::printf("  %-58s median %8.2f %s  (min %.2f, max %.2f, spread %.1f%%)\n", label,
                sample.median, unit, sample.min, sample.max,
                sample.median > 0 ? 100.0 * (sample.max - sample.min) / sample.median : 0.0);
}

void printRatio(const char *label, const Sample &numerator, const Sample &denominator)
{
    std::printf("  %-58s %.2fx\n", label, numerator.median / denominator.median);
}

// The median of the ratios of each repetition's pair: the two ran back to back, so
// the machine's drift over the run cancels out, which it does not between medians.
void printPairedRatio(const char *label, const std::vector<double> &numerators,
                      const std::vector<double> &denominators)
{
    std::vector<double> ratios;
    for (size_t index = 0; index < numerators.size() && index < denominators.size(); ++index)
        ratios.push_back(numerators[index] / denominators[index]);
    std::printf("  %-58s %.2fx\n", label, summarise(ratios).median);
}

// Kilobytes from /proc/self/status: VmRSS now, VmHWM the peak so far.
long procStatusKb(const char *field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly | QIODevice::Text))
        return -1;
    const QByteArray prefix = QByteArray(field) + ':';
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith(prefix))
            return line.mid(prefix.size()).trimmed().split(' ').value(0).toLong();
    }
    return -1;
}

double milliseconds(const std::function<void()> &work)
{
    QElapsedTimer timer;
    timer.start();
    work();
    return timer.nsecsElapsed() / 1e6;
}

// Flags the first paint of any widget inside the watched top-level window. The
// toolkit paints a whole window in one pass, so once the event that carried the
// pass has been handled the frame is complete.
class FirstPaintWatcher : public QObject
{
public:
    explicit FirstPaintWatcher(QWidget *window)
        : window(window)
    {
        qApp->installEventFilter(this);
    }
    ~FirstPaintWatcher() override { qApp->removeEventFilter(this); }

    void wait()
    {
        QElapsedTimer timeout;
        timeout.start();
        while (!painted && timeout.elapsed() < 10000)
            QCoreApplication::processEvents();
        if (!painted)
            std::fprintf(stderr, "warning: no paint seen within 10 s\n");
    }

protected:
    bool eventFilter(QObject *object, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && object->isWidgetType() &&
            static_cast<QWidget *>(object)->window() == window)
            painted = true;
        return false;
    }

private:
    QPointer<QWidget> window;
    bool painted = false;
};

// The toolkit's floor for a restyle: Fusion under a plain proxy whose application
// polish installs a style sheet already in memory. No file reads, no palette. With
// withPalette it also writes the sheet's palette directives, to show how much of a
// theme switch is the toolkit's reaction to a new palette.
class FloorStyle : public QProxyStyle
{
public:
    FloorStyle(const QString &styleSheet, bool withPalette)
        : QProxyStyle(QStyleFactory::create(QStringLiteral("Fusion")))
        , styleSheet(styleSheet)
        , withPalette(withPalette)
    {}

    using QProxyStyle::polish;
    void polish(QPalette &palette) override
    {
        if (withPalette)
            applyPaletteDirectivesFromText(palette, styleSheet);
        else
            QProxyStyle::polish(palette);
    }
    void polish(QApplication *application) override { application->setStyleSheet(styleSheet); }

private:
    QString styleSheet;
    bool withPalette;
};

// The state a fresh process starts in: Fusion, no style sheet, its own palette.
void resetApplicationStyle()
{
    qApp->setStyleSheet(QString());
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
}

// MainWindow's widgets, laid out the same way, without any theme installed.
std::unique_ptr<QMainWindow> makeBareTree()
{
    auto window = std::make_unique<QMainWindow>();
    window->setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
    window->setWindowTitle(QStringLiteral("Prismark Preview"));
    auto *frame = new QWidget(window.get());
    frame->setObjectName(QStringLiteral("windowFrame"));
    window->setCentralWidget(frame);
    auto *frameLayout = new QVBoxLayout(frame);
    frameLayout->setContentsMargins(0, 0, 0, 0);
    frameLayout->setSpacing(0);
    frameLayout->addWidget(new TitleBar(window.get(), frame));
    frameLayout->addWidget(new PreviewContent(frame), 1);
    auto *gripLayout = new QHBoxLayout;
    gripLayout->addStretch();
    gripLayout->addWidget(new QSizeGrip(frame));
    frameLayout->addLayout(gripLayout);
    new StyleSwitcherWindow(window.get());
    window->resize(1040, 720);
    return window;
}

void showAndWaitForFirstFrame(QWidget *window)
{
    FirstPaintWatcher watcher(window);
    window->show();
    if (auto *switcher = window->findChild<StyleSwitcherWindow *>())
        switcher->show();
    watcher.wait();
}

void settle()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}

Theme themeAt(int step)
{
    return static_cast<Theme>((step + 1) % ThemeCount);
}

} // namespace

namespace {
// applyTheme against its floors, alternating, per switch.
void measureSwitches(MainWindow &window, const QString (&styleSheets)[ThemeCount])
{
    std::printf("\nTheme switch on the shown main window (per switch, twelve themes in turn)\n");
    std::vector<double> applyTimes, floorTimes, floorPaletteTimes, styleSheetTimes;
    const auto perSwitch = [](const std::function<void(Theme)> &switchTo) {
        const double total = milliseconds([&] {
            for (int step = 0; step < ThemeCount; ++step)
                switchTo(themeAt(step));
        });
        settle();
        return total / ThemeCount;
    };
    const std::function<void()> measures[] = {
        [&] { applyTimes.push_back(perSwitch([&](Theme theme) { window.applyTheme(theme); })); },
        [&] {
            floorTimes.push_back(perSwitch([&](Theme theme) {
                QApplication::setStyle(new FloorStyle(styleSheets[theme], false));
            }));
        },
        [&] {
            floorPaletteTimes.push_back(perSwitch([&](Theme theme) {
                QApplication::setStyle(new FloorStyle(styleSheets[theme], true));
            }));
        },
        [&] {
            styleSheetTimes.push_back(
                perSwitch([&](Theme theme) { qApp->setStyleSheet(styleSheets[theme]); }));
        },
    };
    const int measureCount = int(std::size(measures));
    for (int rep = 0; rep < kSwitchRepetitions; ++rep) {
        // Every other repetition in reverse, so no measure always follows the same one.
        for (int index = 0; index < measureCount; ++index)
            measures[rep % 2 ? measureCount - 1 - index : index]();
    }
    const Sample applySample = summarise(applyTimes);
    const Sample floorSample = summarise(floorTimes);
    const Sample floorPaletteSample = summarise(floorPaletteTimes);
    const Sample styleSheetSample = summarise(styleSheetTimes);
    printSample("applyTheme", applySample);
    printSample("floor: setStyle(plain proxy whose polish sets the sheet)", floorSample);
    printSample("floor + the sheet's palette directives", floorPaletteSample);
    printSample("reference: QApplication::setStyleSheet alone", styleSheetSample);
    printRatio("theme switch ratio, applyTheme / floor", applySample, floorSample);
    printRatio("palette share, (floor + palette) / floor", floorPaletteSample, floorSample);
    printRatio("applyTheme / (floor + palette)", applySample, floorPaletteSample);
    printPairedRatio("  the same, paired per repetition", applyTimes, floorPaletteTimes);
    printRatio("reference ratio, applyTheme / setStyleSheet alone", applySample, styleSheetSample);
}

// Resident memory and the live heap over many rounds of switches.
void measureMemory(MainWindow &window, long startupPeakKb)
{
    std::printf("\nResident memory (twelve themes x %d on the shown main window)\n", kSoakRounds);
    window.applyTheme(Light);
    settle();
    // Fusion caches pixmaps keyed by palette, and every switch brings a new palette,
    // so the toolkit's pixmap cache fills up to its limit during the soak. Emptying it
    // before a heap sample separates that bounded cache from anything that leaks.
    const auto liveHeapKb = [] {
        QPixmapCache::clear();
        return static_cast<long>(mallinfo2().uordblks / 1024);
    };
    const int steadyRound = std::min(10, kSoakRounds);
    std::vector<long> rssAfterRound;
    long steadyHeapKb = 0;
    for (int round = 1; round <= kSoakRounds; ++round) {
        for (int step = 0; step < ThemeCount; ++step)
            window.applyTheme(themeAt(step));
        settle();
        rssAfterRound.push_back(procStatusKb("VmRSS"));
        if (round == steadyRound)
            steadyHeapKb = liveHeapKb();
    }
    const long finalHeapKb = liveHeapKb();
    const long soakPeakKb = procStatusKb("VmHWM");
    const auto printKb = [](const QString &label, long kb) {
        std::printf("  %-58s %8ld KiB\n", qPrintable(label), kb);
    };
    printKb(QStringLiteral("peak after start-up"), startupPeakKb);
    printKb(QStringLiteral("peak after the soak (whole run)"), soakPeakKb);
    printKb(QStringLiteral("resident after round 1"), rssAfterRound.front());
    printKb(QStringLiteral("resident after round %1").arg(steadyRound),
            rssAfterRound[steadyRound - 1]);
    printKb(QStringLiteral("resident after round %1").arg(kSoakRounds), rssAfterRound.back());
    printKb(QStringLiteral("toolkit pixmap cache limit"), QPixmapCache::cacheLimit());
    printKb(QStringLiteral("live heap, pixmap cache emptied, after round %1").arg(steadyRound),
            steadyHeapKb);
    printKb(QStringLiteral("live heap, pixmap cache emptied, after round %1").arg(kSoakRounds),
            finalHeapKb);
    std::printf(
        "  %-58s %+8ld KiB\n",
        qPrintable(
            QStringLiteral("live heap growth, round %1 to %2").arg(steadyRound).arg(kSoakRounds)),
        finalHeapKb - steadyHeapKb);

    // The cache also keeps the text key of every pixmap it ever held until that key
    // is looked up again, and palette-keyed entries never are. With the cache off
    // nothing is stored, so what still grows would be the program's own.
    const int cacheLimitKb = QPixmapCache::cacheLimit();
    QPixmapCache::setCacheLimit(0);
    const long uncachedStartKb = liveHeapKb();
    for (int round = 1; round <= kUncachedRounds; ++round) {
        for (int step = 0; step < ThemeCount; ++step)
            window.applyTheme(themeAt(step));
        settle();
    }
    const long uncachedEndKb = liveHeapKb();
    QPixmapCache::setCacheLimit(cacheLimitKb);
    std::printf("  %-58s %+8ld KiB\n",
                qPrintable(QStringLiteral("live heap growth over %1 more rounds, pixmap cache off")
                               .arg(kUncachedRounds)),
                uncachedEndKb - uncachedStartKb);
}

} // namespace

int main(int argc, char *argv[])
{
    qInstallMessageHandler(quietPlatformNotices);
    QApplication application(argc, argv);
    std::printf(
        "Prismark Preview benchmark: %d repetitions (%d of the switch), platform \"%s\"\n\n",
        kRepetitions, kSwitchRepetitions, qPrintable(QGuiApplication::platformName()));

    // Peak memory of a start-up, before anything else has run in this process.
    {
        MainWindow window;
        showAndWaitForFirstFrame(&window);
    }
    settle();
    const long startupPeakKb = procStatusKb("VmHWM");

    std::printf("Start-up (construct, show, first frame painted)\n");
    std::vector<double> fullStartup, bareStartup, fullConstruct, bareConstruct;
    for (int rep = 0; rep < kRepetitions; ++rep) {
        resetApplicationStyle();
        settle();
        {
            std::unique_ptr<MainWindow> window;
            fullConstruct.push_back(milliseconds([&] { window = std::make_unique<MainWindow>(); }));
            fullStartup.push_back(fullConstruct.back() +
                                  milliseconds([&] { showAndWaitForFirstFrame(window.get()); }));
        }
        resetApplicationStyle();
        settle();
        {
            std::unique_ptr<QMainWindow> window;
            bareConstruct.push_back(milliseconds([&] { window = makeBareTree(); }));
            bareStartup.push_back(bareConstruct.back() +
                                  milliseconds([&] { showAndWaitForFirstFrame(window.get()); }));
        }
        settle();
    }
    const Sample fullStartupSample = summarise(fullStartup);
    const Sample bareStartupSample = summarise(bareStartup);
    printSample("MainWindow: construct only", summarise(fullConstruct));
    printSample("bare widget tree: construct only", summarise(bareConstruct));
    printSample("MainWindow: construct + show + first frame", fullStartupSample);
    printSample("bare widget tree: construct + show + first frame", bareStartupSample);
    printRatio("start-up ratio, MainWindow / bare tree", fullStartupSample, bareStartupSample);
    printPairedRatio("  the same, paired per repetition", fullStartup, bareStartup);

    resetApplicationStyle();
    settle();
    MainWindow window;
    showAndWaitForFirstFrame(&window);
    settle();

    QString styleSheets[ThemeCount];
    for (int theme = 0; theme < ThemeCount; ++theme)
        styleSheets[theme] = loadThemeStyleSheet(static_cast<Theme>(theme));

    measureSwitches(window, styleSheets);
    measureMemory(window, startupPeakKb);
    return 0;
}
