// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "prismark-lint/checkpages.h"

#include "analysis/checkexplanation.h"
#include "analysis/checkregistry.h"
#include "support/programsupport.h"

#include <QDir>
#include <QSaveFile>
#include <QTextStream>

bool answerAndStop(const QCommandLineParser &parser, bool &done, QString &usageError)
{
    if (answerHelpOrVersion(parser)) {
        done = true;
        return true;
    }
    QTextStream out(stdout);
    if (parser.isSet(QStringLiteral("list-checks"))) {
        out << checkTable();
        done = true;
        return true;
    }
    if (parser.isSet(QStringLiteral("explain"))) {
        const LintCheck *check = lintCheck(parser.value(QStringLiteral("explain")));
        if (!check) {
            usageError = QStringLiteral("unknown check id \"%1\"")
                             .arg(parser.value(QStringLiteral("explain")));
            return false;
        }
        out << checkExplanationPage(*check);
        done = true;
        return true;
    }
    if (parser.isSet(QStringLiteral("explain-markdown"))) {
        done = true;
        usageError = writeCheckPages(parser.value(QStringLiteral("explain-markdown")));
        return usageError.isEmpty();
    }
    return true;
}

QString checkTable()
{
    QString table = QStringLiteral("| check id | severity | on by default | what |\n"
                                   "|---|---|---|---|\n");
    for (const LintCheck &check : lintChecks()) {
        table += QStringLiteral("| `%1` | %2 | %3 | %4 |\n")
                     .arg(QLatin1String(check.id), lintSeverityName(check.severity),
                          check.onByDefault ? QStringLiteral("yes") : QStringLiteral("no"),
                          QString::fromUtf8(check.description));
    }
    return table;
}

QString writeCheckPages(const QString &directory)
{
    if (!QDir().mkpath(directory))
        return QStringLiteral("cannot make the directory \"%1\"").arg(directory);
    for (const LintCheck &check : lintChecks()) {
        QSaveFile page(QDir(directory).filePath(QLatin1String(check.id) + QStringLiteral(".md")));
        if (!page.open(QIODevice::WriteOnly) ||
            page.write(checkExplanationPage(check).toUtf8()) < 0 || !page.commit())
            return page.fileName() + QStringLiteral(": ") + page.errorString();
    }
    return QString();
}
