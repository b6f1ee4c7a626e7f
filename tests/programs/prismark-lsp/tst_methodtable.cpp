// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "prismark-lsp/server/methodtable.h"

#include <QtTest>

Q_DECLARE_METATYPE(ServedFeatures)

// What initialize announces, read from the method table: a capability is announced
// exactly when a method that needs it is served, and the parts of one merge.
class TestMethodTable : public QObject
{
    Q_OBJECT

private slots:
    void announcedExactlyWhenServed_data();
    void announcedExactlyWhenServed();
    void partsOfOneCapabilityMerge();
};

void TestMethodTable::announcedExactlyWhenServed_data()
{
    QTest::addColumn<ServedFeatures>("features");
    QTest::newRow("every feature") << ServedFeatures::All;
    QTest::newRow("embedded sheets only") << ServedFeatures::EmbeddedSheets;
}

void TestMethodTable::announcedExactlyWhenServed()
{
    QFETCH(ServedFeatures, features);
    const QJsonObject announced = MethodTable::capabilities(features);
    QSet<QString> served;
    for (const Method &method : MethodTable::methods()) {
        QCOMPARE(MethodTable::find(method.name), &method);
        // A request nothing announces is one no client asks for.
        QVERIFY2(!method.answer || !method.announces.isEmpty(), qPrintable(method.name));
        if (!MethodTable::serves(method, features))
            continue;
        for (const QString &key : method.announces.keys()) {
            QVERIFY2(announced.contains(key), qPrintable(method.name));
            served.insert(key);
        }
    }
    const QStringList keys = announced.keys();
    QCOMPARE(QSet<QString>(keys.cbegin(), keys.cend()), served);
    // Inside forms and sources the sheet features alone are served.
    QCOMPARE(announced.contains(QLatin1String("renameProvider")), features == ServedFeatures::All);
    QVERIFY(announced.value(QLatin1String("codeActionProvider")).isObject());
}

void TestMethodTable::partsOfOneCapabilityMerge()
{
    const QJsonObject announced = MethodTable::capabilities(ServedFeatures::All);
    const QJsonObject sync = announced.value(QLatin1String("textDocumentSync")).toObject();
    QCOMPARE(sync.value(QLatin1String("openClose")).toBool(), true);
    QCOMPARE(sync.value(QLatin1String("change")).toInt(), 2);
    QVERIFY(sync.value(QLatin1String("save")).isObject());
    // rename's bare true and its preparation's options: the options stand for it.
    QCOMPARE(announced.value(QLatin1String("renameProvider")).toObject(),
             QJsonObject({{QStringLiteral("prepareProvider"), true}}));
}

QTEST_GUILESS_MAIN(TestMethodTable)
#include "tst_methodtable.moc"
