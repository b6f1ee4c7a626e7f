// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "audit/auditchecks.h"

#include "support/findingreport.h"

namespace {

const QString kWarning = QStringLiteral("warning");

QString location(const AuditFinding &finding)
{
    return finding.theme + QLatin1Char('/') + finding.tab + QLatin1Char('/') + finding.object;
}

// The file a finding points at: the sheet when a rule is known, else the widget.
QString findingFile(const AuditFinding &finding)
{
    return finding.sheetFile.isEmpty() ? location(finding) : finding.sheetFile;
}

} // namespace

QString auditStateName(AuditState state)
{
    switch (state) {
    case AuditState::Normal:
        return QStringLiteral("normal");
    case AuditState::Hover:
        return QStringLiteral("hover");
    case AuditState::Pressed:
        return QStringLiteral("pressed");
    case AuditState::Focus:
        return QStringLiteral("focus");
    case AuditState::Disabled:
        return QStringLiteral("disabled");
    case AuditState::Checked:
        return QStringLiteral("checked");
    }
    return QString();
}

const QVector<AuditCheck> &auditChecks()
{
    static const QVector<AuditCheck> checks{
        {"no-visible-focus", "no visible focus",
         "The focused widget changes fewer pixels by 3:1 or more than a 1-pixel outline "
         "around it would (WCAG 2.2 focus appearance, non-text contrast)."},
        {"hover-indistinguishable", "hover looks like normal",
         "Under the pointer the widget changes fewer pixels by 3:1 or more than a 1-pixel "
         "outline would."},
        {"pressed-indistinguishable", "pressed looks like normal",
         "Pressed, the widget changes fewer pixels by 3:1 or more than a 1-pixel outline "
         "would."},
        {"pressed-like-hover", "pressed looks like hover",
         "Pressed differs from hover in fewer pixels by 3:1 or more than a 1-pixel outline "
         "would."},
        {"disabled-text-unreadable", "disabled text unreadable",
         "The disabled widget's text contrasts less than 3:1 with its own background, "
         "measured on the rendered pixels."},
        {"checked-indistinguishable", "checked looks like unchecked",
         "Checked and unchecked differ in fewer pixels by 3:1 or more than a 1-pixel line "
         "across the indicator (or the button) would."},
    };
    return checks;
}

QString auditFindingLine(const AuditFinding &finding)
{
    QString line = QStringLiteral("%1 %2: %3, %4")
                       .arg(location(finding), auditStateName(finding.state),
                            QLatin1String(auditChecks().at(finding.check).what), finding.figures);
    if (finding.rule.isEmpty())
        return line;
    const QString where = QStringLiteral("\"%1\" at %2:%3:%4")
                              .arg(finding.rule, finding.sheetFile)
                              .arg(finding.line)
                              .arg(finding.column);
    if (finding.ruleNamesState)
        return line + QStringLiteral("; painted by ") + where;
    return line + QStringLiteral("; no rule names :%1, %2 paints the widget")
                      .arg(auditStateName(finding.state), where);
    return line;
}

QString auditGapLine(const AuditGap &gap)
{
    return QStringLiteral("%1/%2/%3 %4: not audited, %5: %6")
        .arg(gap.theme, gap.tab, gap.object, auditStateName(gap.state), gap.part, gap.reason);
}

ReportFinding auditGapReportFinding(const AuditGap &gap)
{
    ReportFinding report;
    report.file = gap.theme + QLatin1Char('/') + gap.tab + QLatin1Char('/') + gap.object;
    report.level = QStringLiteral("none");
    report.ruleId = QLatin1String(kNotAuditedId);
    report.message = auditGapLine(gap);
    report.logicalName = report.file;
    return report;
}

ReportRule auditGapReportRule()
{
    return {QLatin1String(kNotAuditedId),
            QStringLiteral("A state or part the audit could not show without reaching the "
                           "application's own handlers, left out."),
            {},
            QStringLiteral("none")};
}

namespace {

ReportFinding reportFinding(const AuditFinding &finding)
{
    ReportFinding report;
    report.file = findingFile(finding);
    report.line = finding.line;
    report.column = finding.column;
    report.level = kWarning;
    report.ruleId = QLatin1String(auditChecks().at(finding.check).id);
    report.message = auditFindingLine(finding);
    report.logicalName = location(finding);
    return report;
}

} // namespace

namespace {

// The lines a user reads, and how many themes they came from.
QString auditText(const AuditReport &report)
{
    QString text;
    for (const AuditFinding &finding : report.findings)
        text += auditFindingLine(finding) + QLatin1Char('\n');
    for (const AuditGap &gap : report.gaps)
        text += auditGapLine(gap) + QLatin1Char('\n');
    text += QStringLiteral("%1 warnings in %2 themes")
                .arg(report.findings.size())
                .arg(report.themeCount);
    if (!report.gaps.isEmpty())
        text += QStringLiteral(", %1 not audited").arg(report.gaps.size());
    return text + QLatin1Char('\n');
}

QVector<ReportFinding> allReportFindings(const AuditReport &report)
{
    return reportFindings(report.findings, reportFinding) +
           reportFindings(report.gaps, auditGapReportFinding);
}

QString auditJson(const AuditReport &report)
{
    return findingsJson(allReportFindings(report));
}

QString auditSarif(const AuditReport &report)
{
    ReportTool tool{QStringLiteral("prismark-shot"), report.version, {}};
    for (const AuditCheck &check : auditChecks())
        tool.rules.append(ReportRule{
            QLatin1String(check.id), QString::fromUtf8(check.description), {}, kWarning});
    if (!report.gaps.isEmpty())
        tool.rules.append(auditGapReportRule());
    return findingsSarif(tool, allReportFindings(report));
}

} // namespace

const AuditReportFormats &auditReportFormats()
{
    static const AuditReportFormats formats{
        {"text", "default", auditText},
        {"json", "", auditJson},
        {"sarif", "", auditSarif},
    };
    return formats;
}
