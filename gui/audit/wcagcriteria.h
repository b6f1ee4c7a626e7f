// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include "audit/auditchecks.h"
#include "audit/auditrules.h"

#include <QImage>
#include <QString>
#include <QStringList>
#include <QVector>

// The WCAG 2.2 success criteria --audit=wcag judges; each is written here once.
struct WcagCriterion
{
    const char *number; // "1.4.3"
    const char *level;  // "AA"
    const char *name;   // as WCAG titles it
    // The page of "Understanding WCAG 2.2" that explains it, under kUnderstandingBase.
    const char *understanding;
    const char *description;
    // What an author changes to meet it, as the grouped reports advise.
    const char *fix;
};

const QVector<WcagCriterion> &wcagCriteria();

enum WcagCriterionIndex : int
{
    TextContrast = 0,
    NonTextContrast,
    FocusVisible,
    FocusAppearance,
    TargetSize,
};

// "WCAG2.2-1.4.3": the rule id SARIF and JSON give a criterion.
QString wcagRuleId(const WcagCriterion &criterion);
QString wcagUnderstandingUrl(const WcagCriterion &criterion);

// A failure fails the criterion; advice is what WCAG exempts (the text of a
// disabled control) but a reader may still want to see.
enum class WcagSeverity
{
    Failure,
    Advice,
};

QString wcagSeverityName(WcagSeverity severity);

struct WcagFinding
{
    QString theme;
    QString tab;
    QString object;
    AuditState state = AuditState::Normal;
    WcagCriterionIndex criterion = TextContrast;
    WcagSeverity severity = WcagSeverity::Failure;
    QString part;    // what was measured: "text", "placeholder text", "up button", ...
    QString figures; // the measured values and what was needed
    RulePlace place;
    // The widget in the state, the part measured outlined.
    QImage crop;
};

// "THEME/TAB/OBJECT STATE: 1.4.3 Contrast (Minimum) (AA) failure, part figures[; rule]"
QString wcagFindingLine(const WcagFinding &finding);

struct WcagReport
{
    QVector<WcagFinding> findings;
    QVector<AuditGap> gaps;
    QStringList themes;    // every theme audited, findings or none, in order
    QStringList unaudited; // those of them in which not one widget was audited
    QString version;
};

// A criterion's verdict for a theme: "pass", "fail" (with its count of failures),
// advice counted apart.
struct WcagVerdict
{
    int failures = 0;
    int advice = 0;
    // False where not one widget of the theme was audited: nothing passed either.
    bool audited = true;
    bool passes() const { return failures == 0 && audited; }
};

// "pass", "fail N" or "nothing audited", as the table and the page give a verdict.
QString wcagVerdictText(const WcagVerdict &verdict);

QVector<WcagVerdict> wcagVerdicts(const WcagReport &report, const QString &theme);
// The table of criteria × themes that ends the text report and heads the page.
QString wcagSummaryTable(const WcagReport &report);

struct AuditReportContent;
// The report as its writer takes it (audit/auditreport.h).
AuditReportContent reportContent(const WcagReport &report);

struct AuditGroupEntry;
// A finding as the grouped reports see it (audit/auditgroups.h).
AuditGroupEntry wcagGroupEntry(const WcagFinding &finding);
