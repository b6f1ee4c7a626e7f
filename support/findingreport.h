// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include <QString>
#include <QStringList>
#include <QVector>

// The machine-readable reports of findings that prismark-lint and prismark-shot's
// audit both write: one JSON array, or one SARIF 2.1.0 log with a single run.

// A rule the tool knows, as SARIF lists it in the driver.
struct ReportRule
{
    QString id;
    QString text;
    // Left out of the log when empty.
    QString markdown;
    QString level;
    bool enabled = true;
};

struct ReportTool
{
    QString name;
    QString version;
    QVector<ReportRule> rules;
};

// Another place a finding is about, such as the token that gave the colour it was
// judged against.
struct ReportPlace
{
    QString file;
    int line = 1;
    int column = 1;
    QString message;
};

// One finding. A line of 0 means the finding has no place in a text: JSON still
// writes it, SARIF leaves the region out (its lines start at 1).
struct ReportFinding
{
    QString file;
    int line = 0;
    int column = 0;
    QString level;
    QString ruleId;
    QString message;
    // Left out when empty: the variants of a theme template, and the name of the
    // thing (not a text) the finding is about.
    QStringList variants;
    QString logicalName;
    // Left out when empty; SARIF's relatedLocations.
    QVector<ReportPlace> related = {};
};

// A program's own findings as the reports take them, convert turning one into one.
template <typename Finding, typename Convert>
QVector<ReportFinding> reportFindings(const QVector<Finding> &findings, Convert convert)
{
    QVector<ReportFinding> reports;
    reports.reserve(findings.size());
    for (const Finding &finding : findings)
        reports.append(convert(finding));
    return reports;
}

// A file name as a URI reference: relative paths stay relative.
QString reportFileUri(const QString &file);

QString findingsJson(const QVector<ReportFinding> &findings);
QString findingsSarif(const ReportTool &tool, const QVector<ReportFinding> &findings);
