// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "prismark-lint/lintfixing.h"

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

LintFixOutcome fixLintedFile(const LintFileKind &kind, const LintedFile &file,
                             const LintRequest &request, const LintFixMode &mode)
{
    const FixedFile result = kind.fix(file, request);
    LintFixOutcome outcome;
    outcome.fixed = result.fixed;
    outcome.remaining = result.remaining;
    outcome.notice = result.notice;
    if (mode.diff) {
        writeStandardOutput(
            unifiedDiff(QString::fromUtf8(file.bytes), QString::fromUtf8(result.bytes), file.name)
                .toUtf8());
        return outcome;
    }
    if (file.isStandardInput()) {
        writeStandardOutput(result.bytes);
        return outcome;
    }
    if (result.changed && !writeFileAtomically(file.path, result.bytes, &outcome.error)) {
        outcome.ok = false;
        outcome.fixed = 0;
        outcome.remaining = kind.lint(file, request).diagnostics;
    }
    return outcome;
}
