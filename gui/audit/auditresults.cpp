// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "audit/auditresults.h"

#include "support/atomicwrite.h"
#include "support/safefileread.h"
#include "tokens/jsonreader.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>

#include <climits>

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
const QString kNothingAudited = QStringLiteral("nothingAudited");

constexpr AuditState kStates[] = {AuditState::Normal, AuditState::Hover,    AuditState::Pressed,
                                  AuditState::Focus,  AuditState::Disabled, AuditState::Checked};
// A report from another process: no more than this many entries of each kind.
constexpr int kMostEntries = 100000;

// An entry as the project's JSON reader gives it (a key given twice is refused);
// a member of another kind than asked reads as empty.
struct Entry
{
    const JsonNode *node;

    const JsonNode *member(const QString &key, JsonNode::Kind kind) const
    {
        const JsonNode *value = node->member(key);
        return value && value->kind == kind ? value : nullptr;
    }
    QString text(const QString &key) const
    {
        const JsonNode *value = member(key, JsonNode::String);
        return value ? value->string : QString();
    }
    int number(const QString &key) const
    {
        const JsonNode *value = member(key, JsonNode::Number);
        if (!value || !(value->number >= 0 && value->number <= INT_MAX))
            return 0;
        return int(value->number);
    }
    bool flag(const QString &key) const
    {
        const JsonNode *value = member(key, JsonNode::Bool);
        return value && value->boolean;
    }
};

bool readState(const Entry &entry, AuditState *state)
{
    const QString name = entry.text(kState);
    for (AuditState candidate : kStates) {
        if (auditStateName(candidate) == name) {
            *state = candidate;
            return true;
        }
    }
    return false;
}

bool readCheck(const Entry &entry, AuditCheckIndex *check)
{
    const QString id = entry.text(kCheck);
    for (int index = 0; index < auditChecks().size(); ++index) {
        if (QLatin1String(auditChecks().at(index).id) == id) {
            *check = static_cast<AuditCheckIndex>(index);
            return true;
        }
    }
    return false;
}

bool readCriterion(const Entry &entry, WcagCriterionIndex *criterion)
{
    const QString number = entry.text(kCriterion);
    for (int index = 0; index < wcagCriteria().size(); ++index) {
        if (QLatin1String(wcagCriteria().at(index).number) == number) {
            *criterion = static_cast<WcagCriterionIndex>(index);
            return true;
        }
    }
    return false;
}

bool readSeverity(const Entry &entry, WcagSeverity *severity)
{
    for (WcagSeverity candidate : {WcagSeverity::Failure, WcagSeverity::Advice}) {
        if (wcagSeverityName(candidate) == entry.text(kSeverity)) {
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

RulePlace readPlace(const Entry &entry)
{
    RulePlace place;
    place.rule = entry.text(kRule);
    if (place.rule.isEmpty())
        return place;
    place.sheetFile = entry.text(kSheetFile);
    place.line = entry.number(kLine);
    place.column = entry.number(kColumn);
    place.namesState = entry.flag(kNamesState);
    return place;
}

// An image's name as the writer gives them: a plain file name, never a path.
bool plainImageName(const QString &name)
{
    static const QRegularExpression plain(QStringLiteral("^[A-Za-z0-9_-]{1,64}\\.png$"));
    return plain.match(name).hasMatch();
}

QImage readImage(const Entry &entry, const std::function<QImage(const QString &)> &load)
{
    const QString name = entry.text(kImage);
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
QVector<Entry> entries(const JsonNode &document, const QString &kind)
{
    QVector<Entry> objects;
    const JsonNode *list = document.member(kind);
    if (!list || list->kind != JsonNode::Array)
        return objects;
    for (const JsonNode &item : list->items) {
        if (objects.size() >= kMostEntries)
            break;
        if (item.kind == JsonNode::Object)
            objects << Entry{&item};
    }
    return objects;
}

QVector<AuditGap> readGaps(const QVector<Entry> &objects, const QString &theme)
{
    QVector<AuditGap> gaps;
    for (const Entry &entry : objects) {
        AuditGap gap;
        if (!readState(entry, &gap.state))
            continue;
        gap.theme = theme;
        gap.tab = entry.text(kTab);
        gap.object = entry.text(kObject);
        gap.part = entry.text(kPart);
        gap.reason = entry.text(kReason);
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
        {kStrips, strips},
        {kNothingAudited, !results.states.unaudited.isEmpty()}};
    return QJsonDocument(document).toJson(QJsonDocument::Compact);
}

bool readAuditResults(const QByteArray &json, const QString &theme,
                      const std::function<QImage(const QString &)> &load, AuditResults *results,
                      QString *error)
{
    const JsonReadResult document = readJson(QString::fromUtf8(json));
    if (!document.ok) {
        *error =
            QStringLiteral("%1:%2: %3").arg(document.line).arg(document.column).arg(document.error);
        return false;
    }
    if (document.root.kind != JsonNode::Object) {
        *error = QStringLiteral("the audit's results are not a JSON object");
        return false;
    }
    const JsonNode &root = document.root;
    AuditResults read;
    read.wcag.themes << theme;
    read.states.themeCount = 1;
    if (Entry{&root}.flag(kNothingAudited))
        read.states.unaudited = read.wcag.unaudited = QStringList{theme};
    for (const Entry &entry : entries(root, kFindings)) {
        AuditFinding finding;
        if (!readState(entry, &finding.state) || !readCheck(entry, &finding.check))
            continue;
        finding.theme = theme;
        finding.tab = entry.text(kTab);
        finding.object = entry.text(kObject);
        finding.figures = entry.text(kFigures);
        const RulePlace place = readPlace(entry);
        finding.sheetFile = place.sheetFile;
        finding.rule = place.rule;
        finding.line = place.line;
        finding.column = place.column;
        finding.ruleNamesState = place.namesState;
        read.states.findings << finding;
    }
    for (const Entry &entry : entries(root, kWcag)) {
        WcagFinding finding;
        if (!readState(entry, &finding.state) || !readCriterion(entry, &finding.criterion) ||
            !readSeverity(entry, &finding.severity))
            continue;
        finding.theme = theme;
        finding.tab = entry.text(kTab);
        finding.object = entry.text(kObject);
        finding.part = entry.text(kPart);
        finding.figures = entry.text(kFigures);
        finding.place = readPlace(entry);
        finding.crop = readImage(entry, load);
        read.wcag.findings << finding;
    }
    read.states.gaps = readGaps(entries(root, kGaps), theme);
    read.wcag.gaps = read.states.gaps + readGaps(entries(root, kTextGaps), theme);
    for (const Entry &entry : entries(root, kStrips)) {
        const QImage image = readImage(entry, load);
        const QString tab = entry.text(kTab);
        if (image.isNull())
            continue;
        if (read.strips.isEmpty() || read.strips.last().first != tab)
            read.strips.append({tab, {}});
        read.strips.last().second.append({entry.text(kObject), image});
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

void AuditResults::addReports(const AuditResults &other)
{
    states.findings += other.states.findings;
    states.gaps += other.states.gaps;
    states.themeCount += other.states.themeCount;
    states.unaudited += other.states.unaudited;
    wcag.findings += other.wcag.findings;
    wcag.gaps += other.wcag.gaps;
    wcag.themes += other.wcag.themes;
    wcag.unaudited += other.wcag.unaudited;
}
