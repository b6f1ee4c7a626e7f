// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

class CheckReporter;
class SheetModel;

// The palette header's pairs judged by their colours alone: each role's text on its
// background, disabled text held to the outline's ratio so it stays legible.
void checkPalettePairs(const SheetModel &context, CheckReporter &report);
