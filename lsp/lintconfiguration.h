// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include "analysis/stylesheetlint.h"

// The options a document is analysed with, asked for in this one place so that the
// project's configuration, found from the document's path, can be read here. Called
// on the analysis's worker threads.
LintOptions lintOptionsForDocument(const QString &path);
