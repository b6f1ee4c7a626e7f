// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

// libFuzzer target: arbitrary bytes read as a C++ source for its embedded style sheets,
// as UTF-8 and as raw UTF-16; the invariants are in embeddedinvariants.h.

#include "embeddedinvariants.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    return embeddedfuzz::run(EmbeddingLanguage::Cpp, data, size);
}
