// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include "tokens/sourceerror.h"

class ThemeTemplate;

// Reads the template's header lines, directives, values and icon urls into the edits
// its rendering carries out; what it finds wrong goes to errors.
void scanTemplate(ThemeTemplate &parsed, SourceErrors *errors);
