// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include <QStringList>

enum ProfileExitCode
{
    ProfileSuccess = 0,
    ProfileInputError = 2, // a sheet or form cannot be read or is rejected; no report written
    ProfileUsageError = 3,
    // -- PROGRAM: it was not found, is no Qt application the plugin attaches to, ended
    // before the profile was done, showed no window or hung; it is stopped.
    ProfileNotAttached = 4,
};

// Runs prismark-profile with the application's arguments; the application object
// must exist. Returns the exit code.
int runProfile(const QStringList &arguments);
