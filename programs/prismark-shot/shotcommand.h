// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include "prismark-shot/shotoptions.h"

#include <QStringList>

// The whole program once the application object exists (see ShotRenderer::
// prepareApplication); arguments include the program name. Returns the exit code
// (ShotExitCode).
int runShot(const QStringList &arguments);
