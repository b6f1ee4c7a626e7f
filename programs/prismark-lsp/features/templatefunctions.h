// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include "prismark-lsp/protocol/protocol.h"

#include <QString>
#include <QVector>

#include <optional>

// A theme template's colour functions (tokens/colourfunctions.h) where its grammar
// admits one: in a declaration's value and in an "@palette" line of its leading
// comment. Nothing for a plain sheet: path must name a template ("*.qss.in").

// The functions, each with its signature; inserted as a snippet of its arguments
// when the client takes snippets.
QVector<CompletionItem> colourFunctionCompletions(const QString &text, int offset,
                                                  const QString &path, bool snippets);

// What the function whose name is at offset computes.
std::optional<HoverInfo> colourFunctionHover(const QString &text, int offset, const QString &path,
                                             bool markdown);
