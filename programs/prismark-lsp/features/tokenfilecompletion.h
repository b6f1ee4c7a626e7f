// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include "prismark-lsp/features/tokenworkspace.h"

#include <QVector>

// What may be written in a token file at offset: a type inside the string of a
// "$type", a token path inside a "{...}" string (an alias). text is the document's
// own, which may be half written and no longer JSON.
QVector<CompletionItem> tokenFileCompletions(const TokenWorkspace &workspace, const QString &text,
                                             int offset);
