// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "tokens/sourcemap.h"

#include <QtTest>

// A rendered template's places traced back to the template, and to a token's $value
// where a reference put it there.
class TestSourceMap : public QObject
{
    Q_OBJECT

private slots:
    void origins_data();
    void origins();
    void tokensInAStretch();
};

namespace {
const QString kTemplate = QStringLiteral("QLabel { color: {fg}; }\nQFrame { }\n");
const QString kOutput = QStringLiteral("QLabel { color: #101010; }\nQFrame { }\n");

// The template rendered with {fg} as "#101010", whose $value stands at line 3,
// column 14 of the token file.
SourceMap renderedMap()
{
    SourceMap map;
    map.addCopy(0, 16, 0);
    map.addValue(16, 23, 16, QStringLiteral("fg"),
                 SourcePosition{QStringLiteral("tokens.json"), 3, 14});
    map.addCopy(23, int(kOutput.size()), 20);
    map.finish(QStringLiteral("theme.qss.in"), kTemplate, kOutput);
    return map;
}

QString described(const SourcePosition &where)
{
    return QStringLiteral("%1:%2:%3").arg(where.file).arg(where.line).arg(where.column);
}
} // namespace

void TestSourceMap::origins_data()
{
    QTest::addColumn<int>("line");
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("where");
    QTest::addColumn<QString>("templateWhere");
    QTest::addColumn<QString>("token");
    const QString start = "theme.qss.in:1:17";
    QTest::newRow("copied text before a value") << 1 << 1 << "theme.qss.in:1:1"
                                                << "theme.qss.in:1:1" << QString();
    QTest::newRow("a value's first character") << 1 << 17 << "tokens.json:3:14" << start << "fg";
    QTest::newRow("a value's last character") << 1 << 23 << "tokens.json:3:14" << start << "fg";
    QTest::newRow("copied text after a value, past the reference")
        << 1 << 24 << "theme.qss.in:1:21"
        << "theme.qss.in:1:21" << QString();
    QTest::newRow("a column past the line's end stops at its end")
        << 1 << 99 << "theme.qss.in:1:24"
        << "theme.qss.in:1:24" << QString();
    QTest::newRow("the next line, shifted back by the value's length")
        << 2 << 3 << "theme.qss.in:2:3"
        << "theme.qss.in:2:3" << QString();
    QTest::newRow("a line past the end is the template's end") << 9 << 1 << "theme.qss.in:3:1"
                                                               << "theme.qss.in:3:1" << QString();
}

void TestSourceMap::origins()
{
    QFETCH(int, line);
    QFETCH(int, column);
    QFETCH(QString, where);
    QFETCH(QString, templateWhere);
    QFETCH(QString, token);
    const SourceMap map = renderedMap();
    const SourceMap::Origin origin = map.originAt(line, column);
    QCOMPARE(described(origin.where), where);
    QCOMPARE(described(origin.templateWhere), templateWhere);
    QCOMPARE(origin.tokenPath, token);
    QCOMPARE(origin.copied, token.isEmpty());
    QCOMPARE(described(map.originOf(100000).where), QString("theme.qss.in:3:1"));
}

void TestSourceMap::tokensInAStretch()
{
    const SourceMap map = renderedMap();
    QCOMPARE(map.tokensIn(0, int(kOutput.size())), QStringList{"fg"});
    QCOMPARE(map.tokensIn(22, 23), QStringList{"fg"});
    QCOMPARE(map.tokensIn(23, int(kOutput.size())), QStringList());
    QCOMPARE(map.tokensIn(0, 16), QStringList());
    const QVector<SourceMap::Origin> origins = map.tokenOriginsIn(0, 20);
    QCOMPARE(origins.size(), 1);
    QCOMPARE(described(origins.first().where), QString("tokens.json:3:14"));
    QCOMPARE(described(origins.first().templateWhere), QString("theme.qss.in:1:17"));
}

QTEST_GUILESS_MAIN(TestSourceMap)
#include "tst_sourcemap.moc"
