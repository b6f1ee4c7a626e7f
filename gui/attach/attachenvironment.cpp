// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "attach/attachenvironment.h"

#include <cstdlib>
#include <cstring>

namespace Attach {

bool passesToApplication(const char *name)
{
    for (const Variable &variable : environment) {
        if (std::strcmp(name, variable.name) == 0)
            return variable.giver == Giver::Test;
    }
    return true;
}

std::vector<Setting> launcherSettings(const Launch &launch)
{
    const char *pluginPath = std::getenv(pluginPathVariable);
    const char *theme = std::getenv(platformThemeVariable);
    return {
        {pluginPathVariable,
         launch.pluginFolder + (pluginPath && *pluginPath ? ":" + std::string(pluginPath) : "")},
        {forwardThemeVariable, theme ? theme : ""},
        {platformThemeVariable, themeKey},
        {serverVariable, launch.server},
        {sheetVariable, launch.sheet},
        {variantVariable, launch.variant},
    };
}

} // namespace Attach
