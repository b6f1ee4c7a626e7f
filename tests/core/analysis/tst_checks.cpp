// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "analysis/applicationforms.h"
#include "analysis/applicationobjects.h"
#include "analysis/stylesheetlint.h"
#include "embedded/applicationsources.h"
#include "tokens/uniformtokens.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QtTest>

#include <algorithm>

// Every registered check against its own fixture, tests/checks/<id>.qss: a part the
// check accepts, a part it rejects, and the LINE:COL of each finding it must give
// there. The check runs as prismark-lint runs it, with the default checks beside it
// (a suppression comment needs the check it silences). A check that reads design
// tokens is given tests/checks/<id>.tokens.json, one that reads the application's
// Designer forms tests/checks/<id>.ui, one that reads its C++ classes tests/checks/<id>.h.
class TestChecks : public QObject
{
    Q_OBJECT

private slots:
    void everyCheckIsComplete_data();
    void everyCheckIsComplete();
    void fixture_data();
    void fixture();
    void fixesMendTheirFinding_data();
    void fixesMendTheirFinding();
};

namespace {
const QDir kFixtures(QStringLiteral(PRISMARK_CHECK_FIXTURES_DIR));

struct Fixture
{
    bool ok = false;
    QString path;
    QByteArray bytes;
    int acceptLine = 0; // of the markers, 1-based
    int rejectLine = 0;
    QStringList expected; // LINE:COL, sorted
};

Fixture readFixture(const QString &id)
{
    Fixture fixture;
    fixture.path = kFixtures.filePath(id + QStringLiteral(".qss"));
    QFile file(fixture.path);
    if (!file.open(QIODevice::ReadOnly))
        return fixture;
    fixture.bytes = file.readAll();
    const QList<QByteArray> lines = fixture.bytes.split('\n');
    for (int i = 0; i < lines.size(); ++i) {
        if (lines.at(i).startsWith("/* accept"))
            fixture.acceptLine = i + 1;
        else if (lines.at(i).startsWith("/* reject"))
            fixture.rejectLine = i + 1;
    }
    static const QRegularExpression expect(QStringLiteral("/\\* expect ([0-9: ]*)\\*/"));
    const QRegularExpressionMatch match =
        expect.match(QString::fromLatin1(fixture.bytes.constData(), fixture.bytes.size()));
    fixture.expected = match.captured(1).split(QLatin1Char(' '), Qt::SkipEmptyParts);
    std::sort(fixture.expected.begin(), fixture.expected.end());
    fixture.ok = match.hasMatch() && fixture.acceptLine > 0 && fixture.rejectLine > 0;
    return fixture;
}

QVector<LintDiagnostic> lintWith(const QByteArray &bytes, const QString &path, const QString &id)
{
    LintOptions options;
    options.enabledChecks = QStringList{id};
    const QString tokenFile = kFixtures.filePath(id + QStringLiteral(".tokens.json"));
    if (QFile::exists(tokenFile)) {
        UniformTokens tokens;
        QString error;
        if (!readUniformTokens(tokenFile, &tokens, &error))
            qFatal("%s", qPrintable(error));
        options.tokens = std::make_shared<const UniformTokens>(tokens);
    }
    const QString form = kFixtures.filePath(id + QStringLiteral(".ui"));
    QStringList warnings;
    if (QFile::exists(form))
        addApplicationForms(options, {form}, &warnings);
    if (!warnings.isEmpty())
        qFatal("%s", qPrintable(warnings.join(QLatin1Char('\n'))));
    // A C++ header beside it: the application's classes, as a walk reads them.
    QFile header(kFixtures.filePath(id + QStringLiteral(".h")));
    if (header.open(QIODevice::ReadOnly)) {
        SourceDeclarations sources;
        sources.readCpp(QString::fromUtf8(header.readAll()), header.fileName());
        auto objects = std::make_shared<ApplicationObjects>(sources.applicationObjects());
        options.applicationObjects = objects;
    }
    return lintStyleSheet(bytes, path, options);
}

QVector<LintDiagnostic> findingsOf(const QVector<LintDiagnostic> &diagnostics, const QString &id)
{
    QVector<LintDiagnostic> found;
    std::copy_if(diagnostics.cbegin(), diagnostics.cend(), std::back_inserter(found),
                 [&id](const LintDiagnostic &diagnostic) { return diagnostic.check == id; });
    return found;
}

QString position(const LintDiagnostic &diagnostic)
{
    return QStringLiteral("%1:%2").arg(diagnostic.line).arg(diagnostic.column);
}

int errorCount(const QVector<LintDiagnostic> &diagnostics)
{
    return int(std::count_if(diagnostics.cbegin(), diagnostics.cend(), [](const LintDiagnostic &d) {
        return d.severity == LintSeverity::Error;
    }));
}

// The offset in text of a 1-based line and column.
int offsetOf(const QString &text, int line, int column)
{
    int offset = 0;
    for (int i = 1; i < line; ++i)
        offset = int(text.indexOf(QLatin1Char('\n'), offset)) + 1;
    return offset + column - 1;
}

void addCheckRows()
{
    QTest::addColumn<QString>("id");
    for (const LintCheck &check : lintChecks())
        QTest::newRow(check.id) << QString::fromLatin1(check.id);
}
} // namespace

void TestChecks::everyCheckIsComplete_data()
{
    addCheckRows();
}

void TestChecks::everyCheckIsComplete()
{
    QFETCH(QString, id);
    const LintCheck *check = lintCheck(id);
    QVERIFY(check);
    QVERIFY2(readFixture(id).ok, "no fixture with accept, reject and expect parts");
    QVERIFY2(qstrlen(check->description) > 0, "no description");
    QVERIFY2(qstrlen(check->explanation) > 0, "no explanation");
    QVERIFY2(qstrlen(check->failingExample) > 0 && qstrlen(check->passingExample) > 0,
             "no examples");
    // The examples show what they say.
    const QString path = QStringLiteral("example.qss");
    QVERIFY2(!findingsOf(lintWith(check->failingExample, path, id), id).isEmpty(),
             "the failing example passes");
    QVERIFY2(findingsOf(lintWith(check->passingExample, path, id), id).isEmpty(),
             "the passing example fails");
}

void TestChecks::fixture_data()
{
    addCheckRows();
}

void TestChecks::fixture()
{
    QFETCH(QString, id);
    const Fixture fixture = readFixture(id);
    QVERIFY(fixture.ok);
    QVERIFY(fixture.acceptLine < fixture.rejectLine);
    QVERIFY2(!fixture.expected.isEmpty(), "the reject part expects nothing");
    for (const QString &expected : fixture.expected)
        QVERIFY2(expected.section(QLatin1Char(':'), 0, 0).toInt() > fixture.rejectLine,
                 qPrintable(expected + QStringLiteral(" is not in the reject part")));
    QStringList found;
    for (const LintDiagnostic &diagnostic :
         findingsOf(lintWith(fixture.bytes, fixture.path, id), id))
        found.append(position(diagnostic));
    std::sort(found.begin(), found.end());
    QCOMPARE(found, fixture.expected);
}

void TestChecks::fixesMendTheirFinding_data()
{
    QTest::addColumn<QString>("id");
    QTest::addColumn<QByteArray>("sheet");
    for (const LintCheck &check : lintChecks()) {
        const QString id = QString::fromLatin1(check.id);
        QTest::addRow("%s: fixture", check.id) << id << readFixture(id).bytes;
        QTest::addRow("%s: failing example", check.id) << id << QByteArray(check.failingExample);
    }
}

void TestChecks::fixesMendTheirFinding()
{
    QFETCH(QString, id);
    QFETCH(QByteArray, sheet);
    const QString path = QStringLiteral("fixed.qss");
    const QVector<LintDiagnostic> before = lintWith(sheet, path, id);
    const QString text = QString::fromUtf8(sheet);
    for (const LintDiagnostic &finding : findingsOf(before, id)) {
        for (const LintFix &fix : finding.fixes) {
            const int start = offsetOf(text, fix.line, fix.column);
            const int end = offsetOf(text, fix.endLine, fix.endColumn);
            QString fixed = text;
            fixed.replace(start, end - start, fix.newText);
            const QVector<LintDiagnostic> after = lintWith(fixed.toUtf8(), path, id);
            const QString what = position(finding) + QLatin1Char(' ') + finding.message;
            const bool stays =
                std::any_of(after.cbegin(), after.cend(), [&](const LintDiagnostic &d) {
                    return d.check == id && d.line == finding.line && d.message == finding.message;
                });
            QVERIFY2(!stays, qPrintable(what + QStringLiteral(": still there after the fix")));
            QVERIFY2(errorCount(after) <=
                         errorCount(before) - (finding.severity == LintSeverity::Error),
                     qPrintable(what + QStringLiteral(": the fix adds an error")));
        }
    }
}

QTEST_GUILESS_MAIN(TestChecks)
#include "tst_checks.moc"
