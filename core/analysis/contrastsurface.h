// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include "analysis/contrastcascade.h"
#include "analysis/qssreference.h"
#include "analysis/sheetmodel.h"
#include "analysis/treecontrast.h"

#include <QColor>

// What the contrast check reads of the widget a selector styles, from the sheet
// alone: whether it shows text, whether its outline matters, and the colours it is
// drawn in.

// Whether it shows text: not a scroll bar, slider and the like, nor a subcontrol but
// a tab, an item, a section or a title.
bool showsText(const QssReference::WidgetClasses &classes, const SheetSelector &selector);
// Whether it is a control, whose outline tells the user where to click or type.
bool isControl(const QssReference::WidgetClasses &classes, const SheetSelector &selector);
// Which palette colours it falls back to.
ContrastRole widgetRole(const QssReference::WidgetClasses &classes, const QString &element);

// The colours a selector's widget is drawn in: its look, and the background of the
// widget and of what the selector styles (the same unless it is a subcontrol).
struct ContrastSurface
{
    ContrastLook look;
    QColor behind; // what shows through the widget: its parent's fill or the page
    ContrastRole role = ContrastRole::Plain;
    QColor widgetBackground;
    QColor background;
    ColourSource behindSource;
    ColourSource backgroundSource;
    ColourSource widgetSource; // of widgetBackground
    ColourSource textSource;   // when look's foreground is solid
};

// The surface of selector's widget; false when a background is a gradient or a
// pattern, which has no one colour.
bool surfaceOf(const ContrastCascade &cascade, const QssReference::WidgetClasses &classes,
               const SheetSelector &selector, ContrastSurface *surface);
