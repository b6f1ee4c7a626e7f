// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include "analysis/lintcheck.h"

#include <QString>

// A check explained on a page of its own, from its registry entry alone: what
// prismark-lint --explain prints, docs/checks/<id>.md holds and the language server's
// hover shows the start of.

// Where the pages are, relative to the source tree; a page is "<id>.md" in it.
constexpr const char *kCheckPagesDirectory = "docs/checks";

// The whole page, in Markdown.
QString checkExplanationPage(const LintCheck &check);

// Its first paragraph: what the check finds and why it matters in the toolkit.
QString checkExplanationSummary(const LintCheck &check);
