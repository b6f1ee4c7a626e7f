// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include "tokens/designtokens.h"
#include "tokens/jsonreader.h"

#include <QString>

// A token's literal value as the token file writes it: colours (hex, rgb(), the
// colour object), dimensions and durations, font weights and families.

// The type a value shows by its form, for a token that no "$type" reaches.
QString typeFromForm(const JsonNode &value);

// Reads a literal value of a known type; the message names what was expected.
bool readLiteral(const QString &type, const JsonNode &node, TokenValue *value, QString *error);
