// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include "lsp/protocol/clientcapabilities.h"

#include <QJsonArray>

class TextDocument;

// Completion items for the position, from the reference the analysis reads: widget
// classes, pseudo-states, subcontrols, object names and attributes in selectors;
// properties and their values in blocks; palette roles and colours in "@palette".
QJsonArray completionItems(const TextDocument &document, int offset,
                           const ClientCapabilities &client);
