// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include "analysis/sheetformatter.h"
#include "embedded/embeddedsheets.h"

#include <QString>
#include <QStringList>

// prismark-fmt on the sheets a form or a source embeds: each laid out inside its
// literal or XML, at the literal's own indentation, and only when the toolkit reads the
// result as it read the sheet.

struct EmbeddedFormatResult
{
    QString text;      // the file with its sheets laid out
    int formatted = 0; // sheets whose layout changed
    // A sheet left as it was: "LINE:COLUMN: why", one each.
    QStringList notices;
};

EmbeddedFormatResult formatEmbeddedSheets(const QString &fileText, EmbeddingLanguage language,
                                          const SheetFormatOptions &options);
