// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include "lsp/protocol/protocol.h"

#include <QString>

#include <optional>

// Token references in a theme template: what may follow "{" and what a reference
// stands for, read from the token files the template names on disk.

// The token paths after "{" at offset, with each variant's value in the detail;
// empty when offset is not in a reference. templatePath locates the token files.
QVector<CompletionItem> tokenCompletions(const QString &text, int offset,
                                         const QString &templatePath);

// The token a reference at offset names: its path, type and value in every variant.
std::optional<HoverInfo> tokenHover(const QString &text, int offset, const QString &templatePath,
                                    bool markdown);
