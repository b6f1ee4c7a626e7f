// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include "audit/auditchecks.h"
#include "audit/stateimages.h"
#include "audit/stateobserver.h"

#include <QImage>
#include <QPointer>
#include <QRect>
#include <QString>
#include <QVector>

class AuditRules;
class QWidget;

// Renders each interactive widget of a tab in its states with the toolkit's own
// painting of them (real pointer events, focus in the active window,
// setEnabled, setChecked), measures what changes and restores the widget.
class StateAudit
{
public:
    // topLevel is the window the audited pages stand in, shown; renderArea draws it.
    StateAudit(QWidget *topLevel, AreaRender renderArea, qreal scale);

    // Every widget of the page that is visible, enabled and interactive;
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
    // The page begun last, from which its widgets are named.
    QPointer<QWidget> currentPage;
    AuditDrive drive = AuditDrive::Input;
    QVector<AuditGap> gaps;
};

// Part of a window as it stands, in window coordinates, at a scale: its background
// and children drawn into an image of the area's size times the scale.
QImage renderWindowArea(QWidget *window, const QRect &area, qreal scale);
