// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "audit/auditreport.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

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

// The findings that have no entry (nothing audited) after the groups' findings.
QVector<ReportFinding> ungroupedFindings(const AuditReportContent &content)
{
    return content.findings.mid(content.entries.size());
}

QString auditText(const AuditReportContent &content)
{
    QString text;
    const QVector<AuditGroup> groups = auditGroups(content.entries);
    for (const AuditGroup &group : groups)
        text += auditGroupText(content.entries, group);
    for (const ReportFinding &finding :
         ungroupedFindings(content) + reportFindings(content.gaps, gapFinding))
        text += finding.message + QLatin1Char('\n');
    if (!text.isEmpty() && !content.table.isEmpty())
        text += QLatin1Char('\n');
    text += content.table + content.totals;
    if (!groups.isEmpty())
        text += QStringLiteral(", in %1 groups").arg(groups.size());
    if (!content.gaps.isEmpty())
        text += QStringLiteral(", %1 not audited").arg(content.gaps.size());
    return text + QLatin1Char('\n');
}

// One entry per finding, as tools read it, each with the key of its group.
QString auditJson(const AuditReportContent &content)
{
    const QString json = findingsJson(allFindings(content));
    if (content.entries.isEmpty())
        return json;
    QJsonArray array = QJsonDocument::fromJson(json.toUtf8()).array();
    for (int index = 0; index < content.entries.size() && index < array.size(); ++index) {
        QJsonObject object = array.at(index).toObject();
        object.insert(QStringLiteral("group"), auditGroupKey(content.entries[index]));
        array.replace(index, object);
    }
    return QString::fromUtf8(QJsonDocument(array).toJson(QJsonDocument::Indented));
}

// One result per group, at its rule, naming the widgets it affects.
ReportFinding groupFinding(const QVector<AuditGroupEntry> &entries, const AuditGroup &group)
{
    const AuditGroupEntry &first = entries[group.members.first()];
    ReportFinding report;
    report.file = first.place.rule.isEmpty() ? first.theme : first.place.sheetFile;
    report.line = first.place.line;
    report.column = first.place.column;
    report.level = first.level;
    report.ruleId = first.ruleId;
    report.message = QStringLiteral("%1; widgets: %2; fix: %3")
                         .arg(auditGroupHeading(entries, group), auditGroupWidgets(entries, group),
                              auditGroupFix(first));
    if (first.place.rule.isEmpty())
        report.logicalName = first.theme;
    return report;
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
    QVector<ReportFinding> results;
    for (const AuditGroup &group : auditGroups(content.entries))
        results.append(groupFinding(content.entries, group));
    results += ungroupedFindings(content) + reportFindings(content.gaps, gapFinding);
    return findingsSarif(tool, results);
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
