// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "analysis/toolkitparse.h"
#include "embedded/embeddedlint.h"
#include "embedded/textpositions.h"

#include <QtTest>

Q_DECLARE_METATYPE(EmbeddingLanguage)

namespace {
// The source with its mark "^" taken out, and the line and column the mark stood at.
QString unmarked(const QString &marked, int *line, int *column)
{
    const int mark = int(marked.indexOf(QLatin1Char('^')));
    QString text = marked;
    text.remove(mark, 1);
    TextPositions(text).lineColumn(mark, line, column);
    return text;
}

LintOptions defaultOptions()
{
    LintOptions options;
    // Contrast judges colours against the platform's palette; not what these test.
    options.disabledChecks = QStringList{QStringLiteral("contrast")};
    return options;
}
} // namespace

// The analysis on embedded sheets: findings at the file's own places, a widget's
// bare declarations, notes on what is made at run time, and fixes written back inside
// the literal only.
class TestEmbeddedLint : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { quietToolkitParserMessages(); }
    void findingLandsOnItsCharacter_data();
    void findingLandsOnItsCharacter();
    void runtimeSheetGetsOneNote();
    void placeholdersAreNotJudged_data();
    void placeholdersAreNotJudged();
    void fixChangesOnlyTheLiteral_data();
    void fixChangesOnlyTheLiteral();
    void editIsSpeltAsTheLiteralNeeds_data();
    void editIsSpeltAsTheLiteralNeeds();
    void readingAgainAnalysesOnlyWhatChanged_data();
    void readingAgainAnalysesOnlyWhatChanged();
};

void TestEmbeddedLint::findingLandsOnItsCharacter_data()
{
    QTest::addColumn<EmbeddingLanguage>("language");
    QTest::addColumn<QString>("source"); // "^" where the finding is
    QTest::addColumn<QString>("check");

    const auto cpp = EmbeddingLanguage::Cpp;
    const auto py = EmbeddingLanguage::Python;
    const auto ui = EmbeddingLanguage::Form;
    QTest::newRow("C++ after escaped quotes")
        << cpp << "w->setStyleSheet(\"QLabel[x=\\\"1\\\"] { ^colr: red; }\");"
        << "unknown-property";
    QTest::newRow("C++ second literal after a comment")
        << cpp << "w->setStyleSheet(\"QLabel {\" /* x */\n    \"\\t^colr: red; }\");"
        << "unknown-property";
    QTest::newRow("C++ raw literal on its third line")
        << cpp << "w->setStyleSheet(R\"(\nQLabel {\n  ^colr: red;\n})\");"
        << "unknown-property";
    QTest::newRow("C++ bare declarations of the widget")
        << cpp << "w->setStyleSheet(\"color: red; ^backgrund: blue;\");"
        << "unknown-property";
    QTest::newRow("Python after an escape") << py << "w.setStyleSheet('QLabel {\\n ^colr: red; }')"
                                            << "unknown-property";
    QTest::newRow("Python triple-quoted")
        << py << "w.setStyleSheet(\"\"\"\nQLabel {\n    ^colr: red;\n}\"\"\")"
        << "unknown-property";
    QTest::newRow("form after entities")
        << ui
        << "<widget class=\"QFrame\" name=\"f\"><property name=\"styleSheet\"><string>"
           "QFrame &gt; QLabel[a=&quot;b&quot;] { ^colr: red }</string></property></widget>"
        << "unknown-property";
    QTest::newRow("form after a character reference on the next line")
        << ui
        << "<widget class=\"QFrame\" name=\"f\"><property name=\"styleSheet\"><string>"
           "QFrame {&#10;\n  ^colr: red }</string></property></widget>"
        << "unknown-property";
    QTest::newRow("form bare declarations")
        << ui
        << "<widget class=\"QLabel\" name=\"l\"><property name=\"styleSheet\"><string>"
           "color: red;\n^colr: blue</string></property></widget>"
        << "unknown-property";
    QTest::newRow("C++ .arg() template, after its placeholders")
        << cpp
        << "w->setStyleSheet(QStringLiteral(\"QLabel { color: %1; font-size: %2px;\"\n"
           "    \" ^paddng: 2px; }\").arg(c).arg(n));"
        << "unknown-property";
    QTest::newRow("C++ .arg() beside a misspelt class")
        << cpp << "w->setStyleSheet(QString(\"^QLabl#%1 { color: red; }\").arg(name));"
        << "unknown-widget";
    QTest::newRow("C++ .arg() for a pseudo-state")
        << cpp << "w->setStyleSheet(QString(\"QLabel:%1 { color: red; }\").arg(state));\n^"
        << "";
    QTest::newRow("Python f-string after doubled braces")
        << py << "w.setStyleSheet(f\"QLabel {{ color: {accent}; ^marign: 0; }}\")"
        << "unknown-property";
    QTest::newRow("Python % with a named placeholder")
        << py << "w.setStyleSheet(\"QLabel#%(name)s { padding: %(pad)dpx; ^colr: red; }\" % d)"
        << "unknown-property";
    QTest::newRow("Python .format() with its fields")
        << py
        << "w.setStyleSheet(\"QPushButton {{ background: {}; border: 1px solid {c};\"\n"
           "                \" ^bordr: none }}\".format(a, c=b))"
        << "unknown-property";
    QTest::newRow("Python .arg() after %%")
        << py << "w.setStyleSheet(\"QLabel[text=\\\"100%\\\"] { font: %1pt; ^colr: red }\".arg(n))"
        << "unknown-property";
    QTest::newRow("form syntax error stays on the sheet")
        << ui
        << "<widget class=\"QLabel\" name=\"l\"><property name=\"styleSheet\"><string>"
           "QLabel { color: red; }^}</string></property></widget>"
        << "syntax";
}

void TestEmbeddedLint::findingLandsOnItsCharacter()
{
    QFETCH(EmbeddingLanguage, language);
    QFETCH(QString, source);
    QFETCH(QString, check);
    int line = 0;
    int column = 0;
    const QString text = unmarked(source, &line, &column);
    const QVector<LintDiagnostic> diagnostics =
        lintEmbeddedSheets(text, language, QStringLiteral("file"), defaultOptions());
    QStringList told;
    for (const LintDiagnostic &diagnostic : diagnostics)
        told.append(QStringLiteral("%1:%2 %3")
                        .arg(diagnostic.line)
                        .arg(diagnostic.column)
                        .arg(diagnostic.check));
    // Only the finding asked about: the wrapper a widget's sheet is read in adds none,
    // nor does a stand-in for a placeholder.
    if (check.isEmpty()) {
        QCOMPARE(told, QStringList());
        return;
    }
    QCOMPARE(told, QStringList{QStringLiteral("%1:%2 %3").arg(line).arg(column).arg(check)});
    QCOMPARE(diagnostics.constFirst().file, QStringLiteral("file"));
}

void TestEmbeddedLint::runtimeSheetGetsOneNote()
{
    const QString source = QStringLiteral("w.setStyleSheet(\"a {\"\n    + body)\n");
    const QVector<LintDiagnostic> diagnostics = lintEmbeddedSheets(
        source, EmbeddingLanguage::Python, QStringLiteral("a.py"), defaultOptions());
    QCOMPARE(diagnostics.size(), 1);
    QCOMPARE(diagnostics.constFirst().check, QString(kEmbeddedSheetCheckId));
    QCOMPARE(diagnostics.constFirst().severity, LintSeverity::Note);
    QCOMPARE(diagnostics.constFirst().line, 1);
    QCOMPARE(diagnostics.constFirst().column, 17);
}

void TestEmbeddedLint::placeholdersAreNotJudged_data()
{
    QTest::addColumn<EmbeddingLanguage>("language");
    QTest::addColumn<QString>("source");

    const auto cpp = EmbeddingLanguage::Cpp;
    const auto py = EmbeddingLanguage::Python;
    QTest::newRow("text colour against a background")
        << cpp << "w->setStyleSheet(QString(\"QLabel { color: %1; background: white; }\").arg(c));";
    QTest::newRow("background against a text colour")
        << py << "w.setStyleSheet(f\"QLabel {{ color: #777; background: {bg}; }}\")";
    QTest::newRow("a pseudo-state and an object name")
        << py << "w.setStyleSheet(\"QLabel:%s, #%s { color: black; }\" % (a, b))";
    QTest::newRow("a length before its unit, a width in a shorthand")
        << py
        << "w.setStyleSheet(\"QLabel {{ font-size: {}pt; border: {} solid red; }}\".format(a, b))";
    QTest::newRow("inside a gradient and a url")
        << cpp
        << "w->setStyleSheet(QString(\"QLabel { background: qlineargradient(x1: %1, y1: 0, x2: 0, "
           "y2: 1, stop: 0 %2, stop: 1 white); image: url(%3); }\").arg(a, b, c));";
    QTest::newRow("whole declarations, a property's name")
        << py << "w.setStyleSheet(\"QLabel { %s } QFrame { %s: 1px; }\" % (a, b))";
    QTest::newRow("a hex colour's digits, a selector")
        << py << "w.setStyleSheet(f\"{parent} QLabel {{ color: #{rgb}; background: white; }}\")";
}

void TestEmbeddedLint::placeholdersAreNotJudged()
{
    QFETCH(EmbeddingLanguage, language);
    QFETCH(QString, source);
    const QVector<LintDiagnostic> diagnostics =
        lintEmbeddedSheets(source, language, QStringLiteral("file"), LintOptions());
    QStringList told;
    for (const LintDiagnostic &diagnostic : diagnostics)
        told.append(diagnostic.check + QLatin1Char(' ') + diagnostic.message);
    QCOMPARE(told, QStringList());
}

void TestEmbeddedLint::fixChangesOnlyTheLiteral_data()
{
    QTest::addColumn<EmbeddingLanguage>("language");
    // Before and after "|" the text the fix may not touch; the fixed file is expected
    // with the literal between them.
    QTest::addColumn<QString>("source");
    QTest::addColumn<QString>("fixed");

    const auto cpp = EmbeddingLanguage::Cpp;
    const auto py = EmbeddingLanguage::Python;
    const auto ui = EmbeddingLanguage::Form;
    QTest::newRow("C++ literal with escapes around the fix")
        << cpp
        << "// QLabel { colr: red; }\nw->setStyleSheet(\"QLabel[a=\\\"b\\\"] {\\n\\tcolr: "
           "red\\n}\");\n"
        << "// QLabel { colr: red; }\nw->setStyleSheet(\"QLabel[a=\\\"b\\\"] {\\n\\tcolor: "
           "red\\n}\");\n";
    QTest::newRow("C++ joined literals, one fix in each")
        << cpp
        << "w->setStyleSheet(\"QLabel { colr: red; }\"\n                 \"QFrame { bordr: none; "
           "}\");"
        << "w->setStyleSheet(\"QLabel { color: red; }\"\n                 \"QFrame { border: none; "
           "}\");";
    QTest::newRow("C++ raw literal")
        << cpp << "w->setStyleSheet(R\"css(\nQLabel { colr: \"red\"; }\n)css\");"
        << "w->setStyleSheet(R\"css(\nQLabel { color: \"red\"; }\n)css\");";
    QTest::newRow("Python single-quoted")
        << py << "w.setStyleSheet('QLabel { colr: red }')  # colr\n"
        << "w.setStyleSheet('QLabel { color: red }')  # colr\n";
    QTest::newRow("Python raw triple-quoted")
        << py << "w.setStyleSheet(r\"\"\"\nQLabel {\n    colr: red;\n}\n\"\"\")"
        << "w.setStyleSheet(r\"\"\"\nQLabel {\n    color: red;\n}\n\"\"\")";
    QTest::newRow("C++ .arg() template, its guess at a pseudo-state left alone")
        << cpp << "w->setStyleSheet(QString(\"QLabel:%1 { colr: red; }\").arg(state));"
        << "w->setStyleSheet(QString(\"QLabel:%1 { color: red; }\").arg(state));";
    QTest::newRow("Python .format() closes its rule with doubled braces")
        << py << "w.setStyleSheet(\"QLabel {{ color: {}; colr: red;\".format(c))"
        << "w.setStyleSheet(\"QLabel {{ color: {}; color: red;\\n}}\".format(c))";
    QTest::newRow("Python f-string") << py << "w.setStyleSheet(f'QLabel {{ colr: {c}; }}')"
                                     << "w.setStyleSheet(f'QLabel {{ color: {c}; }}')";
    QTest::newRow("form keeps its entities")
        << ui
        << "<widget class=\"QFrame\" name=\"f\"><property name=\"styleSheet\"><string>"
           "QFrame &gt; QLabel { colr: red }&#10;</string></property></widget>\n"
        << "<widget class=\"QFrame\" name=\"f\"><property name=\"styleSheet\"><string>"
           "QFrame &gt; QLabel { color: red }&#10;</string></property></widget>\n";
    QTest::newRow("form bare declarations")
        << ui
        << "<widget class=\"QLabel\" name=\"l\"><property name=\"styleSheet\"><string>"
           "colr: red;</string></property></widget>"
        << "<widget class=\"QLabel\" name=\"l\"><property name=\"styleSheet\"><string>"
           "color: red;</string></property></widget>";
    QTest::newRow("form CDATA")
        << ui
        << "<widget class=\"QLabel\" name=\"l\"><property name=\"styleSheet\"><string>"
           "<![CDATA[QLabel > QFrame { colr: red }]]></string></property></widget>"
        << "<widget class=\"QLabel\" name=\"l\"><property name=\"styleSheet\"><string>"
           "<![CDATA[QLabel > QFrame { color: red }]]></string></property></widget>";
}

void TestEmbeddedLint::fixChangesOnlyTheLiteral()
{
    QFETCH(EmbeddingLanguage, language);
    QFETCH(QString, source);
    QFETCH(QString, fixed);
    const EmbeddedFixResult result = fixEmbeddedSheets(
        source.toUtf8(), language, QStringLiteral("file"), defaultOptions(), true);
    QCOMPARE(QString::fromUtf8(result.bytes), fixed);
    QVERIFY(result.changed);
    QVERIFY(result.fixed > 0);
    QVERIFY(result.notices.isEmpty());
    // The fixed file, fixed again, stays as it is.
    const EmbeddedFixResult again =
        fixEmbeddedSheets(result.bytes, language, QStringLiteral("file"), defaultOptions(), true);
    QVERIFY(!again.changed);
}

void TestEmbeddedLint::editIsSpeltAsTheLiteralNeeds_data()
{
    QTest::addColumn<int>("spelling");
    QTest::addColumn<QString>("closing");
    QTest::addColumn<bool>("singleLine");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("spelt"); // empty: the literal cannot hold it

    const int xml = int(LiteralSpelling::XmlText);
    const int cdata = int(LiteralSpelling::XmlCData);
    const int escaped = int(LiteralSpelling::Escaped);
    const int raw = int(LiteralSpelling::Raw);
    QTest::newRow("XML text escapes markup") << xml << "" << false << "a > b & <c>"
                                             << "a &gt; b &amp; &lt;c&gt;";
    QTest::newRow("CDATA as it is") << cdata << "]]>" << false << "a > b"
                                    << "a > b";
    QTest::newRow("CDATA cannot hold its end") << cdata << "]]>" << false << "]]>"
                                               << "";
    QTest::newRow("C++ quote, backslash, line break") << escaped << "\"" << false << "a \"b\" \\ \n"
                                                      << "a \\\"b\\\" \\\\ \\n";
    QTest::newRow("C++ single quote stays") << escaped << "\"" << false << "'x'"
                                            << "'x'";
    QTest::newRow("Python single-quoted") << escaped << "'" << true << "'x\"\n"
                                          << "\\'x\"\\n";
    QTest::newRow("Python triple-quoted keeps line breaks")
        << escaped << "\"\"\"" << false << "a\nb"
        << "a\nb";
    QTest::newRow("C++ raw as it is") << raw << ")x\"" << false << "\"\\n\""
                                      << "\"\\n\"";
    QTest::newRow("C++ raw cannot hold its delimiter") << raw << ")x\"" << false << "a)x\""
                                                       << "";
    QTest::newRow("Python raw cannot hold its quote") << raw << "'" << true << "a'"
                                                      << "";
    QTest::newRow("Python raw cannot hold a backslash") << raw << "\"\"\"" << false << "\\"
                                                        << "";
}

void TestEmbeddedLint::editIsSpeltAsTheLiteralNeeds()
{
    QFETCH(int, spelling);
    QFETCH(QString, closing);
    QFETCH(bool, singleLine);
    QFETCH(QString, text);
    QFETCH(QString, spelt);
    EmbeddedPiece piece;
    piece.spelling = LiteralSpelling(spelling);
    piece.closing = closing;
    piece.singleLine = singleLine;
    QString result;
    const bool ok = spellInPiece(piece, text, &result);
    QCOMPARE(ok, !spelt.isEmpty());
    if (ok)
        QCOMPARE(result, spelt);
}

void TestEmbeddedLint::readingAgainAnalysesOnlyWhatChanged_data()
{
    QTest::addColumn<EmbeddingLanguage>("language");
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("second");
    QTest::addColumn<int>("analysed"); // sheets the second reading analyses

    const auto cpp = EmbeddingLanguage::Cpp;
    const QString three = QStringLiteral("a->setStyleSheet(\"QLabel { colr: red; }\");\n"
                                         "b->setStyleSheet(\"QFrame { margin: 0; }\");\n"
                                         "c->setStyleSheet(\"color: blue;\");\n");
    QTest::newRow("nothing changed") << cpp << three << three << 0;
    QTest::newRow("one literal edited, the others moved")
        << cpp << three
        << QString(three).replace(QLatin1String("QLabel"), QLatin1String("QLabel#t")) << 1;
    QTest::newRow("two sheets alike, once")
        << cpp << QString()
        << QString(three)
               .replace(QLatin1String("QFrame"), QLatin1String("QLabel"))
               .replace(QLatin1String("margin: 0"), QLatin1String("colr: red"))
        << 2;
    QTest::newRow("a sheet naming a file on disk, every time")
        << cpp << three + "d->setStyleSheet(\"QLabel { image: url(/no/such/arrow.png); }\");"
        << three + "d->setStyleSheet(\"QLabel { image: url(/no/such/arrow.png); }\");" << 1;
    const QString form = QStringLiteral(
        "<ui><widget class=\"QLabel\" name=\"%1\"><property name=\"styleSheet\"><string>"
        "color: red;</string></property></widget></ui>");
    QTest::newRow("the same sheet on another widget")
        << EmbeddingLanguage::Form << form.arg("title") << form.arg("caption") << 1;
}

void TestEmbeddedLint::readingAgainAnalysesOnlyWhatChanged()
{
    QFETCH(EmbeddingLanguage, language);
    QFETCH(QString, first);
    QFETCH(QString, second);
    QFETCH(int, analysed);
    EmbeddedLintCache cache;
    const QString path = QStringLiteral("/project/window");
    cache.lint(first, language, path, defaultOptions());
    const QVector<LintDiagnostic> found = cache.lint(second, language, path, defaultOptions());
    QCOMPARE(cache.analysedInLastRun(), analysed);
    QCOMPARE(found.size(), lintEmbeddedSheets(second, language, path, defaultOptions()).size());
}

QTEST_GUILESS_MAIN(TestEmbeddedLint)
#include "tst_embeddedlint.moc"
