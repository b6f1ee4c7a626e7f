// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include "analysis/sheetformatter.h"
#include "prismark-lsp/protocol/protocol.h"

#include <QVector>

// prismark-fmt's layout as an editor's edits: the changed middle of the text as one
// edit, none when nothing changes or the sheet is left alone. A range asks for the
// whole sheet: the formatter proves its result for a whole sheet only.
QVector<PublishedFix> formattingEdits(const QString &text, const SheetFormatOptions &options);

// The layout for a sheet: its project's "format" key, as prismark-fmt reads it, wins
// over the editor's indent, so the editor and a pre-commit hook agree.
SheetFormatOptions formattingOptions(const QString &sheetPath, int editorIndent);
