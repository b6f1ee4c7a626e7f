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
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr int kRepetitions = 5;

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

template <typename Function> double medianMilliseconds(Function function)
{
    std::vector<double> times;
    for (int i = 0; i < kRepetitions; ++i) {
        QElapsedTimer timer;
        timer.start();
        function();
        times.push_back(timer.nsecsElapsed() / 1e6);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

// --fix (safe fixes) and the formatter, each against the toolkit's parse.
void printFixAndFormat(const QByteArray &sheet, const QString &text, double toolkitTime)
{
    bool formatted = false;
    const double formatTime = medianMilliseconds([&] {
        const SheetFormatResult result = formatStyleSheet(text);
        formatted = result.ok && result.text == text;
    });
    // The same sheets written one rule per line: every rule is laid out anew.
    QString compact = text;
    compact.replace(QRegularExpression(QStringLiteral("\\n +")), QStringLiteral(" "));
    bool laidOut = false;
    const double layoutTime = medianMilliseconds([&] {
        const SheetFormatResult result = formatStyleSheet(compact);
        laidOut = result.ok && result.text == text;
    });
    int fixed = 0;
    const double fixTime = medianMilliseconds([&] {
        fixed = fixStyleSheet(sheet, QStringLiteral("bench.qss"), LintOptions(), false).fixed;
    });
    std::printf("  %-44s %10.1f ms  (%s)\n", "prismark-fmt's formatter", formatTime,
                formatted ? "unchanged" : "changed or refused");
    std::printf("  %-44s %10.1fx  (goal <= 2x)\n", "formatter / toolkit parse",
                formatTime / toolkitTime);
    std::printf("  %-44s %10.1f ms  (%s)\n", "formatter, one rule per line", layoutTime,
                laidOut ? "laid out as the built-in sheets" : "not laid out back");
    std::printf("  %-44s %10.1fx  (goal <= 2x)\n", "formatter (laying out) / toolkit parse",
                layoutTime / toolkitTime);
    std::printf("  %-44s %10.1f ms  (%d fixed)\n", "--fix, safe fixes", fixTime, fixed);
    std::printf("  %-44s %10.1fx  (goal <= 3x)\n", "--fix / toolkit parse", fixTime / toolkitTime);
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const double megabytes = argc > 1 ? std::max(0.01, QByteArray(argv[1]).toDouble()) : 1.0;
    const QByteArray sheet = largeSheet(qint64(megabytes * 1024 * 1024));
    const QString text = QString::fromUtf8(sheet);
    std::printf("prismark-lint benchmark: %.2f MiB sheet (the twelve built-in sheets repeated), "
                "median of %d\n\n",
                sheet.size() / 1048576.0, kRepetitions);

    const auto lint = [&] { return lintStyleSheet(sheet, QStringLiteral("bench.qss")).size(); };
    const auto toolkitParse = [&] { toolkitParsesSheet(text); };
    const long lintPeak = peakGrowthKiB(lint);
    const long toolkitPeak = peakGrowthKiB(toolkitParse);
    qsizetype diagnosticCount = 0;
    const double lintTime = medianMilliseconds([&] { diagnosticCount = lint(); });
    const double toolkitTime = medianMilliseconds(toolkitParse);
    const double fileKiB = sheet.size() / 1024.0;

    std::printf("  %-44s %10.1f ms  (goal < 500 ms)\n", "analysis, all checks", lintTime);
    std::printf("  %-44s %10.1f ms\n", "toolkit's own parse of the same text", toolkitTime);
    std::printf("  %-44s %10.1fx\n", "analysis / toolkit parse", lintTime / toolkitTime);
    std::printf("  %-44s %10ld KiB  (%.1fx the file; goal < 10x)\n",
                "peak resident memory growth, analysis", lintPeak, lintPeak / fileKiB);
    std::printf("  %-44s %10ld KiB  (%.1fx the file)\n",
                "peak resident memory growth, toolkit parse", toolkitPeak, toolkitPeak / fileKiB);
    std::printf("  %-44s %10lld\n", "diagnostics", static_cast<long long>(diagnosticCount));
    std::printf("\n");
    printFixAndFormat(sheet, text, toolkitTime);
    return 0;
}
