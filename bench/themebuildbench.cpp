// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

// On-demand benchmark: the twelve built-in themes built from their template and token
// files, as the stylesheets target builds them (reading, resolving, rendering; no
// writing); see the README. Usage: prismark-build-bench [REPETITIONS]   (default 20)

#include "tokens/themebuild.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <algorithm>
#include <cstdio>
#include <vector>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const int repetitions = argc > 1 ? std::max(1, QByteArray(argv[1]).toInt()) : 20;
    ThemeBuildOptions options;
    options.sheetName = QStringLiteral("{camel}.qss");
    const QString templatePath = QStringLiteral(PRISMARK_THEME_TEMPLATE);

    std::vector<double> milliseconds;
    qint64 bytes = 0;
    for (int i = 0; i < repetitions; ++i) {
        QElapsedTimer timer;
        timer.start();
        const ThemeBuild build = buildTheme(templatePath, options);
        milliseconds.push_back(timer.nsecsElapsed() / 1e6);
        if (!build.ok() || build.sheets.size() != 12) {
            std::fprintf(stderr, "the built-in themes did not build\n");
            return 1;
        }
        bytes = 0;
        for (const BuiltSheet &sheet : build.sheets)
            bytes += sheet.text.size();
    }
    std::sort(milliseconds.begin(), milliseconds.end());
    std::printf("built 12 themes (%lld bytes of sheets) %d times\n", static_cast<long long>(bytes),
                repetitions);
    std::printf("median %.1f ms, fastest %.1f ms, slowest %.1f ms (the first includes warm-up)\n",
                milliseconds[milliseconds.size() / 2], milliseconds.front(), milliseconds.back());
    return 0;
}
