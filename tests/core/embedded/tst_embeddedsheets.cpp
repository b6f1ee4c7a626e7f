// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "embedded/embeddedsheets.h"

#include <QtTest>

Q_DECLARE_METATYPE(EmbeddingLanguage)

namespace {
// The source with one mark "^" taken out: the text and where the mark stood.
QString unmarked(const QString &marked, int *mark)
{
    *mark = int(marked.indexOf(QLatin1Char('^')));
    QString text = marked;
    if (*mark >= 0)
        text.remove(*mark, 1);
    return text;
}
} // namespace

// The readers, each literal form with its escapes: what the toolkit would be given,
// and that the character the mark stands before maps back to that place in the file.
class TestEmbeddedSheets : public QObject
{
    Q_OBJECT

private slots:
    void decodesAndMaps_data();
    void decodesAndMaps();
    void runtimeSheetsAreNotGuessed_data();
    void runtimeSheetsAreNotGuessed();
    void followedAndMarkedSheets_data();
    void followedAndMarkedSheets();
    void skipsWhatIsNoCall_data();
    void skipsWhatIsNoCall();
    void formPropertyNamesItsWidget();
    void linesAndColumnsCountCharacters();
    void readerFollowsTheSuffix_data();
    void readerFollowsTheSuffix();
};

void TestEmbeddedSheets::decodesAndMaps_data()
{
    QTest::addColumn<EmbeddingLanguage>("language");
    // "^" marks the source character the decoded character at "at" comes from.
    QTest::addColumn<QString>("source");
    QTest::addColumn<QString>("sheet");
    QTest::addColumn<int>("at");

    const auto cpp = EmbeddingLanguage::Cpp;
    const auto py = EmbeddingLanguage::Python;
    const auto ui = EmbeddingLanguage::Form;
    QTest::newRow("C++ plain literal on a pointer")
        << cpp << "w->setStyleSheet(\"QLabel { ^color: red; }\");"
        << "QLabel { color: red; }" << 9;
    QTest::newRow("C++ after an escaped quote")
        << cpp << "setStyleSheet(\"a[x=\\\"y\\\"] { ^b: c }\");"
        << "a[x=\"y\"] { b: c }" << 11;
    QTest::newRow("C++ escape maps to its backslash") << cpp << "qApp->setStyleSheet(\"a {^\\n}\");"
                                                      << "a {\n}" << 3;
    QTest::newRow("C++ after \\n and \\t") << cpp << "setStyleSheet(\"a {\\n\\t^color: red }\");"
                                           << "a {\n\tcolor: red }" << 5;
    QTest::newRow("C++ hex, octal and universal escapes")
        << cpp << "setStyleSheet(\"\\x41\\101\\u0041\\U00000041 ^b\");"
        << "AAAA b" << 5;
    QTest::newRow("C++ backslash and single quote escapes")
        << cpp << "setStyleSheet(\"\\\\\\'^x\");"
        << "\\'x" << 2;
    QTest::newRow("C++ QStringLiteral") << cpp << "setStyleSheet(QStringLiteral(\"a { ^b: c }\"));"
                                        << "a { b: c }" << 4;
    QTest::newRow("C++ QLatin1String") << cpp << "setStyleSheet(QLatin1String(\"a { ^b: c }\"));"
                                       << "a { b: c }" << 4;
    QTest::newRow("C++ QString::fromUtf8 of u8")
        << cpp << "setStyleSheet(QString::fromUtf8(u8\"a { ^b: c }\"));"
        << "a { b: c }" << 4;
    QTest::newRow("C++ QString of u\"\"") << cpp << "setStyleSheet(QString(u\"a { ^b: c }\"));"
                                          << "a { b: c }" << 4;
    QTest::newRow("C++ wide literal") << cpp << "setStyleSheet(L\"^a\");"
                                      << "a" << 0;
    QTest::newRow("C++ raw literal keeps backslashes")
        << cpp << "setStyleSheet(R\"(a { b: \"\\n\" ^c })\");"
        << "a { b: \"\\n\" c }" << 12;
    QTest::newRow("C++ raw literal with a delimiter")
        << cpp << "setStyleSheet(R\"css(a { b: \")\" }\n^c {})css\");"
        << "a { b: \")\" }\nc {}" << 13;
    QTest::newRow("C++ prefixed raw literal") << cpp << "setStyleSheet(u8R\"x(^a)x\");"
                                              << "a" << 0;
    QTest::newRow("C++ adjacent literals across lines and comments")
        << cpp << "setStyleSheet(\"a {\" // open\n  /* c */ \"^b: c;\"\n \"}\");"
        << "a {b: c;}" << 3;
    QTest::newRow("C++ user-defined literal suffix")
        << cpp << "setStyleSheet(u\"a {\"_s \"^b}\"_s);"
        << "a {b}" << 3;
    QTest::newRow("C++ line splice inside a literal") << cpp << "setStyleSheet(\"a {\\\n^b}\");"
                                                      << "a {b}" << 3;
    QTest::newRow("C++ escaped UTF-8 bytes as uic writes them")
        << cpp << "w->setStyleSheet(QString::fromUtf8(\"a { font: \\345\\276\\256^x }\"));"
        << QString::fromUtf8("a { font: \xE5\xBE\xAEx }") << 11;
    QTest::newRow("C++ astral character counts one")
        << cpp << "setStyleSheet(\"\\U0001F600^x\");" << QString::fromUcs4(U"\U0001F600x") << 2;

    QTest::newRow("Python double quotes") << py << "self.setStyleSheet(\"QLabel { ^color: red }\")"
                                          << "QLabel { color: red }" << 9;
    QTest::newRow("Python single quotes with an escaped quote")
        << py << "w.setStyleSheet('a[x=\\'y\\'] { ^b: c }')"
        << "a[x='y'] { b: c }" << 11;
    QTest::newRow("Python triple quotes across lines")
        << py << "w.setStyleSheet(\"\"\"\nQLabel {\n    ^color: red;\n}\n\"\"\")"
        << "\nQLabel {\n    color: red;\n}\n"
        << 14;
    QTest::newRow("Python triple single quotes") << py << "w.setStyleSheet('''a {\n^b}''')"
                                                 << "a {\nb}" << 4;
    QTest::newRow("Python raw string keeps backslashes")
        << py << "w.setStyleSheet(r'a { b: \"\\n\" ^c }')"
        << "a { b: \"\\n\" c }" << 12;
    QTest::newRow("Python unicode prefix and escapes")
        << py << "w.setStyleSheet(u'\\x41\\u0041\\101\\t^b')"
        << "AAA\tb" << 4;
    QTest::newRow("Python implicit concatenation in parentheses")
        << py << "w.setStyleSheet(\n    \"a {\"  # open\n    '^b: c;'\n    \"}\"\n)"
        << "a {b: c;}" << 3;
    QTest::newRow("Python extra parentheses around the literals")
        << py << "w.setStyleSheet((\"a {\"\n \"^b}\"))"
        << "a {b}" << 3;
    QTest::newRow("Python unknown escape keeps its backslash") << py << "w.setStyleSheet(\"\\q^x\")"
                                                               << "\\qx" << 2;
    QTest::newRow("Python line continuation inside a literal")
        << py << "w.setStyleSheet(\"a {\\\n^b}\")"
        << "a {b}" << 3;

    QTest::newRow("form text")
        << ui
        << "<widget class=\"QLabel\" name=\"l\"><property name=\"styleSheet\"><string>"
           "QLabel { ^color: red }</string></property></widget>"
        << "QLabel { color: red }" << 9;
    QTest::newRow("form entities")
        << ui
        << "<widget class=\"QLabel\" name=\"l\"><property name=\"styleSheet\"><string>"
           "a &gt; b[x=&quot;1&quot;] &amp; { ^c: d }</string></property></widget>"
        << "a > b[x=\"1\"] & { c: d }" << 17;
    QTest::newRow("form character references")
        << ui
        << "<widget class=\"QLabel\" name=\"l\"><property name=\"styleSheet\">"
           "<string notr=\"true\" comment=\"x &lt; y\">a {&#10;&#x9;^b: c }</string>"
           "</property></widget>"
        << "a {\n\tb: c }" << 5;
    QTest::newRow("form CDATA")
        << ui
        << "<widget class=\"QLabel\" name=\"l\"><property name=\"styleSheet\"><string>"
           "a {<![CDATA[ b: \"<&>\"; ]]>&#10;^c: d }</string></property></widget>"
        << "a { b: \"<&>\"; \nc: d }" << 15;
    QTest::newRow("form lines end in CR LF")
        << ui
        << "<widget class=\"QLabel\" name=\"l\">\r\n<property name=\"styleSheet\"><string>a {\r\n"
           "^b: c }</string></property></widget>"
        << "a {\nb: c }" << 4;
}

void TestEmbeddedSheets::decodesAndMaps()
{
    QFETCH(EmbeddingLanguage, language);
    QFETCH(QString, source);
    QFETCH(QString, sheet);
    QFETCH(int, at);
    int mark = 0;
    const QString text = unmarked(source, &mark);
    const QVector<EmbeddedSheet> sheets = readEmbeddedSheets(language, text);
    QCOMPARE(sheets.size(), 1);
    const EmbeddedSheet &found = sheets.constFirst();
    QVERIFY2(found.checkable, qPrintable(found.reason));
    QCOMPARE(found.text, sheet);
    QCOMPARE(found.sourceOffsets.size(), found.text.size());
    QCOMPARE(found.sourceOffset(at), mark);
    // Every character maps inside the file, in order.
    for (int i = 1; i < found.text.size(); ++i)
        QVERIFY(found.sourceOffset(i) >= found.sourceOffset(i - 1));
    QVERIFY(found.sourceOffset(int(found.text.size())) <= found.endOffset);
    QVERIFY(found.endOffset <= text.size());
}

void TestEmbeddedSheets::runtimeSheetsAreNotGuessed_data()
{
    QTest::addColumn<EmbeddingLanguage>("language");
    QTest::addColumn<QString>("source");
    QTest::addColumn<QString>("reason");

    const auto cpp = EmbeddingLanguage::Cpp;
    const auto py = EmbeddingLanguage::Python;
    QTest::newRow("C++ variable") << cpp << "w->setStyleSheet(sheet);"
                                  << "variable";
    QTest::newRow("C++ translated, then .arg()")
        << cpp << "w->setStyleSheet(tr(\"a { color: %1 }\").arg(c));"
        << "translated";
    QTest::newRow("C++ joined with a call")
        << cpp << "w->setStyleSheet(\"a {\" + colour() + \"}\");"
        << "joined";
    QTest::newRow("C++ one of two literals")
        << cpp << "w->setStyleSheet(on ? \"a { b: c }\" : QStringLiteral(\"d {}\"));"
        << "chosen";
    QTest::newRow("C++ tr()") << cpp << "w->setStyleSheet(tr(\"a {}\"));"
                              << "translated";
    QTest::newRow("C++ a call") << cpp << "w->setStyleSheet(loadSheet(\"x.qss\"));"
                                << "call";
    QTest::newRow("Python % and then joined")
        << py << "w.setStyleSheet(\"a { color: %s }\" % c + \"b {}\")"
        << "%";
    QTest::newRow("Python bytes") << py << "w.setStyleSheet(b\"a {}\")"
                                  << "bytes";
    QTest::newRow("Python f-string filled in whole") << py << "w.setStyleSheet(f\"{sheet}\")"
                                                     << "whole";
    QTest::newRow("C++ .arg() filled in whole")
        << cpp << "w->setStyleSheet(QString(\"%1\").arg(sheet));"
        << "whole";
    QTest::newRow("Python joined") << py << "w.setStyleSheet(\"a {\" + body + \"}\")"
                                   << "joined";
    QTest::newRow("Python variable") << py << "w.setStyleSheet(SHEET)"
                                     << "variable";
    QTest::newRow("C++ variable assigned on two branches")
        << cpp
        << "void f() {\n  QString s = \"a {}\";\n  if (x) s = \"b {}\";\n  w->setStyleSheet(s);\n}"
        << "more than once";
    QTest::newRow("C++ variable added to")
        << cpp << "void f() {\n  QString s = \"a {}\";\n  s += extra;\n  w->setStyleSheet(s);\n}"
        << "more than once";
    QTest::newRow("C++ variable from a call")
        << cpp << "void f() {\n  const QString s = loadSheet();\n  w->setStyleSheet(s);\n}"
        << "whose value is made by a call";
    QTest::newRow("C++ local of another function")
        << cpp << "void f() { QString s = \"a {}\"; }\nvoid g() { w->setStyleSheet(s); }"
        << "not assigned";
    QTest::newRow("Python parameter shadowing a module constant")
        << py << "s = 'a {}'\ndef f(w, s):\n    w.setStyleSheet(s)\n"
        << "parameter";
    QTest::newRow("C++ member of the class") << cpp << "void W::f() { w->setStyleSheet(m_sheet); }"
                                             << "not assigned";
    QTest::newRow("C++ compared, then assigned in another function")
        << cpp
        << "QString s = \"a {}\";\nvoid f() { if (s == t) {} }\nvoid g() { s = load(); }\n"
           "void h() { w->setStyleSheet(s); }"
        << "more than once";
    QTest::newRow("Python keyword argument is no assignment")
        << py << "def f(w):\n    make(\n        s='a {}')\n    w.setStyleSheet(s)\n"
        << "not assigned";
    QTest::newRow("Python local of another function")
        << py << "def f():\n    s = 'a {}'\n\ndef g(w):\n    w.setStyleSheet(s)\n"
        << "not assigned";
    QTest::newRow("Python module constant assigned twice")
        << py << "S = 'a {}'\nif dark:\n    S = 'b {}'\nw.setStyleSheet(S)\n"
        << "more than once";
}

void TestEmbeddedSheets::runtimeSheetsAreNotGuessed()
{
    QFETCH(EmbeddingLanguage, language);
    QFETCH(QString, source);
    QFETCH(QString, reason);
    const QVector<EmbeddedSheet> sheets = readEmbeddedSheets(language, source);
    QCOMPARE(sheets.size(), 1);
    QVERIFY(!sheets.constFirst().checkable);
    QVERIFY(sheets.constFirst().text.isEmpty());
    QVERIFY2(sheets.constFirst().reason.contains(reason), qPrintable(sheets.constFirst().reason));
    const int call = int(source.indexOf(QLatin1String("setStyleSheet(")));
    QCOMPARE(sheets.constFirst().offset, int(source.indexOf(QLatin1Char('('), call)) + 1);
}

void TestEmbeddedSheets::followedAndMarkedSheets_data()
{
    QTest::addColumn<EmbeddingLanguage>("language");
    QTest::addColumn<QString>("source"); // "^" where the one sheet's text starts
    QTest::addColumn<QString>("text");

    const auto cpp = EmbeddingLanguage::Cpp;
    const auto py = EmbeddingLanguage::Python;
    QTest::newRow("C++ local assigned once, passed twice")
        << cpp
        << "void f() {\n  const QString sheet = QStringLiteral(\"^a { b: c }\");\n"
           "  x->setStyleSheet(sheet);\n  y->setStyleSheet(sheet);\n}"
        << "a { b: c }";
    QTest::newRow("C++ file-level constant in a namespace")
        << cpp
        << "namespace {\nconst char kSheet[] = \"^a {}\";\n}\nvoid f() { w->setStyleSheet(kSheet); "
           "}"
        << "a {}";
    QTest::newRow("C++ .arg() on a variable")
        << cpp << "void f() {\n  QString s(\"^a { color: %1 }\");\n  w->setStyleSheet(s.arg(c));\n}"
        << "a { color: #808080 }";
    QTest::newRow("Python % on a module constant")
        << py << "S = '^a { margin: %spx }'\nw.setStyleSheet(S % m)\n"
        << "a { margin: 1px }";
    QTest::newRow("C++ namespaced constant through a wrapper")
        << cpp
        << "namespace Names {\nconstexpr char sheet[] = \"^a {}\";\n}\n"
           "void f() { w->setStyleSheet(QString::fromLatin1(Names::sheet)); }"
        << "a {}";
    QTest::newRow("C++ marked literal in a table")
        << cpp << "const QMap<QString, QString> sheets{{\"dark\", /* qss */ \"^a { b: c }\"}};"
        << "a { b: c }";
    QTest::newRow("C++ marked wrapper") << cpp << "auto s = /*qss*/ QStringLiteral(\"^a {}\");"
                                        << "a {}";
    QTest::newRow("Python module constant used in a method")
        << py
        << "SHEET = '^a { b: c }'\n\nclass W:\n    def f(self):\n        "
           "self.setStyleSheet(SHEET)\n"
        << "a { b: c }";
    QTest::newRow("Python local f-string")
        << py << "def f(w, c):\n    s = f'^a {{ color: {c} }}'\n    w.setStyleSheet(s)\n"
        << "a { color: #808080 }";
    QTest::newRow("Python marked value of a dict")
        << py << "SHEETS = {\n    # qss\n    'dark': '^a { b: c }',\n}\n"
        << "a { b: c }";
    QTest::newRow("Python marked constant, also passed by name")
        << py << "# qss\nDARK = '^a {}'\nw.setStyleSheet(DARK)\n"
        << "a {}";
    // An attribute may be set by any method, in any order: followed only when one
    // statement of the file gives it a value.
    QTest::newRow("Python attribute set in __init__, passed in another method")
        << py
        << "class W:\n    def __init__(self):\n        self.sheet = '^a { b: c }'\n\n"
           "    def show(self):\n        self.setStyleSheet(self.sheet)\n"
        << "a { b: c }";
    QTest::newRow("Python attribute template filled with .format()")
        << py
        << "class W:\n    def __init__(self):\n        self.tpl = '^a {{ color: {} }}'\n"
           "        self.setStyleSheet(self.tpl.format(c))\n"
        << "a { color: #808080 }";
    QTest::newRow("Python attribute set by two methods")
        << py
        << "class W:\n    def __init__(self):\n        self.sheet = 'a {}'\n"
           "    def dark(self):\n        self.sheet = 'b {}'\n"
           "        self.setStyleSheet(self.sheet)\n"
        << "";
    QTest::newRow("Python attribute changed in place")
        << py
        << "class W:\n    def __init__(self):\n        self.sheet = 'a {}'\n"
           "        self.sheet += 'b {}'\n        self.setStyleSheet(self.sheet)\n"
        << "";
}

void TestEmbeddedSheets::followedAndMarkedSheets()
{
    QFETCH(EmbeddingLanguage, language);
    QFETCH(QString, source);
    QFETCH(QString, text);
    int mark = 0;
    const QString file = unmarked(source, &mark);
    const QVector<EmbeddedSheet> sheets = readEmbeddedSheets(language, file);
    if (text.isEmpty()) { // not followed: told where it is passed
        QCOMPARE(sheets.size(), 1);
        QVERIFY(!sheets.constFirst().checkable);
        return;
    }
    QCOMPARE(sheets.size(), 1);
    QVERIFY2(sheets.constFirst().checkable, qPrintable(sheets.constFirst().reason));
    QCOMPARE(sheets.constFirst().text, text);
    QCOMPARE(sheets.constFirst().offset, mark);
}

void TestEmbeddedSheets::skipsWhatIsNoCall_data()
{
    QTest::addColumn<EmbeddingLanguage>("language");
    QTest::addColumn<QString>("source");

    const auto cpp = EmbeddingLanguage::Cpp;
    const auto py = EmbeddingLanguage::Python;
    const auto ui = EmbeddingLanguage::Form;
    QTest::newRow("C++ line comment") << cpp << "// w->setStyleSheet(\"a {}\");\n";
    QTest::newRow("C++ block comment") << cpp << "/* w->setStyleSheet(\"a {}\"); */";
    QTest::newRow("C++ inside another string") << cpp << "puts(\"setStyleSheet(\\\"a {}\\\")\");";
    QTest::newRow("C++ inside a raw string") << cpp << "puts(R\"(setStyleSheet(\"a {}\"))\");";
    QTest::newRow("C++ declaration") << cpp << "void setStyleSheet(const QString &sheet);";
    QTest::newRow("C++ definition")
        << cpp << "void Widget::setStyleSheet(const QString &sheet) { apply(sheet); }";
    QTest::newRow("C++ sheet cleared") << cpp << "w->setStyleSheet(QString());";
    QTest::newRow("C++ empty literal") << cpp << "w->setStyleSheet(\"\");";
    QTest::newRow("C++ SIGNAL() signature")
        << cpp << "connect(a, SIGNAL(setStyleSheet(QString)), b, SLOT(update()));";
    QTest::newRow("C++ SLOT() signature")
        << cpp << "connect(a, SIGNAL(changed(QString)), b, SLOT(setStyleSheet(QString)));";
    QTest::newRow("C++ sheet cleared with braces") << cpp << "w->setStyleSheet(QString{});";
    QTest::newRow("C++ sheet cleared with {}") << cpp << "w->setStyleSheet({});";
    QTest::newRow("C++ empty user-defined literal") << cpp << "w->setStyleSheet(u\"\"_s);";
    QTest::newRow("C++ member pointer") << cpp << "connect(a, &A::s, b, &QWidget::setStyleSheet);";
    QTest::newRow("C++ call never closes") << cpp << "w->setStyleSheet(\"a {}\"";
    QTest::newRow("C++ statement ends before the call closes")
        << cpp << "w->setStyleSheet(\n    \"a {}\"; f(\"b\")\n);";
    QTest::newRow("Python comment") << py << "# w.setStyleSheet('a {}')\n";
    QTest::newRow("Python inside another string") << py << "x = 'w.setStyleSheet(\"a {}\")'";
    QTest::newRow("Python inside a docstring") << py << "\"\"\"\nw.setStyleSheet('a {}')\n\"\"\"";
    QTest::newRow("Python statement ends before the call closes")
        << py << "w.setStyleSheet(\n    \"a {}\"; print(\"b\")\n)";
    QTest::newRow("Python sheet cleared with None") << py << "w.setStyleSheet(None)";
    QTest::newRow("Python empty string") << py << "w.setStyleSheet('')";
    QTest::newRow("Python method definition") << py << "def setStyleSheet(self, sheet):\n    pass";
    QTest::newRow("form other property")
        << ui
        << "<widget class=\"QLabel\" name=\"l\"><property name=\"text\"><string>a {}</string>"
           "</property></widget>";
    QTest::newRow("form comment")
        << ui << "<!-- <property name=\"styleSheet\"><string>a {}</string></property> -->";
    QTest::newRow("form empty string")
        << ui
        << "<widget class=\"QLabel\" name=\"l\"><property name=\"styleSheet\"><string/>"
           "</property></widget>";
}

void TestEmbeddedSheets::skipsWhatIsNoCall()
{
    QFETCH(EmbeddingLanguage, language);
    QFETCH(QString, source);
    const QVector<EmbeddedSheet> sheets = readEmbeddedSheets(language, source);
    QVERIFY2(sheets.isEmpty(), qPrintable(sheets.value(0).text + sheets.value(0).reason));
}

void TestEmbeddedSheets::formPropertyNamesItsWidget()
{
    const QString form = QStringLiteral(
        "<ui version=\"4.0\"><class>Dialog</class>\n"
        "<widget class=\"QDialog\" name=\"Dialog\">\n"
        " <property name=\"styleSheet\"><string>QDialog { background: white; "
        "}</string></property>\n"
        " <layout class=\"QVBoxLayout\" name=\"layout\"><item>\n"
        "  <widget class=\"QPushButton\" name=\"saveButton\">\n"
        "   <property name=\"styleSheet\"><string notr=\"true\">color: red;</string></property>\n"
        "  </widget></item><item>\n"
        "  <widget class=\"QLabel\" name=\"label\"/></item>\n"
        " </layout>\n"
        " <widget class=\"QFrame\" name=\"frame\"><property name=\"styleSheet\">"
        "<string>border: none;</string></property></widget>\n"
        "</widget></ui>\n");
    const QVector<EmbeddedSheet> sheets = readFormSheets(form);
    QCOMPARE(sheets.size(), 3);
    QCOMPARE(sheets.at(0).widgetClass, QStringLiteral("QDialog"));
    QCOMPARE(sheets.at(0).objectName, QStringLiteral("Dialog"));
    QCOMPARE(sheets.at(1).widgetClass, QStringLiteral("QPushButton"));
    QCOMPARE(sheets.at(1).objectName, QStringLiteral("saveButton"));
    QCOMPARE(sheets.at(1).line, 6);
    QCOMPARE(sheets.at(1).column, 52);
    QCOMPARE(sheets.at(2).objectName, QStringLiteral("frame"));
}

void TestEmbeddedSheets::linesAndColumnsCountCharacters()
{
    // "é" and an astral character before the literal each count one column.
    const QString source =
        QString::fromUtf8("// é\nx = \"\xF0\x9F\x98\x80\"; w->setStyleSheet(\"a {}\");");
    const QVector<EmbeddedSheet> sheets = readCppSheets(source);
    QCOMPARE(sheets.size(), 1);
    QCOMPARE(sheets.constFirst().line, 2);
    QCOMPARE(sheets.constFirst().column, 28);
}

void TestEmbeddedSheets::readerFollowsTheSuffix_data()
{
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<EmbeddingLanguage>("language");
    QTest::newRow("form") << "dialog.ui" << EmbeddingLanguage::Form;
    QTest::newRow("header") << "src/widget.hpp" << EmbeddingLanguage::Cpp;
    QTest::newRow("upper-case source") << "MAIN.CPP" << EmbeddingLanguage::Cpp;
    QTest::newRow("cxx") << "a.cxx" << EmbeddingLanguage::Cpp;
    QTest::newRow("python") << "app/main.py" << EmbeddingLanguage::Python;
    QTest::newRow("style sheet") << "theme.qss" << EmbeddingLanguage::None;
}

void TestEmbeddedSheets::readerFollowsTheSuffix()
{
    QFETCH(QString, fileName);
    QFETCH(EmbeddingLanguage, language);
    QCOMPARE(embeddingLanguage(fileName), language);
}

QTEST_GUILESS_MAIN(TestEmbeddedSheets)
#include "tst_embeddedsheets.moc"
