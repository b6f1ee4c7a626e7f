// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "analysis/diagnostic.h"

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
