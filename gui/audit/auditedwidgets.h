// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include <QVector>

class QWidget;

// Which widgets the state audit drives through their states.

// A control the user operates: a button, slider, combo box, line edit, spin box, or
// anything that takes the focus by tab.
bool isInteractive(const QWidget *widget);

// The widgets of a page the audit looks at, in creation order: visible, enabled,
// named and interactive, and with shownToo also those seen but never operated
// (labels with text, progress bars, menu bars). Parts of another interactive widget
// (a combo box's editor) and the toolkit's own children are not.
QVector<QWidget *> auditedWidgets(QWidget *page, bool shownToo);
