// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

// The environment prismark-live starts an application in, as far as its launcher
// needs it: that part of the launcher runs before the toolkit is loaded, so this
// header includes nothing of it.
namespace Attach {

// The platform theme key the plugin answers to, and the folder under a plugin path
// it lies in.
constexpr char themeKey[] = "prismark";
constexpr char pluginSubfolder[] = "platformthemes";

// The environment of the application started attached.
constexpr char serverVariable[] = "PRISMARK_ATTACH_SERVER";   // the local socket's path
constexpr char sheetVariable[] = "PRISMARK_ATTACH_SHEET";     // the author's sheet, absolute
constexpr char variantVariable[] = "PRISMARK_ATTACH_VARIANT"; // a template's variant, or ""
// The platform theme the application would have used: the user's own
// QT_QPA_PLATFORMTHEME, forwarded to; unset or empty for the toolkit's choice.
constexpr char forwardThemeVariable[] = "PRISMARK_ATTACH_FORWARD_THEME";

// Set by the launcher when it has started the application itself and hands it over:
// "PID,PIDFD,SERVERFD,STARTED", the application's process id, a descriptor that
// reads when it ends, the listening socket it was told of, and when it was started
// (the monotonic clock, in nanoseconds).
constexpr char adoptVariable[] = "PRISMARK_LIVE_ADOPT";

// How long an application has from its start to say hello (or why it will not).
constexpr int handshakeMs = 10000;

} // namespace Attach
