// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include <cstdlib>

// A broken invariant ends the run as a crash, which is what the fuzzer reports.
inline void require(bool condition)
{
    if (!condition)
        std::abort();
}
