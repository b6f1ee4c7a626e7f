// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include <QString>

// prismark-shot's words to its user: "prismark-shot: " and the message on standard
// error, results a line at a time on standard output.
void printShotError(const QString &message);
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
