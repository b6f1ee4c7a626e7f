// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "analysis/colourliterals.h"
#include "analysis/lintfixer.h"
#include "analysis/stylesheetlint.h"
#include "analysis/toolkitparse.h"
#include "support/unifieddiff.h"

#include "testsupport.h"

#include <QHash>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

// prismark-lint --fix: what each fix does to a sheet, that a fix mends only its own
// finding, that the built-in sheets have nothing safe to fix, and the program's
// writing of the result.
class TestLintFix : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void fixedText_data();
    void fixedText();
    void eachFixAloneMendsItsFinding_data();
    void eachFixAloneMendsItsFinding();
    void builtInSheetsHaveNothingSafeToFix();
    void eightDigitHexFixReadsAsCssOrder_data();
    void eightDigitHexFixReadsAsCssOrder();
    void eightDigitHexMeantAlphaFirst_data();
    void eightDigitHexMeantAlphaFirst();
    void fixThatMakesTheSheetWorseIsRefused_data();
    void fixThatMakesTheSheetWorseIsRefused();
    void textThatCannotRoundTripIsLeftAlone_data();
    void textThatCannotRoundTripIsLeftAlone();
    void crLfKept();
    void unifiedDiff_data();
    void unifiedDiff();
    void programWritesInPlaceKeepingMode();
    void programStandardInputAndDiff();
    void programKeepsCrLf();
};

namespace {
const QDir kSource(QStringLiteral(PRISMARK_SOURCE_DIR));

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A finding apart from where it is: a fix moves what follows it.
QString findingKey(const LintDiagnostic &diagnostic)
{
    return diagnostic.check + QLatin1Char(' ') + diagnostic.message;
}

QHash<QString, int> countsByFinding(const QVector<LintDiagnostic> &diagnostics)
{
    QHash<QString, int> counts;
    for (const LintDiagnostic &diagnostic : diagnostics)
        ++counts[findingKey(diagnostic)];
    return counts;
}

int errorCount(const QVector<LintDiagnostic> &diagnostics)
{
    return int(std::count_if(diagnostics.cbegin(), diagnostics.cend(), [](const LintDiagnostic &d) {
        return d.severity == LintSeverity::Error;
    }));
}

ProgramRun runLint(const QStringList &arguments, const QByteArray &input = QByteArray())
{
    ProgramOptions options;
    options.input = input;
    return runProgram(QStringLiteral(PRISMARK_LINT_BINARY),
                      QStringList{QStringLiteral("--no-config")} + arguments, options);
}
} // namespace

void TestLintFix::initTestCase()
{
    quietToolkitParserMessages();
}

void TestLintFix::fixedText_data()
{
    QTest::addColumn<QByteArray>("sheet");
    QTest::addColumn<QByteArray>("afterFix");
    QTest::addColumn<QByteArray>("afterUnsafeFixes");

    QTest::newRow("missing semicolon between declarations")
        << QByteArray("QLabel { color: red background: blue; }\n")
        << QByteArray("QLabel { color: red; background: blue; }\n")
        << QByteArray("QLabel { color: red; background: blue; }\n");
    QTest::newRow("unclosed rule at the end, with final newline")
        << QByteArray("QLabel { color: red;\n") << QByteArray("QLabel { color: red;\n}\n")
        << QByteArray("QLabel { color: red;\n}\n");
    QTest::newRow("unclosed rule at the end, without final newline")
        << QByteArray("QLabel { color: red;") << QByteArray("QLabel { color: red;\n}")
        << QByteArray("QLabel { color: red;\n}");
    QTest::newRow("misspelt property is a guess")
        << QByteArray("QLabel { colr: red; }\n") << QByteArray("QLabel { colr: red; }\n")
        << QByteArray("QLabel { color: red; }\n");
    QTest::newRow("misspelt widget, pseudo-state and sub-control are guesses")
        << QByteArray("QPushButon:hovr { color: red; }\nQComboBox::drop-dwn { width: 9px; }\n")
        << QByteArray("QPushButon:hovr { color: red; }\nQComboBox::drop-dwn { width: 9px; }\n")
        << QByteArray("QPushButton:hover { color: red; }\nQComboBox::drop-down { width: 9px; }\n");
    QTest::newRow("a guess hidden behind a syntax error is reached in a later round")
        << QByteArray("QLabel { colr: red\n  background: blue; }\n")
        << QByteArray("QLabel { colr: red;\n  background: blue; }\n")
        << QByteArray("QLabel { color: red;\n  background: blue; }\n");
    QTest::newRow("eight-digit hex whose alpha-first reading never shows was CSS order")
        << QByteArray("QLabel { background: #00ff0080; }\n")
        << QByteArray("QLabel { background: rgba(0, 255, 0, 128); }\n")
        << QByteArray("QLabel { background: rgba(0, 255, 0, 128); }\n");
    QTest::newRow("eight-digit hex that shows in either order keeps what the toolkit paints")
        << QByteArray("QLabel { background: #80ff0000; }\n")
        << QByteArray("QLabel { background: rgba(255, 0, 0, 128); }\n")
        << QByteArray("QLabel { background: rgba(128, 255, 0, 0); }\n");
    QTest::newRow("eight-digit hex transparent in both orders")
        << QByteArray("QLabel { background: #00000000; }\n")
        << QByteArray("QLabel { background: rgba(0, 0, 0, 0); }\n")
        << QByteArray("QLabel { background: rgba(0, 0, 0, 0); }\n");
    QTest::newRow("eight-digit hex of one colour at two opacities is meant alpha first")
        << QByteArray("QTextEdit { border: 1px solid #99448aff; background-color:#4c448aff; }\n")
        << QByteArray("QTextEdit { border: 1px solid rgba(68, 138, 255, 153); "
                      "background-color:rgba(68, 138, 255, 76); }\n")
        << QByteArray("QTextEdit { border: 1px solid rgba(68, 138, 255, 153); "
                      "background-color:rgba(68, 138, 255, 76); }\n");
    QTest::newRow("eight-digit hex in a gradient stop")
        << QByteArray("QFrame { background: qlineargradient(x1: 0, y1: 0, x2: 1, y2: 0, "
                      "stop: 0 #00ff0080, stop: 1 white); }\n")
        << QByteArray("QFrame { background: qlineargradient(x1: 0, y1: 0, x2: 1, y2: 0, "
                      "stop: 0 rgba(0, 255, 0, 128), stop: 1 white); }\n")
        << QByteArray("QFrame { background: qlineargradient(x1: 0, y1: 0, x2: 1, y2: 0, "
                      "stop: 0 rgba(0, 255, 0, 128), stop: 1 white); }\n");
    QTest::newRow("a declaration set again in its rule loses the dead one")
        << QByteArray("QLabel { color: red; background: white; color: blue; }\n")
        << QByteArray("QLabel { background: white; color: blue; }\n")
        << QByteArray("QLabel { background: white; color: blue; }\n");
    QTest::newRow("an !important declaration set again without it stays")
        << QByteArray("QLabel { color: red !important; color: blue; }\n")
        << QByteArray("QLabel { color: red !important; color: blue; }\n")
        << QByteArray("QLabel { color: red !important; color: blue; }\n");
    QTest::newRow("a font-size set again to another value keeps both")
        << QByteArray("QLabel { font-size: 12pt; font-size: 14; }\n")
        << QByteArray("QLabel { font-size: 12pt; font-size: 14; }\n")
        << QByteArray("QLabel { font-size: 12pt; font-size: 14pt; }\n");
    QTest::newRow("a font-size set again to the same value loses the first")
        << QByteArray("QLabel { font-size: 12pt; font-size: 12pt; }\n")
        << QByteArray("QLabel { font-size: 12pt; }\n")
        << QByteArray("QLabel { font-size: 12pt; }\n");
    QTest::newRow("a font-size without a unit gets pt only as a guess")
        << QByteArray("QLabel { font-size: 12; }\n") << QByteArray("QLabel { font-size: 12; }\n")
        << QByteArray("QLabel { font-size: 12pt; }\n");
    QTest::newRow("a Disabled. line before its role moves after it")
        << QByteArray("/*\n  @palette Disabled.WindowText = #808080\n@palette Window = #ffffff\n"
                      "@palette WindowText = #000000\n*/\nQLabel { color: black; }\n")
        << QByteArray("/*\n@palette Window = #ffffff\n@palette WindowText = #000000\n"
                      "  @palette Disabled.WindowText = #808080\n*/\nQLabel { color: black; }\n")
        << QByteArray("/*\n@palette Window = #ffffff\n@palette WindowText = #000000\n"
                      "  @palette Disabled.WindowText = #808080\n*/\nQLabel { color: black; }\n");
    QTest::newRow("a Disabled. line sharing its line with the comment's start stays")
        << QByteArray("/* @palette Disabled.WindowText = #808080\n@palette WindowText = #000000\n"
                      "*/\nQLabel { color: black; }\n")
        << QByteArray("/* @palette Disabled.WindowText = #808080\n@palette WindowText = #000000\n"
                      "*/\nQLabel { color: black; }\n")
        << QByteArray("/* @palette Disabled.WindowText = #808080\n@palette WindowText = #000000\n"
                      "*/\nQLabel { color: black; }\n");
    QTest::newRow("a clean sheet stays as it is")
        << QByteArray("QLabel { color: black; background: white; }\n")
        << QByteArray("QLabel { color: black; background: white; }\n")
        << QByteArray("QLabel { color: black; background: white; }\n");
}

void TestLintFix::fixedText()
{
    QFETCH(QByteArray, sheet);
    QFETCH(QByteArray, afterFix);
    QFETCH(QByteArray, afterUnsafeFixes);
    const LintFixResult safe = fixStyleSheet(sheet, QStringLiteral("t.qss"), LintOptions(), false);
    QCOMPARE(safe.bytes, afterFix);
    QCOMPARE(safe.changed, sheet != afterFix);
    const LintFixResult unsafe = fixStyleSheet(sheet, QStringLiteral("t.qss"), LintOptions(), true);
    QCOMPARE(unsafe.bytes, afterUnsafeFixes);
    // What remains is what the analysis finds in the result.
    QCOMPARE(unsafe.remaining.size(), lintStyleSheet(unsafe.bytes, QStringLiteral("t.qss")).size());
}

void TestLintFix::eachFixAloneMendsItsFinding_data()
{
    QTest::addColumn<QString>("path");
    // Each check's fixture, and the command line's, which hold what a fixture's two
    // parts cannot (a palette header of its own).
    for (const char *folder : {"tests/core/analysis/checks", "tests/lint-fixtures"}) {
        const QDir fixtures(kSource.filePath(QLatin1String(folder)));
        for (const QString &name : fixtures.entryList({QStringLiteral("*.qss")}, QDir::Files))
            QTest::newRow(qPrintable(QLatin1String(folder) + QLatin1Char('/') + name))
                << fixtures.filePath(name);
    }
}

void TestLintFix::eachFixAloneMendsItsFinding()
{
    QFETCH(QString, path);
    const QByteArray bytes = fileBytes(path);
    const QString text = QString::fromUtf8(bytes);
    const QVector<LintDiagnostic> before = lintStyleSheet(bytes, path);
    const QHash<QString, int> beforeCounts = countsByFinding(before);
    const bool accepted = std::none_of(before.cbegin(), before.cend(), [](const LintDiagnostic &d) {
        return d.check == QLatin1String("syntax") && d.severity == LintSeverity::Error;
    });
    for (const LintDiagnostic &diagnostic : before) {
        for (const LintFix &fix : diagnostic.fixes) {
            const QString fixed = applyLintFix(text, fix);
            QVERIFY2(fixed != text, qPrintable(diagnostic.message));
            const QVector<LintDiagnostic> after = lintStyleSheet(fixed.toUtf8(), path);
            const QHash<QString, int> afterCounts = countsByFinding(after);
            const QString where = QStringLiteral("%1:%2 %3 -> \"%4\"")
                                      .arg(diagnostic.line)
                                      .arg(diagnostic.column)
                                      .arg(diagnostic.check, fix.newText);
            QVERIFY2(afterCounts.value(findingKey(diagnostic)) <
                         beforeCounts.value(findingKey(diagnostic)),
                     qPrintable(where));
            QVERIFY2(errorCount(after) <= errorCount(before), qPrintable(where));
            // A safe fix in a sheet the toolkit accepts adds no finding at all. Mending
            // a rejected sheet lets every other check see it; a guess may bring what
            // the right name means (a contrast to judge, a role set twice).
            if (!fix.safe || !accepted)
                continue;
            for (auto it = afterCounts.cbegin(); it != afterCounts.cend(); ++it)
                QVERIFY2(it.value() <= beforeCounts.value(it.key()),
                         qPrintable(where + QStringLiteral(" adds ") + it.key()));
        }
    }
}

void TestLintFix::builtInSheetsHaveNothingSafeToFix()
{
    const QDir styles(kSource.filePath(QStringLiteral("resources/styles")));
    const QStringList names = styles.entryList({QStringLiteral("*.qss")}, QDir::Files);
    QCOMPARE(names.size(), 12);
    for (const QString &name : names) {
        const QByteArray bytes = fileBytes(styles.filePath(name));
        const LintFixResult result = fixStyleSheet(bytes, name, LintOptions(), false);
        QVERIFY2(!result.changed && result.fixed == 0, qPrintable(name));
        QCOMPARE(result.bytes, bytes);
    }
}

void TestLintFix::eightDigitHexFixReadsAsCssOrder_data()
{
    QTest::addColumn<QString>("written");
    QTest::addColumn<QColor>("cssOrder");
    QTest::newRow("half-transparent red") << "#ff000080" << QColor(255, 0, 0, 128);
    QTest::newRow("opaque in CSS order") << "#123456ff" << QColor(0x12, 0x34, 0x56, 255);
    QTest::newRow("transparent in CSS order") << "#ff000000" << QColor(255, 0, 0, 0);
    // rgba() reads an alpha of 1 as a fraction: fully opaque.
    QTest::newRow("alpha 1 of 255 in CSS order") << "#ff000001" << QColor(255, 0, 0, 1);
    QTest::newRow("upper case digits") << "#00FF00AA" << QColor(0, 255, 0, 0xaa);
}

void TestLintFix::eightDigitHexFixReadsAsCssOrder()
{
    QFETCH(QString, written);
    QFETCH(QColor, cssOrder);
    const QString sheet = QStringLiteral("QLabel { background: %1; }\n").arg(written);
    const QVector<LintDiagnostic> found = lintStyleSheet(sheet.toUtf8(), QStringLiteral("t.qss"));
    const auto finding = std::find_if(found.cbegin(), found.cend(), [](const LintDiagnostic &d) {
        return d.check == QLatin1String("eight-digit-hex");
    });
    QVERIFY(finding != found.cend());
    // One fix writes the CSS-order reading; any other keeps the toolkit's, safely.
    const auto css =
        std::find_if(finding->fixes.cbegin(), finding->fixes.cend(), [&](const LintFix &fix) {
            return readColourLiteral(fix.newText).rgba() == cssOrder.rgba();
        });
    QVERIFY(css != finding->fixes.cend());
    for (const LintFix &fix : finding->fixes) {
        if (&fix != &*css)
            QVERIFY(fix.safe &&
                    readColourLiteral(fix.newText).rgba() == readColourLiteral(written).rgba());
    }
    QCOMPARE(readColourLiteral(written).rgba(),
             QColor(cssOrder.green(), cssOrder.blue(), cssOrder.alpha(), cssOrder.red()).rgba());
    // The message names both readings as rgba() text an author may copy.
    QStringList named;
    auto match =
        QRegularExpression(QStringLiteral("rgba\\([^)]*\\)")).globalMatch(finding->message);
    while (match.hasNext())
        named << match.next().captured();
    QCOMPARE(named.size(), 2);
    QCOMPARE(readColourLiteral(named.at(0)).rgba(), readColourLiteral(written).rgba());
    QCOMPARE(readColourLiteral(named.at(1)).rgba(), cssOrder.rgba());
}

void TestLintFix::eightDigitHexMeantAlphaFirst_data()
{
    QTest::addColumn<QByteArray>("sheet");
    QTest::addColumn<bool>("note");
    QTest::newRow("one colour at two opacities")
        << QByteArray("QTextEdit { border: 1px solid #99448aff; background-color:#4c448aff; }\n")
        << true;
    QTest::newRow("a colour beside its own opaque six digits")
        << QByteArray("QLabel { color: #448aff; background: #80448aff; }\n") << true;
    QTest::newRow("an opaque CSS reading the sheet uses nowhere else")
        << QByteArray("QLabel { background: #123456ff; }\n") << true;
    QTest::newRow("an opaque CSS reading the sheet uses elsewhere")
        << QByteArray("QLabel { color: #123456; background: #123456ff; }\n") << false;
    QTest::newRow("a CSS reading at half opacity")
        << QByteArray("QLabel { color: #ff0000; background: #ff000080; }\n") << false;
    QTest::newRow("one colour at two opacities in CSS order")
        << QByteArray("QLabel { color: #ff000080; background: #ff000040; }\n") << false;
    QTest::newRow("both readings at several opacities")
        << QByteArray("QLabel { color: #80ff0040; background: rgb(255, 0, 64); "
                      "selection-color: rgba(128, 255, 0, 200); }\n")
        << false;
}

void TestLintFix::eightDigitHexMeantAlphaFirst()
{
    QFETCH(QByteArray, sheet);
    QFETCH(bool, note);
    const auto ofCheck = [](const QVector<LintDiagnostic> &all) {
        QVector<LintDiagnostic> found;
        for (const LintDiagnostic &d : all) {
            if (d.check == QLatin1String("eight-digit-hex"))
                found.append(d);
        }
        return found;
    };
    const QVector<LintDiagnostic> found = ofCheck(lintStyleSheet(sheet, QStringLiteral("t.qss")));
    QVERIFY(!found.isEmpty());
    for (const LintDiagnostic &finding : found) {
        QCOMPARE(finding.severity, note ? LintSeverity::Note : LintSeverity::Warning);
        QCOMPARE(finding.message.contains(QLatin1String("Alpha first looks meant")), note);
        // Where alpha first is meant, a guess at CSS order is never the first choice.
        QVERIFY(!note || finding.fixes.first().safe);
    }
    // Fixed, with or without guesses where alpha first is meant, the sheet paints what
    // it painted and leaves nothing ambiguous.
    const QVector<ColourLiteral> before = findColourLiterals(QString::fromUtf8(sheet));
    for (bool unsafe : {false, note}) {
        const LintFixResult fixed =
            fixStyleSheet(sheet, QStringLiteral("t.qss"), LintOptions(), unsafe);
        QVERIFY(ofCheck(lintStyleSheet(fixed.bytes, QStringLiteral("t.qss"))).isEmpty());
        const QVector<ColourLiteral> after = findColourLiterals(QString::fromUtf8(fixed.bytes));
        QCOMPARE(after.size(), before.size());
        for (int i = 0; i < before.size(); ++i)
            QCOMPARE(after.at(i).colour.rgba(), before.at(i).colour.rgba());
    }
}

void TestLintFix::fixThatMakesTheSheetWorseIsRefused_data()
{
    QTest::addColumn<QString>("plantedEdit");
    QTest::addColumn<QString>("reason");
    QTest::newRow("an edit that makes the toolkit reject the sheet")
        << "{"
        << "(not fixed: it would make the toolkit reject the whole sheet)";
    QTest::newRow("an edit that adds an error")
        << "image: url(/); "
        << "(not fixed: it would leave 1 errors where there are 0)";
}

void TestLintFix::fixThatMakesTheSheetWorseIsRefused()
{
    QFETCH(QString, plantedEdit);
    QFETCH(QString, reason);
    // A sheet with a fix that helps, beside a planted one that inserts plantedEdit
    // before "color" and calls itself safe.
    const QByteArray sheet("QLabel { color: black; background: #00ffffff; }\n");
    const QString planted = QStringLiteral("planted");
    const SheetLinter lint = [&](const QByteArray &bytes, const QString &path,
                                 const LintOptions &options) {
        QVector<LintDiagnostic> found = lintStyleSheet(bytes, path, options);
        const int at = int(QString::fromUtf8(bytes).indexOf(QLatin1String("color")));
        if (at >= 0) {
            LintDiagnostic diagnostic;
            diagnostic.check = planted;
            diagnostic.message = planted;
            diagnostic.severity = LintSeverity::Warning;
            diagnostic.line = diagnostic.endLine = 1;
            diagnostic.column = diagnostic.endColumn = at + 1;
            LintFix fix;
            fix.line = fix.endLine = 1;
            fix.column = fix.endColumn = at + 1;
            fix.newText = plantedEdit;
            fix.safe = true;
            diagnostic.fixes.append(fix);
            found.append(diagnostic);
        }
        return found;
    };
    const LintFixResult result =
        fixStyleSheet(sheet, QStringLiteral("t.qss"), LintOptions(), false, lint);
    // The helpful fix is kept, the planted one is not, and its finding says why.
    QCOMPARE(result.bytes,
             QByteArray("QLabel { color: black; background: rgba(0, 255, 255, 255); }\n"));
    QCOMPARE(result.fixed, 1);
    const auto left = std::find_if(result.remaining.cbegin(), result.remaining.cend(),
                                   [&](const LintDiagnostic &d) { return d.check == planted; });
    QVERIFY(left != result.remaining.cend());
    QCOMPARE(left->message, planted + QLatin1Char(' ') + reason);

    // Alone, the planted fix leaves the sheet exactly as it was.
    const QByteArray clean("QLabel { color: black; background: white; }\n");
    const LintFixResult alone =
        fixStyleSheet(clean, QStringLiteral("t.qss"), LintOptions(), false, lint);
    QCOMPARE(alone.bytes, clean);
    QVERIFY(!alone.changed);
    QCOMPARE(alone.fixed, 0);
}

void TestLintFix::textThatCannotRoundTripIsLeftAlone_data()
{
    QTest::addColumn<QByteArray>("sheet");
    QTest::newRow("invalid UTF-8") << QByteArray("QLabel { color: red /* \xff */\n");
    QTest::newRow("NUL byte") << QByteArray("QLabel { color: red\n\0 tail", 26);
    QTest::newRow("mixed line endings") << QByteArray("QLabel {\r\n color: red\n");
}

void TestLintFix::textThatCannotRoundTripIsLeftAlone()
{
    QFETCH(QByteArray, sheet);
    const LintFixResult result = fixStyleSheet(sheet, QStringLiteral("t.qss"), LintOptions(), true);
    QCOMPARE(result.bytes, sheet);
    QVERIFY(!result.changed);
    QVERIFY(result.refusal.startsWith(QLatin1String("not fixed: ")));
    QVERIFY(!result.remaining.isEmpty());
}

void TestLintFix::crLfKept()
{
    const LintFixResult result = fixStyleSheet(QByteArray("QLabel {\r\n color: red\r\n"),
                                               QStringLiteral("t.qss"), LintOptions(), false);
    QCOMPARE(result.bytes, QByteArray("QLabel {\r\n color: red\r\n}\r\n"));
}

void TestLintFix::unifiedDiff_data()
{
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("after");
    QTest::addColumn<QString>("diff");
    QTest::newRow("equal texts give nothing") << "a\nb\n"
                                              << "a\nb\n"
                                              << "";
    QTest::newRow("one line changed in the middle")
        << "1\n2\n3\n4\n5\n6\n7\n8\n9\n"
        << "1\n2\n3\n4\nX\n6\n7\n8\n9\n"
        << "--- a/f\n+++ b/f\n@@ -2,7 +2,7 @@\n 2\n 3\n 4\n-5\n+X\n 6\n 7\n 8\n";
    QTest::newRow("line added at the end without newline")
        << "a\n"
        << "a\nb"
        << "--- a/f\n+++ b/f\n@@ -1 +1,2 @@\n a\n+b\n\\ No newline at end of file\n";
    QTest::newRow("two far changes are two hunks")
        << "a\n1\n2\n3\n4\n5\n6\n7\n8\nb\n"
        << "A\n1\n2\n3\n4\n5\n6\n7\n8\nB\n"
        << "--- a/f\n+++ b/f\n@@ -1,4 +1,4 @@\n-a\n+A\n 1\n 2\n 3\n"
           "@@ -7,4 +7,4 @@\n 6\n 7\n 8\n-b\n+B\n";
    QTest::newRow("everything added to an empty text") << ""
                                                       << "x\n"
                                                       << "--- a/f\n+++ b/f\n@@ -0,0 +1 @@\n+x\n";
}

void TestLintFix::unifiedDiff()
{
    QFETCH(QString, before);
    QFETCH(QString, after);
    QFETCH(QString, diff);
    QCOMPARE(::unifiedDiff(before, after, QStringLiteral("f")), diff);
    // An absolute path is labelled as git labels it.
    if (!diff.isEmpty())
        QCOMPARE(::unifiedDiff(before, after, QStringLiteral("/f")), diff);
}

void TestLintFix::programWritesInPlaceKeepingMode()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("s.qss"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("QLabel { color: black background: white; }\nQLabl { color: black; }\n");
    file.close();
    const QFileDevice::Permissions mode =
        QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup;
    QVERIFY(QFile::setPermissions(path, mode));

    const ProgramRun run = runLint({QStringLiteral("--fix"), path});
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(fileBytes(path),
             QByteArray("QLabel { color: black; background: white; }\nQLabl { color: black; }\n"));
    // Owner, group and others; the "user" bits only repeat the owner's for us.
    QCOMPARE(int(QFileInfo(path).permissions() & 0x7077), int(mode & 0x7077));
    QVERIFY2(run.out.endsWith(QLatin1String("1 fixed, 1 remaining\n")), qPrintable(run.out));

    const ProgramRun unsafe =
        runLint({QStringLiteral("--fix"), QStringLiteral("--unsafe-fixes"), path});
    QVERIFY2(unsafe.out.endsWith(QLatin1String("1 fixed, 0 remaining\n")), qPrintable(unsafe.out));
    QCOMPARE(fileBytes(path), QByteArray("QLabel { color: black; background: white; }\n"
                                         "QLabel { color: black; }\n"));

    QCOMPARE(runLint({QStringLiteral("--unsafe-fixes"), path}).exitCode, 3);
}

void TestLintFix::programStandardInputAndDiff()
{
    const QByteArray sheet("QLabel { color: black;\n");
    const ProgramRun fixed = runLint({QStringLiteral("--fix"), QStringLiteral("-")}, sheet);
    QCOMPARE(fixed.exitCode, 0);
    QCOMPARE(fixed.out, QStringLiteral("QLabel { color: black;\n}\n"));
    QVERIFY2(fixed.err.contains(QLatin1String("1 fixed, 0 remaining")), qPrintable(fixed.err));

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("d.qss"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(sheet);
    file.close();
    const ProgramRun diff = runLint({QStringLiteral("--diff"), path});
    QCOMPARE(diff.out,
             QStringLiteral("--- a/%1\n+++ b/%1\n@@ -1 +1,2 @@\n QLabel { color: black;\n+}\n")
                 .arg(path.mid(1)));
    QCOMPARE(fileBytes(path), sheet);
}

void TestLintFix::programKeepsCrLf()
{
    const QByteArray sheet("QLabel {\r\n    color: black background: white;\r\n}\r\n");
    const QByteArray fixed("QLabel {\r\n    color: black; background: white;\r\n}\r\n");
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("crlf.qss"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(sheet);
    file.close();
    QCOMPARE(runLint({QStringLiteral("--fix"), path}).exitCode, 0);
    QCOMPARE(fileBytes(path), fixed);
    const ProgramRun piped = runLint({QStringLiteral("--fix"), QStringLiteral("-")}, sheet);
    QCOMPARE(piped.out.toUtf8(), fixed);
}

QTEST_GUILESS_MAIN(TestLintFix)
#include "tst_lintfix.moc"
