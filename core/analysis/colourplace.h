// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

// Where a colour a finding judged was written in the sheet: a declaration's value or
// a palette line's colour; no length when the toolkit's own default gave it.
struct ColourPlace
{
    int offset = 0;
    int length = 0;
    bool known() const { return length > 0; }
};
