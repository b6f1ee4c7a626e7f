// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include "prismark-lsp/protocol/protocol.h"

// Quick fixes for the published diagnostics that touch [start, end): the edits the
// checks themselves offer, such as the ";" or "}" a rejected sheet lacks, or the
// known name clearly closest to a misspelt one.
// text is the document's, for naming what an edit removes.
QVector<CodeAction> quickFixes(const QString &text, const QVector<PublishedDiagnostic> &diagnostics,
                               int start, int end);
