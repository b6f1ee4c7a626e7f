// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include <QString>

void printShotLine(const QString &line);

// The run's progress on standard error: one line that rewrites itself on a
// terminal, plain lines elsewhere, nothing when quiet.
class ShotProgress
{
public:
    ShotProgress(bool quiet, int total);

    void step(const QString &label);
    void finish();

private:
    const bool quiet;
    const bool terminal;
    const int total;
    int done = 0;
};
