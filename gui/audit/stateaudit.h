// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include "audit/auditchecks.h"

#include <QImage>
#include <QRect>
#include <QSize>
#include <QString>
#include <QVector>

#include <functional>

class AuditRules;
class QWidget;

// Part of a window as it stands, in window coordinates, at a scale.
using AreaRender = std::function<QImage(const QRect &area, qreal scale)>;

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
// The contrast of rendered text with its own background: withText and withoutText
// are the same area with and without the text, so the pixels that differ are the
// glyphs and the other render has the background under them. The strongest glyph
// pixel is the text colour at full coverage. 0 when no pixel differs.
double renderedTextContrast(const QImage &withText, const QImage &withoutText);

// One widget's states side by side, as --audit writes it.
struct StateStrip
{
    QString object;
    QImage image;
};

// One state of a widget as the audit holds it: its render (the widget's area, in
// window coordinates, at the audit's scale) and a way to render that area again
// after a change that is put back before the call returns.
struct ObservedState
{
    QWidget *widget = nullptr;
    AuditState state = AuditState::Normal;
    QImage image;
    QRect area;
    qreal scale = 1;
    std::function<QImage()> render;
    AuditDrive drive = AuditDrive::Input;
};

// What else measures the states while the audit holds them.
class StateObserver
{
public:
    virtual ~StateObserver() = default;
    // Every widget of the tab that will be observed, before the first.
    virtual void beginTab(const QVector<QWidget *> &widgets) = 0;
    virtual void observe(const ObservedState &state) = 0;
};

// Renders each interactive widget of a tab in its states with the toolkit's own
// painting of them (real pointer events, focus in the active window,
// setEnabled, setChecked), measures what changes and restores the widget.
class StateAudit
{
public:
    // topLevel is the window the audited pages stand in, shown; renderArea draws it.
    StateAudit(QWidget *topLevel, AreaRender renderArea, qreal scale);

    // Every widget of the page that is visible, enabled, named and interactive;
    // findings are stamped with theme and tab. rules, when given, locates each
    // finding in the author's sheet.
    QVector<AuditFinding> auditPage(QWidget *page, const QString &theme, const QString &tabFile,
                                    const AuditRules *rules, QVector<StateStrip> *strips);
    // The same a widget at a time, for a caller that returns to its event loop in
    // between: the page's widgets (the observer told of them), then each in turn.
    QVector<QWidget *> beginPage(QWidget *page);
    QVector<AuditFinding> auditWidget(QWidget *widget, const QString &theme, const QString &tabFile,
                                      const AuditRules *rules, StateStrip *strip);
    void setDrive(AuditDrive drive);
    // The states left out since the last call.
    QVector<AuditGap> takeGaps();
    // With an observer, labels, progress bars and menu bars are rendered too (normal and
    // disabled only), since their text and chunk are seen though never operated.
    void setObserver(StateObserver *observer);

private:
    QWidget *topLevel;
    AreaRender renderArea;
    qreal scale;
    StateObserver *observer = nullptr;
    AuditDrive drive = AuditDrive::Input;
    QVector<AuditGap> gaps;
};

// Part of a window as it stands, in window coordinates, at a scale: its background
// and children drawn into an image of the area's size times the scale.
QImage renderWindowArea(QWidget *window, const QRect &area, qreal scale);
