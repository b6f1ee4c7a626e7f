// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include "prismark-lsp/features/tokenworkspace.h"
#include "prismark-lsp/protocol/protocol.h"

#include <QString>

#include <optional>

// Token references in a theme template: what may follow "{" and what a reference
// stands for, read from the token files the template names on disk.

// The token paths after "{" at offset, with each variant's value in the detail;
// empty when offset is not in a reference. templatePath locates the token files.
QVector<CompletionItem> tokenCompletions(const QString &text, int offset,
                                         const QString &templatePath);

// The token a reference or a declaration at offset names: its path, type,
// description, and its value in every variant with the aliases followed to it.
std::optional<HoverInfo> tokenHover(const TokenWorkspace &workspace, const QString &file,
                                    int offset, bool markdown);
