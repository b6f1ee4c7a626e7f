// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

// What the test application and its test agree on; attachedapp.py reads them from the
// module the build makes of this header.
namespace AttachedApp {

constexpr char mainName[] = "attachedMain";
constexpr char dialogName[] = "attachedDialog";
constexpr char labelName[] = "ownSheetLabel";
constexpr char buttonName[] = "pickMe";
// The application's own sheet, which the author's replaces: a green window.
constexpr char ownSheet[] = "QMainWindow, QDialog { background: rgb(0, 160, 0); }";
// A widget-level sheet, kept as written: a blue label.
constexpr char labelSheet[] = "background: rgb(0, 0, 255);";
// Written to standard error, with the signal's name, whenever the button's handlers run.
constexpr char handlerRan[] = "handler ran: ";
// Options: no object name on any window or widget, as most applications leave them;
// the windows without their label and button, nothing in them to audit.
constexpr char unnamedOption[] = "--unnamed";
constexpr char bareOption[] = "--bare";

} // namespace AttachedApp
