// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include "prismark-lsp/protocol/protocol.h"

// One symbol per rule (its selector) and per "@palette" directive.
QVector<SymbolInfo> documentSymbols(const QString &text);
