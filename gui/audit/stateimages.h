// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include <QImage>
#include <QSize>
#include <QString>
#include <QVector>

// The renders of a widget's states: how one differs from another, and all of them
// side by side.

// How one render of a widget differs from another, against what a 1-pixel outline
// around the part that should change would change.
struct StateDifference
{
    qint64 changed = 0;   // pixels that moved beyond rounding noise
    qint64 strong = 0;    // of those, pixels whose old and new colour contrast 3:1 or more
    double strongest = 1; // the highest contrast among them
    qint64 outline = 0;
    bool visible() const { return strong >= outline; }
};

// The pixels of a 1-pixel outline around a part of that size: as many as the
// outline of the ellipse inscribed in it (pi/4 of the rectangle's perimeter), the
// least any shape that fills the part would have.
qint64 outlinePixels(QSize size);
// a and b are two renders of the same area; target the size, in image pixels, of
// what the outline would go around.
StateDifference measureStateDifference(const QImage &a, const QImage &b, QSize target);
// A finding's figures: what changed, against the measure it is held to.
QString differenceFigures(const StateDifference &difference,
                          const char *measure = "a 1-pixel outline");

// One widget's states side by side, as --audit writes it.
struct StateStrip
{
    QString object;
    QImage image;
};

// The frames left to right, a gap between them, at a scale.
QImage joinedStrip(const QVector<QImage> &frames, qreal scale);
