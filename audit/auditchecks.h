// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include "support/findingreport.h"

#include <QString>
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

// "normal", "hover", ...: as findings and strips name the state.
QString auditStateName(AuditState state);

// What --audit can find; each id is written here once.
struct AuditCheck
{
    const char *id;
    // Words of the one-line finding ("no visible focus").
    const char *what;
    const char *description;
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
// What --audit reports: its findings, how many themes it audited and the version of
// the program, which SARIF names.
struct AuditReport
{
    QVector<AuditFinding> findings;
    int themeCount = 0;
    QString version;
};

using AuditReportFormat = ReportFormat<AuditReport>;
using AuditReportFormats = ReportFormats<AuditReport>;

// --format's choices: lines for people (the default), or as prismark-lint writes its
// diagnostics, a JSON array of objects (file, line, column, severity, check,
// message) or a SARIF 2.1.0 log.
const AuditReportFormats &auditReportFormats();
