// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "prismark-lint/lintreport.h"

#include "analysis/checkregistry.h"

#include <QCoreApplication>

#include <algorithm>

namespace {

QString formatText(const LintReport &report)
{
    QString text;
    for (const LintDiagnostic &diagnostic : report.diagnostics)
        text += lintDiagnosticLine(diagnostic) + QLatin1Char('\n');
    text += QStringLiteral("%1 errors, %2 warnings in %3 files\n")
                .arg(countWithSeverity(report.diagnostics, LintSeverity::Error))
                .arg(countWithSeverity(report.diagnostics, LintSeverity::Warning))
                .arg(report.checkedFiles);
    if (report.fixing)
        text += QStringLiteral("%1 fixed, %2 remaining\n")
                    .arg(report.fixed)
                    .arg(report.diagnostics.size());
    return text;
}

ReportFinding reportFinding(const LintDiagnostic &diagnostic)
{
    ReportFinding finding;
    finding.file = diagnostic.file;
    finding.line = diagnostic.line;
    finding.column = diagnostic.column;
    finding.level = lintSeverityName(diagnostic.severity);
    finding.ruleId = diagnostic.check;
    finding.message = diagnostic.message;
    finding.variants = diagnostic.variants;
    // A template's finding names where the other colour it judged was written, often in
    // another file; a plain sheet's reports keep the form their readers know.
    if (diagnostic.variants.isEmpty())
        return finding;
    for (const LintLocation &place : diagnostic.related)
        finding.related.append({place.file.isEmpty() ? diagnostic.file : place.file, place.line,
                                place.column, place.message});
    return finding;
}

QString formatJson(const LintReport &report)
{
    return findingsJson(reportFindings(report.diagnostics, reportFinding));
}

ReportTool reportTool()
{
    ReportTool tool{
        QCoreApplication::applicationName(), QCoreApplication::applicationVersion(), {}};
    for (const LintCheck &check : lintChecks()) {
        const QString description = QString::fromUtf8(check.description);
        tool.rules.append(ReportRule{QLatin1String(check.id),
                                     QString(description).remove(QLatin1Char('`')), description,
                                     lintSeverityName(check.severity), check.onByDefault});
    }
    return tool;
}

QString formatSarif(const LintReport &report)
{
    return findingsSarif(reportTool(), reportFindings(report.diagnostics, reportFinding));
}

// Workflow commands: the message escapes %, CR and LF; a property also : and ,.
QString githubEscape(QString text, bool property)
{
    text.replace(QLatin1Char('%'), QLatin1String("%25"))
        .replace(QLatin1Char('\r'), QLatin1String("%0D"))
        .replace(QLatin1Char('\n'), QLatin1String("%0A"));
    if (property)
        text.replace(QLatin1Char(':'), QLatin1String("%3A"))
            .replace(QLatin1Char(','), QLatin1String("%2C"));
    return text;
}

QString formatGithub(const LintReport &report)
{
    QString text;
    for (const LintDiagnostic &diagnostic : report.diagnostics) {
        const QString command = diagnostic.severity == LintSeverity::Error ? QStringLiteral("error")
                                : diagnostic.severity == LintSeverity::Warning
                                    ? QStringLiteral("warning")
                                    : QStringLiteral("notice");
        // Concatenated, not arg()ed: the escapes contain "%2C" and the like.
        text += QStringLiteral("::") + command + QStringLiteral(" file=") +
                githubEscape(diagnostic.file, true) + QStringLiteral(",line=") +
                QString::number(diagnostic.line) + QStringLiteral(",col=") +
                QString::number(diagnostic.column) + QStringLiteral(",title=") +
                githubEscape(diagnostic.check, true) + QStringLiteral("::") +
                githubEscape(diagnostic.message, false) + QLatin1Char('\n');
    }
    return text;
}

} // namespace

const ReportFormats<LintReport> &lintReportFormats()
{
    static const ReportFormats<LintReport> formats{
        {"text", "", formatText},
        {"json", "", formatJson},
        {"sarif", "SARIF 2.1.0", formatSarif},
        {"github", "workflow commands", formatGithub},
    };
    return formats;
}

int countWithSeverity(const QVector<LintDiagnostic> &diagnostics, LintSeverity severity)
{
    return int(
        std::count_if(diagnostics.cbegin(), diagnostics.cend(),
                      [severity](const LintDiagnostic &d) { return d.severity == severity; }));
}
