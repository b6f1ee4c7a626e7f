// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "prismark-shot/wcagpage.h"

#include "prismark-shot/imagewriter.h"
#include "prismark-shot/shotconsole.h"
#include "support/programsupport.h"

#include <QDir>

namespace {

const char kStyle[] =
    R"(body { font-family: sans-serif; background: #ffffff; color: #1a1a1a; margin: 16px; }
table { border-collapse: collapse; }
th, td { border-bottom: 1px solid #b0b0b0; padding: 6px 10px; text-align: left; }
td.pass { color: #0a6b2a; }
td.fail { color: #a4001d; font-weight: bold; }
section.finding { border-top: 1px solid #b0b0b0; padding: 8px 0; }
section.failure h3 { color: #a4001d; }
section.advice h3 { color: #5c4700; }
h3 { font-size: 16px; margin: 4px 0; }
code { background: #eeeeee; padding: 1px 3px; }
img { border: 1px solid #808080; display: block; margin-top: 6px; max-width: 100%; }
img.broken { outline: 3px solid #a4001d; }
)";

// Marks each crop as loaded or broken, so that a test (or a reader) sees which.
const char kScript[] = R"(document.querySelectorAll('img').forEach(function (img) {
  function mark() { img.dataset.state = img.naturalWidth > 0 ? 'loaded' : 'broken';
    if (img.dataset.state === 'broken') { img.classList.add('broken'); } }
  img.addEventListener('load', mark);
  img.addEventListener('error', function () { img.dataset.state = 'broken'; mark(); });
  if (img.complete) { mark(); }
});
)";

QString escaped(const QString &text)
{
    return text.toHtmlEscaped();
}

QString criteriaTable(const WcagReport &report, const QString &theme)
{
    const QVector<WcagVerdict> verdicts = wcagVerdicts(report, theme);
    QString html = QStringLiteral("<table id=\"criteria\"><thead><tr><th>criterion</th>"
                                  "<th>level</th><th>verdict</th><th>advice</th></tr></thead>"
                                  "<tbody>\n");
    for (int index = 0; index < verdicts.size(); ++index) {
        const WcagCriterion &criterion = wcagCriteria().at(index);
        const WcagVerdict &verdict = verdicts.at(index);
        html += QStringLiteral("<tr data-criterion=\"%1\"><td><a href=\"%2\">%1 %3</a></td>"
                               "<td>%4</td><td class=\"%5\">%6</td><td>%7</td></tr>\n")
                    .arg(QLatin1String(criterion.number), wcagUnderstandingUrl(criterion),
                         escaped(QLatin1String(criterion.name)), QLatin1String(criterion.level),
                         verdict.passes() ? QStringLiteral("pass") : QStringLiteral("fail"),
                         wcagVerdictText(verdict), QString::number(verdict.advice));
    }
    return html + QStringLiteral("</tbody></table>\n");
}

QString findingSection(const WcagFinding &finding, int index)
{
    const WcagCriterion &criterion = wcagCriteria().at(finding.criterion);
    QString rule;
    if (!finding.place.rule.isEmpty())
        rule = QStringLiteral("<p class=\"rule\">painted by <code>%1</code> at %2:%3:%4</p>")
                   .arg(escaped(finding.place.rule), escaped(finding.place.sheetFile))
                   .arg(finding.place.line)
                   .arg(finding.place.column);
    return QStringLiteral("<section class=\"finding %1\" data-criterion=\"%2\">"
                          "<h3>%2 %3 (%4) %1</h3>"
                          "<p class=\"where\">%5/%6 %7: %8 %9</p>%10"
                          "<img src=\"%11\" alt=\"%6 %7\"></section>\n")
        .arg(wcagSeverityName(finding.severity), QLatin1String(criterion.number),
             escaped(QLatin1String(criterion.name)), QLatin1String(criterion.level),
             escaped(finding.tab), escaped(finding.object), auditStateName(finding.state),
             escaped(finding.part), escaped(finding.figures))
        .arg(rule, wcagCropPath(index));
}

} // namespace

QString wcagCropPath(int index)
{
    return QStringLiteral("crops/%1.png").arg(index + 1);
}

QString wcagPageHtml(const WcagReport &report, const QString &theme)
{
    QString findings;
    int failures = 0, advice = 0, index = 0;
    for (const WcagFinding &finding : report.findings) {
        if (finding.theme != theme)
            continue;
        findings += findingSection(finding, index++);
        (finding.severity == WcagSeverity::Failure ? failures : advice) += 1;
    }
    QString summary = QStringLiteral("%1 failures, %2 advice").arg(failures).arg(advice);
    if (report.unaudited.contains(theme))
        summary += QStringLiteral("; nothing audited, not one visible, enabled widget to audit");
    return QStringLiteral("<!DOCTYPE html>\n<html lang=\"en\"><head><meta charset=\"utf-8\">"
                          "<title>WCAG 2.2 audit: %1</title><style>%2</style></head><body>\n"
                          "<h1>WCAG 2.2 audit: %1</h1>\n%3"
                          "<p id=\"summary\">%4</p>\n<h2>Findings</h2>\n%5"
                          "<script>%6</script></body></html>\n")
        .arg(escaped(theme), QLatin1String(kStyle), criteriaTable(report, theme), summary, findings,
             QLatin1String(kScript));
}

bool writeWcagPages(const WcagReport &report, const QString &folder, ImageWriter &writer)
{
    const QDir root(folder);
    for (const QString &theme : report.themes) {
        const QString themeFolder = root.filePath(theme);
        if (!QDir().mkpath(themeFolder + QStringLiteral("/crops"))) {
            printProgramError(
                QStringLiteral("cannot write to the output folder %1").arg(themeFolder));
            return false;
        }
        int index = 0;
        for (const WcagFinding &finding : report.findings)
            if (finding.theme == theme)
                writer.submitImage(themeFolder + QLatin1Char('/') + wcagCropPath(index++),
                                   finding.crop);
        if (!writer.writePage(themeFolder + QStringLiteral("/index.html"),
                              wcagPageHtml(report, theme)))
            return false;
    }
    return true;
}
