// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include <QRect>

class QWidget;

// Where the state audit's pointer goes on a widget, and what a press does there.

// The widgets the toolkit paints pressed, by what a press does to them. Line edits,
// text edits and item views have no pressed look; a view's header sections do, but
// pressing one selects or sorts the view, so they are left out.
enum class PressKind
{
    None,
    Button,
    // A button whose press would open a menu: a popup's event loop would never end here.
    MenuButton,
    Slider,
    SpinBox,
    // A date edit with a calendar: its arrow opens the calendar, as a combo box's.
    CalendarPopup,
    ComboBox,
    TabBar,
    GroupBoxCheck,
};

PressKind pressKind(QWidget *widget);

// The part the pointer goes to and that hover, press and check should change: a
// check box's or radio button's indicator, a slider's handle, else the widget.
QRect activePart(QWidget *widget);

// Where a press goes: a spin box's step button that can step, an editable combo
// box's arrow, a tab widget's current tab (another tab would switch pages), a
// checkable group box's check box; else pointerPart.
QRect pressPart(QWidget *widget, PressKind kind, const QRect &pointerPart);
