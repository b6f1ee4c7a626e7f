#pragma once

#include <QLatin1String>

// Object names of the window shell. The style sheets select on them, so each is
// written here once and used by name in code.
namespace ShellObjectNames {
constexpr QLatin1String windowFrame("windowFrame");
constexpr QLatin1String titleBar("appTitleBar");
constexpr QLatin1String titleLabel("appTitleLabel");
constexpr QLatin1String windowButton("appWindowButton");
constexpr QLatin1String closeButton("appCloseButton");
} // namespace ShellObjectNames
