// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "prismark-lsp/server/documentstore.h"

#include <QtTest>

// The open documents as the client's notifications keep them, their diagnostics
// published for the text they were found in, and the requests that wait for those.
class TestDocumentStore : public QObject
{
    Q_OBJECT

private slots:
    void changesApplyInOrder_data();
    void changesApplyInOrder();
    void waitingRequestEnds_data();
    void waitingRequestEnds();
};

namespace {
const QString kUri = QStringLiteral("file:///tmp/prismark-store-test/sheet.qss");

class Recorder : public Outbox
{
public:
    void respond(const QJsonValue &id, const QJsonValue &result) override
    {
        sent.append(QJsonObject{{"id", id}, {"result", result}});
    }
    void respondError(const QJsonValue &id, int code, const QString &) override
    {
        sent.append(QJsonObject{{"id", id}, {"error", code}});
    }
    void notify(const QString &method, const QJsonObject &params) override
    {
        sent.append(QJsonObject{{"method", method}, {"params", params}});
    }
    // The diagnostics published for uri, as many as were, with their versions (-1: none).
    QVector<int> publishedVersions(const QString &uri = kUri) const
    {
        QVector<int> versions;
        for (const QJsonObject &message : sent) {
            const QJsonObject params = message.value("params").toObject();
            if (params.value("uri").toString() == uri)
                versions.append(params.value("version").toInt(-1));
        }
        return versions;
    }
    QVector<QJsonObject> sent;
};

QJsonObject opened(const QString &text)
{
    return {{"textDocument",
             QJsonObject{{"uri", kUri}, {"languageId", "qss"}, {"version", 1}, {"text", text}}}};
}

QJsonObject changed(int version, const QJsonArray &changes)
{
    return {{"textDocument", QJsonObject{{"uri", kUri}, {"version", version}}},
            {"contentChanges", changes}};
}

QJsonObject rangeChange(int startColumn, int endColumn, const QString &text)
{
    const auto position = [](int column) {
        return QJsonObject{{"line", 0}, {"character", column}};
    };
    return {{"range", QJsonObject{{"start", position(startColumn)}, {"end", position(endColumn)}}},
            {"text", text}};
}

// Lets the analyses hand their findings back until version's are published.
bool published(DocumentStore &store, const Recorder &recorder, int version)
{
    for (int round = 0; round < 100 && !recorder.publishedVersions().contains(version); ++round) {
        store.waitForAnalyses();
        QCoreApplication::processEvents();
    }
    return recorder.publishedVersions().contains(version);
}
} // namespace

void TestDocumentStore::changesApplyInOrder_data()
{
    QTest::addColumn<QJsonArray>("changes");
    QTest::addColumn<QString>("text");
    QTest::newRow("ranges, each in the text the one before left")
        << QJsonArray{rangeChange(0, 6, "QFrame"), rangeChange(9, 14, "border")}
        << "QFrame { border: red; }";
    QTest::newRow("a whole text, then a range in it")
        << QJsonArray{QJsonObject{{"text", "QWidget {}"}}, rangeChange(7, 7, "#a")}
        << "QWidget#a {}";
}

void TestDocumentStore::changesApplyInOrder()
{
    QFETCH(QJsonArray, changes);
    QFETCH(QString, text);
    Recorder recorder;
    DocumentStore store(recorder);
    store.open(opened("QLabel { color: red; }"));
    store.change(changed(2, changes));
    ResponseError error;
    const OpenDocument *document = store.requested(opened(QString()), &error);
    QVERIFY(document);
    QCOMPARE(document->text.text(), text);
    QCOMPARE(document->text.version, 2);
    QVERIFY(published(store, recorder, 2));
    // The first text's findings, superseded before they were ready, are never published.
    QVERIFY(!recorder.publishedVersions().contains(1));
}

void TestDocumentStore::waitingRequestEnds_data()
{
    QTest::addColumn<QString>("end");
    QTest::addColumn<QString>("reply");
    QTest::newRow("analysed: answered from the new text's findings") << "analysed"
                                                                     << "result";
    QTest::newRow("cancelled") << "cancel"
                               << "error";
    QTest::newRow("closed: no items") << "close"
                                      << "result";
}

void TestDocumentStore::waitingRequestEnds()
{
    QFETCH(QString, end);
    QFETCH(QString, reply);
    Recorder recorder;
    DocumentStore store(recorder);
    store.open(opened("QLabel { border: none; }"));
    QVERIFY(published(store, recorder, 1));
    ResponseError error;
    OpenDocument *document = store.requested(opened(QString()), &error);
    QVERIFY(document->published.isEmpty());
    store.change(changed(2, {QJsonObject{{"text", "QLabel { bordr: none; }"}}}));
    int findings = -1;
    const auto answer = [&findings](OpenDocument &analysed) {
        findings = analysed.published.size();
        return QJsonValue(findings);
    };
    QVERIFY(store.deferUntilAnalysed(*document, 7, answer));
    if (end == QLatin1String("cancel"))
        store.cancel({{"id", 7}});
    else if (end == QLatin1String("close"))
        store.close(opened(QString()));
    QVERIFY(published(store, recorder, end == QLatin1String("close") ? -1 : 2));
    QJsonObject answered;
    for (const QJsonObject &message : qAsConst(recorder.sent)) {
        if (message.contains("id")) {
            QVERIFY2(answered.isEmpty(), "answered twice");
            answered = message;
        }
    }
    QCOMPARE(answered.value("id").toInt(), 7);
    QVERIFY(answered.contains(reply));
    if (end == QLatin1String("analysed")) {
        // The old text had none: the answer saw the new text's.
        QVERIFY(findings > 0);
        QCOMPARE(answered.value("result").toInt(), findings);
    } else {
        QCOMPARE(findings, -1);
        QCOMPARE(answered.value(reply),
                 end == QLatin1String("close") ? QJsonValue(QJsonArray()) : QJsonValue(-32800));
    }
}

QTEST_GUILESS_MAIN(TestDocumentStore)
#include "tst_documentstore.moc"
