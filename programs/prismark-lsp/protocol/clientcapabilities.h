// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include <QJsonObject>

// What the client said it can show, where the answers differ by it.
struct ClientCapabilities
{
    bool snippets = false;
    bool markdownHover = false;
    bool hierarchicalSymbols = false;

    static ClientCapabilities fromInitialize(const QJsonObject &capabilities);
};
