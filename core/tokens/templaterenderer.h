// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include "tokens/themetemplate.h"

// The sheet of one variant: the template's text with its edits carried out over the
// variant's tokens; map, when given, is filled with where each stretch came from.
QString renderTemplate(const ThemeTemplate &parsed, const DesignTokens &tokens,
                       const QString &variant, const ThemeTemplate::IconUrl &iconUrl,
                       SourceErrors *errors, SourceMap *map);
