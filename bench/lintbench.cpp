// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

// On-demand benchmark of prismark-lint's analysis, its --fix and prismark-fmt's
// formatter on a large sheet; see the README.
// Usage: prismark-lint-bench [MEGABYTES]   (default 1)

#include "analysis/lintfixer.h"
#include "analysis/sheetformatter.h"
#include "analysis/stylesheetlint.h"
#include "analysis/toolkitparse.h"
#include "theme/themecatalogue.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QRegularExpression>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr int kRepetitions = 9;

long peakResidentKiB()
{
    struct rusage usage;
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// The twelve built-in sheets one after another, again and again, to the size asked.
QByteArray largeSheet(qint64 bytes)
{
    QByteArray all;
    for (int theme = 0; theme < ThemeCount; ++theme) {
        QFile file(QStringLiteral(":/styles/") + styleSheetFileName(Theme(theme)));
        if (file.open(QIODevice::ReadOnly))
            all += file.readAll() + '\n';
    }
    QByteArray sheet;
    sheet.reserve(int(bytes + all.size()));
    while (sheet.size() < bytes)
        sheet += all;
    // A blank line between the sheets and one newline at the end: as canonical as
    // each sheet is, so the formatter has nothing to change.
    sheet.chop(1);
    return sheet;
}

// Peak resident growth of one run of function, in a child process of its own so
// that neither measurement sees the other's high-water mark.
template <typename Function> long peakGrowthKiB(Function function)
{
    int channel[2];
    if (pipe(channel) != 0)
        return -1;
    const pid_t child = fork();
    if (child == 0) {
        const long before = peakResidentKiB();
        function();
        const long growth = peakResidentKiB() - before;
        if (write(channel[1], &growth, sizeof growth) != sizeof growth)
            _exit(1);
        _exit(0);
    }
    long growth = -1;
    if (read(channel[0], &growth, sizeof growth) != sizeof growth)
        growth = -1;
    waitpid(child, nullptr, 0);
    close(channel[0]);
    close(channel[1]);
    return growth;
}

double millisecondsOf(const std::function<void()> &function)
{
    QElapsedTimer timer;
    timer.start();
    function();
    return timer.nsecsElapsed() / 1e6;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Each round times every task once, the toolkit's parse first, so that a slow stretch
// of the machine or a heap left fragmented by the task before weighs on all of them
// alike; a ratio is taken within each round, then the median over the rounds.
struct Timings
{
    std::vector<std::vector<double>> byTask;
    double medianOf(int task) const { return median(byTask.at(task)); }
    double ratioOf(int task) const
    {
        std::vector<double> ratios;
        for (size_t round = 0; round < byTask.at(0).size(); ++round)
            ratios.push_back(byTask.at(task).at(round) / byTask.at(0).at(round));
        return median(ratios);
    }
};

Timings timeInRounds(const std::vector<std::function<void()>> &tasks)
{
    Timings timings;
    timings.byTask.resize(tasks.size());
    for (int round = 0; round < kRepetitions; ++round) {
        for (size_t task = 0; task < tasks.size(); ++task)
            timings.byTask[task].push_back(millisecondsOf(tasks[task]));
    }
    return timings;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const double megabytes = argc > 1 ? std::max(0.01, QByteArray(argv[1]).toDouble()) : 1.0;
    const QByteArray sheet = largeSheet(qint64(megabytes * 1024 * 1024));
    const QString text = QString::fromUtf8(sheet);
    // The same sheets written one rule per line: every rule is laid out anew.
    QString compact = text;
    compact.replace(QRegularExpression(QStringLiteral("\\n +")), QStringLiteral(" "));
    std::printf("prismark-lint benchmark: %.2f MiB sheet (the twelve built-in sheets repeated), "
                "median of %d rounds\n\n",
                sheet.size() / 1048576.0, kRepetitions);

    qsizetype diagnosticCount = 0;
    const auto lint = [&] {
        diagnosticCount = lintStyleSheet(sheet, QStringLiteral("bench.qss")).size();
    };
    const auto toolkitParse = [&] { toolkitParsesSheet(text); };
    const long lintPeak = peakGrowthKiB(lint);
    const long toolkitPeak = peakGrowthKiB(toolkitParse);
    bool unchanged = false;
    bool laidOut = false;
    int fixed = 0;
    enum Task
    {
        Parse,
        Lint,
        Fix,
        Format,
        Layout
    };
    const Timings timings = timeInRounds({
        toolkitParse,
        lint,
        [&] {
            fixed = fixStyleSheet(sheet, QStringLiteral("bench.qss"), LintOptions(), false).fixed;
        },
        [&] {
            const SheetFormatResult result = formatStyleSheet(text);
            unchanged = result.ok && result.text == text;
        },
        [&] {
            const SheetFormatResult result = formatStyleSheet(compact);
            laidOut = result.ok && result.text == text;
        },
    });
    const double fileKiB = sheet.size() / 1024.0;

    std::printf("  %-44s %10.1f ms  (goal < 500 ms)\n", "analysis, all checks",
                timings.medianOf(Lint));
    std::printf("  %-44s %10.1f ms\n", "toolkit's own parse of the same text",
                timings.medianOf(Parse));
    std::printf("  %-44s %10.1fx\n", "analysis / toolkit parse", timings.ratioOf(Lint));
    std::printf("  %-44s %10ld KiB  (%.1fx the file; goal < 10x)\n",
                "peak resident memory growth, analysis", lintPeak, lintPeak / fileKiB);
    std::printf("  %-44s %10ld KiB  (%.1fx the file)\n",
                "peak resident memory growth, toolkit parse", toolkitPeak, toolkitPeak / fileKiB);
    std::printf("  %-44s %10lld\n\n", "diagnostics", static_cast<long long>(diagnosticCount));
    std::printf("  %-44s %10.1f ms  (%s)\n", "prismark-fmt's formatter", timings.medianOf(Format),
                unchanged ? "nothing to change" : "changed or refused");
    std::printf("  %-44s %10.1fx  (goal <= 2x)\n", "formatter / toolkit parse",
                timings.ratioOf(Format));
    std::printf("  %-44s %10.1f ms  (%s)\n", "formatter, one rule per line",
                timings.medianOf(Layout),
                laidOut ? "laid out as the built-in sheets" : "not laid out back");
    std::printf("  %-44s %10.1fx  (two parses compared)\n",
                "formatter (laying out) / toolkit parse", timings.ratioOf(Layout));
    std::printf("  %-44s %10.1f ms  (%d fixed)\n", "--fix, safe fixes", timings.medianOf(Fix),
                fixed);
    std::printf("  %-44s %10.1fx  (goal <= 3x)\n", "--fix / toolkit parse", timings.ratioOf(Fix));
    return 0;
}
