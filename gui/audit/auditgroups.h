// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include "audit/auditrules.h"

#include <QString>
#include <QStringList>
#include <QVector>

// Most of an audit's findings repeat one rule's fault on many widgets (every push
// button without a focus look), so the reports gather them by what to fix: the rule
// that paints them and the criterion (or state check) they break.

// One finding as the grouped reports see it.
struct AuditGroupEntry
{
    QString theme;
    QString tab;
    QString object;
    QString state;
    // "2.4.7 Focus Visible (AA)" or "no visible focus".
    QString criterion;
    // "failure" or "advice"; empty for the state audit's warnings.
    QString severity;
    // The rule id and level SARIF gives it.
    QString ruleId;
    QString level;
    // What was measured: the part and its figures.
    QString measured;
    // What to change, as the criterion or check advises it.
    QString advice;
    // The finding is about how a state looks, so that a rule which does not name the
    // state is the wrong place for its fix.
    bool stateLook = false;
    RulePlace place;
};

// A rule's (or, without one, a theme's) findings of one criterion and severity,
// by index into the entries, in their order.
struct AuditGroup
{
    QString key;
    QVector<int> members;
};

// "mine.qss:99:1 "QPushButton" WCAG2.2-2.4.7 failure", or "light: no rule
// WCAG2.2-2.4.7 failure" for the findings no rule of the sheet paints.
QString auditGroupKey(const AuditGroupEntry &entry);

// The groups, failures before advice, the most findings first, else in the order of
// their first finding.
QVector<AuditGroup> auditGroups(const QVector<AuditGroupEntry> &entries);

// "mine.qss:99:1 "QPushButton": 2.4.7 Focus Visible (AA) failure, 3 findings on 2 widgets"
QString auditGroupHeading(const QVector<AuditGroupEntry> &entries, const AuditGroup &group);
// Where the group's rule stands, or "THEME: palette / no rule".
QString auditGroupRule(const AuditGroupEntry &entry);
// "light/buttons: okButton, cancelButton (focus); light/inputs: nameEdit (normal, hover)"
QString auditGroupWidgets(const QVector<AuditGroupEntry> &entries, const AuditGroup &group);
int auditGroupWidgetCount(const QVector<AuditGroupEntry> &entries, const AuditGroup &group);
// The distinct measures, each with how many findings gave it ("... (×3)").
QStringList auditGroupMeasures(const QVector<AuditGroupEntry> &entries, const AuditGroup &group);
// Where the fix goes and what to change.
QString auditGroupFix(const AuditGroupEntry &entry);

// The text report's block for a group: its heading, then indented lines for the
// widgets, the measures (the first few) and the fix.
QString auditGroupText(const QVector<AuditGroupEntry> &entries, const AuditGroup &group);
