// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

// No include guard: read once to declare the checks and once to list them.
// The registered checks, one line each, in the order they run and are listed.
// PRISMARK_CHECK(entry) names the LintCheck a check's own file defines.
PRISMARK_CHECK(kSyntaxCheck)
PRISMARK_CHECK(kEncodingCheck)
PRISMARK_CHECK(kPaletteCheck)
PRISMARK_CHECK(kUnknownPropertyCheck)
PRISMARK_CHECK(kUnknownPseudoStateCheck)
PRISMARK_CHECK(kUnknownSubcontrolCheck)
PRISMARK_CHECK(kUnknownWidgetCheck)
PRISMARK_CHECK(kUnknownObjectNameCheck)
PRISMARK_CHECK(kMissingQObjectCheck)
PRISMARK_CHECK(kBadValueCheck)
PRISMARK_CHECK(kPercentLengthCheck)
PRISMARK_CHECK(kEightDigitHexCheck)
PRISMARK_CHECK(kUseTokenCheck)
PRISMARK_CHECK(kIgnoredOnSubcontrolCheck)
PRISMARK_CHECK(kOpacityOffToolTipCheck)
PRISMARK_CHECK(kOverriddenLonghandCheck)
PRISMARK_CHECK(kPartialControlCheck)
PRISMARK_CHECK(kSpaceBeforePseudoCheck)
PRISMARK_CHECK(kUnindexedSelectorCheck)
PRISMARK_CHECK(kMissingResourceCheck)
PRISMARK_CHECK(kUnsafeResourceCheck)
PRISMARK_CHECK(kShadowedCheck)
PRISMARK_CHECK(kContrastCheck)
PRISMARK_CHECK(kCoverageCheck)
PRISMARK_CHECK(kNeedlessDisableCheck)
