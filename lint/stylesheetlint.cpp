#include "lint/stylesheetlint.h"

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

QVector<LintDiagnostic> lintStyleSheet(const QByteArray &bytes, const QString &path,
                                       const LintOptions &options)
{
    Q_UNUSED(bytes)
    Q_UNUSED(path)
    Q_UNUSED(options)
    return {};
}
