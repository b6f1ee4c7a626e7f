// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include "audit/auditchecks.h"
#include "audit/presstargets.h"
#include "audit/stateobserver.h"

#include <QImage>
#include <QRect>
#include <QSize>
#include <QString>
#include <QVector>

#include <functional>

class CheckHold;
class FakePointer;
class QAbstractButton;
class QWidget;

// What a state shows that the audit finds: the state, the check and its figures.
using StateReport = std::function<void(AuditState, AuditCheckIndex, const QString &figures)>;
// A state, or a part of one, left out, and why.
using StateGap = std::function<void(AuditState, const QString &part, const QString &reason)>;

// One widget's states, rendered into the frames of its strip in order; what cannot
// be told apart goes to report. No posted events are handled between the states: a
// re-layout would move the widget.
class WidgetStates
{
public:
    WidgetStates(const AreaRender &renderArea, QWidget *topLevel, QWidget *widget, qreal scale,
                 StateReport report, StateObserver *observer, AuditDrive drive, StateGap gap);

    // Normal, then hover with the pointer on the part, then pressed where the toolkit
    // paints it; the pointer leaves at the end.
    void pointerStates(FakePointer &pointer);
    // Hover and a button's press without an event: see AuditDrive.
    void quietPointerStates();
    // Only the normal look, for what the pointer does nothing to.
    void still();
    void focus();
    void disabled();
    void checked(CheckHold &hold);
    QImage strip() const;

private:
    QImage render() const { return renderArea(area, scale); }
    QImage press(FakePointer &pointer, PressKind kind);
    QSize partSize() const { return part.size() * scale; }
    void observe(AuditState state, const QImage &image) const;
    // Keeps the hover look, hands it on, and says when nothing tells it from normal.
    void hoverShown(const QImage &hover);
    // Keeps the pressed look, and says when nothing tells it from normal or hover;
    // size is that of the part pressed, in image pixels.
    void pressedShown(const QImage &hover, const QImage &down, QSize size);
    // The disabled text against its background, with the text and without.
    void disabledTextContrast();

    const AreaRender &renderArea;
    QWidget *widget;
    QWidget *topLevel;
    QAbstractButton *button;
    const QRect area;
    const QRect part;
    const qreal scale;
    const StateReport report;
    StateObserver *const observer;
    const AuditDrive drive;
    const StateGap gap;
    QVector<QImage> frames;
    QImage normal;
};
