// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "prismark-shot/wcagpage.h"

#include "prismark-shot/imagewriter.h"
#include "prismark-shot/shotconsole.h"
#include "support/programsupport.h"

#include "audit/auditgroups.h"

#include <QCryptographicHash>
#include <QDir>
#include <QHash>

namespace {

const char kStyle[] =
    R"(body { font-family: sans-serif; background: #ffffff; color: #1a1a1a; margin: 16px; }
table { border-collapse: collapse; }
th, td { border-bottom: 1px solid #b0b0b0; padding: 6px 10px; text-align: left; }
td.pass { color: #0a6b2a; }
td.fail { color: #a4001d; font-weight: bold; }
section.group { border-top: 1px solid #b0b0b0; padding: 8px 0; }
section.failure h3 { color: #a4001d; }
p.widgets { font-size: 90%; }
figure { display: inline-block; margin: 6px 12px 6px 0; vertical-align: top; }
figcaption { font-size: 80%; max-width: 320px; }
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

// As many measures as the text report lists before it folds the rest.
constexpr int kMeasuresShown = 3;

// A theme's findings and the distinct looks among their crops: equal crops (the
// same widget measured for two criteria, twin buttons) are one file.
struct ThemeFindings
{
    QVector<const WcagFinding *> findings;
    QVector<AuditGroupEntry> entries;
    QVector<QImage> crops;
    QVector<int> cropOf; // per finding, an index into crops
};

QByteArray cropHash(const QImage &image)
{
    const QImage pixels = image.convertToFormat(QImage::Format_ARGB32);
    QCryptographicHash hash(QCryptographicHash::Sha1);
    hash.addData(QByteArray::number(pixels.width()) + 'x' + QByteArray::number(pixels.height()));
    for (int y = 0; y < pixels.height(); ++y)
        hash.addData(reinterpret_cast<const char *>(pixels.constScanLine(y)), pixels.width() * 4);
    return hash.result();
}

ThemeFindings themeFindings(const WcagReport &report, const QString &theme)
{
    ThemeFindings found;
    QHash<QByteArray, QVector<int>> byHash;
    for (const WcagFinding &finding : report.findings) {
        if (finding.theme != theme)
            continue;
        found.findings << &finding;
        found.entries << wcagGroupEntry(finding);
        QVector<int> &alike = byHash[cropHash(finding.crop)];
        int crop = -1;
        for (int candidate : qAsConst(alike))
            if (found.crops[candidate] == finding.crop)
                crop = candidate;
        if (crop < 0) {
            crop = int(found.crops.size());
            found.crops << finding.crop;
            alike << crop;
        }
        found.cropOf << crop;
    }
    return found;
}

QString groupSection(const ThemeFindings &found, const AuditGroup &group)
{
    const WcagFinding &first = *found.findings[group.members.first()];
    const WcagCriterion &criterion = wcagCriteria().at(first.criterion);
    const AuditGroupEntry &entry = found.entries[group.members.first()];
    // The first few measures; the rest folded, as a group of many widgets has many.
    const QStringList all = auditGroupMeasures(found.entries, group);
    QString measures = QStringLiteral("<ul class=\"measured\">");
    for (int index = 0; index < all.size(); ++index) {
        if (index == kMeasuresShown)
            measures += QStringLiteral("</ul><details><summary>%1 more measures</summary><ul "
                                       "class=\"measured\">")
                            .arg(all.size() - kMeasuresShown);
        measures += QStringLiteral("<li>%1</li>").arg(escaped(all[index]));
    }
    measures +=
        all.size() > kMeasuresShown ? QStringLiteral("</ul></details>") : QStringLiteral("</ul>");
    // One crop per distinct look, captioned with the widgets and states that look so.
    QVector<int> crops;
    QVector<QStringList> lookers;
    for (int index : group.members) {
        const int crop = found.cropOf[index];
        int at = int(crops.indexOf(crop));
        if (at < 0) {
            at = int(crops.size());
            crops << crop;
            lookers << QStringList();
        }
        const AuditGroupEntry &member = found.entries[index];
        lookers[at] << member.tab + QLatin1Char('/') + member.object + QLatin1Char(' ') +
                           member.state;
    }
    QString figures;
    for (int index = 0; index < crops.size(); ++index)
        figures += QStringLiteral("<figure><img src=\"%1\" alt=\"%2\"><figcaption>%2"
                                  "</figcaption></figure>")
                       .arg(wcagCropPath(crops[index]),
                            escaped(lookers[index].join(QStringLiteral(", "))));
    return QStringLiteral("<section class=\"group %1\" data-criterion=\"%2\" "
                          "data-group=\"%3\"><h3>%2 %4 (%5) %1</h3>"
                          "<p class=\"rule\">%6</p><p class=\"count\">%7 findings on %8 "
                          "widgets</p><p class=\"widgets\">%9</p>"
                          "%10<p class=\"fix\">fix: %11</p>"
                          "%12</section>\n")
        .arg(wcagSeverityName(first.severity), QLatin1String(criterion.number), escaped(group.key),
             escaped(QLatin1String(criterion.name)), QLatin1String(criterion.level),
             escaped(auditGroupRule(entry)))
        .arg(group.members.size())
        .arg(auditGroupWidgetCount(found.entries, group))
        .arg(escaped(auditGroupWidgets(found.entries, group)), measures,
             escaped(auditGroupFix(entry)), figures);
}

} // namespace

QString wcagCropPath(int index)
{
    return QStringLiteral("crops/%1.png").arg(index + 1);
}

QString wcagPageHtml(const WcagReport &report, const QString &theme)
{
    const ThemeFindings found = themeFindings(report, theme);
    const QVector<AuditGroup> groups = auditGroups(found.entries);
    QString sections;
    for (const AuditGroup &group : groups)
        sections += groupSection(found, group);
    int failures = 0;
    for (const WcagFinding *finding : found.findings)
        failures += finding->severity == WcagSeverity::Failure;
    QString summary = QStringLiteral("%1 failures, %2 advice")
                          .arg(failures)
                          .arg(found.findings.size() - failures);
    if (!groups.isEmpty())
        summary += QStringLiteral(" in %1 groups").arg(groups.size());
    if (report.unaudited.contains(theme))
        summary += QStringLiteral("; nothing audited, not one visible, enabled widget to audit");
    return QStringLiteral("<!DOCTYPE html>\n<html lang=\"en\"><head><meta charset=\"utf-8\">"
                          "<title>WCAG 2.2 audit: %1</title><style>%2</style></head><body>\n"
                          "<h1>WCAG 2.2 audit: %1</h1>\n%3"
                          "<p id=\"summary\">%4</p>\n<h2>Findings by rule</h2>\n%5"
                          "<script>%6</script></body></html>\n")
        .arg(escaped(theme), QLatin1String(kStyle), criteriaTable(report, theme), summary, sections,
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
        const ThemeFindings found = themeFindings(report, theme);
        for (int index = 0; index < found.crops.size(); ++index)
            writer.submitImage(themeFolder + QLatin1Char('/') + wcagCropPath(index),
                               found.crops[index]);
        if (!writer.writePage(themeFolder + QStringLiteral("/index.html"),
                              wcagPageHtml(report, theme)))
            return false;
    }
    return true;
}
