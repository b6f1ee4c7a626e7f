// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include "tokens/sourcemap.h"

#include <QString>

// The sheet a profile measures: a file's text as the program installs it, or one
// variant of a theme template built in memory.
struct ProfileSheet
{
    bool ok = false;
    QString text;
    QString variant;           // of a template, as it names it; empty for a plain sheet
    QString error;             // one line for the author when not ok
    bool wrongRequest = false; // the error is the request's: a variant the template lacks
    // What the author wrote: the template for a built sheet (with the map from the
    // built text back to it), else the sheet itself.
    QString authorText;
    bool built = false;
    SourceMap map;

    // The line of the author's file that a place in text was written on.
    int authorLine(int offset) const;
};

// variant: of a template only (ignored otherwise); its first variant when empty.
ProfileSheet readProfileSheet(const QString &path, const QString &variant);
