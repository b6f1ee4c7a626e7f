// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "prismark-lsp/features/diagnostichover.h"

#include "analysis/checkexplanation.h"
#include "analysis/checkregistry.h"

#include <QStringList>

std::optional<HoverInfo> diagnosticHoverAt(const QVector<PublishedDiagnostic> &diagnostics,
                                           int offset, bool markdown)
{
    QStringList seen;
    QStringList paragraphs;
    HoverInfo hover;
    hover.markdown = markdown;
    for (const PublishedDiagnostic &diagnostic : diagnostics) {
        if (offset < diagnostic.start || offset > diagnostic.end)
            continue;
        const LintCheck *check = lintCheck(diagnostic.lint.check);
        if (!check || seen.contains(diagnostic.lint.check))
            continue;
        if (seen.isEmpty())
            hover.span = {diagnostic.start, diagnostic.end};
        hover.span.start = qMin(hover.span.start, diagnostic.start);
        hover.span.end = qMax(hover.span.end, diagnostic.end);
        seen.append(diagnostic.lint.check);
        const QString summary = checkExplanationSummary(*check);
        paragraphs.append(markdown ? QStringLiteral("**%1**: %2").arg(seen.last(), summary)
                                   : QStringLiteral("%1: %2").arg(seen.last(), summary));
    }
    if (paragraphs.isEmpty())
        return std::nullopt;
    hover.contents = paragraphs.join(QStringLiteral("\n\n"));
    return hover;
}

std::optional<HoverInfo> joinHovers(const std::optional<HoverInfo> &diagnostics,
                                    const std::optional<HoverInfo> &other)
{
    if (!diagnostics)
        return other;
    if (!other)
        return diagnostics;
    HoverInfo joined = *other;
    const QString rule = other->markdown ? QStringLiteral("\n\n---\n\n") : QStringLiteral("\n\n");
    joined.contents = diagnostics->contents + rule + other->contents;
    joined.span = {qMin(diagnostics->span.start, other->span.start),
                   qMax(diagnostics->span.end, other->span.end)};
    return joined;
}
