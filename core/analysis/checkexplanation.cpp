// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "analysis/checkexplanation.h"

#include <QStringList>

namespace {
QString indented(const char *example)
{
    QString block;
    for (const QString &line : QString::fromUtf8(example).split(QLatin1Char('\n')))
        block += QStringLiteral("    ") + line + QLatin1Char('\n');
    return block;
}

QString sentence(const char *text)
{
    QString result = QString::fromUtf8(text);
    if (!result.isEmpty())
        result[0] = result.at(0).toUpper();
    if (!result.endsWith(QLatin1Char('.')))
        result += QLatin1Char('.');
    return result;
}
} // namespace

QString checkExplanationSummary(const LintCheck &check)
{
    return sentence(check.description);
}

QString checkExplanationPage(const LintCheck &check)
{
    QString page = QStringLiteral("# `%1`\n\n").arg(QLatin1String(check.id));
    page += QStringLiteral("%1 (%2, %3)\n\n")
                .arg(checkExplanationSummary(check), lintSeverityName(check.severity),
                     check.onByDefault ? QStringLiteral("on by default")
                                       : QStringLiteral("off by default"));
    page += QStringLiteral("## Why it matters\n\n%1\n\n").arg(QString::fromUtf8(check.explanation));
    page += QStringLiteral("## Reported\n\n") + indented(check.failingExample) +
            QStringLiteral("\n## Not reported\n\n") + indented(check.passingExample);
    page += QStringLiteral("\n## Options\n\nIn `.prismark-lint.json`, `\"checks\": {\"%1\": "
                           "\"off\"}` turns it off and `\"note\"`, `\"warning\"` or `\"error\"` "
                           "sets its severity; `--enable=%1` and `--disable=%1` do the same "
                           "for one run.")
                .arg(QLatin1String(check.id));
    if (check.options)
        page += QLatin1Char(' ') + sentence(check.options);
    page += QStringLiteral("\n\n## Fix\n\n");
    page += check.fix ? sentence(check.fix)
                      : QStringLiteral("None: what to change is the author's choice.");
    return page + QLatin1Char('\n');
}
