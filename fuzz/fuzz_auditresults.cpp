// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

// libFuzzer target: arbitrary bytes as the audit's results an attached application
// hands prismark-shot. Besides no crash, hang or sanitizer report: every image it
// asks for is a plain file name of the folder, never a path; what reads is filed
// under the theme given; and written again it reads back as many findings, gaps
// and strips, and the same line for line once written.

#include "audit/auditresults.h"
#include "fuzzrequire.h"

#include <QByteArray>
#include <QImage>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

QStringList lines(const AuditResults &results)
{
    QStringList all;
    for (const AuditFinding &finding : results.states.findings)
        all << auditFindingLine(finding);
    for (const WcagFinding &finding : results.wcag.findings)
        all << wcagFindingLine(finding);
    for (const AuditGap &gap : results.wcag.gaps)
        all << auditGapLine(gap);
    for (const auto &window : results.strips)
        for (const StateStrip &strip : window.second)
            all << window.first + QLatin1Char('/') + strip.object;
    return all;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray json(reinterpret_cast<const char *>(data), int(size));
    const QString theme = QStringLiteral("theme/app");
    QImage tiny(1, 1, QImage::Format_RGB32);
    tiny.fill(0);
    const auto load = [&tiny](const QString &name) {
        require(!name.contains(QLatin1Char('/')) && !name.startsWith(QLatin1Char('.')));
        return tiny;
    };
    AuditResults read;
    QString error;
    if (!readAuditResults(json, theme, load, &read, &error)) {
        require(!error.isEmpty());
        return 0;
    }
    for (const WcagFinding &finding : read.wcag.findings)
        require(finding.theme == theme);
    for (const AuditFinding &finding : read.states.findings)
        require(finding.theme == theme);
    int stored = 0;
    const auto rewritten = [&](const AuditResults &results) {
        AuditResults again;
        require(readAuditResults(
            auditResultsJson(
                results,
                [&stored](const QImage &) { return QStringLiteral("image-%1.png").arg(++stored); }),
            theme, load, &again, &error));
        return again;
    };
    // The first writing may normalise text JSON cannot carry (a lone surrogate);
    // from then on nothing changes, and nothing is ever added or lost.
    const AuditResults once = rewritten(read);
    require(lines(once).size() == lines(read).size());
    require(lines(rewritten(once)) == lines(once));
    return 0;
}
