// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "attach/attachenvironment.h"

#include <cstdlib>
#include <cstring>
#include <utility>

namespace Attach {

bool passesToApplication(const char *name)
{
    for (const Variable &variable : environment) {
        if (std::strcmp(name, variable.name) == 0)
            return variable.giver == Giver::Test;
    }
    return true;
}

bool wayNamed(const std::string &name, Way *way)
{
    for (const auto &[named, key] :
         {std::make_pair(Way::Auto, autoWay), std::make_pair(Way::Plugin, pluginWay),
          std::make_pair(Way::Python, pythonWay)}) {
        if (name == key) {
            *way = named;
            return true;
        }
    }
    return false;
}

namespace {

// A folder before a path, which may be unset or empty (an empty entry would be the
// working folder).
std::string before(const std::string &folder, const char *path)
{
    return path && *path ? folder + ":" + path : folder;
}

// The user's own value back, for a way not taken.
void keepOwn(std::vector<Setting> &settings, const char *name)
{
    if (const char *own = std::getenv(name))
        settings.push_back({name, own});
}

} // namespace

std::vector<Setting> launcherSettings(const Launch &launch)
{
    const char *pluginPath = std::getenv(pluginPathVariable);
    const char *theme = std::getenv(platformThemeVariable);
    std::vector<Setting> settings;
    if (!launch.pluginFolder.empty()) {
        settings.push_back({pluginPathVariable, before(launch.pluginFolder, pluginPath)});
        settings.push_back({forwardThemeVariable, theme ? theme : ""});
        settings.push_back({platformThemeVariable, themeKey});
        settings.push_back({pluginQtVariable, launch.pluginQt});
    } else {
        keepOwn(settings, pluginPathVariable);
        keepOwn(settings, platformThemeVariable);
    }
    if (!launch.agentFolder.empty()) {
        settings.push_back(
            {pythonPathVariable, before(launch.agentFolder, std::getenv(pythonPathVariable))});
        settings.push_back({agentVariable, launch.agentFolder});
    } else {
        keepOwn(settings, pythonPathVariable);
    }
    settings.push_back({serverVariable, launch.server});
    settings.push_back({sheetVariable, launch.sheet});
    settings.push_back({variantVariable, launch.variant});
    settings.push_back({colorSchemeVariable, launch.colorScheme});
    return settings;
}

} // namespace Attach
