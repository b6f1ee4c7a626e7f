// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include <QString>
#include <QVector>

class QWidget;

// Which widgets the state audit drives through their states.

// A control the user operates: a button, slider, combo box, line edit, spin box, or
// anything that takes the focus by tab.
bool isInteractive(const QWidget *widget);

// The widgets of a page the audit looks at, in creation order: visible, enabled
// and interactive, and with shownToo also those seen but never operated
// (labels with text, progress bars, menu bars). Parts of another interactive widget
// (a combo box's editor) and the toolkit's own children are not.
QVector<QWidget *> auditedWidgets(QWidget *page, bool shownToo);

// How findings, gaps, strips and progress name a widget of a page: its object name
// when it has one; else the path from the page down to it, each step an ancestor's
// object name or, unnamed, its class and its place among the siblings of that class
// (QWidget[1]/QPushButton[2]), then the text the widget shows, if any, in quotes
// ("Press"). A widget outside the page is named from its window down.
QString auditedWidgetName(const QWidget *widget, const QWidget *page);
