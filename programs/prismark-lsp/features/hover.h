// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include "prismark-lsp/protocol/clientcapabilities.h"
#include "prismark-lsp/protocol/protocol.h"

#include <optional>

// What the reference says of the name under the position (a property, pseudo-state,
// subcontrol or widget class), or the colour there with its contrast against its
// counterpart in the same rule or palette header; nothing when there is nothing.
std::optional<HoverInfo> hoverAt(const QString &text, int offset, const ClientCapabilities &client);
