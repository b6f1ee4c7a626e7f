// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "support/sheetlexer.h"

#include <QtTest>

namespace {
// The spans as "kind[text]", a "!" after those left open, one space apart.
QString described(const QString &text, LexMode mode)
{
    static const char *const kinds[] = {"space",  "comment", "string", "url", "ident",
                                        "number", "hash",    "punct",  "ref"};
    QStringList parts;
    for (const SheetSpan &span : lexSheet(text, mode)) {
        QString part = QLatin1String(kinds[int(span.kind)]) + QLatin1Char('[') +
                       text.mid(span.start, span.length) + QLatin1Char(']');
        if (span.unterminated)
            part += QLatin1Char('!');
        parts.append(part);
    }
    return parts.join(QLatin1Char(' '));
}
} // namespace

class TestSheetLexer : public QObject
{
    Q_OBJECT

private slots:
    void spans_data();
    void spans();
    void content_data();
    void content();
    void resumesAtASpan();
    void skipKeepsATemplatesBlockOpen();
};

void TestSheetLexer::spans_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("templateMode");
    QTest::addColumn<QString>("expected");
    QTest::newRow("rule with an object name, a state and a colour")
        << "QPushButton#ok:hover{color:#f00}" << false
        << "ident[QPushButton] hash[#ok] punct[:] ident[hover] punct[{] ident[color] punct[:] "
           "hash[#f00] punct[}]";
    QTest::newRow("numbers keep their sign, fraction and unit")
        << "-2px .5em 50% a-1" << false
        << "number[-2px] space[ ] number[.5em] space[ ] number[50%] space[ ] ident[a-1]";
    QTest::newRow("a lone hash is punctuation") << "# x" << false << "punct[#] space[ ] ident[x]";
    QTest::newRow("an escape belongs to its name, even a brace")
        << "a\\{b {" << false << "ident[a\\{b] space[ ] punct[{]";
    QTest::newRow("a comment hides what it holds")
        << "/* a { \"b */x" << false << "comment[/* a { \"b */] ident[x]";
    QTest::newRow("a comment left open runs to the end")
        << "a /* b\n c" << false << "ident[a] space[ ] comment[/* b\n c]!";
    QTest::newRow("a slash and star that close nothing") << "/*/" << false << "comment[/*/]!";
    QTest::newRow("strings with escaped quotes and line breaks")
        << "'a\\'b' \"c\\\nd\"" << false << "string['a\\'b'] space[ ] string[\"c\\\nd\"]";
    QTest::newRow("a string left open stops before its line break")
        << "\"ab\n;" << false << "string[\"ab]! space[\n] punct[;]";
    QTest::newRow("a url() is one span, whatever its case")
        << "URL(a b.png);" << false << "url[URL(a b.png)] punct[;]";
    QTest::newRow("a quoted url() path may hold a bracket")
        << "url( \"a)b\" )x" << false << "url[url( \"a)b\" )] ident[x]";
    QTest::newRow("a url() left open runs to the end") << "url(a;\nb" << false << "url[url(a;\nb]!";
    QTest::newRow("url inside a name is no url()")
        << "myurl(a)" << false << "ident[myurl] punct[(] ident[a] punct[)]";
    QTest::newRow("in a sheet a brace in a block is punctuation")
        << "a{b:{c}}" << false
        << "ident[a] punct[{] ident[b] punct[:] punct[{] ident[c] punct[}] punct[}]";
    QTest::newRow("in a template a brace in a block is a reference")
        << "a{b:{c.d}}" << true << "ident[a] punct[{] ident[b] punct[:] ref[{c.d}] punct[}]";
    QTest::newRow("a reference left open stops before a semicolon")
        << "a{b:{c;}" << true << "ident[a] punct[{] ident[b] punct[:] ref[{c]! punct[;] punct[}]";
    QTest::newRow("a template's rule brace after a closed block")
        << "a{}b{" << true << "ident[a] punct[{] punct[}] ident[b] punct[{]";
    QTest::newRow("a character outside the basic plane stays whole")
        << QString::fromUtf8("\xf0\x9f\x99\x82") << false
        << QString::fromUtf8("punct[\xf0\x9f\x99\x82]");
}

void TestSheetLexer::spans()
{
    QFETCH(QString, text);
    QFETCH(bool, templateMode);
    QFETCH(QString, expected);
    QCOMPARE(described(text, templateMode ? LexMode::Template : LexMode::Sheet), expected);
}

void TestSheetLexer::content_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");
    QTest::newRow("closed comment") << "/* a */"
                                    << " a ";
    QTest::newRow("open comment") << "/* a"
                                  << " a";
    QTest::newRow("closed string") << "'a'"
                                   << "a";
    QTest::newRow("open string") << "'a"
                                 << "a";
    QTest::newRow("closed url()") << "url(a)"
                                  << "a";
    QTest::newRow("open url()") << "url(a"
                                << "a";
    QTest::newRow("a name whole") << "abc"
                                  << "abc";
}

void TestSheetLexer::content()
{
    QFETCH(QString, text);
    QFETCH(QString, expected);
    const QVector<SheetSpan> spans = lexSheet(text);
    QCOMPARE(spanContent(text, spans.first()).toString(), expected);
}

void TestSheetLexer::resumesAtASpan()
{
    const QString text = QStringLiteral("a { b: url(c) \"d\" }");
    const QVector<SheetSpan> whole = lexSheet(text);
    SheetLexer lexer(text, LexMode::Sheet, whole.at(5).start);
    for (int k = 5; k < whole.size(); ++k) {
        const SheetSpan span = lexer.next();
        QCOMPARE(span.start, whole.at(k).start);
        QCOMPARE(span.length, whole.at(k).length);
    }
    QVERIFY(lexer.atEnd());
}

void TestSheetLexer::skipKeepsATemplatesBlockOpen()
{
    const QString text = QStringLiteral("a { b: mix({c}, {d}) }");
    SheetLexer lexer(text, LexMode::Template);
    for (int k = 0; k < 3; ++k) // "a", " ", "{"
        lexer.next();
    lexer.skipTo(int(text.indexOf(QLatin1Char(','))) + 1);
    lexer.next();
    QCOMPARE(lexer.next().kind, SheetSpanKind::Reference);
}

QTEST_APPLESS_MAIN(TestSheetLexer)
#include "tst_sheetlexer.moc"
