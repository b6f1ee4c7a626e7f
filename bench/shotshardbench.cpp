// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

// On-demand benchmark of prismark-shot's colour schemes and shards, each run a
// process of its own as CI starts it: a dark pass against a light one over every
// built-in theme and tab; the built-in themes' full matrix in one run, then in four
// parts one after another (each part's time, as four machines would take them) and
// their merge. See docs/shot.md.

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <numeric>
#include <vector>

namespace {

constexpr int kRepetitions = 3;
constexpr int kParts = 4;
const QStringList kEveryTheme{QStringLiteral("--theme"), QStringLiteral("all"),
                              QStringLiteral("--quiet")};
const QStringList kFullMatrix{QStringLiteral("--base-style"),   QStringLiteral("fusion,windows"),
                              QStringLiteral("--direction"),    QStringLiteral("ltr,rtl"),
                              QStringLiteral("--scale"),        QStringLiteral("1,1.25,1.5,2"),
                              QStringLiteral("--contact-sheet")};

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Seconds the program took; exits the benchmark when it fails.
double timeShot(const QStringList &arguments)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process.setStandardOutputFile(QProcess::nullDevice());
    QElapsedTimer timer;
    timer.start();
    process.start(QStringLiteral(PRISMARK_SHOT_BINARY), arguments);
    if (!process.waitForFinished(-1) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0) {
        std::fprintf(stderr, "prismark-shot-shard-bench: %s failed\n",
                     qPrintable(arguments.join(QLatin1Char(' '))));
        std::exit(2);
    }
    return timer.nsecsElapsed() / 1e9;
}

double timeScheme(const QString &scheme, const QString &out)
{
    return timeShot(kEveryTheme + QStringList{QStringLiteral("--color-scheme"), scheme,
                                              QStringLiteral("--out"), out});
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    QTemporaryDir dir;
    const auto path = [&](const QString &name) { return dir.filePath(name); };

    std::vector<double> light, dark;
    for (int i = 0; i < kRepetitions; ++i) {
        light.push_back(timeScheme(QStringLiteral("light"), path(QStringLiteral("light"))));
        dark.push_back(timeScheme(QStringLiteral("dark"), path(QStringLiteral("dark"))));
    }
    std::printf("every built-in theme and tab (96 images), median of %d runs:\n", kRepetitions);
    std::printf("  light pass            %7.2f s\n", median(light));
    std::printf("  dark pass             %7.2f s   (%.2f x the light pass)\n", median(dark),
                median(dark) / median(light));

    const double whole =
        timeShot(kEveryTheme + kFullMatrix + QStringList{QStringLiteral("--out"), path("one")});
    std::vector<double> parts;
    QStringList folders;
    for (int part = 1; part <= kParts; ++part) {
        folders << path(QStringLiteral("part%1").arg(part));
        parts.push_back(timeShot(kEveryTheme + kFullMatrix +
                                 QStringList{QStringLiteral("--shard"),
                                             QStringLiteral("%1/%2").arg(part).arg(kParts),
                                             QStringLiteral("--out"), folders.last()}));
    }
    const double merge =
        timeShot(QStringList{QStringLiteral("--merge"), path(QStringLiteral("merged")),
                             QStringLiteral("--quiet")} +
                 folders);
    const double slowest = *std::max_element(parts.cbegin(), parts.cend());
    const double sum = std::accumulate(parts.cbegin(), parts.cend(), 0.0);
    std::printf("full matrix: 12 themes x 8 tabs x 2 base styles x 4 scales x 2 directions"
                " + contact sheets, 1536 images, once:\n");
    std::printf("  one run               %7.2f s\n", whole);
    for (int part = 0; part < kParts; ++part)
        std::printf("  part %d/%d              %7.2f s\n", part + 1, kParts, parts[part]);
    std::printf("  parts together        %7.2f s   (%.2f x the one run; slowest part %.2f x the"
                " mean)\n",
                sum, sum / whole, slowest / (sum / kParts));
    std::printf("  merge                 %7.2f s   (%.1f %% of the one run)\n", merge,
                100 * merge / whole);
    std::printf("  four machines         %7.2f s   (slowest part + merge: %.2f x faster)\n",
                slowest + merge, whole / (slowest + merge));
    return 0;
}
