// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "tokens/jsonreader.h"

#include <QtTest>

// The token files' JSON reader: a finding must name the line and column the author
// has to change, and objects keep the order the file gives.
class TestJsonReader : public QObject
{
    Q_OBJECT

private slots:
    void errorsStandWhereTheFaultIs_data();
    void errorsStandWhereTheFaultIs();
    void placesOfKeysAndValues();
};

void TestJsonReader::errorsStandWhereTheFaultIs_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("where"); // line:column
    QTest::addColumn<QString>("says");
    QTest::newRow("a key given twice, at the second") << "{\"a\": 1, \"a\": 2}"
                                                      << "1:10"
                                                      << "\"a\" is given twice";
    QTest::newRow("a key given twice, lines apart") << "{\n  \"b\": {\"x\": 1},\n  \"b\": 2\n}"
                                                    << "3:3"
                                                    << "\"b\" is given twice";
    QTest::newRow("after a multi-line string of escapes")
        << "{\n  \"s\": \"\\n\\u0041\\\\\",\n  x\n}"
        << "3:3"
        << "expected a key";
    QTest::newRow("a trailing comma in an array") << "[1, 2,\n ]"
                                                  << "2:2"
                                                  << "expected a value, found ']'";
    QTest::newRow("a string not closed") << "{\"a\": \"abc"
                                         << "1:11"
                                         << "unterminated string";
    QTest::newRow("a line break inside a string") << "\"a\nb\""
                                                  << "1:3"
                                                  << "control character";
    QTest::newRow("a short \\u escape") << "\"\\u12\""
                                        << "1:3"
                                        << "four hexadecimal digits";
    QTest::newRow("a leading zero") << "01"
                                    << "1:2"
                                    << "unexpected text after the document";
    QTest::newRow("a number too large") << "[0, 1e999]"
                                        << "1:5"
                                        << "number out of range";
    QTest::newRow("an exponent without digits") << "1e+"
                                                << "1:4"
                                                << "malformed number";
    QTest::newRow("nothing at all") << "  "
                                    << "1:3"
                                    << "unexpected end of the file";
    QTest::newRow("nesting without end") << QString(100000, QLatin1Char('[')) << "1:"
                                         << "nested deeper than";
}

void TestJsonReader::errorsStandWhereTheFaultIs()
{
    QFETCH(QString, text);
    QFETCH(QString, where);
    QFETCH(QString, says);
    const JsonReadResult result = readJson(text);
    QVERIFY(!result.ok);
    QVERIFY2(result.error.contains(says), qPrintable(result.error));
    QVERIFY2(QStringLiteral("%1:%2").arg(result.line).arg(result.column).startsWith(where),
             qPrintable(QStringLiteral("%1:%2").arg(result.line).arg(result.column)));
}

namespace {
// "key@line:col=value@line:col" for every member, depth first, in the node's order.
QStringList places(const JsonNode &node)
{
    QStringList result;
    for (const JsonNode &item : node.items)
        result << QStringLiteral("[]=%1:%2").arg(item.line).arg(item.column) << places(item);
    for (const JsonMember &member : node.members)
        result << QStringLiteral("%1@%2:%3=%4:%5")
                      .arg(member.key)
                      .arg(member.line)
                      .arg(member.column)
                      .arg(member.value.line)
                      .arg(member.value.column)
               << places(member.value);
    return result;
}
} // namespace

void TestJsonReader::placesOfKeysAndValues()
{
    const JsonReadResult result = readJson(
        QStringLiteral("{\n  \"z\": [true,\n\tnull],\r\n  \"a\" : {\"c\": \"\\u00e9\"}\n}"));
    QVERIFY2(result.ok, qPrintable(result.error));
    QCOMPARE(places(result.root),
             (QStringList{"z@2:3=2:8", "[]=2:9", "[]=3:2", "a@4:3=4:9", "c@4:10=4:15"}));
    QCOMPARE(result.root.member(QStringLiteral("a"))->member(QStringLiteral("c"))->string,
             QString(QChar(0xe9)));
    QVERIFY(!result.root.member(QStringLiteral("c")));
}

QTEST_GUILESS_MAIN(TestJsonReader)
#include "tst_jsonreader.moc"
