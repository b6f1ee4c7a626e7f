// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include "theme/themecatalogue.h"

#include <QString>
#include <QStringList>

// Produces the twelve theme style sheets from one skeleton of rule blocks and the
// per-theme value tables. The files in resources/styles are this output, committed.

// The whole text of a theme's style sheet file, LF line ends, ASCII only.
QString generatedStyleSheet(Theme theme);

// Slips in the tables, one sentence each: a slot that a theme's rules use but the theme
// leaves without a value, a value that no rule of the theme uses, or an unknown slot.
// Empty when the tables and the skeleton agree.
QStringList styleSheetTableProblems();
