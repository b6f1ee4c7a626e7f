// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "analysis/lintconfig.h"
#include "analysis/toolkitparse.h"
#include "embedded/embeddedlint.h"
#include "markedtext.h"
#include "prismark-lsp/server/analysisscheduler.h"

#include <QTemporaryDir>
#include <QtTest>

Q_DECLARE_METATYPE(EmbeddingLanguage)

namespace {
// Everything a finding says and where, for comparing two runs.
QStringList described(const QVector<LintDiagnostic> &diagnostics)
{
    const auto span = [](int line, int column, int endLine, int endColumn) {
        return QStringLiteral("%1:%2-%3:%4").arg(line).arg(column).arg(endLine).arg(endColumn);
    };
    QStringList lines;
    for (const LintDiagnostic &d : diagnostics) {
        lines.append(span(d.line, d.column, d.endLine, d.endColumn) + QLatin1Char(' ') + d.check +
                     QLatin1Char(' ') + d.message);
        for (const LintFix &fix : d.fixes)
            lines.append(QStringLiteral("  fix ") +
                         span(fix.line, fix.column, fix.endLine, fix.endColumn) + QLatin1Char(' ') +
                         fix.newText);
        for (const LintLocation &related : d.related)
            lines.append(QStringLiteral("  related ") +
                         span(related.line, related.column, related.endLine, related.endColumn));
    }
    return lines;
}

bool reports(const QVector<LintDiagnostic> &diagnostics, const QString &check)
{
    return std::any_of(diagnostics.cbegin(), diagnostics.cend(),
                       [&](const LintDiagnostic &d) { return d.check == check; });
}

void write(const QString &path, const QString &text)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(text.toUtf8());
}

// The findings the scheduler hands back for one text of a document, waited for.
QVector<LintDiagnostic> analysed(AnalysisScheduler &scheduler, const QString &path,
                                 const QString &text, int generation, EmbeddingLanguage language)
{
    QVector<LintDiagnostic> result;
    bool handedBack = false;
    const QMetaObject::Connection connection = QObject::connect(
        &scheduler, &AnalysisScheduler::analysed,
        [&](const QString &, int done, const QVector<LintDiagnostic> &diagnostics) {
            handedBack = done == generation;
            result = diagnostics;
        });
    scheduler.scheduleEmbedded(QStringLiteral("file://") + path, path, text, generation, language);
    // The run posts its result back to this thread once it is done.
    for (int round = 0; round < 100 && !handedBack; ++round) {
        scheduler.waitForDone();
        QCoreApplication::processEvents();
    }
    QObject::disconnect(connection);
    if (!handedBack)
        qWarning("no findings were handed back for generation %d", generation);
    return result;
}

// What prismark-lint says of the text, every sheet analysed afresh.
QVector<LintDiagnostic> freshFindings(const QString &path, const QString &text,
                                      EmbeddingLanguage language)
{
    return lintEmbeddedSheets(text, language, path, lintConfigForSheet(path).options);
}
} // namespace

// The language server's analysis of forms and sources while they are edited: it keeps
// each sheet's findings from one run to the next, and what it hands back must be what
// a fresh analysis of the new text says, wherever the edit moved the sheets and
// whatever changed on disk in between.
class TestAnalysisScheduler : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { quietToolkitParserMessages(); }
    void editMovesTheOtherSheetsFindings_data();
    void editMovesTheOtherSheetsFindings();
    void changeOnDiskRechecksKeptSheets_data();
    void changeOnDiskRechecksKeptSheets();
};

void TestAnalysisScheduler::editMovesTheOtherSheetsFindings_data()
{
    QTest::addColumn<EmbeddingLanguage>("language");
    QTest::addColumn<QString>("marked"); // "|" where the edit starts
    QTest::addColumn<int>("removed");
    QTest::addColumn<QString>("inserted");

    const auto cpp = EmbeddingLanguage::Cpp;
    const QString twoLines = QStringLiteral(
        "a->setStyleSheet(\"QLabel| { colr: red; }\"); b->setStyleSheet(\"QPushbutton {}\");\n"
        "c->setStyleSheet(\"QFrame { margin: 1px; }\"\n"
        "                 \"QLabel { backgrund: blue; color: red; color: blue; }\");\n");
    QTest::newRow("C++ a literal grown: later sheets on its line and below")
        << cpp << twoLines << 0 << "#title";
    QTest::newRow("C++ a line break typed in a raw literal")
        << cpp
        << "a->setStyleSheet(R\"(QLabel {| colr: red; })\");\n"
           "b->setStyleSheet(\"QPushbutton { margn: 0; }\");"
        << 0 << "\n";
    QTest::newRow("C++ a typo made in the middle literal")
        << cpp
        << "a->setStyleSheet(\"QLabel { colr: red; }\");\n"
           "b->setStyleSheet(\"QFrame { mar|gin: 0; }\");\n"
           "c->setStyleSheet(\"QPushbutton {}\");"
        << 1 << QString();
    QTest::newRow("Python a triple-quoted literal grown")
        << EmbeddingLanguage::Python
        << "a.setStyleSheet('''\nQLabel {\n    col|r: red;\n}''')\n"
           "b.setStyleSheet('QPushbutton { margn: 0; }')"
        << 0 << "ou";
    QTest::newRow("form the first widget's sheet grown")
        << EmbeddingLanguage::Form
        << "<ui><widget class=\"QFrame\" name=\"a\"><property name=\"styleSheet\"><string>"
           "QLabel| { colr: red; }</string></property></widget>\n"
           "<widget class=\"QLabel\" name=\"b\"><property name=\"styleSheet\"><string>"
           "backgrund: blue;</string></property></widget></ui>"
        << 0 << ", QFrame\n";
}

void TestAnalysisScheduler::editMovesTheOtherSheetsFindings()
{
    QFETCH(EmbeddingLanguage, language);
    QFETCH(QString, marked);
    QFETCH(int, removed);
    QFETCH(QString, inserted);
    const Marked at(marked);
    const QString edited = QString(at.text).replace(at.offset, removed, inserted);
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("window"));
    AnalysisScheduler scheduler;
    const QVector<LintDiagnostic> before = analysed(scheduler, path, at.text, 1, language);
    QCOMPARE(described(before), described(freshFindings(path, at.text, language)));
    const QVector<LintDiagnostic> after = analysed(scheduler, path, edited, 2, language);
    QCOMPARE(described(after), described(freshFindings(path, edited, language)));
    // The edit moved what the sheets after it are told of.
    QVERIFY(described(after) != described(before));
}

void TestAnalysisScheduler::changeOnDiskRechecksKeptSheets_data()
{
    QTest::addColumn<QVariantMap>("before"); // files written before the first run
    QTest::addColumn<QVariantMap>("after");  // and before the second, of the same text
    QTest::addColumn<QString>("source");     // "$DIR": the folder of it all
    QTest::addColumn<QString>("check");      // told the first time, not the second

    const QString form =
        QStringLiteral("<ui version=\"4.0\"><widget class=\"QDialog\" name=\"dialog\">"
                       "<widget class=\"%1\" name=\"%2\"/></widget>%3</ui>");
    const QString meter = QStringLiteral(
        "<customwidgets><customwidget><class>VolumeMeter</class><extends>QWidget</extends>"
        "</customwidget></customwidgets>");
    const QString formsConfig = QStringLiteral("{\"forms\": [\"*.ui\"]}");
    QTest::newRow("the configuration turns the check off")
        << QVariantMap{{".prismark-lint.json", "{}"}}
        << QVariantMap{{".prismark-lint.json", "{\"checks\": {\"unknown-widget\": \"off\"}}"}}
        << "w->setStyleSheet(\"QPushbutton { color: black; }\");"
        << "unknown-widget";
    QTest::newRow("a form comes to name the object")
        << QVariantMap{{".prismark-lint.json", formsConfig},
                       {"main.ui", form.arg("QPushButton", "saveButon", QString())}}
        << QVariantMap{{"main.ui", form.arg("QPushButton", "saveButton", QString())}}
        << "w->setStyleSheet(\"#saveButton { color: black; }\");"
        << "unknown-object-name";
    QTest::newRow("a form comes to declare the class")
        << QVariantMap{{".prismark-lint.json", formsConfig},
                       {"main.ui", form.arg("QWidget", "meter", QString())}}
        << QVariantMap{{"main.ui", form.arg("VolumeMeter", "meter", meter)}}
        << "w->setStyleSheet(\"QWidget.VolumeMeter { color: black; }\");"
        << "unknown-widget";
    QTest::newRow("the file a url names is written")
        << QVariantMap{} << QVariantMap{{"arrow.png", "not read as an image"}}
        << "w->setStyleSheet(\"QLabel { image: url($DIR/arrow.png); }\");"
        << "missing-resource";
}

void TestAnalysisScheduler::changeOnDiskRechecksKeptSheets()
{
    QFETCH(QVariantMap, before);
    QFETCH(QVariantMap, after);
    QFETCH(QString, source);
    QFETCH(QString, check);
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("window.cpp"));
    const QString text = QString(source).replace(QLatin1String("$DIR"), folder.path());
    const auto writeAll = [&](const QVariantMap &files) {
        for (auto it = files.cbegin(); it != files.cend(); ++it)
            write(folder.filePath(it.key()), it.value().toString());
    };
    writeAll(before);
    AnalysisScheduler scheduler;
    const auto cpp = EmbeddingLanguage::Cpp;
    QVERIFY(reports(analysed(scheduler, path, text, 1, cpp), check));
    writeAll(after);
    // Read again unchanged, the configuration keeps the sheets' findings.
    QCOMPARE(lintOptionsKey(lintConfigForSheet(path).options),
             lintOptionsKey(lintConfigForSheet(path).options));
    const QVector<LintDiagnostic> again = analysed(scheduler, path, text, 2, cpp);
    QVERIFY2(!reports(again, check), qPrintable(described(again).join(QLatin1Char('\n'))));
    QCOMPARE(described(again), described(freshFindings(path, text, cpp)));
}

QTEST_GUILESS_MAIN(TestAnalysisScheduler)
#include "tst_analysisscheduler.moc"
