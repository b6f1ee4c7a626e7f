// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include "prismark-lsp/protocol/protocol.h"

#include <QVector>

#include <optional>

// The first paragraph of the explanation of each check reported at offset, over the
// span of the diagnostics there; nothing when none is.
std::optional<HoverInfo> diagnosticHoverAt(const QVector<PublishedDiagnostic> &diagnostics,
                                           int offset, bool markdown);

// Both hovers in one: the diagnostics' first, then what the name or colour is.
std::optional<HoverInfo> joinHovers(const std::optional<HoverInfo> &diagnostics,
                                    const std::optional<HoverInfo> &other);
