// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "prismark-shot/diffreport.h"

#include <QSet>
#include <QStringList>
#include <QUrl>

#include <algorithm>

namespace {

const char kStyle[] =
    R"(body { font-family: sans-serif; background: #f4f4f4; color: #202020; margin: 16px; }
table { border-collapse: collapse; width: 100%; }
th, td { border-bottom: 1px solid #c8c8c8; padding: 6px; text-align: left; vertical-align: top; }
tr.fail td.result { color: #b00020; font-weight: bold; }
tr.same { color: #707070; }
.images { display: flex; gap: 8px; flex-wrap: wrap; }
figure { margin: 0; }
figcaption { font-size: 12px; color: #505050; }
img { max-width: 420px; border: 1px solid #a0a0a0; display: block; }
img.broken { outline: 3px solid #b00020; }
.blend { position: relative; display: inline-block; }
.blend img.over { position: absolute; left: 0; top: 0; }
.absent { font-size: 12px; color: #b00020; width: 160px; }
label { margin-right: 12px; }
)";

// Marks each image as loaded or broken (the page says which), wires the blend
// sliders and the filters. Plain script, nothing fetched.
const char kScript[] = R"(function markImage(img) {
  if (img.complete) { img.dataset.state = img.naturalWidth > 0 ? 'loaded' : 'broken'; }
  if (img.dataset.state === 'broken') { img.classList.add('broken'); }
}
document.querySelectorAll('img').forEach(function (img) {
  img.addEventListener('load', function () { markImage(img); });
  img.addEventListener('error', function () { img.dataset.state = 'broken'; markImage(img); });
  markImage(img);
});
document.querySelectorAll('input.blend').forEach(function (slider) {
  var over = document.getElementById(slider.dataset.target);
  function apply() { over.style.opacity = slider.value / 100; }
  slider.addEventListener('input', apply);
  apply();
});
var filters = document.querySelectorAll('select.filter');
function applyFilters() {
  document.querySelectorAll('tbody tr').forEach(function (row) {
    var shown = true;
    filters.forEach(function (filter) {
      if (filter.value !== '' && row.dataset[filter.dataset.key] !== filter.value) { shown = false; }
    });
    row.style.display = shown ? '' : 'none';
  });
}
filters.forEach(function (filter) { filter.addEventListener('change', applyFilters); });
)";

QString escaped(const QString &text)
{
    return text.toHtmlEscaped();
}

// A relative file path as a URL path: each segment percent-encoded.
QString urlPath(const QString &path)
{
    return QString::fromLatin1(QUrl::toPercentEncoding(path, "/-._~"));
}

QString figure(const QString &caption, const QString &path, const QString &id = QString())
{
    if (path.isEmpty())
        return QStringLiteral("<figure><figcaption>%1</figcaption><div class=\"absent\">"
                              "missing</div></figure>")
            .arg(caption);
    return QStringLiteral("<figure><figcaption>%1</figcaption><img src=\"%2\" alt=\"%1\"%3>"
                          "</figure>")
        .arg(caption, escaped(urlPath(path)),
             id.isEmpty() ? QString() : QStringLiteral(" id=\"%1\"").arg(id));
}

QString blend(const DiffReportRow &row, int index)
{
    if (row.baseline.isEmpty() || row.render.isEmpty())
        return QString();
    const QString id = QStringLiteral("over%1").arg(index);
    return QStringLiteral("<figure><figcaption>blend: baseline &#8594; render "
                          "<input type=\"range\" class=\"blend\" min=\"0\" max=\"100\" "
                          "value=\"50\" data-target=\"%1\" aria-label=\"blend\"></figcaption>"
                          "<div class=\"blend\"><img src=\"%2\" alt=\"baseline\">"
                          "<img class=\"over\" src=\"%3\" alt=\"render\" id=\"%1\"></div>"
                          "</figure>")
        .arg(id, escaped(urlPath(row.baseline)), escaped(urlPath(row.render)));
}

QString filter(const QString &key, const QString &title, QStringList values)
{
    values.removeDuplicates();
    values.sort();
    QString html = QStringLiteral("<label>%1 <select class=\"filter\" data-key=\"%2\">"
                                  "<option value=\"\">all</option>")
                       .arg(title, key);
    for (const QString &value : values)
        html += QStringLiteral("<option>%1</option>").arg(escaped(value));
    return html + QStringLiteral("</select></label>\n");
}

} // namespace

QString diffReportHtml(QVector<DiffReportRow> rows, const QString &summary)
{
    // Changed first, larger shares before smaller; the rest keeps the run's order.
    std::stable_sort(rows.begin(), rows.end(), [](const DiffReportRow &a, const DiffReportRow &b) {
        if (a.changed != b.changed)
            return a.changed;
        return a.percent > b.percent;
    });
    QStringList themes, tabs, combinations;
    int changed = 0;
    for (const DiffReportRow &row : rows) {
        themes << row.theme;
        tabs << row.tab;
        combinations << row.combination;
        changed += row.changed ? 1 : 0;
    }
    QString html = QStringLiteral("<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n"
                                  "<meta charset=\"utf-8\">\n"
                                  "<title>prismark-shot comparison</title>\n<style>\n") +
                   QLatin1String(kStyle) + QStringLiteral("</style>\n</head>\n<body>\n");
    html += QStringLiteral("<h1>prismark-shot comparison</h1>\n<p id=\"summary\">%1</p>\n"
                           "<p>%2 of %3 images differ at all or are missing on a side.</p>\n")
                .arg(escaped(summary), QString::number(changed), QString::number(rows.size()));
    html += QStringLiteral("<p>") +
            filter(QStringLiteral("theme"), QStringLiteral("Theme"), themes) +
            filter(QStringLiteral("tab"), QStringLiteral("Tab"), tabs) +
            filter(QStringLiteral("combination"), QStringLiteral("Combination"), combinations) +
            QStringLiteral("</p>\n");
    html += QStringLiteral("<table>\n<thead><tr><th>theme</th><th>image</th><th>combination</th>"
                           "<th>differing</th><th>result</th><th>images</th></tr></thead>\n"
                           "<tbody>\n");
    for (int i = 0; i < rows.size(); ++i) {
        const DiffReportRow &row = rows.at(i);
        const QString rowClass = row.failed    ? QStringLiteral("fail")
                                 : row.changed ? QStringLiteral("changed")
                                               : QStringLiteral("same");
        html += QStringLiteral("<tr class=\"%1\" data-theme=\"%2\" data-tab=\"%3\" "
                               "data-combination=\"%4\">")
                    .arg(rowClass, escaped(row.theme), escaped(row.tab), escaped(row.combination));
        html += QStringLiteral("<td class=\"theme\">%1</td><td class=\"image\">%2</td>"
                               "<td>%3</td><td class=\"share\">%4</td><td class=\"result\">%5</td>")
                    .arg(escaped(row.theme), escaped(row.image), escaped(row.combination),
                         escaped(row.share),
                         row.failed ? QStringLiteral("FAIL") : QStringLiteral("ok"));
        html += QStringLiteral("<td><div class=\"images\">");
        html += figure(QStringLiteral("baseline"), row.baseline);
        html += figure(QStringLiteral("render"), row.render);
        if (row.changed && !row.baseline.isEmpty() && !row.render.isEmpty()) {
            if (!row.difference.isEmpty())
                html += figure(QStringLiteral("difference"), row.difference);
            html += blend(row, i);
        }
        html += QStringLiteral("</div></td></tr>\n");
    }
    html += QStringLiteral("</tbody>\n</table>\n<script>\n") + QLatin1String(kScript) +
            QStringLiteral("</script>\n</body>\n</html>\n");
    return html;
}
