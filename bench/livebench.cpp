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

    // A token edit: one colour of the template's light tokens changed and changed
    // back; the plain edit writes a sheet holding what each of those builds gives, so
    // both install the same text. Each starts from the same built-in theme, so both
    // see the same restyle, and they alternate, so both see the same machine load.
    const QString templatePath = copyThemeSources(directory.filePath(QStringLiteral("theme")));
    const QString tokenPath =
        QFileInfo(templatePath).dir().filePath(QStringLiteral("tokens/light.tokens.json"));
    QFile tokenFile(tokenPath);
    if (!tokenFile.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "cannot read %s\n", qPrintable(tokenPath));
        return 1;
    }
    QString tokenTexts[2];
    tokenTexts[0] = QString::fromUtf8(tokenFile.readAll());
    tokenTexts[1] =
        QString(tokenTexts[0]).replace(QLatin1String("\"#f6f8fb\""), QLatin1String("\"#f7f9fc\""));
    tokenFile.close();
    QByteArray builtSheets[2];
    for (int i = 0; i < 2; ++i) {
        ThemeBuildOptions options;
        options.variants = QStringList{QStringLiteral("Light")};
        options.sourceTexts.insert(QDir::cleanPath(QFileInfo(tokenPath).absoluteFilePath()),
                                   tokenTexts[i]);
        const ThemeBuild build = buildTheme(templatePath, options);
        if (!build.ok() || build.sheets.isEmpty()) {
            std::fprintf(stderr, "the template does not build\n");
            return 1;
        }
        builtSheets[i] = build.sheets.constFirst().text;
    }
    if (builtSheets[0] == builtSheets[1]) {
        std::fprintf(stderr, "the token edit does not change the sheet\n");
        return 1;
    }
    const QString plainPath = directory.filePath(QStringLiteral("built.qss"));
    writeFile(plainPath, QString::fromUtf8(builtSheets[0]));
    LiveSheet plainSheet(&window, plainPath);
    plainSheet.apply();
    LiveSheet templateSheet(&window, templatePath);
    templateSheet.apply();
    settle();
    TokenEditTimes tokenTimes;
    for (int step = 0; step < kWrites; ++step) {
        const int next = (step + 1) % 2;
        showTheme(Dark);
        repaint.arm();
        writeFile(tokenPath, tokenTexts[next]);
        double written = repaint.now();
        repaint.wait();
        tokenTimes.tokenTimes.push_back(repaint.repaintedAt() - written);
        tokenTimes.tokenApplyTimes.push_back(templateSheet.applyMilliseconds());
        settle();

        showTheme(Dark);
        repaint.arm();
        writeFile(plainPath, QString::fromUtf8(builtSheets[next]));
        written = repaint.now();
        repaint.wait();
        tokenTimes.plainTimes.push_back(repaint.repaintedAt() - written);
        tokenTimes.plainApplyTimes.push_back(plainSheet.applyMilliseconds());
        tokenTimes.pairedRatios.push_back(tokenTimes.tokenTimes.back() /
                                          tokenTimes.plainTimes.back());
        settle();
    }
    if (!templateSheet.isTemplate() || templateSheet.outcome() != LiveSheet::Outcome::Applied)
        std::fprintf(stderr, "warning: the template's last build was not installed: %s\n",
                     qPrintable(templateSheet.problem()));
    printTokenReport(tokenTimes, int(builtSheets[0].size()));
    return 0;
}
