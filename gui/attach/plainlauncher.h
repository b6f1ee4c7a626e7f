// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

// prismark-live as the user starts it. "prismark-live SHEET -- PROGRAM [ARGS...]" is
// about the author's application starting as fast as on its own, so for that command
// this launcher, which loads no toolkit, starts the application first (with the
// attach plugin in its environment and a socket to say hello on) and only then hands
// over to the rest of prismark-live (prismark-live-gallery), which takes the running
// application and the socket over. Every other command, and every command it has a
// doubt about (an option, a sheet or program it cannot take as it stands), goes to
// prismark-live-gallery as given, which answers it as it always has.
//
// Runs prismark-live-gallery in its place (or returns its exit status when it cannot).
// Plain C++ and POSIX: whatever links it loads nothing but the C library.
int runPlainLauncher(int argc, char *argv[]);
