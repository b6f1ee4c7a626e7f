// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "analysis/diagnostic.h"

#include <algorithm>

void sortLintDiagnostics(QVector<LintDiagnostic> &diagnostics)
{
    std::stable_sort(diagnostics.begin(), diagnostics.end(),
                     [](const LintDiagnostic &a, const LintDiagnostic &b) {
                         if (a.file != b.file)
                             return a.file < b.file;
                         if (a.line != b.line)
                             return a.line < b.line;
                         return a.column < b.column;
                     });
}

QString lintSeverityName(LintSeverity severity)
{
    switch (severity) {
    case LintSeverity::Error:
        return QStringLiteral("error");
    case LintSeverity::Warning:
        return QStringLiteral("warning");
    case LintSeverity::Note:
        return QStringLiteral("note");
    }
    return QStringLiteral("error");
}

QString lintDiagnosticLine(const LintDiagnostic &diagnostic)
{
    return QStringLiteral("%1:%2:%3: %4: %5 [%6]")
               .arg(diagnostic.file)
               .arg(diagnostic.line)
               .arg(diagnostic.column)
               .arg(lintSeverityName(diagnostic.severity), diagnostic.message, diagnostic.check) +
           (diagnostic.variants.isEmpty()
                ? QString()
                : QStringLiteral(" [%1]").arg(diagnostic.variants.join(QLatin1String(", "))));
}
