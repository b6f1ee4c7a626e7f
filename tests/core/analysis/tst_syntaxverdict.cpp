// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "analysis/stylesheetlint.h"
#include "theme/stylesheetloader.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QWidget>
#include <QtTest>

#include <algorithm>

// The analysis's syntax verdict against the toolkit's own, as the toolkit reaches
// it: installed as the application's style sheet on a widget. The one test of the
// analysis that needs Widgets, so it lives apart from the core's tests.
class TestSyntaxVerdict : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void syntaxVerdictIsTheToolkits_data();
    void syntaxVerdictIsTheToolkits();

private:
    // The working folder, with a sheet the toolkit rejects for "file:///" to name.
    QTemporaryDir workingFolder;
};

namespace {
const QDir kFixtures(QStringLiteral(PRISMARK_LINT_FIXTURES_DIR));

QByteArray fixtureBytes(const QString &name)
{
    QFile file(kFixtures.filePath(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool parseWarningSeen = false;

void catchParseWarning(QtMsgType, const QMessageLogContext &, const QString &message)
{
    if (message.contains(QLatin1String("Could not parse application stylesheet")))
        parseWarningSeen = true;
}

// Installs the text as the application style sheet and polishes a widget, which
// is when the toolkit parses it and warns if it cannot.
bool toolkitAccepts(const QString &text)
{
    parseWarningSeen = false;
    const QtMessageHandler previous = qInstallMessageHandler(catchParseWarning);
    qApp->setStyleSheet(text);
    {
        QWidget widget;
        widget.ensurePolished();
    }
    qApp->setStyleSheet(QString());
    qInstallMessageHandler(previous);
    return !parseWarningSeen;
}

bool lintAccepts(const QByteArray &bytes)
{
    const auto diagnostics = lintStyleSheet(bytes, QStringLiteral("sheet.qss"));
    return std::none_of(diagnostics.cbegin(), diagnostics.cend(), [](const LintDiagnostic &d) {
        return d.check == QLatin1String("syntax") && d.severity == LintSeverity::Error;
    });
}
} // namespace

void TestSyntaxVerdict::initTestCase()
{
    QVERIFY(workingFolder.isValid());
    QFile broken(workingFolder.filePath(QStringLiteral("broken-here.qss")));
    QVERIFY(broken.open(QIODevice::WriteOnly));
    QVERIFY(broken.write("QLabel { color: red background: blue; }\n") > 0);
    broken.close();
    QVERIFY(QDir::setCurrent(workingFolder.path()));
}

void TestSyntaxVerdict::syntaxVerdictIsTheToolkits_data()
{
    QTest::addColumn<QByteArray>("bytes");
    const QStringList fixtures =
        kFixtures.entryList({QStringLiteral("*.qss")}, QDir::Files, QDir::Name);
    for (const QString &name : fixtures)
        QTest::newRow(qPrintable(name)) << fixtureBytes(name);
    const QDir styles(QStringLiteral(PRISMARK_SOURCE_DIR "/resources/styles"));
    for (const QString &name : styles.entryList({QStringLiteral("*.qss")}, QDir::Files)) {
        QFile file(styles.filePath(name));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QTest::newRow(qPrintable(name)) << file.readAll();
    }
    QTest::newRow("media block") << QByteArray("@media screen { QLabel { color: red } }");
    QTest::newRow("media without block") << QByteArray("@media screen QLabel { color: red }");
    QTest::newRow("charset first") << QByteArray("@charset \"utf-8\"; QLabel { color: red }");
    QTest::newRow("unknown at-rule") << QByteArray("@foo bar { x } QLabel { color: red }");
    QTest::newRow("at-rule never closed") << QByteArray("@palette Window = #ffffff\n");
    QTest::newRow("unterminated comment") << QByteArray("QLabel { color: red } /* open");
    QTest::newRow("unterminated string") << QByteArray("QLabel { font-family: \"Sans }");
    QTest::newRow("hex escape in a name") << QByteArray("\\51 Label { color: red }");
    QTest::newRow("empty rule") << QByteArray("QLabel {}");
    QTest::newRow("attribute without bracket") << QByteArray("QLabel[variant=\"x\" { }");
    QTest::newRow("negated state") << QByteArray("QLabel:!hover { color: red }");
    QTest::newRow("important") << QByteArray("QLabel { color: red !important; }");
    QTest::newRow("bare number property") << QByteArray("QLabel { 12: red; }");
    QTest::newRow("two colons in value") << QByteArray("QLabel { color: red: blue; }");
    QTest::newRow("sheet read from a missing file")
        << QByteArray("file:///no/such/sheet/anywhere.qss");
    QTest::newRow("sheet read from a broken file in the working folder")
        << QByteArray("file:///broken-here.qss");
}

void TestSyntaxVerdict::syntaxVerdictIsTheToolkits()
{
    QFETCH(QByteArray, bytes);
    QByteArray folded = bytes;
    const QString text = decodeStyleSheetText(folded.replace("\r\n", "\n"));
    QCOMPARE(lintAccepts(bytes), toolkitAccepts(text));
}

QTEST_MAIN(TestSyntaxVerdict)
#include "tst_syntaxverdict.moc"
