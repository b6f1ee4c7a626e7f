// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "analysis/toolkitparse.h"
#include "embedded/embeddedformat.h"

#include <QtTest>

Q_DECLARE_METATYPE(EmbeddingLanguage)

// prismark-fmt --embedded: each sheet laid out inside its literal at the literal's
// indentation, the rest of the file as it was, and sheets it cannot lay out left alone.
class TestEmbeddedFormat : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { quietToolkitParserMessages(); }
    void laysOutInsideTheLiteral_data();
    void laysOutInsideTheLiteral();
    void leavesAlone_data();
    void leavesAlone();
};

void TestEmbeddedFormat::laysOutInsideTheLiteral_data()
{
    QTest::addColumn<EmbeddingLanguage>("language");
    QTest::addColumn<QString>("source");
    QTest::addColumn<QString>("formatted");

    QTest::newRow("C++ joined literals, one per line at the first one's column")
        << EmbeddingLanguage::Cpp
        << "  w->setStyleSheet(u\"QLabel{color:red}\"_s\n      u\"QFrame{border:none}\"_s);\n"
        << "  w->setStyleSheet(u\"QLabel {\\n\"_s\n"
           "                   u\"    color: red;\\n\"_s\n"
           "                   u\"}\\n\"_s\n"
           "                   u\"\\n\"_s\n"
           "                   u\"QFrame {\\n\"_s\n"
           "                   u\"    border: none;\\n\"_s\n"
           "                   u\"}\"_s);\n";
    QTest::newRow("C++ raw literal keeps its indentation and CR LF")
        << EmbeddingLanguage::Cpp
        << "w->setStyleSheet(R\"(\r\n    QLabel{color:\"red\"}\r\n)\");\r\n"
        << "w->setStyleSheet(R\"(\r\n    QLabel {\r\n        color: \"red\";\r\n    }\r\n)\");\r\n";
    QTest::newRow("Python triple-quoted keeps its indentation")
        << EmbeddingLanguage::Python
        << "        self.setStyleSheet('''\n            QLabel{color:red}\n        ''')\n"
        << "        self.setStyleSheet('''\n            QLabel {\n                color: red;\n"
           "            }\n        ''')\n";
    QTest::newRow("Python single-quoted with a quote inside")
        << EmbeddingLanguage::Python << "w.setStyleSheet('QLabel{font-family:\"A\\'s\"}')"
        << "w.setStyleSheet('QLabel {\\n'\n                '    font-family: \"A\\'s\";\\n'\n"
           "                '}')";
    QTest::newRow("form text escaped as XML")
        << EmbeddingLanguage::Form
        << "<widget class=\"QFrame\" name=\"f\"><property name=\"styleSheet\"><string>"
           "QFrame &gt; QLabel{color:red}</string></property></widget>"
        << "<widget class=\"QFrame\" name=\"f\"><property name=\"styleSheet\"><string>"
           "QFrame &gt; QLabel {\n    color: red;\n}</string></property></widget>";
}

void TestEmbeddedFormat::laysOutInsideTheLiteral()
{
    QFETCH(EmbeddingLanguage, language);
    QFETCH(QString, source);
    QFETCH(QString, formatted);
    const EmbeddedFormatResult result =
        formatEmbeddedSheets(source, language, SheetFormatOptions());
    QCOMPARE(result.notices, QStringList());
    QCOMPARE(result.text, formatted);
    QCOMPARE(result.formatted, 1);
    const EmbeddedFormatResult again =
        formatEmbeddedSheets(result.text, language, SheetFormatOptions());
    QCOMPARE(again.text, result.text);
}

void TestEmbeddedFormat::leavesAlone_data()
{
    QTest::addColumn<EmbeddingLanguage>("language");
    QTest::addColumn<QString>("source");
    QTest::addColumn<QString>("why");

    QTest::newRow("a widget's bare declarations")
        << EmbeddingLanguage::Cpp << "w->setStyleSheet(\"color:red;\");"
        << "without a selector";
    QTest::newRow("a comment between the literals would be lost")
        << EmbeddingLanguage::Cpp << "w->setStyleSheet(\"QLabel{\" // open\n \"color:red}\");"
        << "cannot take";
    QTest::newRow("a sheet the toolkit rejects")
        << EmbeddingLanguage::Python << "w.setStyleSheet('QLabel { color: red; }}')"
        << "rejects";
    QTest::newRow("a template, its stand-ins not to be written")
        << EmbeddingLanguage::Python << "w.setStyleSheet(f'QLabel{{color:{c}}}')"
        << "template";
    QTest::newRow("a form's CDATA")
        << EmbeddingLanguage::Form
        << "<widget class=\"QFrame\" name=\"f\"><property name=\"styleSheet\"><string>"
           "<![CDATA[QLabel{color:red}]]></string></property></widget>"
        << "CDATA";
}

void TestEmbeddedFormat::leavesAlone()
{
    QFETCH(EmbeddingLanguage, language);
    QFETCH(QString, source);
    QFETCH(QString, why);
    const EmbeddedFormatResult result =
        formatEmbeddedSheets(source, language, SheetFormatOptions());
    QCOMPARE(result.text, source);
    QCOMPARE(result.notices.size(), 1);
    QVERIFY2(result.notices.constFirst().contains(why), qPrintable(result.notices.constFirst()));
}

QTEST_GUILESS_MAIN(TestEmbeddedFormat)
#include "tst_embeddedformat.moc"
