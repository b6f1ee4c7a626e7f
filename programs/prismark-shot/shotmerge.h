// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

struct ShotOptions;

// prismark-shot --merge OUT PART...: the --shard parts' folders, every part of one
// matrix once, joined into OUT with the contact sheets, comparison page, audit
// findings, pages and exit code one run of the whole matrix gives (and the
// baseline brought up to date, when the matrix asks for it). Parts that do not make
// one whole are refused before anything is written. Returns the exit code.
int runMerge(const ShotOptions &options);
