// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "shot/auditchecks.h"

#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QUrl>

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

QString fileUri(const QString &file)
{
    if (QFileInfo(file).isAbsolute())
        return QUrl::fromLocalFile(file).toString(QUrl::FullyEncoded);
    return QString::fromLatin1(QUrl::toPercentEncoding(file, "/-._~"));
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

QString auditFindingsJson(const QVector<AuditFinding> &findings)
{
    QJsonArray array;
    for (const AuditFinding &finding : findings)
        array.append(QJsonObject{
            {QStringLiteral("file"), findingFile(finding)},
            {QStringLiteral("line"), finding.line},
            {QStringLiteral("column"), finding.column},
            {QStringLiteral("severity"), kWarning},
            {QStringLiteral("check"), QLatin1String(auditChecks().at(finding.check).id)},
            {QStringLiteral("message"), auditFindingLine(finding)}});
    return QString::fromUtf8(QJsonDocument(array).toJson(QJsonDocument::Indented));
}

QString auditFindingsSarif(const QVector<AuditFinding> &findings, const QString &version)
{
    QJsonArray rules;
    for (const AuditCheck &check : auditChecks())
        rules.append(QJsonObject{
            {QStringLiteral("id"), QLatin1String(check.id)},
            {QStringLiteral("shortDescription"),
             QJsonObject{{QStringLiteral("text"), QString::fromUtf8(check.description)}}},
            {QStringLiteral("defaultConfiguration"),
             QJsonObject{{QStringLiteral("level"), kWarning}, {QStringLiteral("enabled"), true}}}});
    QJsonArray results;
    for (const AuditFinding &finding : findings) {
        QJsonObject physical{{QStringLiteral("artifactLocation"),
                              QJsonObject{{QStringLiteral("uri"), fileUri(findingFile(finding))}}}};
        // A region only where the finding has a place in a sheet; lines start at 1.
        if (finding.line > 0)
            physical.insert(QStringLiteral("region"),
                            QJsonObject{{QStringLiteral("startLine"), finding.line},
                                        {QStringLiteral("startColumn"), finding.column}});
        const QJsonObject logical{{QStringLiteral("fullyQualifiedName"), location(finding)},
                                  {QStringLiteral("kind"), QStringLiteral("element")}};
        results.append(QJsonObject{
            {QStringLiteral("ruleId"), QLatin1String(auditChecks().at(finding.check).id)},
            {QStringLiteral("ruleIndex"), int(finding.check)},
            {QStringLiteral("level"), kWarning},
            {QStringLiteral("message"),
             QJsonObject{{QStringLiteral("text"), auditFindingLine(finding)}}},
            {QStringLiteral("locations"),
             QJsonArray{QJsonObject{{QStringLiteral("physicalLocation"), physical},
                                    {QStringLiteral("logicalLocations"), QJsonArray{logical}}}}}});
    }
    const QJsonObject driver{{QStringLiteral("name"), QStringLiteral("prismark-shot")},
                             {QStringLiteral("version"), version},
                             {QStringLiteral("rules"), rules}};
    const QJsonObject run{{QStringLiteral("tool"), QJsonObject{{QStringLiteral("driver"), driver}}},
                          {QStringLiteral("columnKind"), QStringLiteral("unicodeCodePoints")},
                          {QStringLiteral("results"), results}};
    const QJsonObject log{
        {QStringLiteral("$schema"),
         QStringLiteral("https://docs.oasis-open.org/sarif/sarif/v2.1.0/errata01/os/schemas/"
                        "sarif-schema-2.1.0.json")},
        {QStringLiteral("version"), QStringLiteral("2.1.0")},
        {QStringLiteral("runs"), QJsonArray{run}}};
    return QString::fromUtf8(QJsonDocument(log).toJson(QJsonDocument::Indented));
}
