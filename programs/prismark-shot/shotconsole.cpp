// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "prismark-shot/shotconsole.h"

#include <cstdio>
#include <unistd.h>

void printShotLine(const QString &line)
{
    std::fprintf(stdout, "%s\n", qUtf8Printable(line));
}

ShotProgress::ShotProgress(bool quiet, int total)
    : quiet(quiet)
    , terminal(isatty(fileno(stderr)))
    , total(total)
{}

void ShotProgress::step(const QString &label)
{
    ++done;
    if (quiet)
        return;
    const QString line = QStringLiteral("[%1/%2] %3").arg(done).arg(total).arg(label);
    if (terminal)
        std::fprintf(stderr, "\r%s\x1b[K", qUtf8Printable(line));
    else
        std::fprintf(stderr, "%s\n", qUtf8Printable(line));
    std::fflush(stderr);
}

void ShotProgress::finish()
{
    if (!quiet && terminal && done > 0)
        std::fprintf(stderr, "\n");
}
