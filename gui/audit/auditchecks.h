// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include <QString>
#include <QStringList>
#include <QVector>

// The states --audit renders, in strip order.
enum class AuditState
{
    Normal,
    Hover,
    Pressed,
    Focus,
    Disabled,
    Checked,
};

// How the audit puts a widget in its states. Input is the toolkit's own way, real
// pointer and focus events, for the gallery that is ours to press. Quiet is for an
// author's running application, whose handlers may do real work: no input event, no
// focus or activation event and none of the widgets' signals; hover is the
// under-mouse attribute, focus the focus widget as the style asks for it, pressed
// only a button's down look. A state it cannot show so is left out as a gap.
enum class AuditDrive
{
    Input,
    Quiet,
};

// "normal", "hover", ...: as findings and strips name the state.
QString auditStateName(AuditState state);

// What --audit can find; each id is written here once.
struct AuditCheck
{
    const char *id;
    // Words of the one-line finding ("no visible focus").
    const char *what;
    const char *description;
    // What an author changes to pass it, as the grouped reports advise.
    const char *fix;
};

const QVector<AuditCheck> &auditChecks();

enum AuditCheckIndex : int
{
    NoVisibleFocus = 0,
    HoverIndistinguishable,
    PressedIndistinguishable,
    PressedLikeHover,
    DisabledTextUnreadable,
    CheckedIndistinguishable,
};

// One finding; theme, tab and object name where it is, state what it is about.
struct AuditFinding
{
    QString theme;
    QString tab;
    QString object;
    AuditState state = AuditState::Normal;
    AuditCheckIndex check = NoVisibleFocus;
    QString figures;
    // With --sheet: the rule that paints the state (or the widget, when no rule names
    // the state), where it stands in the sheet.
    QString sheetFile;
    QString rule;
    int line = 0;
    int column = 0;
    bool ruleNamesState = false;
};

// "THEME/TAB/OBJECT STATE: what, figures[, rule ...]"
QString auditFindingLine(const AuditFinding &finding);

// A state, or a part of one, the audit left out and why: the quiet drive of an
// application's own widgets leaves out what only its handlers would show.
struct AuditGap
{
    QString theme;
    QString tab;
    QString object;
    AuditState state = AuditState::Normal;
    QString part;
    QString reason;
};

// "THEME/TAB/OBJECT STATE: not audited, PART: REASON"
QString auditGapLine(const AuditGap &gap);
// What --audit reports: its findings, how many themes it audited and the version of
// the program, which SARIF names.
struct AuditReport
{
    QVector<AuditFinding> findings;
    QVector<AuditGap> gaps;
    int themeCount = 0;
    // The themes (or application runs) in which not one widget was audited.
    QStringList unaudited;
    QString version;
};

struct AuditReportContent;
// The report as its writer takes it (audit/auditreport.h).
AuditReportContent reportContent(const AuditReport &report);
