// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "audit/auditreport.h"

namespace {

// The rule id the machine-readable reports give a gap, at level "none".
constexpr char kNotAuditedId[] = "not-audited";

ReportFinding gapFinding(const AuditGap &gap)
{
    ReportFinding report;
    report.file = gap.theme + QLatin1Char('/') + gap.tab + QLatin1Char('/') + gap.object;
    report.level = QStringLiteral("none");
    report.ruleId = QLatin1String(kNotAuditedId);
    report.message = auditGapLine(gap);
    report.logicalName = report.file;
    return report;
}

QVector<ReportFinding> allFindings(const AuditReportContent &content)
{
    return content.findings + reportFindings(content.gaps, gapFinding);
}

QString auditText(const AuditReportContent &content)
{
    QString text;
    for (const ReportFinding &finding : allFindings(content))
        text += finding.message + QLatin1Char('\n');
    if (!text.isEmpty() && !content.table.isEmpty())
        text += QLatin1Char('\n');
    text += content.table + content.totals;
    if (!content.gaps.isEmpty())
        text += QStringLiteral(", %1 not audited").arg(content.gaps.size());
    return text + QLatin1Char('\n');
}

QString auditJson(const AuditReportContent &content)
{
    return findingsJson(allFindings(content));
}

QString auditSarif(const AuditReportContent &content)
{
    ReportTool tool{QStringLiteral("prismark-shot"), content.version, content.rules};
    if (!content.gaps.isEmpty())
        tool.rules.append(ReportRule{
            QLatin1String(kNotAuditedId),
            QStringLiteral("A state or part the audit could not show without reaching the "
                           "application's own handlers, left out."),
            {},
            QStringLiteral("none")});
    return findingsSarif(tool, allFindings(content));
}

} // namespace

void addNothingAudited(AuditReportContent *content, const QStringList &unaudited)
{
    if (unaudited.isEmpty())
        return;
    for (const QString &theme : unaudited) {
        ReportFinding finding;
        finding.file = theme;
        finding.level = QStringLiteral("error");
        finding.ruleId = QLatin1String(kNothingAuditedId);
        finding.message =
            QStringLiteral("%1: nothing audited, not one visible, enabled widget to audit")
                .arg(theme);
        finding.logicalName = theme;
        content->findings.append(finding);
    }
    content->rules.append(ReportRule{
        QLatin1String(kNothingAuditedId),
        QStringLiteral("Not one widget was audited: no window or tab showed a visible, enabled "
                       "widget the audit looks at, so nothing was judged."),
        {},
        QStringLiteral("error")});
    content->totals +=
        QStringLiteral(", nothing audited in %1").arg(unaudited.join(QStringLiteral(", ")));
}

const AuditReportFormats &auditReportFormats()
{
    static const AuditReportFormats formats{
        {"text", "default", auditText},
        {"json", "", auditJson},
        {"sarif", "", auditSarif},
    };
    return formats;
}
