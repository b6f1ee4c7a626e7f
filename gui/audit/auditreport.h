// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include "audit/auditchecks.h"
#include "audit/auditgroups.h"
#include "support/findingreport.h"

#include <QString>
#include <QVector>

// The one writer of both audits' reports: each audit tells what it found in this
// form (auditchecks.h and wcagcriteria.h), and every format writes it the same way.
struct AuditReportContent
{
    // Each finding as the machine-readable reports give it; its message is the line
    // a user reads.
    QVector<ReportFinding> findings;
    // The same findings as the groups see them, in the same order; findings past
    // their end (nothing audited) stand alone.
    QVector<AuditGroupEntry> entries;
    // The states left out, after the findings.
    QVector<AuditGap> gaps;
    // What SARIF's driver lists: the audit's rules (the gaps' own joins them when
    // there are gaps) and the program's version.
    QVector<ReportRule> rules;
    QString version;
    // What the text ends with after its lines: a table, set off by a blank line, and
    // the totals ("3 warnings in 1 themes"), to which the gaps' count is added.
    QString table;
    QString totals;
};

// The rule id under which the reports say that a theme or an application's run had
// not one widget to audit.
constexpr char kNothingAuditedId[] = "nothing-audited";

// Adds to content, for each of these themes (or runs), an error finding that says
// nothing was audited there, and says so in the totals, so that no format reads an
// empty run as a pass.
void addNothingAudited(AuditReportContent *content, const QStringList &unaudited);

using AuditReportFormat = ReportFormat<AuditReportContent>;
using AuditReportFormats = ReportFormats<AuditReportContent>;

// --format's choices for either audit: lines for people (the default), or as
// prismark-lint writes its diagnostics, a JSON array of objects (file, line, column,
// severity, check, message) or a SARIF 2.1.0 log.
const AuditReportFormats &auditReportFormats();
