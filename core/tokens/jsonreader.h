// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include <QString>

#include <vector>

// A JSON reader that keeps where each value and key stands, so that a token file's
// findings point at the line the author wrote. Objects keep their members in file
// order.
struct JsonMember;

struct JsonNode
{
    enum Kind
    {
        Null,
        Bool,
        Number,
        String,
        Array,
        Object,
    };
    Kind kind = Null;
    bool boolean = false;
    double number = 0;
    QString string;
    std::vector<JsonNode> items;
    std::vector<JsonMember> members;
    int line = 1;
    int column = 1;

    // The member named key, or nullptr.
    const JsonNode *member(const QString &key) const;
};

struct JsonMember
{
    QString key;
    int line = 1;
    int column = 1;
    JsonNode value;
};

struct JsonReadResult
{
    JsonNode root;
    bool ok = false;
    // Where reading stopped, and why, when not ok.
    int line = 1;
    int column = 1;
    QString error;
};

// Reads one JSON document (RFC 8259). A key given twice in one object is an error, as
// is nesting deeper than a token file ever needs.
JsonReadResult readJson(const QString &text);
