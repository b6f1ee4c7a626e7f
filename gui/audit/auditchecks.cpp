// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "audit/auditchecks.h"

#include "audit/auditreport.h"

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

AuditGroupEntry groupEntry(const AuditFinding &finding)
{
    const AuditCheck &check = auditChecks().at(finding.check);
    AuditGroupEntry entry;
    entry.theme = finding.theme;
    entry.tab = finding.tab;
    entry.object = finding.object;
    entry.state = auditStateName(finding.state);
    entry.criterion = QLatin1String(check.what);
    entry.ruleId = QLatin1String(check.id);
    entry.level = kWarning;
    entry.measured = finding.figures;
    entry.advice = QString::fromUtf8(check.fix);
    // Disabled text is about a colour, which a rule of the widget may well give.
    entry.stateLook = finding.check != DisabledTextUnreadable;
    entry.place = RulePlace{finding.sheetFile, finding.rule, finding.line, finding.column,
                            finding.ruleNamesState};
    return entry;
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
         "around it would (WCAG 2.2 focus appearance, non-text contrast).",
         "give :focus a look of its own that changes by 3:1 (a border, outline or background "
         "colour)"},
        {"hover-indistinguishable", "hover looks like normal",
         "Under the pointer the widget changes fewer pixels by 3:1 or more than a 1-pixel "
         "outline would.",
         "give :hover a look that changes by 3:1 (a border or background colour)"},
        {"pressed-indistinguishable", "pressed looks like normal",
         "Pressed, the widget changes fewer pixels by 3:1 or more than a 1-pixel outline "
         "would.",
         "give :pressed a look that changes by 3:1 (a border or background colour)"},
        {"pressed-like-hover", "pressed looks like hover",
         "Pressed differs from hover in fewer pixels by 3:1 or more than a 1-pixel outline "
         "would.",
         "give :pressed a look that differs from :hover by 3:1"},
        {"disabled-text-unreadable", "disabled text unreadable",
         "The disabled widget's text contrasts less than 3:1 with its own background, "
         "measured on the rendered pixels.",
         "give :disabled text a colour that contrasts 3:1 with its background"},
        {"checked-indistinguishable", "checked looks like unchecked",
         "Checked and unchecked differ in fewer pixels by 3:1 or more than a 1-pixel line "
         "across the indicator (or the button) would.",
         "give :checked (or the indicator's :checked) a look that changes by 3:1"},
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
}

QString auditGapLine(const AuditGap &gap)
{
    return QStringLiteral("%1/%2/%3 %4: not audited, %5: %6")
        .arg(gap.theme, gap.tab, gap.object, auditStateName(gap.state), gap.part, gap.reason);
}

AuditReportContent reportContent(const AuditReport &report)
{
    AuditReportContent content;
    content.findings = reportFindings(report.findings, reportFinding);
    for (const auto &finding : report.findings)
        content.entries.append(groupEntry(finding));
    content.gaps = report.gaps;
    for (const AuditCheck &check : auditChecks())
        content.rules.append(ReportRule{
            QLatin1String(check.id), QString::fromUtf8(check.description), {}, kWarning});
    content.version = report.version;
    content.totals = QStringLiteral("%1 warnings in %2 themes")
                         .arg(report.findings.size())
                         .arg(report.themeCount);
    addNothingAudited(&content, report.unaudited);
    return content;
}
