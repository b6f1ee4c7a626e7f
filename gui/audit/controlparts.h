// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include <QRect>
#include <QString>
#include <QStyleOptionSlider>
#include <QVector>

class QAbstractSlider;
class QProgressBar;
class QWidget;

// Where the themed style puts the parts of a control, for the WCAG measures.

// A part of a control that a pointer operates, or that the user must see.
struct ControlPart
{
    QString name;
    QString subcontrol;
    QRect rect; // in the widget
    // Measured for target size; the others are only what a small target must
    // keep clear of.
    bool judged = true;
};

// The targets a pointer operates in a widget, in widget coordinates: a spin box's
// step buttons and edit field, an editable combo box's arrow and field, a scroll
// bar's arrows and track, a check box or a combo box whole, any other control
// whole; none for a label or progress bar.
QVector<ControlPart> targetParts(QWidget *widget);
// A slider's or scroll bar's option as the toolkit fills it for painting.
QStyleOptionSlider sliderOption(const QAbstractSlider *slider);
// A progress bar's chunk, and its groove through groove; invalid when the bar is
// empty or full.
QRect progressChunk(QProgressBar *bar, QRect *groove);
