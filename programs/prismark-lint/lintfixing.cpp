// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "prismark-lint/lintfixing.h"

#include "analysis/lintfixer.h"
#include "analysis/stylesheetlint.h"
#include "embedded/embeddedlint.h"
#include "support/atomicwrite.h"
#include "support/unifieddiff.h"

#include <cstdio>

namespace {
void writeStandardOutput(const QByteArray &bytes)
{
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
    std::fflush(stdout);
}
} // namespace

LintFixOutcome fixLintInput(const QString &file, const QByteArray &bytes,
                            const LintOptions &options, const LintFixMode &mode,
                            const QString &name)
{
    const bool standardInput = file == QLatin1String("-");
    const LintFixResult result = fixStyleSheet(bytes, name, options, mode.unsafeFixes);
    LintFixOutcome outcome;
    outcome.fixed = result.fixed;
    outcome.remaining = result.remaining;
    outcome.notice = result.refusal;
    if (mode.diff) {
        writeStandardOutput(
            unifiedDiff(QString::fromUtf8(bytes), QString::fromUtf8(result.bytes), name).toUtf8());
        return outcome;
    }
    if (standardInput) {
        writeStandardOutput(result.bytes);
        return outcome;
    }
    if (result.changed && !writeFileAtomically(file, result.bytes, &outcome.error)) {
        outcome.ok = false;
        outcome.fixed = 0;
        outcome.remaining = lintStyleSheet(bytes, name, options);
    }
    return outcome;
}

LintFixOutcome fixEmbeddedInput(const QString &file, const QByteArray &bytes,
                                EmbeddingLanguage language, const LintOptions &options,
                                const LintFixMode &mode, const QString &name)
{
    const EmbeddedFixResult result =
        fixEmbeddedSheets(bytes, language, name, options, mode.unsafeFixes);
    LintFixOutcome outcome;
    outcome.fixed = result.fixed;
    outcome.remaining = result.remaining;
    outcome.notice = result.notices.join(QLatin1String("; "));
    if (mode.diff) {
        writeStandardOutput(
            unifiedDiff(QString::fromUtf8(bytes), QString::fromUtf8(result.bytes), name).toUtf8());
        return outcome;
    }
    if (file == QLatin1String("-")) {
        writeStandardOutput(result.bytes);
        return outcome;
    }
    if (result.changed && !writeFileAtomically(file, result.bytes, &outcome.error)) {
        outcome.ok = false;
        outcome.fixed = 0;
        outcome.remaining = lintEmbeddedSheets(QString::fromUtf8(bytes), language, name, options);
    }
    return outcome;
}
