// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "analysis/stylesheetlint.h"

#include "analysis/lintcontext.h"
#include "theme/stylesheetloader.h"

#include <algorithm>

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

QStringList lintCheckIds()
{
    return {QStringLiteral("syntax"),
            QStringLiteral("encoding"),
            QStringLiteral("palette"),
            QStringLiteral("unknown-property"),
            QStringLiteral("unknown-pseudo-state"),
            QStringLiteral("unknown-subcontrol"),
            QStringLiteral("unknown-widget"),
            QStringLiteral("bad-value"),
            QStringLiteral("missing-resource"),
            QStringLiteral("unsafe-resource"),
            QStringLiteral("shadowed"),
            QStringLiteral("contrast"),
            QStringLiteral("coverage")};
}

QVector<LintDiagnostic> lintStyleSheet(const QByteArray &bytes, const QString &path,
                                       const LintOptions &options)
{
    LintContext context(path.isEmpty() ? QStringLiteral("-") : path, options);
    context.bytes = bytes;
    // The text the program installs: read in text mode, then UTF-8 up to a NUL.
    if (bytes.contains("\r\n")) {
        QByteArray folded = bytes;
        context.setText(decodeStyleSheetText(folded.replace("\r\n", "\n")));
    } else {
        context.setText(decodeStyleSheetText(bytes));
    }

    checkEncoding(context);
    if (context.text.startsWith(QLatin1String("file:///"))) {
        checkSheetReference(context);
    } else {
        checkSyntax(context);
        checkPalette(context);
        checkNames(context);
        checkResources(context);
        if (context.enabled(QStringLiteral("shadowed")))
            checkShadowing(context);
        checkContrast(context);
        checkCoverage(context);
    }

    context.reportOmitted();
    std::stable_sort(context.diagnostics.begin(), context.diagnostics.end(),
                     [](const LintDiagnostic &a, const LintDiagnostic &b) {
                         if (a.line != b.line)
                             return a.line < b.line;
                         return a.column < b.column;
                     });
    return context.diagnostics;
}
