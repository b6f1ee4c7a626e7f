// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

// On-demand benchmark of prismark-shot: every theme and tab plus contact sheets,
// end to end, and the rendering alone; the full matrix of base styles, scales and
// directions; the state audit of every theme. See the README.

#include "prismark-shot/shotcommand.h"
#include "prismark-shot/shotnames.h"
#include "prismark-shot/shotrenderer.h"
#include "theme/themecatalogue.h"

#include <QApplication>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

#include <fcntl.h>
#include <unistd.h>

namespace {

constexpr int kRepetitions = 3;
constexpr int kTabs = 8;
constexpr int kImages = ThemeCount * kTabs;
const QStringList kScales{QStringLiteral("1"), QStringLiteral("1.25"), QStringLiteral("1.5"),
                          QStringLiteral("2")};
// Base styles x scales x directions.
constexpr int kCombinations = 2 * 4 * 2;
// Pixels of one combination of every scale over those of scale 1: 1 + 1.25^2 + ...
constexpr double kPixelShare = (1 + 1.5625 + 2.25 + 4) / 4;

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Strips the last audit wrote, for its time per image.
int auditStrips = 0;

double timeRun(const QStringList &options, int expected = ShotSuccess)
{
    QTemporaryDir out;
    QElapsedTimer timer;
    timer.start();
    const int code = runShot(QStringList{QStringLiteral("prismark-shot"), QStringLiteral("--theme"),
                                         QStringLiteral("all"), QStringLiteral("--quiet"),
                                         QStringLiteral("--out"), out.path()} +
                             options);
    const double seconds = timer.nsecsElapsed() / 1e9;
    if (code != expected)
        std::fprintf(stderr, "prismark-shot-bench: the run failed with exit code %d\n", code);
    if (options.contains(QStringLiteral("--audit"))) {
        auditStrips = 0;
        for (QDirIterator it(out.path(), {QStringLiteral("*.png")}, QDir::Files,
                             QDirIterator::Subdirectories);
             it.hasNext(); it.next())
            ++auditStrips;
    }
    return seconds;
}

double timeFullRun()
{
    return timeRun({QStringLiteral("--contact-sheet")});
}

double timeMatrix()
{
    return timeRun({QStringLiteral("--contact-sheet"), QStringLiteral("--base-style"),
                    QStringLiteral("fusion,windows"), QStringLiteral("--direction"),
                    QStringLiteral("ltr,rtl"), QStringLiteral("--scale"), kScales.join(',')});
}

// The built-in themes have findings, so the audit ends with status 1; its report
// goes where the benchmark's own lines do not.
double timeAudit()
{
    std::fflush(stdout);
    const int saved = dup(STDOUT_FILENO);
    const int null = open("/dev/null", O_WRONLY);
    dup2(null, STDOUT_FILENO);
    const double seconds = timeRun({QStringLiteral("--audit")}, ShotDifferences);
    std::fflush(stdout);
    dup2(saved, STDOUT_FILENO);
    close(null);
    close(saved);
    return seconds;
}

double timeRenderingOnly()
{
    ShotRenderer renderer(QSize(1040, 720));
    QElapsedTimer timer;
    timer.start();
    for (int value = 0; value < ThemeCount; ++value) {
        renderer.applyTheme(builtInShotTheme(static_cast<Theme>(value)), QString(),
                            QStringLiteral("fusion"), Qt::LeftToRight);
        for (int tab = 0; tab < kTabs; ++tab)
            renderer.render(tab, false, 1);
    }
    return timer.nsecsElapsed() / 1e9;
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    ShotRenderer::prepareApplication();

    std::vector<double> full;
    std::vector<double> rendering;
    std::vector<double> audits;
    for (int i = 0; i < kRepetitions; ++i) {
        full.push_back(timeFullRun());
        rendering.push_back(timeRenderingOnly());
        audits.push_back(timeAudit());
    }
    // Once: the matrix alone takes minutes.
    const double matrix = timeMatrix();
    const double total = median(full);
    const double render = median(rendering);
    const double audit = median(audits);
    std::printf("prismark-shot, %d themes x %d tabs + %d contact sheets, median of %d runs:\n",
                ThemeCount, kTabs, ThemeCount, kRepetitions);
    std::printf("  total                 %7.2f s   (goal: at most 15 s)\n", total);
    std::printf("  per image             %7.1f ms  (%d images, sheets counted in the total)\n",
                1000 * total / kImages, kImages);
    std::printf("  rendering alone       %7.2f s   (%.1f ms per image, no files written)\n", render,
                1000 * render / kImages);
    const double perImage = total / kImages;
    const double matrixPerImage = matrix / (kImages * kCombinations);
    std::printf("full matrix, %d themes x %d tabs x 2 base styles x 4 scales (%s) x 2 directions"
                " + contact sheets, one run:\n",
                ThemeCount, kTabs, qPrintable(kScales.join(QLatin1String(", "))));
    std::printf("  total                 %7.2f s\n", matrix);
    std::printf("  per image             %7.1f ms  (%d images; %.2f x the default run's, goal "
                "1.2 x)\n",
                1000 * matrixPerImage, kImages * kCombinations, matrixPerImage / perImage);
    std::printf("  per image of 1x pixels%7.1f ms  (the scales average %.2f x the pixels; %.2f x"
                " the default run's)\n",
                1000 * matrixPerImage / kPixelShare, kPixelShare,
                matrixPerImage / kPixelShare / perImage);
    std::printf("audit of all %d themes, median of %d runs:\n", ThemeCount, kRepetitions);
    std::printf("  total                 %7.2f s   (goal: under 60 s)\n", audit);
    std::printf("  per strip             %7.1f ms  (%d widgets, each in 4 to 6 states)\n",
                1000 * audit / auditStrips, auditStrips);
    return total <= 15 && audit < 60 ? 0 : 1;
}
