// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include <QLatin1String>

// Object names of the window shell. The style sheets select on them, so each is
// written here once and used by name in code.
// Plain const: QLatin1String measures its text with strlen, which only GCC folds
// into a constant expression.
namespace ShellObjectNames {
const QLatin1String windowFrame("windowFrame");
const QLatin1String titleBar("appTitleBar");
const QLatin1String titleLabel("appTitleLabel");
const QLatin1String windowButton("appWindowButton");
const QLatin1String closeButton("appCloseButton");
} // namespace ShellObjectNames
