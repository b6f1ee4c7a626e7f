// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

// What the profiled test application and its test agree on; profiledapp.py repeats them.
namespace ProfiledApp {

constexpr char mainName[] = "profiledMain";
constexpr char dialogName[] = "profiledDialog";
// Frames of labels, each label carrying the property the planted rule selects on; the
// labels in a frame may be given as the application's first argument (after the
// binding's name in Python).
constexpr int frames = 40;
constexpr int labelsPerFrame = 50;
constexpr char flagProperty[] = "flag";
constexpr char flagValue[] = "on";
// The main window, its central widget, the frames and labels, the dialog and its button.
constexpr int widgetsWith(int labels)
{
    return 1 + 1 + frames * (1 + labels) + 1 + 1;
}
constexpr int widgets = widgetsWith(labelsPerFrame);
// The dialog shows at dialogShownMs and closes itself at dialogClosedMs; if it is
// ever shown again, which only the application itself should do, it says this on
// standard error.
constexpr int dialogShownMs = 300;
constexpr int dialogClosedMs = 600;
constexpr char shownAgain[] = "profiledDialog shown again";
// The application's own sheet, which the author's replaces.
constexpr char ownSheet[] = "QLabel { color: rgb(0, 120, 0); }";

} // namespace ProfiledApp
