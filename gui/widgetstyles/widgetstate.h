// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include <QStringList>
#include <QtGlobal>

class QWidget;

// How the toolkit's style sheet style sees a widget: the pseudo-states it draws it
// in now, and which widget it styles in its place.

// The states as PseudoState bits, as the widget's own style option gives
// them (a checked push button is :checked and :on, an unchecked one neither).
quint64 widgetPseudoState(const QWidget *widget);

// The states' names, the everyday ones first: "enabled", "checked", ...
QStringList pseudoStateNames(quint64 state);

// The widget the toolkit styles when this one is drawn: the scroll area for its
// viewport, the spin or combo box for the line edit inside it, the combo box for
// its popup, the tab bar for a tab being dragged; else the widget itself.
QWidget *styledWidget(QWidget *widget);

// The class name of the style the application's style sheet is drawn over (the
// toolkit wraps it while a sheet is installed), which [style="..."] compares with.
QString styleUnderSheet();
