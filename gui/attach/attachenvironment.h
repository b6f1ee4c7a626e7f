// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include <string>
#include <vector>

// The environment an application is started in to be attached. prismark-live's
// launcher runs before the toolkit is loaded, so this part includes nothing of it.
namespace Attach {

// The platform theme key the plugin answers to, and the folder under a plugin path
// it lies in.
constexpr char themeKey[] = "prismark";
constexpr char pluginSubfolder[] = "platformthemes";

// Who gives the application a variable.
enum class Giver
{
    Launcher, // either launcher, from the command it runs
    Shot,     // prismark-shot, through the launcher
    Profile,  // prismark-profile, through the launcher
    Test,     // a test, in the launcher's own environment, which the application inherits
    Gallery,  // prismark-live's launcher, to prismark-live-gallery and not to the application
};

// What the application's own child processes see of a variable: the plugin takes
// the environment back before the application's code runs.
enum class ForChildren
{
    Nothing,  // unset
    UsersOwn, // the value the user had, which the launcher forwards (the platform theme)
    Same,     // as the application has it
};

struct Variable
{
    const char *name;
    Giver giver;
    ForChildren children;
};

#define PRISMARK_ATTACH_VARIABLE(constant, name, giver, children) constexpr char constant[] = name;
#include "attach/attachvariables.h"
#undef PRISMARK_ATTACH_VARIABLE

// Every variable of attachvariables.h.
constexpr Variable environment[] = {
#define PRISMARK_ATTACH_VARIABLE(constant, name, giver, children)                                  \
    {constant, Giver::giver, ForChildren::children},
#include "attach/attachvariables.h"
#undef PRISMARK_ATTACH_VARIABLE
};

// Whether the application inherits a variable of the launcher's own environment as
// it is: any but the attach environment's, save a test's hooks.
bool passesToApplication(const char *name);

// The ways into an application, as --attach names them: the plugin where it fits
// the application's Qt and the Python agent for a Python program where it does not,
// or one of them alone.
enum class Way
{
    Auto,
    Plugin,
    Python,
};
constexpr char wayOption[] = "attach";
constexpr char autoWay[] = "auto";
constexpr char pluginWay[] = "plugin";
constexpr char pythonWay[] = "python";
// The way a name names; false for none.
bool wayNamed(const std::string &name, Way *way);

// What one start of an application tells it.
struct Launch
{
    std::string pluginFolder; // holds pluginSubfolder with the plugin; "" for no plugin
    std::string server;
    std::string sheet;
    std::string variant;
    std::string agentFolder; // holds the agent's sitecustomize; "" for no agent
    std::string pluginQt;    // the Qt version the plugin is built for
    std::string colorScheme; // a scheme's name (see colorSchemeVariable); "" for the desktop's
};

// The scheme prismark-live and prismark-profile show an application in unless told
// otherwise (--color-scheme), by its name in theme/schemepalette.h.
constexpr char defaultColorScheme[] = "light";

struct Setting
{
    const char *name;
    std::string value;
};

// The variables the launcher gives (Giver::Launcher), from the launch and its own
// environment: the plugin goes before the user's plugin path, and the user's
// platform theme is forwarded to; the agent goes before the user's PYTHONPATH. Of a
// way not taken, the user's own values, those that are set.
std::vector<Setting> launcherSettings(const Launch &launch);

// How long an application has from its start to say hello (or why it will not).
constexpr int handshakeMs = 10000;

} // namespace Attach
