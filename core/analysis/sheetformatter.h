// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include <QString>

// A style sheet laid out as the built-in sheets are, without changing a thing the
// toolkit reads: one selector of a list per line, one declaration per line, comments
// where they were, strings, url()s and letter case as written.

struct SheetFormatOptions
{
    int indentWidth = 4;
    // A selector list that fits in this many characters (with its " {") stays on one
    // line, as the built-in sheets write short lists; a longer one takes a line each.
    int maxLineLength = 100;
};

enum class LineEnding
{
    Lf,
    CrLf,
};

struct SheetFormatResult
{
    bool ok = false;
    QString text;  // the formatted sheet, when ok
    QString error; // why it was not formatted
    // Set when the toolkit rejects the sheet: the syntax finding says where.
    bool toolkitRejects = false;
    // What every line of the result ends with: the ending most lines of the input
    // end with, LF on a tie.
    LineEnding lineEnding = LineEnding::Lf;
    // The input ended its lines both ways, so the result changes some of them.
    bool mixedLineEndings = false;
};

// Refuses a sheet the toolkit rejects, one with at-rules or nested blocks, a carriage
// return that ends no CR LF pair, and any result the toolkit would read differently
// from the input.
SheetFormatResult formatStyleSheet(const QString &text,
                                   const SheetFormatOptions &options = SheetFormatOptions());
