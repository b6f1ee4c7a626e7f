// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include "analysis/diagnostic.h"

class CheckReporter;
class SheetModel;

using CheckFunction = void (*)(const SheetModel &model, CheckReporter &report);

// What callers need to know of a check beyond its findings, so that none of them
// names a check by its id.
namespace CheckFlag {
// Its errors keep a text from being installed: the toolkit drops a sheet it cannot
// parse whole, and opening a FIFO or a device as an image blocks it.
constexpr unsigned RefusesInstall = 1u << 0;
// Runs also when the gallery's coverage is asked for (--gallery), on or off.
constexpr unsigned NeedsGallery = 1u << 1;
// Reads the other checks' findings: runs after them, and its own findings are
// counted last.
constexpr unsigned ReadsFindings = 1u << 2;
// Its findings are the edit they offer: where that edit cannot be made (text a
// template did not write as it stands), the finding means nothing.
constexpr unsigned ProposesEdit = 1u << 3;
// It is the toolkit's own parse: its errors mean the toolkit drops the whole sheet,
// and a program that needs only that verdict runs it alone.
constexpr unsigned ToolkitParse = 1u << 4;
} // namespace CheckFlag

// One registered check, written in the check's own file beside its run function.
// Its id is written there once; everything that names checks (the list of ids,
// --help, --enable/--disable, the summary table, the docs) reads these entries.
struct LintCheck
{
    const char *id;
    LintSeverity severity; // what it reports unless a finding says otherwise
    bool onByDefault;
    unsigned flags;          // CheckFlag bits
    const char *description; // one line
    // Why it matters and what to do, in a few sentences.
    const char *explanation;
    // A sheet it reports and the same sheet mended.
    const char *failingExample;
    const char *passingExample;
    CheckFunction run;
    // The configuration keys besides "checks" that change what it finds, and what its
    // fix does and whether it is safe; null when there are none.
    const char *options = nullptr;
    const char *fix = nullptr;

    bool has(unsigned flag) const { return (flags & flag) != 0; }
};
