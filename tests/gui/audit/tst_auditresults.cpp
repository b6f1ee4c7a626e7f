// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "audit/auditresults.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QtTest>

// The audit's results as an attached application writes them and prismark-shot
// reads them back: every finding, gap and strip as it was, and from a document that
// is not what it should be, nothing that could reach outside the folder.
class TestAuditResults : public QObject
{
    Q_OBJECT
private slots:
    void readsBackWhatWasWritten();
    void strangeDocuments_data();
    void strangeDocuments();
};

namespace {

QImage swatch(QRgb colour)
{
    QImage image(4, 3, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

AuditResults sampleResults()
{
    AuditResults results;
    AuditFinding finding;
    finding.tab = QStringLiteral("mainWindow");
    finding.object = QStringLiteral("okButton");
    finding.state = AuditState::Focus;
    finding.check = NoVisibleFocus;
    finding.figures = QStringLiteral("12 pixels change");
    finding.sheetFile = QStringLiteral("/sheets/app.qss");
    finding.rule = QStringLiteral("QPushButton:focus");
    finding.line = 7;
    finding.column = 1;
    finding.ruleNamesState = true;
    results.states.findings << finding;
    WcagFinding wcag;
    wcag.tab = QStringLiteral("mainWindow");
    wcag.object = QStringLiteral("nameEdit");
    wcag.state = AuditState::Hover;
    wcag.criterion = NonTextContrast;
    wcag.severity = WcagSeverity::Advice;
    wcag.part = QStringLiteral("border");
    wcag.figures = QStringLiteral("2.10:1");
    wcag.place = {QStringLiteral("/sheets/app.qss"), QStringLiteral("QLineEdit"), 3, 5, false};
    wcag.crop = swatch(qRgb(200, 0, 0));
    results.wcag.findings << wcag;
    results.states.gaps << AuditGap{
        QString(),           QStringLiteral("mainWindow"),       QStringLiteral("countSpin"),
        AuditState::Pressed, QStringLiteral("the pressed look"), QStringLiteral("why")};
    results.wcag.gaps = results.states.gaps;
    results.wcag.gaps << AuditGap{
        QString(),          QStringLiteral("mainWindow"),      QStringLiteral("itemList"),
        AuditState::Normal, QStringLiteral("the items' text"), QStringLiteral("why")};
    results.strips.append(
        {QStringLiteral("mainWindow"), {{QStringLiteral("okButton"), swatch(qRgb(0, 0, 200))}}});
    return results;
}

// Images by name, as a folder would hold them.
struct ImageShelf
{
    QMap<QString, QImage> images;
    QStringList asked;
    QString store(const QImage &image)
    {
        const QString name = QStringLiteral("image-%1.png").arg(images.size() + 1);
        images.insert(name, image);
        return name;
    }
    QImage load(const QString &name)
    {
        asked << name;
        return images.value(name);
    }
};

} // namespace

void TestAuditResults::readsBackWhatWasWritten()
{
    ImageShelf shelf;
    const QByteArray json = auditResultsJson(
        sampleResults(), [&shelf](const QImage &image) { return shelf.store(image); });
    AuditResults read;
    QString error;
    QVERIFY(readAuditResults(
        json, QStringLiteral("app/app"), [&shelf](const QString &name) { return shelf.load(name); },
        &read, &error));
    QCOMPARE(read.states.findings.size(), 1);
    const AuditFinding &finding = read.states.findings.first();
    QCOMPARE(
        auditFindingLine(finding),
        QStringLiteral("app/app/mainWindow/okButton focus: no visible focus, 12 pixels change; "
                       "painted by \"QPushButton:focus\" at /sheets/app.qss:7:1"));
    QCOMPARE(read.wcag.findings.size(), 1);
    QCOMPARE(wcagFindingLine(read.wcag.findings.first()),
             QStringLiteral("app/app/mainWindow/nameEdit hover: 1.4.11 Non-text Contrast (AA) "
                            "advice, border 2.10:1; painted by \"QLineEdit\" at "
                            "/sheets/app.qss:3:5"));
    QCOMPARE(read.wcag.findings.first().crop.pixel(0, 0), qRgb(200, 0, 0));
    // The state audit's gaps stand in both reports, the texts' in the WCAG one.
    QCOMPARE(read.states.gaps.size(), 1);
    QCOMPARE(read.wcag.gaps.size(), 2);
    QCOMPARE(auditGapLine(read.wcag.gaps.first()),
             QStringLiteral("app/app/mainWindow/countSpin pressed: not audited, the pressed look: "
                            "why"));
    QCOMPARE(read.wcag.gaps.last().object, QStringLiteral("itemList"));
    // Written again, it reads the same.
    AuditResults again;
    QVERIFY(readAuditResults(
        auditResultsJson(read, [&shelf](const QImage &image) { return shelf.store(image); }),
        QStringLiteral("app/app"), [&shelf](const QString &name) { return shelf.load(name); },
        &again, &error));
    QCOMPARE(again.states.gaps.size(), 1);
    QCOMPARE(again.wcag.gaps.size(), 2);
    QCOMPARE(read.wcag.themes, QStringList{QStringLiteral("app/app")});
    QCOMPARE(read.strips.size(), 1);
    QCOMPARE(read.strips.first().second.first().object, QStringLiteral("okButton"));
    QCOMPARE(read.strips.first().second.first().image.pixel(0, 0), qRgb(0, 0, 200));
    QCOMPARE(read.wcag.unaudited, QStringList());
    // A run that audited nothing is said so under the theme it is read for.
    AuditResults empty;
    empty.states.unaudited = empty.wcag.unaudited = QStringList{QString()};
    QVERIFY(readAuditResults(
        auditResultsJson(empty, [&shelf](const QImage &image) { return shelf.store(image); }),
        QStringLiteral("app/app"), [&shelf](const QString &name) { return shelf.load(name); },
        &again, &error));
    QCOMPARE(again.states.unaudited, QStringList{QStringLiteral("app/app")});
    QCOMPARE(again.wcag.unaudited, QStringList{QStringLiteral("app/app")});
}

void TestAuditResults::strangeDocuments_data()
{
    QTest::addColumn<QByteArray>("json");
    QTest::addColumn<bool>("reads");
    QTest::addColumn<int>("wcagFindings");
    QTest::addColumn<QStringList>("imagesAsked");
    QTest::newRow("not JSON") << QByteArray("{\"wcag\": [") << false << 0 << QStringList();
    QTest::newRow("an array, not an object") << QByteArray("[]") << false << 0 << QStringList();
    QTest::newRow("a key given twice")
        << QByteArray("{\"wcag\": [], \"wcag\": []}") << false << 0 << QStringList();
    QTest::newRow("a criterion it does not know is passed over")
        << QByteArray("{\"wcag\": [{\"state\": \"focus\", \"criterion\": \"9.9.9\", "
                      "\"severity\": \"failure\"}]}")
        << true << 0 << QStringList();
    QTest::newRow("an image named by a path is not loaded")
        << QByteArray("{\"wcag\": [{\"state\": \"focus\", \"criterion\": \"2.4.7\", "
                      "\"severity\": \"failure\", \"image\": \"../../etc/x.png\"}]}")
        << true << 1 << QStringList();
    QTest::newRow("an image named plainly is loaded")
        << QByteArray("{\"wcag\": [{\"state\": \"focus\", \"criterion\": \"2.4.7\", "
                      "\"severity\": \"failure\", \"image\": \"image-1.png\"}]}")
        << true << 1 << QStringList{QStringLiteral("image-1.png")};
    QTest::newRow("entries that are not objects are passed over")
        << QByteArray("{\"wcag\": [1, \"x\", null], \"gaps\": {}, \"strips\": 3}") << true << 0
        << QStringList();
}

void TestAuditResults::strangeDocuments()
{
    QFETCH(QByteArray, json);
    QFETCH(bool, reads);
    QFETCH(int, wcagFindings);
    QFETCH(QStringList, imagesAsked);
    ImageShelf shelf;
    AuditResults read;
    QString error;
    QCOMPARE(readAuditResults(
                 json, QStringLiteral("app"),
                 [&shelf](const QString &name) { return shelf.load(name); }, &read, &error),
             reads);
    QCOMPARE(error.isEmpty(), reads);
    QCOMPARE(read.wcag.findings.size(), wcagFindings);
    QCOMPARE(shelf.asked, imagesAsked);
}

QTEST_MAIN(TestAuditResults)
#include "tst_auditresults.moc"
