// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include "prismark-lsp/protocol/protocol.h"

// Every colour literal with its span and colour, "@palette" lines included.
QVector<ColourInformation> documentColours(const QString &text);
// How a picked colour is written: #rrggbb (#aarrggbb when not opaque, alpha first as
// the toolkit reads it), then rgb() or rgba().
QStringList colourPresentations(const QColor &colour);
