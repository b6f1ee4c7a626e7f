// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "audit/auditresults.h"

#include "support/atomicwrite.h"
#include "support/safefileread.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>

#include <algorithm>

namespace {

// Field names, shared by the writer and the reader.
const QString kFindings = QStringLiteral("findings");
const QString kWcag = QStringLiteral("wcag");
const QString kGaps = QStringLiteral("gaps");
const QString kTextGaps = QStringLiteral("textGaps");
const QString kStrips = QStringLiteral("strips");
const QString kTab = QStringLiteral("tab");
const QString kObject = QStringLiteral("object");
const QString kState = QStringLiteral("state");
const QString kCheck = QStringLiteral("check");
const QString kCriterion = QStringLiteral("criterion");
const QString kSeverity = QStringLiteral("severity");
const QString kPart = QStringLiteral("part");
const QString kFigures = QStringLiteral("figures");
const QString kReason = QStringLiteral("reason");
const QString kSheetFile = QStringLiteral("sheetFile");
const QString kRule = QStringLiteral("rule");
const QString kLine = QStringLiteral("line");
const QString kColumn = QStringLiteral("column");
const QString kNamesState = QStringLiteral("namesState");
const QString kImage = QStringLiteral("image");

constexpr AuditState kStates[] = {AuditState::Normal, AuditState::Hover,    AuditState::Pressed,
                                  AuditState::Focus,  AuditState::Disabled, AuditState::Checked};
// A report from another process: no more than this many entries of each kind.
constexpr int kMostEntries = 100000;

bool readState(const QJsonObject &entry, AuditState *state)
{
    const QString name = entry.value(kState).toString();
    for (AuditState candidate : kStates) {
        if (auditStateName(candidate) == name) {
            *state = candidate;
            return true;
        }
    }
    return false;
}

bool readCheck(const QJsonObject &entry, AuditCheckIndex *check)
{
    const QString id = entry.value(kCheck).toString();
    for (int index = 0; index < auditChecks().size(); ++index) {
        if (QLatin1String(auditChecks().at(index).id) == id) {
            *check = static_cast<AuditCheckIndex>(index);
            return true;
        }
    }
    return false;
}

bool readCriterion(const QJsonObject &entry, WcagCriterionIndex *criterion)
{
    const QString number = entry.value(kCriterion).toString();
    for (int index = 0; index < wcagCriteria().size(); ++index) {
        if (QLatin1String(wcagCriteria().at(index).number) == number) {
            *criterion = static_cast<WcagCriterionIndex>(index);
            return true;
        }
    }
    return false;
}

bool readSeverity(const QJsonObject &entry, WcagSeverity *severity)
{
    for (WcagSeverity candidate : {WcagSeverity::Failure, WcagSeverity::Advice}) {
        if (wcagSeverityName(candidate) == entry.value(kSeverity).toString()) {
            *severity = candidate;
            return true;
        }
    }
    return false;
}

void writePlace(QJsonObject &entry, const RulePlace &place)
{
    if (place.rule.isEmpty())
        return;
    entry.insert(kSheetFile, place.sheetFile);
    entry.insert(kRule, place.rule);
    entry.insert(kLine, place.line);
    entry.insert(kColumn, place.column);
    entry.insert(kNamesState, place.namesState);
}

RulePlace readPlace(const QJsonObject &entry)
{
    RulePlace place;
    place.rule = entry.value(kRule).toString();
    if (place.rule.isEmpty())
        return place;
    place.sheetFile = entry.value(kSheetFile).toString();
    place.line = std::max(0, entry.value(kLine).toInt());
    place.column = std::max(0, entry.value(kColumn).toInt());
    place.namesState = entry.value(kNamesState).toBool();
    return place;
}

// An image's name as the writer gives them: a plain file name, never a path.
bool plainImageName(const QString &name)
{
    static const QRegularExpression plain(QStringLiteral("^[A-Za-z0-9_-]{1,64}\\.png$"));
    return plain.match(name).hasMatch();
}

QImage readImage(const QJsonObject &entry, const std::function<QImage(const QString &)> &load)
{
    const QString name = entry.value(kImage).toString();
    return plainImageName(name) ? load(name) : QImage();
}

QJsonArray stateFindings(const AuditReport &report)
{
    QJsonArray array;
    for (const AuditFinding &finding : report.findings) {
        QJsonObject entry{{kTab, finding.tab},
                          {kObject, finding.object},
                          {kState, auditStateName(finding.state)},
                          {kCheck, QLatin1String(auditChecks().at(finding.check).id)},
                          {kFigures, finding.figures}};
        writePlace(entry, {finding.sheetFile, finding.rule, finding.line, finding.column,
                           finding.ruleNamesState});
        array.append(entry);
    }
    return array;
}

QJsonArray wcagFindings(const WcagReport &report,
                        const std::function<QString(const QImage &)> &store)
{
    QJsonArray array;
    for (const WcagFinding &finding : report.findings) {
        QJsonObject entry{{kTab, finding.tab},
                          {kObject, finding.object},
                          {kState, auditStateName(finding.state)},
                          {kCriterion, QLatin1String(wcagCriteria().at(finding.criterion).number)},
                          {kSeverity, wcagSeverityName(finding.severity)},
                          {kPart, finding.part},
                          {kFigures, finding.figures}};
        writePlace(entry, finding.place);
        const QString image = finding.crop.isNull() ? QString() : store(finding.crop);
        if (!image.isEmpty())
            entry.insert(kImage, image);
        array.append(entry);
    }
    return array;
}

QJsonArray gapEntries(const QVector<AuditGap> &gaps)
{
    QJsonArray array;
    for (const AuditGap &gap : gaps)
        array.append(QJsonObject{{kTab, gap.tab},
                                 {kObject, gap.object},
                                 {kState, auditStateName(gap.state)},
                                 {kPart, gap.part},
                                 {kReason, gap.reason}});
    return array;
}

// The entries of one kind that are objects, no more than the bound.
QVector<QJsonObject> entries(const QJsonObject &document, const QString &kind)
{
    QVector<QJsonObject> objects;
    for (const QJsonValue &value : document.value(kind).toArray()) {
        if (objects.size() >= kMostEntries)
            break;
        if (value.isObject())
            objects << value.toObject();
    }
    return objects;
}

QVector<AuditGap> readGaps(const QVector<QJsonObject> &objects, const QString &theme)
{
    QVector<AuditGap> gaps;
    for (const QJsonObject &entry : objects) {
        AuditGap gap;
        if (!readState(entry, &gap.state))
            continue;
        gap.theme = theme;
        gap.tab = entry.value(kTab).toString();
        gap.object = entry.value(kObject).toString();
        gap.part = entry.value(kPart).toString();
        gap.reason = entry.value(kReason).toString();
        gaps << gap;
    }
    return gaps;
}

} // namespace

QByteArray auditResultsJson(const AuditResults &results,
                            const std::function<QString(const QImage &)> &store)
{
    QJsonArray strips;
    for (const auto &page : results.strips) {
        for (const StateStrip &strip : page.second) {
            const QString image = store(strip.image);
            if (!image.isEmpty())
                strips.append(
                    QJsonObject{{kTab, page.first}, {kObject, strip.object}, {kImage, image}});
        }
    }
    const QJsonObject document{
        {kFindings, stateFindings(results.states)},
        {kWcag, wcagFindings(results.wcag, store)},
        {kGaps, gapEntries(results.states.gaps)},
        {kTextGaps, gapEntries(results.wcag.gaps.mid(results.states.gaps.size()))},
        {kStrips, strips}};
    return QJsonDocument(document).toJson(QJsonDocument::Compact);
}

bool readAuditResults(const QByteArray &json, const QString &theme,
                      const std::function<QImage(const QString &)> &load, AuditResults *results,
                      QString *error)
{
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(json, &parseError);
    if (!document.isObject()) {
        *error = parseError.error != QJsonParseError::NoError
                     ? parseError.errorString()
                     : QStringLiteral("the audit's results are not a JSON object");
        return false;
    }
    const QJsonObject root = document.object();
    AuditResults read;
    read.wcag.themes << theme;
    read.states.themeCount = 1;
    for (const QJsonObject &entry : entries(root, kFindings)) {
        AuditFinding finding;
        if (!readState(entry, &finding.state) || !readCheck(entry, &finding.check))
            continue;
        finding.theme = theme;
        finding.tab = entry.value(kTab).toString();
        finding.object = entry.value(kObject).toString();
        finding.figures = entry.value(kFigures).toString();
        const RulePlace place = readPlace(entry);
        finding.sheetFile = place.sheetFile;
        finding.rule = place.rule;
        finding.line = place.line;
        finding.column = place.column;
        finding.ruleNamesState = place.namesState;
        read.states.findings << finding;
    }
    for (const QJsonObject &entry : entries(root, kWcag)) {
        WcagFinding finding;
        if (!readState(entry, &finding.state) || !readCriterion(entry, &finding.criterion) ||
            !readSeverity(entry, &finding.severity))
            continue;
        finding.theme = theme;
        finding.tab = entry.value(kTab).toString();
        finding.object = entry.value(kObject).toString();
        finding.part = entry.value(kPart).toString();
        finding.figures = entry.value(kFigures).toString();
        finding.place = readPlace(entry);
        finding.crop = readImage(entry, load);
        read.wcag.findings << finding;
    }
    read.states.gaps = readGaps(entries(root, kGaps), theme);
    read.wcag.gaps = read.states.gaps + readGaps(entries(root, kTextGaps), theme);
    for (const QJsonObject &entry : entries(root, kStrips)) {
        const QImage image = readImage(entry, load);
        const QString tab = entry.value(kTab).toString();
        if (image.isNull())
            continue;
        if (read.strips.isEmpty() || read.strips.last().first != tab)
            read.strips.append({tab, {}});
        read.strips.last().second.append({entry.value(kObject).toString(), image});
    }
    *results = read;
    return true;
}

bool writeAuditResults(const AuditResults &results, const QString &folder, QString *error)
{
    const QDir into(folder);
    int count = 0;
    bool written = true;
    const QByteArray json = auditResultsJson(results, [&](const QImage &image) {
        const QString name = QStringLiteral("image-%1.png").arg(++count);
        if (image.save(into.filePath(name), "PNG"))
            return name;
        written = false;
        return QString();
    });
    if (!written) {
        *error = QStringLiteral("cannot write the audit's images to %1").arg(folder);
        return false;
    }
    return writeFileAtomically(into.filePath(QLatin1String(kAuditResultsFile)), json, error);
}

bool readAuditResultsFolder(const QString &folder, const QString &theme, AuditResults *results,
                            QString *error)
{
    const QDir from(folder);
    const FileReadResult file = readRegularFile(from.filePath(QLatin1String(kAuditResultsFile)));
    if (!file.ok) {
        *error = file.error;
        return false;
    }
    return readAuditResults(
        file.bytes, theme, [&from](const QString &name) { return QImage(from.filePath(name)); },
        results, error);
}
