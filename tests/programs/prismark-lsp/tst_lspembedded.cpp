// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "analysis/toolkitparse.h"
#include "embedded/embeddedlint.h"
#include "markedtext.h"
#include "prismark-lsp/features/codeactions.h"
#include "prismark-lsp/features/embeddeddocument.h"
#include "prismark-lsp/protocol/textdocument.h"

#include <QtTest>

Q_DECLARE_METATYPE(EmbeddingLanguage)

namespace {
const auto kCpp = EmbeddingLanguage::Cpp;
const auto kPython = EmbeddingLanguage::Python;
const auto kForm = EmbeddingLanguage::Form;

QString form(const QString &styleSheet)
{
    return QStringLiteral("<ui><widget class=\"QFrame\" name=\"frame\"><property "
                          "name=\"styleSheet\"><string>%1</string></property></widget></ui>")
        .arg(styleSheet);
}

const CompletionItem *itemLabelled(const QVector<CompletionItem> &items, const QString &label)
{
    for (const CompletionItem &item : items) {
        if (item.label == label)
            return &item;
    }
    return nullptr;
}

QString spanText(const QString &text, const TextSpan &span)
{
    return text.mid(span.start, span.end - span.start);
}

// Everything a reading of the sheets gives, written out for comparing two readings.
QStringList described(const QVector<EmbeddedSheet> &sheets)
{
    QStringList lines;
    for (const EmbeddedSheet &sheet : sheets) {
        QStringList offsets;
        for (const int offset : sheet.sourceOffsets)
            offsets.append(QString::number(offset));
        lines.append(QStringLiteral("sheet \"%1\" %2-%3 at %4:%5 %6 offsets %7")
                         .arg(sheet.text)
                         .arg(sheet.offset)
                         .arg(sheet.endOffset)
                         .arg(sheet.line)
                         .arg(sheet.column)
                         .arg(sheet.checkable ? QStringLiteral("checkable") : sheet.reason)
                         .arg(offsets.join(QLatin1Char(' '))));
        for (const EmbeddedPiece &piece : sheet.pieces)
            lines.append(QStringLiteral("  piece %1-%2 from %3-%4 closed by %5")
                             .arg(piece.decodedStart)
                             .arg(piece.decodedEnd)
                             .arg(piece.sourceStart)
                             .arg(piece.sourceEnd)
                             .arg(piece.closing));
    }
    return lines;
}
} // namespace

// The sheet features inside the literals of forms and sources: places mapped into
// the sheet across escapes, spans and edits mapped back into the literal, and nothing
// answered anywhere else in the file.
class TestLspEmbedded : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { quietToolkitParserMessages(); }
    void completionReplacesTheWordInTheLiteral_data();
    void completionReplacesTheWordInTheLiteral();
    void hoverSpansTheNameInTheLiteral_data();
    void hoverSpansTheNameInTheLiteral();
    void nothingOutsideALiteral_data();
    void nothingOutsideALiteral();
    void quickFixLandsInsideTheLiteral_data();
    void quickFixLandsInsideTheLiteral();
    void typingInALiteralMovesTheSheets_data();
    void typingInALiteralMovesTheSheets();
    void languageOfADocument_data();
    void languageOfADocument();
};

void TestLspEmbedded::completionReplacesTheWordInTheLiteral_data()
{
    QTest::addColumn<EmbeddingLanguage>("language");
    QTest::addColumn<QString>("marked");
    QTest::addColumn<QString>("offered");
    QTest::addColumn<QString>("replaced"); // as the file spells it

    QTest::newRow("C++ after escaped quotes")
        << kCpp << "w->setStyleSheet(\"QLabel[a=\\\"b\\\"] { col| }\");"
        << "color"
        << "col";
    QTest::newRow("C++ word starting with a hex escape")
        << kCpp << "w->setStyleSheet(\"QLabel {}\\n\\x51Push|\");"
        << "QPushButton"
        << "\\x51Push";
    QTest::newRow("C++ word after a universal character name")
        << kCpp << "w->setStyleSheet(u\"/* \\u00e9 */ QPush|\");"
        << "QPushButton"
        << "QPush";
    QTest::newRow("C++ second literal, cursor at its end")
        << kCpp << "w->setStyleSheet(QStringLiteral(\"QLabel { \"\n    \"backg|\"));"
        << "background-color"
        << "backg";
    QTest::newRow("C++ raw literal on its second line")
        << kCpp << "w->setStyleSheet(R\"css(QLabel {\n    col|\n})css\");"
        << "color"
        << "col";
    QTest::newRow("C++ widget's bare declarations")
        << kCpp << "w->setStyleSheet(\"color: red; backg|\");"
        << "background-color"
        << "backg";
    QTest::newRow("C++ pseudo-state of a widget class")
        << kCpp << "w->setStyleSheet(\"QPushButton:ho|\");"
        << "hover"
        << "ho";
    QTest::newRow("Python implicit concatenation")
        << kPython << "w.setStyleSheet(('QLabel {\\n'\n    ' col|'))"
        << "color"
        << "col";
    QTest::newRow("Python triple-quoted, third line")
        << kPython << "w.setStyleSheet(\"\"\"\nQLabel {\n    col|\n}\"\"\")"
        << "color"
        << "col";
    QTest::newRow("form after an escaped child combinator")
        << kForm << form(QStringLiteral("QFrame &gt; QPush|")) << "QPushButton"
        << "QPush";
    QTest::newRow("form, word with a character reference")
        << kForm << form(QStringLiteral("QLabel { &#99;ol| }")) << "color"
        << "&#99;ol";
}

void TestLspEmbedded::completionReplacesTheWordInTheLiteral()
{
    QFETCH(EmbeddingLanguage, language);
    QFETCH(QString, marked);
    QFETCH(QString, offered);
    QFETCH(QString, replaced);
    const Marked at(marked);
    const QVector<CompletionItem> items =
        embeddedCompletionItems(EmbeddedDocument(language, at.text), at.offset, markdownClient());
    const CompletionItem *item = itemLabelled(items, offered);
    QVERIFY2(item, qPrintable(labels(items).join(QLatin1Char(' '))));
    QCOMPARE(spanText(at.text, item->replaces), replaced);
    QCOMPARE(item->replaces.end, at.offset);
}

void TestLspEmbedded::hoverSpansTheNameInTheLiteral_data()
{
    QTest::addColumn<EmbeddingLanguage>("language");
    QTest::addColumn<QString>("marked");
    QTest::addColumn<QString>("contains");
    QTest::addColumn<QString>("spanned"); // as the file spells it

    QTest::newRow("C++ property after an escaped line break")
        << kCpp << "w->setStyleSheet(\"QLabel {\\n    col|or: red; }\");"
        << "color"
        << "color";
    QTest::newRow("C++ widget class spelt with an escape")
        << kCpp << "w->setStyleSheet(\"\\x51Push|Button { color: red; }\");"
        << "QPushButton"
        << "\\x51PushButton";
    QTest::newRow("C++ widget's bare declarations") << kCpp << "w->setStyleSheet(\"col|or: red;\");"
                                                    << "color"
                                                    << "color";
    QTest::newRow("Python raw string")
        << kPython << "w.setStyleSheet(r'QComboBox::drop-|down { width: 4px }')"
        << "drop-down"
        << "drop-down";
    QTest::newRow("form subcontrol after entities")
        << kForm << form(QStringLiteral("QFrame &gt; QComboBox::drop-|down { width: 4px }"))
        << "drop-down"
        << "drop-down";
}

void TestLspEmbedded::hoverSpansTheNameInTheLiteral()
{
    QFETCH(EmbeddingLanguage, language);
    QFETCH(QString, marked);
    QFETCH(QString, contains);
    QFETCH(QString, spanned);
    const Marked at(marked);
    const std::optional<HoverInfo> hover =
        embeddedHoverAt(EmbeddedDocument(language, at.text), at.offset, markdownClient());
    QVERIFY(hover);
    QVERIFY2(hover->contents.contains(contains), qPrintable(hover->contents));
    QCOMPARE(spanText(at.text, hover->span), spanned);
}

void TestLspEmbedded::nothingOutsideALiteral_data()
{
    QTest::addColumn<EmbeddingLanguage>("language");
    QTest::addColumn<QString>("marked");

    QTest::newRow("C++ code before the call")
        << kCpp << "QPush|Button b;\nb.setStyleSheet(\"QPushButton { color: red; }\");";
    QTest::newRow("C++ the call's name") << kCpp << "b.setStyle|Sheet(\"QLabel { color: red }\");";
    QTest::newRow("C++ between two joined literals")
        << kCpp << "b.setStyleSheet(\"QLabel { \" | \"color: red; }\");";
    QTest::newRow("C++ in the literal's prefix")
        << kCpp << "b.setStyleSheet(u|8\"QLabel { color: red }\");";
    QTest::newRow("C++ a string no sheet is set from") << kCpp << "qDebug(\"QPush|Button { col\");";
    QTest::newRow("C++ a comment after the call")
        << kCpp << "b.setStyleSheet(\"QLabel {}\"); // QPush|";
    QTest::newRow("Python translated, made at run time")
        << kPython << "w.setStyleSheet(self.tr(\"QLabel { col|or: red }\"))";
    QTest::newRow("Python a variable passed") << kPython << "w.setStyleSheet(she|et)";
    QTest::newRow("form another property's text")
        << kForm
        << "<ui><widget class=\"QLabel\" name=\"l\"><property name=\"text\"><string>QPush|"
           "</string></property></widget></ui>";
    QTest::newRow("form the property's element name")
        << kForm
        << form(QStringLiteral("QLabel {}"))
               .replace(QLatin1String("<string>"), QLatin1String("<str|ing>"));
}

void TestLspEmbedded::nothingOutsideALiteral()
{
    QFETCH(EmbeddingLanguage, language);
    QFETCH(QString, marked);
    const Marked at(marked);
    const EmbeddedDocument document(language, at.text);
    QVERIFY(!document.placeAt(at.offset));
    QVERIFY(embeddedCompletionItems(document, at.offset, markdownClient()).isEmpty());
    QVERIFY(!embeddedHoverAt(document, at.offset, markdownClient()));
}

void TestLspEmbedded::quickFixLandsInsideTheLiteral_data()
{
    QTest::addColumn<EmbeddingLanguage>("language");
    QTest::addColumn<QString>("source");
    QTest::addColumn<QString>("fixed"); // "" when no fix can be spelt there

    // The sheet lacks its closing brace: the fix adds a line break and "}".
    QTest::newRow("C++ line break escaped") << kCpp << "w->setStyleSheet(\"QLabel { color: red;\");"
                                            << "w->setStyleSheet(\"QLabel { color: red;\\n}\");";
    QTest::newRow("C++ raw literal keeps a real line break")
        << kCpp << "w->setStyleSheet(R\"(QLabel { color: red;)\");"
        << "w->setStyleSheet(R\"(QLabel { color: red;\n})\");";
    QTest::newRow("C++ into the last of joined literals")
        << kCpp << "w->setStyleSheet(\"QLabel {\"\n                 \" color: red;\");"
        << "w->setStyleSheet(\"QLabel {\"\n                 \" color: red;\\n}\");";
    QTest::newRow("Python single-quoted") << kPython << "w.setStyleSheet('QLabel { color: red;')"
                                          << "w.setStyleSheet('QLabel { color: red;\\n}')";
    QTest::newRow("Python triple-quoted")
        << kPython << "w.setStyleSheet('''QLabel { color: red;''')"
        << "w.setStyleSheet('''QLabel { color: red;\n}''')";
    QTest::newRow("Python one-line raw string cannot hold a line break")
        << kPython << "w.setStyleSheet(r'QLabel { color: red;')" << QString();
    QTest::newRow("form text") << kForm << form(QStringLiteral("QFrame &gt; QLabel { color: red;"))
                               << form(QStringLiteral("QFrame &gt; QLabel { color: red;\n}"));
    QTest::newRow("Python f-string doubles the brace, leaves the placeholder")
        << kPython << "w.setStyleSheet(f'QLabel {{ color: {ink};')"
        << "w.setStyleSheet(f'QLabel {{ color: {ink};\\n}}')";
    QTest::newRow("C++ .arg() template")
        << kCpp << "w->setStyleSheet(QString(\"QLabel#%1 { color: %2;\").arg(n, c));"
        << "w->setStyleSheet(QString(\"QLabel#%1 { color: %2;\\n}\").arg(n, c));";
}

void TestLspEmbedded::quickFixLandsInsideTheLiteral()
{
    QFETCH(EmbeddingLanguage, language);
    QFETCH(QString, source);
    QFETCH(QString, fixed);
    const TextDocument document(QStringLiteral("file:///tmp/widget"), source, 1,
                                PositionEncoding::Utf16);
    QVector<PublishedDiagnostic> published;
    for (const LintDiagnostic &diagnostic :
         lintEmbeddedSheets(source, language, document.path, LintOptions()))
        published.append(publishedDiagnostic(document, diagnostic));
    const QVector<CodeAction> actions = quickFixes(source, published, 0, int(source.size()));
    if (fixed.isEmpty()) {
        QVERIFY(actions.isEmpty());
        return;
    }
    QCOMPARE(actions.size(), 1);
    const PublishedFix &edit = actions.constFirst().edit;
    QString applied = source;
    applied.replace(edit.start, edit.end - edit.start, edit.newText);
    QCOMPARE(applied, fixed);
    // The mended literal reads back as the mended sheet, which the toolkit accepts.
    const QVector<EmbeddedSheet> reread = readEmbeddedSheets(language, applied);
    QCOMPARE(reread.size(), 1);
    QVERIFY2(toolkitParsesSheet(reread.constFirst().text), qPrintable(reread.constFirst().text));
}

void TestLspEmbedded::typingInALiteralMovesTheSheets_data()
{
    QTest::addColumn<EmbeddingLanguage>("language");
    QTest::addColumn<QString>("marked"); // "|" where the edit starts
    QTest::addColumn<int>("removed");
    QTest::addColumn<QString>("inserted");
    QTest::addColumn<bool>("kept"); // false: the file must be read anew

    const QString twoCalls = QStringLiteral(
        "a->setStyleSheet(\"QLabel {\" \" col|x: red; }\"); b->setStyleSheet(\"QFrame {}\");\n"
        "c->setStyleSheet(u\"QLabel { color: \\\"x\\\" }\");");
    QTest::newRow("C++ a letter typed")
        << kCpp << "w->setStyleSheet(\"QLabel { col| }\");" << 0 << "o" << true;
    QTest::newRow("C++ a letter deleted")
        << kCpp << "w->setStyleSheet(\"QLabel { colo|r }\");" << 1 << QString() << true;
    QTest::newRow("C++ a word replaced, later sheets on its line and after it")
        << kCpp << twoCalls << 1 << "or" << true;
    QTest::newRow("C++ typed at a literal's start")
        << kCpp << "w->setStyleSheet(\"QLabel {\"\n  \"|}\");" << 0 << " " << true;
    QTest::newRow("C++ typed at a literal's end")
        << kCpp << "w->setStyleSheet(\"QLabel {\"\n  \"}|\");" << 0 << " " << true;
    QTest::newRow("C++ raw literal")
        << kCpp << "w->setStyleSheet(R\"x(QLabel { col| })x\");" << 0 << "o" << true;
    QTest::newRow("C++ a hex digit after a hex escape")
        << kCpp << "w->setStyleSheet(\"\\x51|Push\");" << 0 << "a" << false;
    QTest::newRow("C++ an escape's backslash deleted")
        << kCpp << "w->setStyleSheet(\"QLabel {|\\n}\");" << 1 << QString() << false;
    // A backslash before a NUL stands for itself; a letter after it would make an escape.
    QTest::newRow("C++ typed after a lone backslash")
        << kCpp << QStringLiteral("w->setStyleSheet(\"QLabel {\\|") + QChar(0) + "}\");" << 0 << "a"
        << false;
    QTest::newRow("C++ a raw literal's closing made by a deletion")
        << kCpp << "w->setStyleSheet(R\"x(QLabel { )x|Z\" })x\");" << 1 << QString() << false;
    QTest::newRow("C++ a quote typed")
        << kCpp << "w->setStyleSheet(\"QLabel { col| }\");" << 0 << "\"" << false;
    QTest::newRow("C++ a raw literal's closing parenthesis typed")
        << kCpp << "w->setStyleSheet(R\"(QLabel { col| })\");" << 0 << ")" << false;
    QTest::newRow("C++ typed in the code")
        << kCpp << "w->set|StyleSheet(\"QLabel {}\");" << 0 << "x" << false;
    QTest::newRow("C++ deleted past the literal's end")
        << kCpp << "w->setStyleSheet(\"QLabel {}|\" \"\");" << 2 << QString() << false;
    QTest::newRow("Python triple-quoted")
        << kPython << "w.setStyleSheet('''\nQLabel {\n    col|\n}''')" << 0 << "or" << true;
    QTest::newRow("Python up to a line continuation")
        << kPython << "w.setStyleSheet('QLabel {|\\\n}')" << 1 << QString() << false;
    QTest::newRow("form text") << kForm << form(QStringLiteral("QFrame &gt; QLabel { col| }")) << 0
                               << "or" << true;
    // A keystroke may make a placeholder, and stand-ins follow what surrounds them.
    QTest::newRow("Python typed in an f-string")
        << kPython << "w.setStyleSheet(f'QLabel {{ col|: {c} }}')" << 0 << "or" << false;
    QTest::newRow("C++ typed in an .arg() template")
        << kCpp << "w->setStyleSheet(QString(\"QLabel { col|: red }\").arg(c));" << 0 << "%1"
        << false;
    QTest::newRow("form right after an entity")
        << kForm << form(QStringLiteral("QFrame &gt;| QLabel {}")) << 0 << "x" << false;
    QTest::newRow("form an ampersand typed")
        << kForm << form(QStringLiteral("QLabel { col| }")) << 0 << "&" << false;
}

void TestLspEmbedded::typingInALiteralMovesTheSheets()
{
    QFETCH(EmbeddingLanguage, language);
    QFETCH(QString, marked);
    QFETCH(int, removed);
    QFETCH(QString, inserted);
    QFETCH(bool, kept);
    const Marked at(marked);
    EmbeddedDocument document(language, at.text);
    const QString edited = QString(at.text).replace(at.offset, removed, inserted);
    QCOMPARE(document.applyEdit(at.offset, at.offset + removed, inserted, edited), kept);
    if (kept)
        QCOMPARE(described(document.sheets()), described(readEmbeddedSheets(language, edited)));
}

void TestLspEmbedded::languageOfADocument_data()
{
    QTest::addColumn<QString>("uri");
    QTest::addColumn<QString>("languageId");
    QTest::addColumn<EmbeddingLanguage>("language");

    QTest::newRow("form by its suffix, whatever the client calls it")
        << "file:///src/ui/main%20window.ui"
        << "xml" << kForm;
    QTest::newRow("header by its suffix") << "file:///src/widget.h"
                                          << "c" << kCpp;
    QTest::newRow("unsaved buffer by its language") << "untitled:Untitled-1"
                                                    << "python" << kPython;
    QTest::newRow("style sheet") << "file:///src/dark.qss"
                                 << "qss" << EmbeddingLanguage::None;
    QTest::newRow("theme template") << "file:///src/dark.qss.in"
                                    << "qss" << EmbeddingLanguage::None;
}

void TestLspEmbedded::languageOfADocument()
{
    QFETCH(QString, uri);
    QFETCH(QString, languageId);
    QFETCH(EmbeddingLanguage, language);
    QCOMPARE(documentEmbedding(uri, languageId), language);
}

QTEST_GUILESS_MAIN(TestLspEmbedded)
#include "tst_lspembedded.moc"
