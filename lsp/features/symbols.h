// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include <QJsonArray>
#include <QJsonObject>
#include <QJsonValue>

class TextDocument;

// Every colour literal with its range and colour, "@palette" lines included.
QJsonArray documentColours(const TextDocument &document);
// How a picked colour is written: #rrggbb (#aarrggbb when not opaque, alpha first as
// the toolkit reads it), then rgb() or rgba().
QJsonArray colourPresentations(const QJsonObject &colour);
// One symbol per rule (its selector) and per "@palette" directive.
QJsonArray documentSymbols(const TextDocument &document, bool hierarchical);
// The file a url() at the position resolves to, as the toolkit resolves it (relative
// paths against the working directory), when a regular file is there; else null.
QJsonValue definitionAt(const TextDocument &document, int offset);
