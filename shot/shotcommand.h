// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include <QStringList>

// Exit codes of prismark-shot.
enum ShotExitCode : int
{
    ShotSuccess = 0,
    // --compare found an image beyond the threshold, or one missing on either side.
    ShotDifferences = 1,
    // Bad command line: unknown option, theme or tab, malformed size or number.
    ShotUsageError = 2,
    // A sheet could not be read or an output file could not be written.
    ShotInputOutputError = 3,
};

// The whole program once the application object exists (see ShotRenderer::
// prepareApplication); arguments include the program name. Returns the exit code.
int runShot(const QStringList &arguments);
