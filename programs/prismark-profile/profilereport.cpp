// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "prismark-profile/profilereport.h"

#include "analysis/sheetmodel.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStringList>
#include <QTextStream>

#include <algorithm>
#include <cmath>
#include <numeric>

namespace {

// A descendant selector costs a walk; this many steps per try is a walk over a deep tree.
constexpr qint64 kDeepWalkStepsPerTry = 3;

QString firstPropertyWhere(const SheetModel &model, const QVector<int> &rules,
                           bool (*test)(const QString &))
{
    for (const int rule : rules) {
        for (const SheetDeclaration &declaration : model.rules.at(rule).declarations) {
            if (test(declaration.property))
                return declaration.property;
        }
    }
    return QString();
}

QStringList unitReasons(const SheetModel &model, const ProfiledUnit &unit,
                        const QVector<int> &sheetRules, bool unindexed)
{
    QStringList reasons;
    if (unindexed)
        reasons << QStringLiteral("unindexed rightmost selector: tried on every widget");
    if (unit.ancestorSteps > 0 && unit.ancestorSteps >= kDeepWalkStepsPerTry * unit.tries)
        reasons << QStringLiteral("descendant walk over deep trees: %1 steps up")
                       .arg(unit.ancestorSteps);
    else if (unit.ancestorSteps > 0)
        reasons << QStringLiteral("descendant walk: %1 steps up").arg(unit.ancestorSteps);
    const QString relayout = firstPropertyWhere(model, sheetRules, propertyForcesRelayout);
    if (!relayout.isEmpty() && unit.matches > 0)
        reasons << QStringLiteral("%1 forces a re-layout").arg(relayout);
    const QString qproperty = firstPropertyWhere(model, sheetRules, propertySetsQProperty);
    if (!qproperty.isEmpty() && unit.matches > 0)
        reasons << QStringLiteral("%1 sets a property and re-polishes").arg(qproperty);
    if (unit.stateRestyles > 0)
        reasons << QStringLiteral("restyles %1 widgets on hover or focus").arg(unit.stateRestyles);
    return reasons;
}

QString milliseconds(double value)
{
    return QString::number(value, 'f', value < 10 ? 2 : 1);
}

// Instructions in millions, as a pass runs tens or hundreds of them.
QString amount(const ProfileReport &report, double value)
{
    if (report.instructions)
        return QString::number(value / 1e6, 'f', qAbs(value) < 1e7 ? 2 : 1);
    return milliseconds(value);
}

QString unitName(const ProfileReport &report)
{
    return report.instructions ? QStringLiteral("M instr.") : QStringLiteral("ms");
}

QString rankText(const UnitCost &cost)
{
    if (cost.verdict == Verdict::NotSeparable)
        return QStringLiteral("?");
    if (cost.withinNoise)
        return QStringLiteral("-");
    return (cost.tied ? QStringLiteral("=") : QString()) + QString::number(cost.rank);
}

QString verdictName(Verdict verdict)
{
    switch (verdict) {
    case Verdict::Costly:
        return QStringLiteral("costly");
    case Verdict::Minor:
        return QStringLiteral("minor");
    case Verdict::NotSeparable:
        break;
    }
    return QStringLiteral("not separable");
}

// A share of the apply, to a tenth of a percent where it is small.
QString applyPercent(double share)
{
    if (!std::isfinite(share))
        return share < 0 ? QStringLiteral("-inf") : QStringLiteral("inf");
    return QString::number(share * 100, 'f', qAbs(share) < 0.1 ? 1 : 0) + QLatin1Char('%');
}

QString intervalText(const ShareEstimate &share)
{
    return applyPercent(share.lower) + QLatin1Char('-') + applyPercent(share.upper);
}

double shareOf(const ProfileReport &report, double value)
{
    return report.time.added.mean > 0 ? value / report.time.added.mean : 0;
}

QString kibibytes(qint64 bytes)
{
    return QStringLiteral("%1 KiB").arg(QString::number(double(bytes) / 1024, 'f', 0));
}

QString linesOf(const ProfileReport &report, const ProfiledUnit &unit)
{
    QStringList lines;
    for (const int rule : unit.rules)
        lines << QString::number(report.rules.at(rule).line);
    return lines.join(QLatin1Char(','));
}

QJsonValue boundJson(double bound)
{
    return std::isfinite(bound) ? QJsonValue(bound) : QJsonValue();
}

QJsonObject shareJson(const ShareEstimate &share)
{
    return QJsonObject{{QStringLiteral("mean"), share.mean},
                       {QStringLiteral("trimmed"), share.trimmed},
                       {QStringLiteral("lower"), boundJson(share.lower)},
                       {QStringLiteral("upper"), boundJson(share.upper)}};
}

QJsonObject spreadJson(const Spread &spread)
{
    return QJsonObject{{QStringLiteral("mean"), spread.mean},
                       {QStringLiteral("median"), spread.median},
                       {QStringLiteral("lowerQuartile"), spread.lower},
                       {QStringLiteral("upperQuartile"), spread.upper}};
}

QString escaped(const QString &text)
{
    return text.toHtmlEscaped();
}

// The figures of the whole sheet, the rounds and what adds up.
void writeSummary(QTextStream &out, const ProfileReport &report)
{
    const Attribution &time = report.time;
    const QString unit = QLatin1Char(' ') + unitName(report);
    out << report.sheetPath
        << (report.variant.isEmpty() ? QString() : QStringLiteral(" [%1]").arg(report.variant))
        << " on " << report.target << ": " << report.widgets << " widgets in " << report.windows
        << (report.windows == 1 ? " window" : " windows") << ", " << report.deepestTree
        << " deep\n";
    out << "  apply     " << amount(report, time.apply.median) << unit << " (quartiles "
        << amount(report, time.apply.lower) << "-" << amount(report, time.apply.upper)
        << "): set, polish and first paint\n";
    out << "  baseline  " << amount(report, time.baseline.median) << unit
        << ": a sheet that matches nothing\n";
    out << "  added     " << amount(report, time.added.mean) << unit << " (quartiles "
        << amount(report, time.added.lower) << "-" << amount(report, time.added.upper)
        << "): what the sheet's rules cost\n";
    out << "  switch    " << amount(report, report.switchTime.median) << unit << " (quartiles "
        << amount(report, report.switchTime.lower) << "-" << amount(report, report.switchTime.upper)
        << "): from the built-in Light theme\n";
    if (report.heapMeasured)
        out << "  heap      " << kibibytes(report.heapSheet) << " held after the apply ("
            << kibibytes(report.heapBaseline) << " for the baseline)\n";
    int notSeparable = 0;
    double rankedShare = 0;
    double otherShare = 0;
    for (const ProfiledUnit &group : report.units) {
        notSeparable += group.time.verdict == Verdict::NotSeparable ? 1 : 0;
        (group.time.withinNoise ? otherShare : rankedShare) += group.time.share.mean;
    }
    out << "  rounds    " << time.rounds
        << (time.settled ? QStringLiteral(", every group decided")
                         : QStringLiteral(", %1 not separable").arg(notSeparable))
        << (report.instructions ? ", instructions counted under callgrind" : "") << "\n";
    out << "  adds up   the toolkit's own " << applyPercent(time.baselineShare.mean)
        << " + ranked groups " << applyPercent(rankedShare) << " + the others "
        << applyPercent(otherShare) << " = 100% of the apply\n";
}

// A count of matching work, or "-" where none was counted.
QString countText(const ProfileReport &report, int count)
{
    return report.workCounted ? QString::number(count) : QStringLiteral("-");
}

// The ranked groups, at most top of them, and which were minor or not separable.
void writeGroups(QTextStream &out, const ProfileReport &report, int top)
{
    int notSeparable = 0;
    int minor = 0;
    for (const ProfiledUnit &group : report.units) {
        notSeparable += group.time.verdict == Verdict::NotSeparable ? 1 : 0;
        minor += group.time.verdict == Verdict::Minor ? 1 : 0;
    }
    int shown = 0;
    out << "rank   share  likely        " << unitName(report).leftJustified(8)
        << "  tries  matches  lines  rule: why\n";
    for (const ProfiledUnit &group : report.units) {
        if (group.time.withinNoise || shown++ >= top)
            continue;
        out << rankText(group.time).leftJustified(4) << " "
            << applyPercent(group.time.share.trimmed).rightJustified(6) << "  "
            << intervalText(group.time.share).leftJustified(12) << "  "
            << amount(report, group.time.cost.mean).rightJustified(8) << "  "
            << countText(report, group.tries).rightJustified(5) << "  "
            << countText(report, group.matches).rightJustified(7) << "  " << linesOf(report, group)
            << "  " << group.key
            << (group.reasons.isEmpty()
                    ? QString()
                    : QLatin1String(": ") + group.reasons.join(QLatin1String("; ")))
            << "\n";
    }
    const QString costly = applyPercent(kCostlyShare);
    if (shown == 0)
        out << "(no rule group surely costs " << costly << " of the apply or more)\n";
    if (minor > 0)
        out << minor << (minor == 1 ? " rule group costs" : " rule groups cost") << " less than "
            << costly << " of the apply, not ranked\n";
    if (notSeparable > 0) {
        QStringList keys;
        for (const ProfiledUnit &group : report.units) {
            if (group.time.verdict == Verdict::NotSeparable)
                keys << group.key + QStringLiteral(" (") + intervalText(group.time.share) +
                            QLatin1Char(')');
        }
        out << notSeparable << (notSeparable == 1 ? " rule group" : " rule groups")
            << " not separable from " << costly
            << " of the apply in these rounds, not ranked: " << keys.join(QLatin1String(", "))
            << "\n";
    }
}

// The rules with the most matching work, at most top of them.
void writeMatchingWork(QTextStream &out, const ProfileReport &report, int top)
{
    if (!report.workCounted) {
        out << "matching work: not counted through the Python agent (it is counted inside "
               "an application the attach plugin is in)\n";
        return;
    }
    QVector<int> byWork(report.rules.size());
    std::iota(byWork.begin(), byWork.end(), 0);
    std::stable_sort(byWork.begin(), byWork.end(), [&report](int a, int b) {
        return report.rules.at(a).workRank < report.rules.at(b).workRank;
    });
    out << "most matching work  tries  matches  steps  restyles  line  rule\n";
    for (int i = 0; i < qMin(top, byWork.size()); ++i) {
        const ProfiledRule &rule = report.rules.at(byWork.at(i));
        out << QString::number(rule.workRank).leftJustified(18) << " "
            << QString::number(rule.work.tries).rightJustified(6) << "  "
            << QString::number(rule.work.matches).rightJustified(7) << "  "
            << QString::number(rule.work.ancestorSteps).rightJustified(5) << "  "
            << QString::number(rule.work.stateRestyles).rightJustified(8) << "  "
            << QString::number(rule.line).rightJustified(4) << "  " << rule.selectors << "\n";
    }
}

} // namespace

void describeRules(ProfileReport &report, const SheetModel &model, const MatchWork &work,
                   const QVector<ProfileUnit> &units,
                   const std::function<int(int offset)> &authorLine)
{
    report.rules.clear();
    for (int i = 0; i < model.rules.size(); ++i) {
        ProfiledRule rule;
        rule.line = authorLine(model.rules.at(i).offset);
        QStringList texts;
        for (const SheetSelector &selector : model.rules.at(i).selectors)
            texts << selector.text;
        rule.selectors = texts.join(QLatin1String(", "));
        rule.work = work.rules.value(i);
        report.rules << rule;
    }
    for (ProfiledRule &rule : report.rules) {
        rule.workRank = 1;
        for (const ProfiledRule &other : qAsConst(report.rules))
            rule.workRank += other.work.work() > rule.work.work() ? 1 : 0;
    }
    report.units.clear();
    for (int u = 0; u < units.size(); ++u) {
        ProfiledUnit unit;
        unit.key = units.at(u).key;
        unit.rules = units.at(u).rules;
        unit.time = report.time.units.value(u);
        bool unindexed = false;
        for (const int rule : unit.rules) {
            const RuleWork &counted = report.rules.at(rule).work;
            unit.tries += counted.tries;
            unit.matches += counted.matches;
            unit.ancestorSteps += counted.ancestorSteps;
            unit.stateRestyles += counted.stateRestyles;
            unindexed = unindexed || counted.unindexed;
        }
        unit.reasons = unitReasons(model, unit, units.at(u).rules, unindexed);
        report.units << unit;
    }
    // Ranked first, then those not separable, then the minor ones; by share within.
    std::stable_sort(report.units.begin(), report.units.end(),
                     [](const ProfiledUnit &a, const ProfiledUnit &b) {
                         if (a.time.verdict != b.time.verdict)
                             return int(a.time.verdict) < int(b.time.verdict);
                         if (a.time.rank != b.time.rank)
                             return a.time.rank < b.time.rank;
                         return a.time.share.trimmed > b.time.share.trimmed;
                     });
    for (int u = 0; u < report.units.size(); ++u) {
        for (const int rule : report.units.at(u).rules)
            report.rules[rule].unit = u;
    }
}

QString textReport(const ProfileReport &report, int top)
{
    QString text;
    QTextStream out(&text);
    writeSummary(out, report);
    out << "\n";
    writeGroups(out, report, top);
    out << "\n";
    writeMatchingWork(out, report, top);
    const Attribution &time = report.time;
    const double overhead = report.profileMilliseconds - time.measuringMilliseconds;
    out << "\nprofile took " << milliseconds(report.profileMilliseconds / 1000)
        << " s: " << milliseconds(time.measuringMilliseconds / 1000)
        << " s in the attribution's passes, " << milliseconds(overhead / 1000)
        << " s besides (loading, or starting the application and its settling; the switch "
           "and heap passes; "
        << milliseconds(report.countingMilliseconds) << " ms counting matching work)\n";
    return text;
}

QByteArray jsonReport(const ProfileReport &report)
{
    const Attribution &time = report.time;
    QJsonArray rules;
    for (const ProfiledRule &rule : report.rules) {
        rules.append(QJsonObject{{QStringLiteral("line"), rule.line},
                                 {QStringLiteral("selectors"), rule.selectors},
                                 {QStringLiteral("tries"), double(rule.work.tries)},
                                 {QStringLiteral("matches"), double(rule.work.matches)},
                                 {QStringLiteral("ancestorSteps"), double(rule.work.ancestorSteps)},
                                 {QStringLiteral("stateRestyles"), double(rule.work.stateRestyles)},
                                 {QStringLiteral("unindexed"), rule.work.unindexed},
                                 {QStringLiteral("workRank"), rule.workRank},
                                 {QStringLiteral("group"), rule.unit}});
    }
    const QString costKey =
        report.instructions ? QStringLiteral("instructions") : QStringLiteral("milliseconds");
    QJsonArray groups;
    for (const ProfiledUnit &unit : report.units) {
        QJsonArray lines;
        for (const int rule : unit.rules)
            lines.append(report.rules.at(rule).line);
        groups.append(
            QJsonObject{{QStringLiteral("key"), unit.key},
                        {QStringLiteral("lines"), lines},
                        {costKey, spreadJson(unit.time.cost)},
                        {QStringLiteral("share"), shareOf(report, unit.time.cost.mean)},
                        {QStringLiteral("applyShare"), shareJson(unit.time.share)},
                        {QStringLiteral("verdict"), verdictName(unit.time.verdict)},
                        {QStringLiteral("withinNoise"), unit.time.withinNoise},
                        {QStringLiteral("rank"), unit.time.rank},
                        {QStringLiteral("tied"), unit.time.tied},
                        {QStringLiteral("tries"), double(unit.tries)},
                        {QStringLiteral("matches"), double(unit.matches)},
                        {QStringLiteral("ancestorSteps"), double(unit.ancestorSteps)},
                        {QStringLiteral("stateRestyles"), double(unit.stateRestyles)},
                        {QStringLiteral("reasons"), QJsonArray::fromStringList(unit.reasons)}});
    }
    QJsonObject root{{QStringLiteral("sheet"), report.sheetPath},
                     {QStringLiteral("variant"), report.variant},
                     {QStringLiteral("target"), report.target},
                     {QStringLiteral("windows"), report.windows},
                     {QStringLiteral("widgets"), report.widgets},
                     {QStringLiteral("deepestTree"), report.deepestTree},
                     {QStringLiteral("measuredIn"), costKey},
                     {QStringLiteral("apply"), spreadJson(time.apply)},
                     {QStringLiteral("baseline"), spreadJson(time.baseline)},
                     {QStringLiteral("added"), spreadJson(time.added)},
                     {QStringLiteral("switch"), spreadJson(report.switchTime)},
                     {QStringLiteral("rounds"), time.rounds},
                     {QStringLiteral("settled"), time.settled},
                     {QStringLiteral("coverage"), time.coverage()},
                     {QStringLiteral("baselineShare"), shareJson(time.baselineShare)},
                     {QStringLiteral("costlyShare"), kCostlyShare},
                     {QStringLiteral("groups"), groups},
                     {QStringLiteral("rules"), rules},
                     {QStringLiteral("profileMilliseconds"), report.profileMilliseconds},
                     {QStringLiteral("measuringMilliseconds"), time.measuringMilliseconds},
                     {QStringLiteral("countingMilliseconds"), report.countingMilliseconds},
                     {QStringLiteral("workCounted"), report.workCounted}};
    if (report.heapMeasured) {
        root.insert(QStringLiteral("heapBytes"), double(report.heapSheet));
        root.insert(QStringLiteral("baselineHeapBytes"), double(report.heapBaseline));
    }
    return QJsonDocument(root).toJson();
}

QString htmlReport(const ProfileReport &report)
{
    QString html;
    QTextStream out(&html);
    out << "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"><title>Profile of "
        << escaped(report.sheetPath) << "</title>\n<style>\n"
        << "body{font-family:sans-serif;margin:1.5em}table{border-collapse:collapse}"
           "th,td{padding:2px 8px;text-align:right;border-bottom:1px solid #ddd}"
           "td.rule,td.why,th.rule,th.why{text-align:left}th{cursor:pointer;background:#eee}"
           "pre{line-height:1.35}pre a{color:#999;display:inline-block;width:4em}"
           ":target{background:#ffe28a}\n</style></head><body>\n";
    out << "<h1>" << escaped(report.sheetPath) << "</h1>\n<pre id=\"summary\">"
        << escaped(textReport(report, 0).section(QLatin1String("\n\n"), 0, 0)) << "</pre>\n";
    // The rank column: "?" for a group not separable from the costly share, "-" for a
    // minor one; the share is of the apply, with the interval it likely lies in.
    out << "<table id=\"groups\"><thead><tr><th>rank</th><th>share</th><th>from</th><th>to</th>"
           "<th>"
        << unitName(report)
        << "</th><th>tries</th><th>matches</th><th>steps</th><th>restyles</th>"
           "<th class=\"rule\">rule</th><th class=\"why\">why</th></tr></thead><tbody>\n";
    for (const ProfiledUnit &unit : report.units) {
        const double rankOrder = unit.time.verdict == Verdict::Costly         ? unit.time.rank
                                 : unit.time.verdict == Verdict::NotSeparable ? 1e8
                                                                              : 1e9;
        out << "<tr><td data-v=\"" << rankOrder << "\">" << rankText(unit.time) << "</td><td>"
            << applyPercent(unit.time.share.trimmed) << "</td><td>"
            << applyPercent(unit.time.share.lower) << "</td><td>"
            << applyPercent(unit.time.share.upper) << "</td><td>"
            << amount(report, unit.time.cost.mean) << "</td><td>" << unit.tries << "</td><td>"
            << unit.matches << "</td><td>" << unit.ancestorSteps << "</td><td>"
            << unit.stateRestyles << "</td><td class=\"rule\">";
        for (const int rule : unit.rules) {
            const ProfiledRule &written = report.rules.at(rule);
            out << "<a href=\"#L" << written.line << "\">" << written.line << ": "
                << escaped(written.selectors) << "</a><br>";
        }
        out << "</td><td class=\"why\">" << escaped(unit.reasons.join(QLatin1String("; ")))
            << "</td></tr>\n";
    }
    out << "</tbody></table>\n<h2>Sheet</h2>\n<pre>";
    const QStringList lines = report.sheetText.split(QLatin1Char('\n'));
    for (int i = 0; i < lines.size(); ++i)
        out << "<span id=\"L" << i + 1 << "\"><a href=\"#L" << i + 1 << "\">" << i + 1 << "</a>"
            << escaped(lines.at(i)) << "</span>\n";
    // Sorted by a column on a click, or on opening as "index.html#by-tries".
    out << "</pre>\n<script>\n"
           "var heads=document.querySelectorAll('#groups th');\n"
           "function sortBy(col,up){\n"
           " var body=document.querySelector('#groups tbody');\n"
           " var rows=Array.prototype.slice.call(body.rows);\n"
           " function key(r){var c=r.cells[col];var v=c.dataset.v!==undefined?"
           "c.dataset.v:c.textContent;var n=parseFloat(v);return isNaN(n)?v:n;}\n"
           " rows.sort(function(a,b){var x=key(a),y=key(b);"
           "var d=x<y?-1:x>y?1:0;return up?d:-d;});\n"
           " rows.forEach(function(r){body.appendChild(r);});\n"
           " heads[col].dataset.up=up?'1':'0';\n"
           "}\n"
           "heads.forEach(function(th,col){th.addEventListener('click',function(){"
           "sortBy(col,th.dataset.up!=='1');});});\n"
           "var asked=location.hash.match(/^#by-(.+)$/);\n"
           "if(asked)heads.forEach(function(th,col){if(th.textContent===asked[1])"
           "sortBy(col,th.textContent==='rank');});\n"
           "</script>\n</body></html>\n";
    return html;
}
