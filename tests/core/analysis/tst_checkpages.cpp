// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "analysis/checkexplanation.h"
#include "analysis/checkregistry.h"

#include "testsupport.h"

#include <QtTest>

// docs/checks/<id>.md against the registry they are written from, and --explain.
class TestCheckPages : public QObject
{
    Q_OBJECT
private slots:
    void pagesAreTheRegistry();
    void explainPrintsThePage();
    void everyPageHasItsParts();
};

namespace {
const QDir kPages(QStringLiteral(PRISMARK_SOURCE_DIR) + QLatin1Char('/') +
                  QLatin1String(kCheckPagesDirectory));
}

void TestCheckPages::pagesAreTheRegistry()
{
    QStringList expected;
    for (const LintCheck &check : lintChecks()) {
        const QString name = QLatin1String(check.id) + QStringLiteral(".md");
        expected.append(name);
        QFile page(kPages.filePath(name));
        QVERIFY2(page.open(QIODevice::ReadOnly),
                 qPrintable(name + QStringLiteral(" is missing: build the check-pages target")));
        QVERIFY2(QString::fromUtf8(page.readAll()) == checkExplanationPage(check),
                 qPrintable(name + QStringLiteral(" differs: build the check-pages target")));
    }
    expected.sort();
    QCOMPARE(kPages.entryList({QStringLiteral("*.md")}, QDir::Files, QDir::Name), expected);
}

void TestCheckPages::explainPrintsThePage()
{
    const ProgramRun run = runProgram(QStringLiteral(PRISMARK_LINT_BINARY),
                                      {QStringLiteral("--explain"), QStringLiteral("syntax")});
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(run.out, checkExplanationPage(*lintCheck(QStringLiteral("syntax"))));
    const ProgramRun unknown = runProgram(QStringLiteral(PRISMARK_LINT_BINARY),
                                          {QStringLiteral("--explain"), QStringLiteral("nope")});
    QCOMPARE(unknown.exitCode, 3);
    QVERIFY(unknown.err.contains(QLatin1String("unknown check id \"nope\"")));
}

void TestCheckPages::everyPageHasItsParts()
{
    for (const LintCheck &check : lintChecks()) {
        const QString page = checkExplanationPage(check);
        for (const char *heading :
             {"## Why it matters", "## Reported", "## Not reported", "## Options", "## Fix"})
            QVERIFY2(page.contains(QLatin1String(heading)), check.id);
        // The summary is the page's first paragraph, which the hover shows.
        QVERIFY(
            page.section(QStringLiteral("\n\n"), 1, 1).startsWith(checkExplanationSummary(check)));
    }
}

QTEST_GUILESS_MAIN(TestCheckPages)
#include "tst_checkpages.moc"
