// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "support/findingreport.h"

#include <QFileInfo>
#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QUrl>

namespace {

QString indented(const QJsonDocument &document)
{
    return QString::fromUtf8(document.toJson(QJsonDocument::Indented));
}

QJsonObject sarifRule(const ReportRule &rule)
{
    QJsonObject description{{QStringLiteral("text"), rule.text}};
    if (!rule.markdown.isEmpty())
        description.insert(QStringLiteral("markdown"), rule.markdown);
    QJsonObject object{{QStringLiteral("id"), rule.id},
                       {QStringLiteral("shortDescription"), description},
                       {QStringLiteral("defaultConfiguration"),
                        QJsonObject{{QStringLiteral("level"), rule.level},
                                    {QStringLiteral("enabled"), rule.enabled}}}};
    if (!rule.helpUri.isEmpty())
        object.insert(QStringLiteral("helpUri"), rule.helpUri);
    return object;
}

QJsonObject sarifPhysicalLocation(const QString &file, int line, int column)
{
    QJsonObject physical{{QStringLiteral("artifactLocation"),
                          QJsonObject{{QStringLiteral("uri"), reportFileUri(file)}}}};
    if (line > 0)
        physical.insert(QStringLiteral("region"),
                        QJsonObject{{QStringLiteral("startLine"), line},
                                    {QStringLiteral("startColumn"), column}});
    return physical;
}

QJsonArray sarifRelatedLocations(const QVector<ReportPlace> &related)
{
    QJsonArray locations;
    for (const ReportPlace &place : related)
        locations.append(QJsonObject{
            {QStringLiteral("id"), locations.size()},
            {QStringLiteral("physicalLocation"),
             sarifPhysicalLocation(place.file, place.line, place.column)},
            {QStringLiteral("message"), QJsonObject{{QStringLiteral("text"), place.message}}}});
    return locations;
}

QJsonArray jsonRelated(const QVector<ReportPlace> &related)
{
    QJsonArray places;
    for (const ReportPlace &place : related)
        places.append(QJsonObject{{QStringLiteral("file"), place.file},
                                  {QStringLiteral("line"), place.line},
                                  {QStringLiteral("column"), place.column},
                                  {QStringLiteral("message"), place.message}});
    return places;
}

QJsonObject sarifLocation(const ReportFinding &finding)
{
    QJsonObject location{{QStringLiteral("physicalLocation"),
                          sarifPhysicalLocation(finding.file, finding.line, finding.column)}};
    if (!finding.logicalName.isEmpty())
        location.insert(
            QStringLiteral("logicalLocations"),
            QJsonArray{QJsonObject{{QStringLiteral("fullyQualifiedName"), finding.logicalName},
                                   {QStringLiteral("kind"), QStringLiteral("element")}}});
    return location;
}

} // namespace

// Code-scanning services resolve a relative URI against the checkout.
QString reportFileUri(const QString &file)
{
    if (QFileInfo(file).isAbsolute())
        return QUrl::fromLocalFile(file).toString(QUrl::FullyEncoded);
    return QString::fromLatin1(QUrl::toPercentEncoding(file, "/-._~"));
}

QString findingsJson(const QVector<ReportFinding> &findings)
{
    QJsonArray array;
    for (const ReportFinding &finding : findings) {
        QJsonObject object{{QStringLiteral("file"), finding.file},
                           {QStringLiteral("line"), finding.line},
                           {QStringLiteral("column"), finding.column},
                           {QStringLiteral("severity"), finding.level},
                           {QStringLiteral("check"), finding.ruleId},
                           {QStringLiteral("message"), finding.message}};
        if (!finding.variants.isEmpty())
            object.insert(QStringLiteral("variants"), QJsonArray::fromStringList(finding.variants));
        if (!finding.related.isEmpty())
            object.insert(QStringLiteral("related"), jsonRelated(finding.related));
        array.append(object);
    }
    return indented(QJsonDocument(array));
}

QString findingsSarif(const ReportTool &tool, const QVector<ReportFinding> &findings)
{
    QJsonArray rules;
    QHash<QString, int> ruleIndex;
    for (const ReportRule &rule : tool.rules) {
        ruleIndex.insert(rule.id, rules.size());
        rules.append(sarifRule(rule));
    }
    QJsonArray results;
    for (const ReportFinding &finding : findings) {
        QJsonObject result{
            {QStringLiteral("ruleId"), finding.ruleId},
            {QStringLiteral("level"), finding.level},
            {QStringLiteral("message"), QJsonObject{{QStringLiteral("text"), finding.message}}},
            {QStringLiteral("locations"), QJsonArray{sarifLocation(finding)}}};
        if (!finding.related.isEmpty())
            result.insert(QStringLiteral("relatedLocations"),
                          sarifRelatedLocations(finding.related));
        // An index only for a rule the driver lists; any other would name the wrong one.
        const auto index = ruleIndex.constFind(finding.ruleId);
        if (index != ruleIndex.cend())
            result.insert(QStringLiteral("ruleIndex"), index.value());
        results.append(result);
    }
    const QJsonObject driver{{QStringLiteral("name"), tool.name},
                             {QStringLiteral("version"), tool.version},
                             {QStringLiteral("rules"), rules}};
    const QJsonObject run{{QStringLiteral("tool"), QJsonObject{{QStringLiteral("driver"), driver}}},
                          // Columns count characters, as the text output does.
                          {QStringLiteral("columnKind"), QStringLiteral("unicodeCodePoints")},
                          {QStringLiteral("results"), results}};
    const QJsonObject log{
        {QStringLiteral("$schema"),
         QStringLiteral("https://docs.oasis-open.org/sarif/sarif/v2.1.0/errata01/os/schemas/"
                        "sarif-schema-2.1.0.json")},
        {QStringLiteral("version"), QStringLiteral("2.1.0")},
        {QStringLiteral("runs"), QJsonArray{run}}};
    return indented(QJsonDocument(log));
}

QString alternativesText(const QStringList &names)
{
    if (names.size() < 2)
        return names.join(QString());
    return names.mid(0, names.size() - 1).join(QStringLiteral(", ")) + QStringLiteral(" or ") +
           names.constLast();
}
