// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include "prismark-lsp/protocol/clientcapabilities.h"
#include "prismark-lsp/protocol/protocol.h"

class ApplicationObjects;

// Completion items for the position, from the reference the analysis reads: widget
// classes, pseudo-states, subcontrols, object names and attributes in selectors;
// properties and their values in blocks; palette roles and colours in "@palette".
// After "#" also the widgets of the application's forms, when they are known.
QVector<CompletionItem> completionItems(const QString &text, int offset,
                                        const ClientCapabilities &client,
                                        const ApplicationObjects *application = nullptr);
