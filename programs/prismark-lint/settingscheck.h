// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include "prismark-lint/commandoptions.h"

// What is wrong with the options together: an unknown format or check id, options
// that exclude each other, a run with nothing to check. usageError is set to the last
// problem found, and left as it is when there is none.
void checkSettings(const QCommandLineParser &parser, const LintSettings &settings,
                   QString &usageError);
