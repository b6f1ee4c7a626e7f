// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include <QStringList>

// The prismark-lint program: parses its arguments, checks each named sheet and
// writes the report to standard output, problems with the run to standard error.
// Returns the exit status.
int runLintCommandLine(const QStringList &arguments);
