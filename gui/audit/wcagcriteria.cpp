// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "audit/wcagcriteria.h"

#include "audit/auditgroups.h"
#include "audit/auditreport.h"

#include <algorithm>

namespace {

const char kUnderstandingBase[] = "https://www.w3.org/WAI/WCAG22/Understanding/";

QString location(const WcagFinding &finding)
{
    return finding.theme + QLatin1Char('/') + finding.tab + QLatin1Char('/') + finding.object;
}

QString criterionTitle(const WcagCriterion &criterion)
{
    return QStringLiteral("%1 %2 (%3)")
        .arg(QLatin1String(criterion.number), QLatin1String(criterion.name),
             QLatin1String(criterion.level));
}

QString sarifLevel(WcagSeverity severity)
{
    return severity == WcagSeverity::Failure ? QStringLiteral("error") : QStringLiteral("note");
}

ReportFinding reportFinding(const WcagFinding &finding)
{
    ReportFinding report;
    report.file = finding.place.sheetFile.isEmpty() ? location(finding) : finding.place.sheetFile;
    report.line = finding.place.line;
    report.column = finding.place.column;
    report.level = sarifLevel(finding.severity);
    report.ruleId = wcagRuleId(wcagCriteria().at(finding.criterion));
    report.message = wcagFindingLine(finding);
    report.logicalName = location(finding);
    return report;
}

// Criteria about how the focused state looks, rather than the colours it is painted in.
bool isStateLook(WcagCriterionIndex criterion)
{
    return criterion == FocusVisible || criterion == FocusAppearance;
}

} // namespace

AuditGroupEntry wcagGroupEntry(const WcagFinding &finding)
{
    const WcagCriterion &criterion = wcagCriteria().at(finding.criterion);
    AuditGroupEntry entry;
    entry.theme = finding.theme;
    entry.tab = finding.tab;
    entry.object = finding.object;
    entry.state = auditStateName(finding.state);
    entry.criterion = criterionTitle(criterion);
    entry.severity = wcagSeverityName(finding.severity);
    entry.ruleId = wcagRuleId(criterion);
    entry.level = sarifLevel(finding.severity);
    entry.measured = finding.part + QLatin1Char(' ') + finding.figures;
    entry.advice = QString::fromUtf8(criterion.fix);
    entry.stateLook = isStateLook(finding.criterion);
    entry.place = finding.place;
    return entry;
}

const QVector<WcagCriterion> &wcagCriteria()
{
    static const QVector<WcagCriterion> criteria{
        {"1.4.3", "AA", "Contrast (Minimum)", "contrast-minimum",
         "Text and its background contrast at least 4.5:1, large text (18pt, or 14pt bold) "
         "3:1, measured on the rendered glyphs; a disabled control's text is exempt and "
         "reported as advice.",
         "give the text a colour (color, or the palette's text roles) that contrasts enough "
         "with the background it is painted on"},
        {"1.4.11", "AA", "Non-text Contrast", "non-text-contrast",
         "The parts a user needs to see a control (input borders, check and radio "
         "indicators, slider groove and handle, scroll bar handle, progress chunk) contrast "
         "at least 3:1 with what is next to them, in every state; a disabled control's are "
         "exempt and reported as advice.",
         "give the part a border or fill (border-color, background, the indicator's image) "
         "that contrasts 3:1 with what is next to it"},
        {"2.4.7", "AA", "Focus Visible", "focus-visible",
         "The focused widget changes at least as many pixels by 3:1 or more as a 1-pixel "
         "outline around it has.",
         "give :focus a look of its own that changes by 3:1 against the unfocused widget (a "
         "border, outline or background colour)"},
        {"2.4.13", "AAA", "Focus Appearance", "focus-appearance",
         "The focus indicator is at least as large as a 2-pixel perimeter of the unfocused "
         "widget, every pixel of it changing by 3:1 or more.",
         "make the :focus indicator at least 2 pixels thick all round (a 2px border or "
         "outline), every pixel of it changing by 3:1"},
        {"2.5.8", "AA", "Target Size (Minimum)", "target-size-minimum",
         "Clickable parts (step buttons, scroll bar arrows, combo box arrows, check boxes, "
         "title-bar buttons) "
         "are at least 24 by 24 pixels at scale 1, or a 24-pixel circle on each touches no "
         "other target.",
         "make the part at least 24 × 24 pixels (width, height, min-width, padding) or leave "
         "room for a 24-pixel circle around it"},
    };
    return criteria;
}

QString wcagRuleId(const WcagCriterion &criterion)
{
    return QStringLiteral("WCAG2.2-") + QLatin1String(criterion.number);
}

QString wcagUnderstandingUrl(const WcagCriterion &criterion)
{
    return QLatin1String(kUnderstandingBase) + QLatin1String(criterion.understanding) +
           QStringLiteral(".html");
}

QString wcagSeverityName(WcagSeverity severity)
{
    return severity == WcagSeverity::Failure ? QStringLiteral("failure") : QStringLiteral("advice");
}

QString wcagFindingLine(const WcagFinding &finding)
{
    QString line = QStringLiteral("%1 %2: %3 %4, %5 %6")
                       .arg(location(finding), auditStateName(finding.state),
                            criterionTitle(wcagCriteria().at(finding.criterion)),
                            wcagSeverityName(finding.severity), finding.part, finding.figures);
    const RulePlace &place = finding.place;
    if (place.rule.isEmpty())
        return line;
    const QString where = QStringLiteral("\"%1\" at %2:%3:%4")
                              .arg(place.rule, place.sheetFile)
                              .arg(place.line)
                              .arg(place.column);
    return line + QStringLiteral("; painted by ") + where;
}

QString wcagVerdictText(const WcagVerdict &verdict)
{
    if (verdict.failures)
        return QStringLiteral("fail %1").arg(verdict.failures);
    return verdict.audited ? QStringLiteral("pass") : QStringLiteral("nothing audited");
}

QVector<WcagVerdict> wcagVerdicts(const WcagReport &report, const QString &theme)
{
    QVector<WcagVerdict> verdicts(wcagCriteria().size());
    for (WcagVerdict &verdict : verdicts)
        verdict.audited = !report.unaudited.contains(theme);
    for (const WcagFinding &finding : report.findings) {
        if (finding.theme != theme)
            continue;
        WcagVerdict &verdict = verdicts[finding.criterion];
        if (finding.severity == WcagSeverity::Failure)
            ++verdict.failures;
        else
            ++verdict.advice;
    }
    return verdicts;
}

QString wcagSummaryTable(const WcagReport &report)
{
    QStringList header{QStringLiteral("criterion")};
    QVector<QStringList> rows;
    for (const WcagCriterion &criterion : wcagCriteria())
        rows.append({criterionTitle(criterion)});
    for (const QString &theme : report.themes) {
        header << theme;
        const QVector<WcagVerdict> verdicts = wcagVerdicts(report, theme);
        for (int index = 0; index < verdicts.size(); ++index) {
            const WcagVerdict &verdict = verdicts[index];
            QString cell = wcagVerdictText(verdict);
            if (verdict.advice)
                cell += QStringLiteral(" +%1 advice").arg(verdict.advice);
            rows[index] << cell;
        }
    }
    QVector<int> widths(header.size());
    for (int column = 0; column < header.size(); ++column) {
        widths[column] = int(header[column].size());
        for (const QStringList &row : qAsConst(rows))
            widths[column] = std::max(widths[column], int(row[column].size()));
    }
    const auto line = [&](const QStringList &cells) {
        QString text;
        for (int column = 0; column < cells.size(); ++column)
            text += (column ? QStringLiteral("  ") : QString()) +
                    cells[column].leftJustified(widths[column]);
        return text.trimmed() + QLatin1Char('\n');
    };
    QString table = line(header);
    for (const QStringList &row : qAsConst(rows))
        table += line(row);
    return table;
}

AuditReportContent reportContent(const WcagReport &report)
{
    AuditReportContent content;
    content.findings = reportFindings(report.findings, reportFinding);
    for (const auto &finding : report.findings)
        content.entries.append(wcagGroupEntry(finding));
    content.gaps = report.gaps;
    for (const WcagCriterion &criterion : wcagCriteria()) {
        ReportRule rule{wcagRuleId(criterion),
                        QString::fromUtf8(criterion.description),
                        {},
                        sarifLevel(WcagSeverity::Failure)};
        rule.helpUri = wcagUnderstandingUrl(criterion);
        content.rules.append(rule);
    }
    content.version = report.version;
    content.table = wcagSummaryTable(report);
    int failures = 0;
    for (const WcagFinding &finding : report.findings)
        failures += finding.severity == WcagSeverity::Failure;
    content.totals = QStringLiteral("%1 failures, %2 advice in %3 themes")
                         .arg(failures)
                         .arg(report.findings.size() - failures)
                         .arg(report.themes.size());
    addNothingAudited(&content, report.unaudited);
    return content;
}
