// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

// On-demand benchmark of prismark-shot: every theme and tab plus contact sheets,
// end to end, and the rendering alone; see the README.

#include "shot/shotcommand.h"
#include "shot/shotnames.h"
#include "shot/shotrenderer.h"
#include "theme/themecatalogue.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr int kRepetitions = 3;
constexpr int kTabs = 8;
constexpr int kImages = ThemeCount * kTabs;

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

double timeFullRun()
{
    QTemporaryDir out;
    QElapsedTimer timer;
    timer.start();
    const int code = runShot({QStringLiteral("prismark-shot"), QStringLiteral("--theme"),
                              QStringLiteral("all"), QStringLiteral("--contact-sheet"),
                              QStringLiteral("--quiet"), QStringLiteral("--out"), out.path()});
    const double seconds = timer.nsecsElapsed() / 1e9;
    if (code != ShotSuccess)
        std::fprintf(stderr, "prismark-shot-bench: the run failed with exit code %d\n", code);
    return seconds;
}

double timeRenderingOnly()
{
    ShotRenderer renderer(QSize(1040, 720));
    QElapsedTimer timer;
    timer.start();
    for (int value = 0; value < ThemeCount; ++value) {
        renderer.applyTheme(builtInShotTheme(static_cast<Theme>(value)), QString(), QStringLiteral("fusion"), Qt::LeftToRight);
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
    for (int i = 0; i < kRepetitions; ++i) {
        full.push_back(timeFullRun());
        rendering.push_back(timeRenderingOnly());
    }
    const double total = median(full);
    const double render = median(rendering);
    std::printf("prismark-shot, %d themes x %d tabs + %d contact sheets, median of %d runs:\n",
                ThemeCount, kTabs, ThemeCount, kRepetitions);
    std::printf("  total                 %7.2f s   (goal: at most 15 s)\n", total);
    std::printf("  per image             %7.1f ms  (%d images, sheets counted in the total)\n",
                1000 * total / kImages, kImages);
    std::printf("  rendering alone       %7.2f s   (%.1f ms per image, no files written)\n", render,
                1000 * render / kImages);
    return total <= 15 ? 0 : 1;
}
