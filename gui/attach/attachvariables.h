// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

// No include guard: read once to name the variables and once to list them (see
// attachenvironment.h). The environment an application is attached in, a line each:
// PRISMARK_ATTACH_VARIABLE(constant, name, who gives it, what the application's
// children see of it).

// The attach plugin's folder, then the user's own plugin path. Left as it is: a
// child's toolkit only reads the plugin's key there, and with the user's own
// platform theme back it never loads it.
PRISMARK_ATTACH_VARIABLE(pluginPathVariable, "QT_PLUGIN_PATH", Launcher, Same)
// themeKey, which loads the plugin; the children get the user's own back.
PRISMARK_ATTACH_VARIABLE(platformThemeVariable, "QT_QPA_PLATFORMTHEME", Launcher, UsersOwn)
// The platform theme the application would have used: the user's own
// QT_QPA_PLATFORMTHEME, forwarded to; empty for the toolkit's choice.
PRISMARK_ATTACH_VARIABLE(forwardThemeVariable, "PRISMARK_ATTACH_FORWARD_THEME", Launcher, Nothing)
// The Qt version the plugin is built for: with both ways in open (--attach auto), the
// Python agent leaves the plugin out of an application on any other build.
PRISMARK_ATTACH_VARIABLE(pluginQtVariable, "PRISMARK_ATTACH_PLUGIN_QT", Launcher, Nothing)
// The Python agent's folder, then the user's own path: the interpreter imports the
// agent's sitecustomize from there. Left as it is: in a child, without the server
// below, the agent only hands over to the sitecustomize it stands in front of.
PRISMARK_ATTACH_VARIABLE(pythonPathVariable, "PYTHONPATH", Launcher, Same)
// The agent's folder, as it stands first on PYTHONPATH.
PRISMARK_ATTACH_VARIABLE(agentVariable, "PRISMARK_ATTACH_AGENT", Launcher, Nothing)
// The local socket's path, the author's sheet (absolute) and a template's variant, or "".
PRISMARK_ATTACH_VARIABLE(serverVariable, "PRISMARK_ATTACH_SERVER", Launcher, Nothing)
PRISMARK_ATTACH_VARIABLE(sheetVariable, "PRISMARK_ATTACH_SHEET", Launcher, Nothing)
PRISMARK_ATTACH_VARIABLE(variantVariable, "PRISMARK_ATTACH_VARIANT", Launcher, Nothing)
// The colour scheme to show the application in, "light" or "dark" (as
// theme/schemepalette.h names them), or "" for the desktop's: the plugin answers as
// the platform theme of that scheme, the Python agent puts its palette on the
// application before the author's sheet.
PRISMARK_ATTACH_VARIABLE(colorSchemeVariable, "PRISMARK_ATTACH_COLOR_SCHEME", Launcher, Nothing)

// prismark-shot's request: the folder the application's windows are rendered into
// once it has settled for the time given, drawn over a base style (a style factory
// key) in a layout direction (rightToLeft or leftToRight). The diagnostics window
// stays shut.
PRISMARK_ATTACH_VARIABLE(shotFolderVariable, "PRISMARK_ATTACH_SHOT_DIR", Shot, Nothing)
PRISMARK_ATTACH_VARIABLE(shotSettleVariable, "PRISMARK_ATTACH_SHOT_SETTLE_MS", Shot, Nothing)
PRISMARK_ATTACH_VARIABLE(shotStyleVariable, "PRISMARK_ATTACH_SHOT_STYLE", Shot, Nothing)
PRISMARK_ATTACH_VARIABLE(shotDirectionVariable, "PRISMARK_ATTACH_SHOT_DIRECTION", Shot, Nothing)
// With the shot request: the windows audited too, their widgets driven quietly,
// the results written into the shot folder (see audit/auditresults.h): an audit
// kind of attachprotocol.h.
PRISMARK_ATTACH_VARIABLE(shotAuditVariable, "PRISMARK_ATTACH_SHOT_AUDIT", Shot, Nothing)

// prismark-profile's request: a folder of its own holding the sheet to measure,
// into which the plugin writes what it measured on the application's windows once
// the application has settled for the time given, in at most the rounds given (see
// attachprotocol.h). No tools are opened.
PRISMARK_ATTACH_VARIABLE(profileFolderVariable, "PRISMARK_ATTACH_PROFILE_DIR", Profile, Nothing)
PRISMARK_ATTACH_VARIABLE(profileSettleVariable, "PRISMARK_ATTACH_PROFILE_SETTLE_MS", Profile,
                         Nothing)
PRISMARK_ATTACH_VARIABLE(profileRoundsVariable, "PRISMARK_ATTACH_PROFILE_ROUNDS", Profile, Nothing)

// Test hooks. A folder into which the plugin writes, after every update of the
// sheet, each top-level window's grab and a report (see attachedsession.h); the
// object name of a widget it inspects as a pick would; the toolkit version the
// plugin believes it was built for, to stand in for an application on a toolkit of
// another build.
PRISMARK_ATTACH_VARIABLE(testFolderVariable, "PRISMARK_ATTACH_TEST_DIR", Test, Nothing)
PRISMARK_ATTACH_VARIABLE(testInspectVariable, "PRISMARK_ATTACH_TEST_INSPECT", Test, Nothing)
PRISMARK_ATTACH_VARIABLE(testBuiltForVariable, "PRISMARK_ATTACH_TEST_BUILT_FOR", Test, Nothing)

// Set by prismark-live's launcher for prismark-live-gallery, never for the
// application, when it has started the application itself and hands it over:
// "PID,PIDFD,SERVERFD,STARTED", the application's process id, a descriptor that
// reads when it ends, the listening socket it was told of, and when it was started
// (the monotonic clock, in nanoseconds). prismark-live-gallery takes it out.
PRISMARK_ATTACH_VARIABLE(adoptVariable, "PRISMARK_LIVE_ADOPT", Gallery, Nothing)
