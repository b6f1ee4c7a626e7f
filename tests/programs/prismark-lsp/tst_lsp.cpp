// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "analysis/stylesheetlint.h"
#include "analysis/templatelint.h"
#include "lspclient.h"
#include "tokens/themebuild.h"

#include "testsupport.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QUrl>
#include <QtTest>

#include <sys/stat.h>

#include <functional>

// prismark-lsp as a client sees it: the program as a child process over real pipes,
// spoken to in framed JSON-RPC; and once through Neovim's own client.
class TestLsp : public QObject
{
    Q_OBJECT
private slots:
    void lifecycleExitStatus_data();
    void lifecycleExitStatus();
    void errorsAreAnsweredAndServingGoesOn();
    void limits();
    void diagnosticsAreTheLintersWithRanges_data();
    void diagnosticsAreTheLintersWithRanges();
    void incrementalSyncAndBursts();
    void positionsFollowTheProtocolsLines_data();
    void positionsFollowTheProtocolsLines();
    void savedDocumentIsCheckedAgain();
    void eachDocumentUnderItsOwnConfiguration();
    void formsConfiguredNameTheObjects();
    void theWorkspaceFolderIsTheApplication();
    void contrastUnderTheConfiguredPalettes();
    void coloursAndPresentations();
    void quickFixAppliedAndRechecked_data();
    void quickFixAppliedAndRechecked();
    void outlineAndDefinition();
    void tokenRenameOverTheWire();
    void templateIsCheckedAgainWhenItsTokensChange();
    void embeddedSheetsOverTheWire();
    void tokenFileDiagnostics_data();
    void tokenFileDiagnostics();
    void neovimSession();
    void neovimTokenSession();
};

namespace {
const QString kUri = QStringLiteral("file:///tmp/prismark-lsp-test/sheet.qss");
constexpr int kWait = 30000; // only against a hang; nothing is timed

// The shared client, its messages handed out as values, whose [] reads nested
// members in both Qt 5 and 6.
class Client : public LspTestClient
{
public:
    explicit Client(const QString &workingDirectory = QString(),
                    const QStringList &options = QStringList())
        : LspTestClient(QStringLiteral(PRISMARK_LSP_BINARY), kWait, workingDirectory, options)
    {}

    QJsonValue call(const QString &method, const QJsonValue &params = QJsonValue())
    {
        return response(request(method, params));
    }
    QJsonValue result(const QString &method, const QJsonValue &params)
    {
        return call(method, params)["result"];
    }
    QJsonValue take(const std::function<bool(const QJsonObject &)> &matches)
    {
        return LspTestClient::take(matches);
    }
    QJsonValue diagnosticsFor(const QString &uri, int version = -1)
    {
        return LspTestClient::diagnosticsFor(uri, version);
    }
    QJsonValue initialize(const QJsonObject &capabilities = QJsonObject())
    {
        return LspTestClient::initialize(capabilities);
    }
    void open(const QString &text, const QString &uri = kUri, int version = 1,
              const QString &languageId = QStringLiteral("qss"))
    {
        LspTestClient::open(uri, text, version, languageId);
    }
};

QJsonObject document(const QString &uri = kUri)
{
    return {{"uri", uri}};
}

QJsonObject position(int line, int character)
{
    return {{"line", line}, {"character", character}};
}

QJsonObject atPosition(int line, int character, const QString &uri = kUri)
{
    return {{"textDocument", document(uri)}, {"position", position(line, character)}};
}

QString rangeText(const QJsonObject &range)
{
    const QJsonObject start = range.value("start").toObject();
    const QJsonObject end = range.value("end").toObject();
    return QStringLiteral("%1:%2-%3:%4")
        .arg(start.value("line").toInt())
        .arg(start.value("character").toInt())
        .arg(end.value("line").toInt())
        .arg(end.value("character").toInt());
}

// Applies text edits (a client's job) to a text whose lines end in LF, UTF-16 columns.
QString applyEdits(QString text, const QJsonArray &array)
{
    QVector<QJsonValue> edits(array.cbegin(), array.cend());
    const auto offsetOf = [&text](const QJsonObject &p) {
        int offset = 0;
        for (int line = 0; line < p.value("line").toInt(); ++line)
            offset = text.indexOf(QLatin1Char('\n'), offset) + 1;
        return offset + p.value("character").toInt();
    };
    std::sort(edits.begin(), edits.end(), [&](const QJsonValue &a, const QJsonValue &b) {
        return offsetOf(a["range"]["start"].toObject()) > offsetOf(b["range"]["start"].toObject());
    });
    for (const QJsonValue &edit : edits) {
        const int start = offsetOf(edit["range"]["start"].toObject());
        const int end = offsetOf(edit["range"]["end"].toObject());
        text.replace(start, end - start, edit["newText"].toString());
    }
    return text;
}

QString brokenLightSheet()
{
    QFile file(QStringLiteral(PRISMARK_SOURCE_DIR "/resources/styles/light.qss"));
    file.open(QIODevice::ReadOnly);
    QString text = QString::fromUtf8(file.readAll());
    // Misspelt names of each kind, and a ";" missing, so the toolkit rejects it all.
    const QPair<const char *, const char *> faults[] = {
        {"background-color", "background-colour"},
        {"border-radius: 4px", "border-radus: 4px"},
        {":hover", ":hovr"},
        {"QPushButton", "QPushButon"},
        {"color: #1d2228;", "color: #1d2228"},
    };
    for (const auto &fault : faults) {
        const int at = text.indexOf(QLatin1String(fault.first));
        if (at >= 0)
            text.replace(at, int(qstrlen(fault.first)), QLatin1String(fault.second));
    }
    return text;
}
} // namespace

void TestLsp::lifecycleExitStatus_data()
{
    QTest::addColumn<bool>("shutdown");
    QTest::addColumn<bool>("exitNotification");
    QTest::addColumn<int>("status");
    QTest::newRow("exit after shutdown is status 0") << true << true << 0;
    QTest::newRow("exit without shutdown is status 1") << false << true << 1;
    QTest::newRow("end of input after shutdown is status 0") << true << false << 0;
    QTest::newRow("end of input without shutdown is status 1") << false << false << 1;
}

void TestLsp::lifecycleExitStatus()
{
    QFETCH(bool, shutdown);
    QFETCH(bool, exitNotification);
    QFETCH(int, status);
    Client client;
    QCOMPARE(client.initialize()["result"]["serverInfo"]["name"].toString(),
             QStringLiteral("prismark-lsp"));
    client.open(QStringLiteral("QLabel { color: red }"));
    if (shutdown)
        QVERIFY(client.call("shutdown").toObject().contains("result"));
    if (exitNotification)
        client.notify("exit");
    QCOMPARE(client.finish(), status);
}

void TestLsp::errorsAreAnsweredAndServingGoesOn()
{
    Client client;
    QCOMPARE(client.call("textDocument/hover", atPosition(0, 0))["error"]["code"].toInt(), -32002);
    client.notify("textDocument/didOpen", QJsonObject());
    client.initialize();
    QCOMPARE(client.call("workspace/noSuchThing")["error"]["code"].toInt(), -32601);
    // A notification's method is not answered as a request.
    const QJsonObject saved{{"textDocument", document()}};
    QCOMPARE(client.call("textDocument/didSave", saved)["error"]["code"].toInt(), -32601);
    client.sendRaw("Content-Length: 9\r\n\r\n{\"id\": 1,");
    QJsonValue reply = client.take([](const QJsonObject &m) { return m.contains("error"); });
    QCOMPARE(reply["error"]["code"].toInt(), -32700);
    QVERIFY(reply["id"].isNull());
    QVERIFY(client.call("textDocument/hover", atPosition(0, 0, "file:///never/opened.qss"))
                .toObject()
                .contains("error"));
    // A request cancelled in the same read is answered once, as cancelled.
    const QByteArray hover =
        QJsonDocument(QJsonObject{{"jsonrpc", "2.0"},
                                  {"id", 77},
                                  {"method", "textDocument/documentSymbol"},
                                  {"params", QJsonObject{{"textDocument", document()}}}})
            .toJson(QJsonDocument::Compact);
    const QByteArray cancel = QJsonDocument(QJsonObject{{"jsonrpc", "2.0"},
                                                        {"method", "$/cancelRequest"},
                                                        {"params", QJsonObject{{"id", 77}}}})
                                  .toJson(QJsonDocument::Compact);
    client.sendRaw("Content-Length: " + QByteArray::number(hover.size()) + "\r\n\r\n" + hover +
                   "Content-Length: " + QByteArray::number(cancel.size()) + "\r\n\r\n" + cancel);
    reply = client.take([](const QJsonObject &m) { return m["id"].toInt() == 77; });
    QCOMPARE(reply["error"]["code"].toInt(), -32800);
    // A header without a length, then a good message: the protocol error is answered
    // and the next message served.
    client.sendRaw("Content-Type: x\r\n\r\n{\"jsonrpc\":\"2.0\"}");
    QVERIFY(client.call("shutdown").toObject().contains("result"));
    const QVector<QJsonObject> rest = client.drain();
    QVERIFY(std::none_of(rest.cbegin(), rest.cend(),
                         [](const QJsonObject &m) { return m["id"].toInt() == 77; }));
    client.notify("exit");
    QCOMPARE(client.finish(), 0);
}

void TestLsp::limits()
{
    Client client;
    client.initialize();
    // Over 16 MiB: refused with a message, never analysed.
    client.open(QString(17 * 1024 * 1024, QLatin1Char('x')));
    const QJsonValue message =
        client.take([](const QJsonObject &m) { return m["method"] == "window/showMessage"; });
    QCOMPARE(message["params"]["type"].toInt(), 1);
    QVERIFY(client.diagnosticsFor(kUri)["params"]["diagnostics"].toArray().isEmpty());
    // Binary text is a sheet like any other.
    QString binary;
    for (int i = 0; i < 512; ++i)
        binary.append(QChar(ushort((i * 7919) % 0xd000 + 1)));
    const QString binaryUri = QStringLiteral("file:///tmp/prismark-lsp-test/binary.qss");
    client.open(binary, binaryUri);
    QVERIFY(client.diagnosticsFor(binaryUri)["params"].isObject());
    // A Content-Length over 64 MiB is refused at its header, never held.
    client.sendRaw("Content-Length: 4000000000\r\n\r\n");
    const QJsonValue refused = client.take([](const QJsonObject &m) {
        return m["error"].toObject()["message"].toString().contains("Content-Length");
    });
    QVERIFY(refused["error"].isObject());
    client.sendRaw(QByteArray(32 * 1024 * 1024, '{'));
    client.process.waitForBytesWritten(kWait);
    QFile status(QStringLiteral("/proc/%1/status").arg(client.process.processId()));
    QVERIFY(status.open(QIODevice::ReadOnly));
    const QRegularExpression peak(QStringLiteral("VmHWM:\\s+(\\d+) kB"));
    QVERIFY2(peak.match(QString::fromLatin1(status.readAll())).captured(1).toInt() < 200 * 1024,
             "the server held a refused body");
    QCOMPARE(client.finish(), 1);
}

void TestLsp::diagnosticsAreTheLintersWithRanges_data()
{
    QTest::addColumn<QString>("encoding");
    QTest::addColumn<QString>("range");
    // "colr" stands after an accent, a CJK character and an emoji on its line.
    QTest::newRow("UTF-16 columns by default") << QString() << "0:16-0:20";
    QTest::newRow("UTF-8 columns when the client offers them") << "utf-8"
                                                               << "0:21-0:25";
}

void TestLsp::diagnosticsAreTheLintersWithRanges()
{
    QFETCH(QString, encoding);
    QFETCH(QString, range);
    Client client;
    QJsonObject capabilities;
    if (!encoding.isEmpty())
        capabilities["general"] =
            QJsonObject{{"positionEncodings", QJsonArray{encoding, "utf-16"}}};
    const QJsonValue reply = client.initialize(capabilities);
    QCOMPARE(reply["result"]["capabilities"]["positionEncoding"].toString(),
             encoding.isEmpty() ? QStringLiteral("utf-16") : encoding);
    const QString text = QString::fromUtf8("/*é中😀*/ QLabel{colr: red}\r\n"
                                           "QLabel { color: #000; background: #111 }\n"
                                           "QLabel { color: #222 }\n");
    client.open(text);
    const QJsonArray diagnostics = client.diagnosticsFor(kUri)["params"]["diagnostics"].toArray();
    const QVector<LintDiagnostic> expected =
        lintStyleSheet(text.toUtf8(), QStringLiteral("/tmp/prismark-lsp-test/sheet.qss"));
    QCOMPARE(diagnostics.size(), expected.size());
    for (int i = 0; i < expected.size(); ++i) {
        const QJsonObject diagnostic = diagnostics.at(i).toObject();
        QCOMPARE(diagnostic["code"].toString(), expected.at(i).check);
        QCOMPARE(diagnostic["message"].toString(), expected.at(i).message);
        QCOMPARE(diagnostic["source"].toString(), QStringLiteral("prismark-lint"));
        QCOMPARE(diagnostic["severity"].toInt(), int(expected.at(i).severity) + 1);
        QVERIFY2(diagnostic["range"]["start"] != diagnostic["range"]["end"],
                 qPrintable(rangeText(diagnostic["range"].toObject())));
    }
    QCOMPARE(rangeText(diagnostics.at(0)["range"].toObject()), range);
    const auto shadowed = std::find_if(diagnostics.begin(), diagnostics.end(),
                                       [](const QJsonValue &d) { return d["code"] == "shadowed"; });
    QVERIFY(shadowed != diagnostics.end());
    const QJsonValue hidden = *shadowed;
    QCOMPARE(rangeText(hidden["range"].toObject()), QStringLiteral("1:9-1:14"));
    QCOMPARE(rangeText(hidden["relatedInformation"][0]["location"]["range"].toObject()),
             QStringLiteral("2:9-2:14"));
    client.notify("textDocument/didClose", QJsonObject{{"textDocument", document()}});
    QVERIFY(client.diagnosticsFor(kUri)["params"]["diagnostics"].toArray().isEmpty());
}

void TestLsp::incrementalSyncAndBursts()
{
    Client client;
    client.initialize();
    client.open(QStringLiteral("QLabel { color: red }\nQFrame { }\n"));
    client.diagnosticsFor(kUri, 1);
    const auto change = [&](int version, const QJsonArray &changes) {
        client.notify(
            "textDocument/didChange",
            QJsonObject{{"textDocument", QJsonObject{{"uri", kUri}, {"version", version}}},
                        {"contentChanges", changes}});
    };
    const auto edit = [](int l0, int c0, int l1, int c1, const QString &text) {
        return QJsonObject{
            {"range", QJsonObject{{"start", position(l0, c0)}, {"end", position(l1, c1)}}},
            {"text", text}};
    };
    // Across lines, after a surrogate pair, then a whole-text change and more edits.
    change(2, {edit(0, 9, 1, 8, QString::fromUtf8("colr: 😀 red; }\nQFrame {"))});
    change(3, {edit(0, 15, 0, 15, QStringLiteral("x"))});
    change(4, {QJsonObject{{"text", QStringLiteral("QLabel { }\n")}},
               edit(0, 9, 0, 9, QStringLiteral("margn: 1px; "))});
    // A burst: each text published at most once, older never after newer, the last one
    // last.
    for (int version = 5; version < 25; ++version)
        change(version, {edit(0, 9, 0, 9, QStringLiteral(" "))});
    int previous = 1;
    QJsonValue last;
    while (previous != 24) {
        last = client.diagnosticsFor(kUri);
        QVERIFY(last["params"].isObject());
        QVERIFY(last["params"]["version"].toInt() > previous);
        previous = last["params"]["version"].toInt();
    }
    const QJsonArray diagnostics = last["params"]["diagnostics"].toArray();
    QCOMPARE(diagnostics.size(), 1);
    QCOMPARE(diagnostics[0]["message"].toString(),
             QStringLiteral("unknown property \"margn\": the toolkit ignores it"));
    QCOMPARE(rangeText(diagnostics[0]["range"].toObject()), QStringLiteral("0:29-0:34"));
    const QVector<QJsonObject> later = client.drain();
    QVERIFY(std::none_of(later.cbegin(), later.cend(), [](const QJsonObject &m) {
        return m["method"] == "textDocument/publishDiagnostics";
    }));
}

void TestLsp::positionsFollowTheProtocolsLines_data()
{
    QTest::addColumn<QString>("encoding");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QJsonObject>("edit");
    QTest::addColumn<QString>("range");
    const auto insert = [](int line, int character, const QString &text) {
        const QJsonObject at = position(line, character);
        return QJsonObject{{"range", QJsonObject{{"start", at}, {"end", at}}}, {"text", text}};
    };
    // The analysis counts lines at LF only; the protocol at CR too.
    QTest::newRow("a lone CR ends a line for the client")
        << QString() << "QLabel { color: black }\rQFrame { colr: black }\n"
        << QJsonObject() << "1:9-1:13";
    QTest::newRow("CR LF ends one line")
        << QString() << "QLabel { color: black }\r\nQFrame { colr: black }\r\n"
        << QJsonObject() << "1:9-1:13";
    QTest::newRow("an edit in UTF-8 columns after an emoji")
        << "utf-8" << QString::fromUtf8("/*😀*/ QLabel { }\n")
        << insert(0, 17, QStringLiteral("colr: black; ")) << "0:17-0:21";
    QTest::newRow("an edit in UTF-16 columns after an emoji")
        << QString() << QString::fromUtf8("/*😀*/ QLabel { }\n")
        << insert(0, 15, QStringLiteral("colr: black; ")) << "0:15-0:19";
}

void TestLsp::positionsFollowTheProtocolsLines()
{
    QFETCH(QString, encoding);
    QFETCH(QString, text);
    QFETCH(QJsonObject, edit);
    QFETCH(QString, range);
    Client client;
    QJsonObject capabilities;
    if (!encoding.isEmpty())
        capabilities["general"] = QJsonObject{{"positionEncodings", QJsonArray{encoding}}};
    client.initialize(capabilities);
    client.open(text);
    int version = 1;
    if (!edit.isEmpty()) {
        client.notify("textDocument/didChange",
                      QJsonObject{{"textDocument", QJsonObject{{"uri", kUri}, {"version", 2}}},
                                  {"contentChanges", QJsonArray{edit}}});
        version = 2;
    }
    const QJsonArray diagnostics =
        client.diagnosticsFor(kUri, version)["params"]["diagnostics"].toArray();
    const auto misspelt =
        std::find_if(diagnostics.begin(), diagnostics.end(),
                     [](const QJsonValue &d) { return d["code"] == "unknown-property"; });
    QVERIFY(misspelt != diagnostics.end());
    QCOMPARE(rangeText(QJsonValue(*misspelt)["range"].toObject()), range);
}

void TestLsp::savedDocumentIsCheckedAgain()
{
    // A url() target that appears on disk: the saved sheet no longer misses it.
    QTemporaryDir directory;
    Client client(directory.path());
    client.initialize();
    client.open(QStringLiteral("QLabel { image: url(later.png); }\n"));
    QCOMPARE(client.diagnosticsFor(kUri)["params"]["diagnostics"][0]["code"].toString(),
             QStringLiteral("missing-resource"));
    QFile image(QDir(directory.path()).filePath(QStringLiteral("later.png")));
    QVERIFY(image.open(QIODevice::WriteOnly));
    image.close();
    client.notify("textDocument/didSave", QJsonObject{{"textDocument", document()}});
    QVERIFY(client.diagnosticsFor(kUri)["params"]["diagnostics"].toArray().isEmpty());
    // After shutdown only exit is served.
    QVERIFY(client.call("shutdown").toObject().contains("result"));
    QCOMPARE(client
                 .call("textDocument/documentSymbol",
                       QJsonObject{{"textDocument", document()}})["error"]["code"]
                 .toInt(),
             -32600);
}

void TestLsp::eachDocumentUnderItsOwnConfiguration()
{
    // A project whose configuration extends a shared one and switches a check off for
    // its generated sheets: the server applies what prismark-lint applies, per file.
    QTemporaryDir root;
    const auto put = [&root](const QString &name, const QByteArray &bytes) {
        QFile file(root.filePath(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    };
    put(QStringLiteral("shared.json"), R"({"checks": {"unknown-property": "error"}})");
    put(QStringLiteral(".prismark-lint.json"), R"({"extends": "shared.json", "overrides": [
        {"files": "generated/**/*.qss", "checks": {"unknown-property": "off"}}]})");
    const QString text = QStringLiteral("QLabel { colr: red; }\n");
    const QString written =
        QUrl::fromLocalFile(root.filePath(QStringLiteral("app.qss"))).toString();
    const QString generated =
        QUrl::fromLocalFile(root.filePath(QStringLiteral("generated/dark/app.qss"))).toString();
    Client client;
    client.initialize();
    client.open(text, written);
    const QJsonArray found = client.diagnosticsFor(written)["params"]["diagnostics"].toArray();
    QCOMPARE(found.size(), 1);
    QCOMPARE(found.at(0)["code"].toString(), QStringLiteral("unknown-property"));
    QCOMPARE(found.at(0)["severity"].toInt(), 1); // the shared file's "error"
    client.open(text, generated);
    QVERIFY(client.diagnosticsFor(generated)["params"]["diagnostics"].toArray().isEmpty());
}

void TestLsp::contrastUnderTheConfiguredPalettes()
{
    // A sheet written for dark mode: under light its text is the palette's black, and
    // the diagnostic says so; a folder configured for dark finds nothing.
    QTemporaryDir root;
    QVERIFY(QDir(root.path()).mkpath(QStringLiteral("dark")));
    QFile config(root.filePath(QStringLiteral("dark/.prismark-lint.json")));
    QVERIFY(config.open(QIODevice::WriteOnly));
    config.write(R"({"palettes": ["dark"]})");
    config.close();
    const QString text = QStringLiteral("QWidget { background-color: #272727; }\n");
    const QString light = QUrl::fromLocalFile(root.filePath(QStringLiteral("a.qss"))).toString();
    const QString dark =
        QUrl::fromLocalFile(root.filePath(QStringLiteral("dark/a.qss"))).toString();
    Client client;
    client.initialize();
    client.open(text, light);
    const QJsonArray found = client.diagnosticsFor(light)["params"]["diagnostics"].toArray();
    QCOMPARE(found.size(), 1);
    QVERIFY2(found.at(0)["message"].toString().startsWith(
                 QLatin1String("text #000000 (the light palette's WindowText) on #272727")),
             qPrintable(found.at(0)["message"].toString()));
    client.open(text, dark);
    QVERIFY(client.diagnosticsFor(dark)["params"]["diagnostics"].toArray().isEmpty());
}

void TestLsp::formsConfiguredNameTheObjects()
{
    // The project's forms, found by the configuration's glob, give diagnostics and
    // completion the application's object names.
    QTemporaryDir root;
    QVERIFY(QDir(root.path()).mkpath(QStringLiteral("ui")));
    const auto put = [&root](const QString &name, const QByteArray &bytes) {
        QFile file(root.filePath(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    };
    put(QStringLiteral("ui/main.ui"), R"(<ui version="4.0">
 <widget class="QPushButton" name="saveButton"/>
</ui>
)");
    put(QStringLiteral(".prismark-lint.json"), R"({"forms": ["ui/**/*.ui"]})");
    const QString uri = QUrl::fromLocalFile(root.filePath(QStringLiteral("app.qss"))).toString();
    Client client;
    client.initialize();
    client.open(QStringLiteral("#saveButon { color: black; }\n#"), uri);
    const QJsonArray found = client.diagnosticsFor(uri)["params"]["diagnostics"].toArray();
    QCOMPARE(found.size(), 1);
    QCOMPARE(found.at(0)["code"].toString(), QStringLiteral("unknown-object-name"));
    QCOMPARE(rangeText(found.at(0)["range"].toObject()), QStringLiteral("0:1-0:10"));
    // After "#" in a sheet file, and in a sheet a C++ source passes to setStyleSheet().
    const QString source =
        QUrl::fromLocalFile(root.filePath(QStringLiteral("window.cpp"))).toString();
    client.open(QStringLiteral("void f(QWidget *w)\n{\n    w->setStyleSheet(\"#\");\n}\n"), source,
                1, QStringLiteral("cpp"));
    for (const auto &[at, line, character] :
         {std::make_tuple(uri, 1, 1), std::make_tuple(source, 2, 23)}) {
        const QJsonObject params{
            {"textDocument", QJsonObject{{"uri", at}}},
            {"position", QJsonObject{{"line", line}, {"character", character}}}};
        const QJsonArray items =
            client.result("textDocument/completion", params)["items"].toArray();
        const auto save = std::find_if(items.begin(), items.end(), [](const QJsonValue &item) {
            return item.toObject().value(QLatin1String("label")).toString() ==
                   QLatin1String("saveButton");
        });
        QVERIFY2(save != items.end(), qPrintable(at));
        QCOMPARE(save->toObject().value(QLatin1String("detail")).toString(),
                 QStringLiteral("QPushButton in main.ui:2"));
    }
}

void TestLsp::theWorkspaceFolderIsTheApplication()
{
    // Without a configuration, the workspace folder's sources are the application's, as
    // a walk of it learns them, and a source changed on disk is read again.
    QTemporaryDir root;
    QVERIFY(QDir(root.path()).mkpath(QStringLiteral("src")));
    const auto put = [&root](const QString &name, const QByteArray &bytes) {
        QFile file(root.filePath(name));
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes);
    };
    put(QStringLiteral("src/combo.h"), "class StatusCombo : public QComboBox { Q_OBJECT };\n");
    put(QStringLiteral("src/panel.py"), "w = QFrame(objectName=\"deepOne\")\n");
    const QString uri = QUrl::fromLocalFile(root.filePath(QStringLiteral("app.qss"))).toString();
    Client client;
    client.call(QStringLiteral("initialize"),
                QJsonObject{{"capabilities", QJsonObject()},
                            {"rootUri", QUrl::fromLocalFile(root.path()).toString()}});
    client.notify(QStringLiteral("initialized"), QJsonObject());
    client.open(QStringLiteral("#deepOne, #deepOn { color: black; }\nStat"), uri);
    QStringList names;
    for (const QJsonValue &found : client.diagnosticsFor(uri)["params"]["diagnostics"].toArray()) {
        if (found["code"].toString() == QLatin1String("unknown-object-name"))
            names.append(rangeText(found["range"].toObject()));
    }
    QCOMPARE(names, QStringList{QStringLiteral("0:11-0:17")});
    const auto offered = [&](const QString &label) {
        const QJsonObject params{{"textDocument", QJsonObject{{"uri", uri}}},
                                 {"position", QJsonObject{{"line", 1}, {"character", 4}}}};
        const QJsonArray items =
            client.result("textDocument/completion", params)["items"].toArray();
        const auto item = std::find_if(items.begin(), items.end(), [&](const QJsonValue &each) {
            return each.toObject().value(QLatin1String("label")).toString() == label;
        });
        return item == items.end() ? QString()
                                   : item->toObject().value(QLatin1String("detail")).toString();
    };
    QCOMPARE(offered(QStringLiteral("StatusCombo")),
             QStringLiteral("extends QComboBox in combo.h:1"));
    QVERIFY(offered(QStringLiteral("LevelCombo")).isEmpty());
    put(QStringLiteral("src/level.h"), "class LevelCombo : public StatusCombo { Q_OBJECT };\n");
    QCOMPARE(offered(QStringLiteral("LevelCombo")),
             QStringLiteral("extends StatusCombo in level.h:1"));
}

void TestLsp::coloursAndPresentations()
{
    Client client;
    client.initialize();
    client.open(QStringLiteral("/*\n@palette Window = #f6f8fb\n*/\n"
                               "QLabel { color: rgba(255, 0, 0, 128); border: 1px solid navy;"
                               " background: hsl(120, 100%, 50%); font-family: tan }\n"
                               "#abc { color: #abc }\n"));
    const QJsonArray colours =
        client.result("textDocument/documentColor", QJsonObject{{"textDocument", document()}})
            .toArray();
    QStringList ranges;
    for (const QJsonValue &colour : colours)
        ranges.append(rangeText(colour["range"].toObject()));
    QCOMPARE(ranges,
             QStringList({"1:18-1:25", "3:16-3:36", "3:56-3:60", "3:74-3:93", "4:14-4:18"}));
    QCOMPARE(qRound(colours[1]["color"]["alpha"].toDouble() * 255), 128);
    const auto presentations = [&](double alpha) {
        QStringList result;
        const QJsonObject params{
            {"textDocument", document()},
            {"color", QJsonObject{{"red", 1.0}, {"green", 0.5}, {"blue", 0.0}, {"alpha", alpha}}},
            {"range", colours[0]["range"]}};
        for (const QJsonValue &p :
             client.result("textDocument/colorPresentation", params).toArray())
            result.append(p["label"].toString());
        return result;
    };
    QCOMPARE(presentations(1.0), QStringList({"#ff8000", "rgb(255, 128, 0)"}));
    QCOMPARE(presentations(0.5), QStringList({"rgba(255, 128, 0, 128)"}));
}

void TestLsp::quickFixAppliedAndRechecked_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("title");
    QTest::newRow("unknown property") << "QLabel { colr: black; }\n"
                                      << "Change to 'color' (unsafe fix: a guess)";
    QTest::newRow("unknown pseudo-state") << "QLabel:hovr { color: black; }\n"
                                          << "Change to 'hover' (unsafe fix: a guess)";
    QTest::newRow("unknown subcontrol") << "QMenu::itme { color: black; }\n"
                                        << "Change to 'item' (unsafe fix: a guess)";
    QTest::newRow("widget class in the wrong letter case")
        << "Qpushbutton { color: black; }\n"
        << "Change to 'QPushButton' (unsafe fix: a guess)";
    QTest::newRow("unknown palette role") << "/*\n@palette Disabled.Txt = #919aa6\n*/\n"
                                          << "Change to 'Disabled.Text' (unsafe fix: a guess)";
    QTest::newRow("missing semicolon") << "QLabel { color: black background: white; }\n"
                                       << "Insert ';' (safe fix)";
    QTest::newRow("unclosed rule") << "QLabel { color: black;\n"
                                   << "Insert '}' (safe fix)";
}

void TestLsp::quickFixAppliedAndRechecked()
{
    QFETCH(QString, text);
    QFETCH(QString, title);
    Client client;
    client.initialize();
    client.open(text);
    const QJsonArray diagnostics = client.diagnosticsFor(kUri)["params"]["diagnostics"].toArray();
    QVERIFY(!diagnostics.isEmpty());
    const QJsonObject params{{"textDocument", document()},
                             {"range", diagnostics[0]["range"]},
                             {"context", QJsonObject{{"diagnostics", diagnostics}}}};
    const QJsonArray actions = client.result("textDocument/codeAction", params).toArray();
    QCOMPARE(actions.size(), 1);
    QCOMPARE(actions[0]["title"].toString(), title);
    QCOMPARE(actions[0]["kind"].toString(), QStringLiteral("quickfix"));
    const QString fixed = applyEdits(text, actions[0]["edit"]["changes"][kUri].toArray());
    client.notify("textDocument/didChange",
                  QJsonObject{{"textDocument", QJsonObject{{"uri", kUri}, {"version", 2}}},
                              {"contentChanges", QJsonArray{QJsonObject{{"text", fixed}}}}});
    const QJsonArray after = client.diagnosticsFor(kUri, 2)["params"]["diagnostics"].toArray();
    QVERIFY2(after.isEmpty(), qPrintable(QJsonDocument(after).toJson()));
}

void TestLsp::outlineAndDefinition()
{
    QTemporaryDir directory;
    QFile image(directory.filePath(QStringLiteral("arrow.png")));
    QVERIFY(image.open(QIODevice::WriteOnly));
    image.close();
    QVERIFY(makeFifo(directory.filePath(QStringLiteral("pipe.png"))));
    Client client(directory.path());
    client.initialize(QJsonObject{
        {"textDocument", QJsonObject{{"documentSymbol",
                                      QJsonObject{{"hierarchicalDocumentSymbolSupport", true}}}}}});
    client.open(QStringLiteral("/*\n@palette Window = #ffffff\n*/\n"
                               "QComboBox::down-arrow { image: url(arrow.png); }\n"
                               "QLabel, QFrame:hover\n{ image: url(pipe.png) }\n"));
    const QJsonArray symbols =
        client.result("textDocument/documentSymbol", QJsonObject{{"textDocument", document()}})
            .toArray();
    QStringList outline;
    for (const QJsonValue &symbol : symbols)
        outline.append(symbol["name"].toString() + QLatin1Char(' ') +
                       rangeText(symbol["range"].toObject()));
    QCOMPARE(outline, QStringList({"QComboBox::down-arrow 3:0-3:48",
                                   "QLabel, QFrame:hover 4:0-5:24", "@palette Window 1:0-1:25"}));
    const QJsonValue target = client.result("textDocument/definition", atPosition(3, 38));
    QCOMPARE(QUrl(target["uri"].toString()).toLocalFile(),
             QFileInfo(image.fileName()).absoluteFilePath());
    // A FIFO is never opened, so the answer comes and is empty.
    QVERIFY(client.result("textDocument/definition", atPosition(5, 16)).isNull());
    QVERIFY(client.result("textDocument/definition", atPosition(4, 2)).isNull());
}

void TestLsp::embeddedSheetsOverTheWire()
{
    const QString uri = QStringLiteral("file:///tmp/prismark-lsp-test/widget.cpp");
    const QString text =
        QStringLiteral("void build(QLabel *label)\n"
                       "{\n"
                       "    label->setStyleSheet(\"QLabel {\\n    colr: red; }\");\n"
                       "    label->setStyleSheet(sheet);\n"
                       "}\n");
    // Started for forms and sources alone, it claims nothing but the sheet features.
    Client client(QString(), {QStringLiteral("--embedded-only")});
    const QJsonValue capabilities = client.initialize()["result"]["capabilities"];
    QVERIFY(capabilities["completionProvider"].isObject());
    QVERIFY(capabilities["hoverProvider"].toBool());
    QVERIFY(capabilities["codeActionProvider"].isObject());
    for (const char *claimed : {"documentFormattingProvider", "colorProvider",
                                "documentSymbolProvider", "definitionProvider", "renameProvider"})
        QVERIFY2(capabilities[claimed].isUndefined(), claimed);
    client.open(text, uri, 1, QStringLiteral("cpp"));
    QStringList found;
    const QJsonArray diagnostics = client.diagnosticsFor(uri)["params"]["diagnostics"].toArray();
    for (const QJsonValue &diagnostic : diagnostics)
        found.append(diagnostic["code"].toString() + QLatin1Char(' ') +
                     rangeText(diagnostic["range"].toObject()));
    // After the escaped line break, on the file's own line; the variable gets its note.
    QCOMPARE(found, QStringList({"unknown-property 2:40-2:44", "embedded-sheet 3:25-3:30"}));

    const QJsonArray actions =
        client
            .result("textDocument/codeAction",
                    QJsonObject{{"textDocument", document(uri)},
                                {"range", diagnostics[0]["range"]},
                                {"context", QJsonObject{{"diagnostics", diagnostics}}}})
            .toArray();
    QCOMPARE(actions.size(), 1);
    const QString fixed = applyEdits(text, actions[0]["edit"]["changes"][uri].toArray());
    QVERIFY2(fixed.contains(QLatin1String("\"QLabel {\\n    color: red; }\"")), qPrintable(fixed));

    QVERIFY(!client.result("textDocument/hover", atPosition(2, 41, uri)).isNull());
    QVERIFY(client.result("textDocument/hover", atPosition(3, 10, uri)).isNull());
    QVERIFY(client.result("textDocument/completion", atPosition(3, 10, uri))["items"]
                .toArray()
                .isEmpty());
    QCOMPARE(client
                 .call("textDocument/formatting",
                       QJsonObject{{"textDocument", document(uri)}})["error"]["code"]
                 .toInt(),
             -32601);

    // Started for everything, it answers a style sheet file's features there with nothing.
    Client everything;
    everything.initialize();
    everything.open(text, uri, 1, QStringLiteral("cpp"));
    QVERIFY(everything
                .result("textDocument/formatting",
                        QJsonObject{{"textDocument", document(uri)},
                                    {"options", QJsonObject{{"tabSize", 4}}}})
                .toArray()
                .isEmpty());
    QVERIFY(everything
                .result("textDocument/documentColor", QJsonObject{{"textDocument", document(uri)}})
                .toArray()
                .isEmpty());
}

void TestLsp::tokenRenameOverTheWire()
{
    QTemporaryDir directory;
    QVERIFY(QProcess::execute(QStringLiteral("cp"),
                              {QStringLiteral("-r"),
                               QStringLiteral(PRISMARK_SOURCE_DIR "/resources/theme-sources"),
                               directory.path()}) == 0);
    const QDir sources(directory.filePath(QStringLiteral("theme-sources")));
    const QString themePath = sources.filePath(QStringLiteral("prismark.qss.in"));
    const QString lightPath = sources.filePath(QStringLiteral("tokens/light.tokens.json"));
    const auto read = [](const QString &path) {
        QFile file(path);
        file.open(QIODevice::ReadOnly);
        return QString::fromUtf8(file.readAll());
    };
    const ThemeBuild before = buildTheme(themePath);
    QVERIFY(before.ok());

    Client client;
    const QJsonValue reply = client.initialize();
    QVERIFY(reply["result"]["capabilities"]["renameProvider"]["prepareProvider"].toBool());
    QVERIFY(reply["result"]["capabilities"]["referencesProvider"].toBool());
    const QString themeUri = QUrl::fromLocalFile(themePath).toString();
    const QString lightUri = QUrl::fromLocalFile(lightPath).toString();
    const QString theme = read(themePath);
    client.open(theme, themeUri);
    // The editor's unsaved text of a token file is what the rename edits.
    const QString light = QLatin1Char('\n') + read(lightPath);
    client.open(light, lightUri);

    const int at = int(theme.indexOf(QLatin1String("{palette.window}"))) + 1;
    const int line = int(theme.left(at).count(QLatin1Char('\n')));
    const int character = at - int(theme.lastIndexOf(QLatin1Char('\n'), at - 1)) - 1;
    const QJsonValue prepared =
        client.result("textDocument/prepareRename", atPosition(line, character, themeUri));
    QCOMPARE(prepared["placeholder"].toString(), QStringLiteral("palette.window"));
    QCOMPARE(rangeText(prepared["range"].toObject()),
             QStringLiteral("%1:%2-%1:%3").arg(line).arg(character).arg(character + 14));

    QJsonObject params = atPosition(line, character, themeUri);
    params.insert("newName", "palette.frame.window");
    const QJsonValue refused = client.call("textDocument/rename", params)["error"];
    QCOMPARE(refused["code"].toInt(), -32803);
    QVERIFY(refused["message"].toString().contains("only the last part"));

    params.insert("newName", "windowBackground");
    const QJsonObject changes = client.result("textDocument/rename", params)["changes"].toObject();
    QCOMPARE(changes.size(), before.sheets.size() + 1);
    const QString renamedLight = applyEdits(light, changes.value(lightUri).toArray());
    QVERIFY(renamedLight.contains(QLatin1String("\"windowBackground\"")));
    QCOMPARE(QString(renamedLight).replace(QLatin1String("windowBackground"), "window"), light);
    for (auto it = changes.constBegin(); it != changes.constEnd(); ++it) {
        const QString path = QUrl(it.key()).toLocalFile();
        const QString text = it.key() == lightUri ? renamedLight.mid(1)
                                                  : applyEdits(read(path), it.value().toArray());
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(text.toUtf8());
    }
    const ThemeBuild after = buildTheme(themePath);
    QVERIFY(after.ok());
    for (int i = 0; i < after.sheets.size(); ++i)
        QCOMPARE(after.sheets.at(i).text, before.sheets.at(i).text);
}

// The template's findings come through its token files: changes to an open one, read
// together, are checked on the open template too, with the newest text.
void TestLsp::templateIsCheckedAgainWhenItsTokensChange()
{
    QTemporaryDir directory;
    QVERIFY(QProcess::execute(QStringLiteral("cp"),
                              {QStringLiteral("-r"),
                               QStringLiteral(PRISMARK_SOURCE_DIR "/resources/theme-sources"),
                               directory.path()}) == 0);
    const QDir sources(directory.filePath(QStringLiteral("theme-sources")));
    const auto read = [&sources](const QString &name) {
        QFile file(sources.filePath(name));
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    };
    const QString themeUri = QUrl::fromLocalFile(sources.filePath("prismark.qss.in")).toString();
    const QString lightUri =
        QUrl::fromLocalFile(sources.filePath("tokens/light.tokens.json")).toString();
    const QString good = read(QStringLiteral("tokens/light.tokens.json"));
    const int value = int(good.indexOf(QLatin1String("\"$value\": "),
                                       good.indexOf(QLatin1String("\"buttonText\": {")))) +
                      10;
    QVERIFY(value > 10);
    const QString planted =
        QString(good).replace(value, good.indexOf('"', value + 1) + 1 - value, "\"#eef2f7\"");
    const auto tellsPlanted = [&themeUri](const QJsonObject &m) {
        return m.value("method") == "textDocument/publishDiagnostics" &&
               m["params"]["uri"] == themeUri &&
               QJsonDocument(m).toJson().contains("ButtonText #eef2f7 on Button #eef2f7");
    };

    Client client;
    client.initialize();
    client.open(read(QStringLiteral("prismark.qss.in")), themeUri);
    client.open(good, lightUri);
    QVERIFY(!tellsPlanted(client.diagnosticsFor(themeUri).toObject()));
    QByteArray burst;
    int version = 1;
    for (const QString &text : {planted, good, planted}) {
        const QByteArray body =
            QJsonDocument(
                QJsonObject{
                    {"jsonrpc", "2.0"},
                    {"method", "textDocument/didChange"},
                    {"params",
                     QJsonObject{
                         {"textDocument", QJsonObject{{"uri", lightUri}, {"version", ++version}}},
                         {"contentChanges", QJsonArray{QJsonObject{{"text", text}}}}}}})
                .toJson(QJsonDocument::Compact);
        burst += "Content-Length: " + QByteArray::number(body.size()) + "\r\n\r\n" + body;
    }
    client.sendRaw(burst);
    QVERIFY(!client.take(tellsPlanted).toObject().isEmpty());
    client.change(lightUri, ++version, good);
    QVERIFY(!client
                 .take([&](const QJsonObject &m) {
                     return m.value("method") == "textDocument/publishDiagnostics" &&
                            m["params"]["uri"] == themeUri && !tellsPlanted(m);
                 })
                 .toObject()
                 .isEmpty());
}

void TestLsp::tokenFileDiagnostics_data()
{
    // The token file's text with "@" where the finding is expected, and what its
    // message says; theme: the file is the built-in themes' light tokens, which the
    // template names, else it lies in a folder no template is in.
    QTest::addColumn<bool>("theme");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("message");
    QTest::newRow("bad JSON") << false
                              << QStringLiteral(
                                     "{\n  \"a\": { \"$value\": \"#ffffff\" @\"b\" }\n}\n")
                              << QString();
    QTest::newRow("$type not a string")
        << false
        << QStringLiteral(
               "{\n  \"a\": {\n    \"$type\": @7,\n    \"$value\": \"#ffffff\"\n  }\n}\n")
        << QStringLiteral("\"$type\" is a string");
    QTest::newRow("value not of its type")
        << false
        << QStringLiteral(
               "{\n  \"a\": {\n    \"$type\": \"color\",\n    \"$value\": @\"#zz\"\n  }\n}\n")
        << QStringLiteral("not a colour");
    QTest::newRow("unknown alias")
        << false
        << QStringLiteral("{\n  \"$type\": \"color\",\n  \"a\": { \"$value\": @\"{b}\" }\n}\n")
        << QStringLiteral("{b}");
    QTest::newRow("cycle") << false
                           << QStringLiteral("{\n  \"$type\": \"color\",\n"
                                             "  \"a\": { \"$value\": \"{b}\" },\n"
                                             "  \"b\": { \"$value\": @\"{a}\" }\n}\n")
                           << QStringLiteral("a -> b -> a");
    QTest::newRow("unknown alias, in the template's context")
        << true << QStringLiteral("alternateBase={palette.nowhere}")
        << QStringLiteral("{palette.nowhere}");
    // Told on the template's @palette line, and on the value it came through.
    QTest::newRow("the template's finding through a token")
        << true << QStringLiteral("buttonText=#eef2f7")
        << QStringLiteral("ButtonText #eef2f7 on Button #eef2f7: contrast 1.00 : 1");
    // A rule's text colour that a token gives is told on that token's value, the
    // background's token named beside it.
    QTest::newRow("a rule's text colour through a token")
        << true << QStringLiteral("windowText=#f6f8fa")
        << QStringLiteral("text #f6f8fa on #f6f8fb in \"QWidget\": contrast 1.00 : 1");
}

void TestLsp::tokenFileDiagnostics()
{
    QFETCH(bool, theme);
    QFETCH(QString, text);
    QFETCH(QString, message);
    QTemporaryDir directory;
    QString path = directory.filePath(QStringLiteral("alone.tokens.json"));
    QString good = QStringLiteral("{ \"$type\": \"color\", \"a\": { \"$value\": \"#ffffff\" } }\n");
    if (theme) {
        QVERIFY(QProcess::execute(QStringLiteral("cp"),
                                  {QStringLiteral("-r"),
                                   QStringLiteral(PRISMARK_SOURCE_DIR "/resources/theme-sources"),
                                   directory.path()}) == 0);
        path = directory.filePath(QStringLiteral("theme-sources/tokens/light.tokens.json"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        good = QString::fromUtf8(file.readAll());
        // "key=value": the token's value planted in the editor's unsaved text only,
        // the disk keeping the good file.
        const QString key = QStringLiteral("\"%1\": {").arg(text.section(QLatin1Char('='), 0, 0));
        const int value = int(good.indexOf(QLatin1String("\"$value\": "), good.indexOf(key))) + 10;
        QVERIFY(value > 10);
        const int end = int(good.indexOf(QLatin1Char('"'), value + 1)) + 1;
        text = QString(good).replace(
            value, end - value, QStringLiteral("@\"%1\"").arg(text.section(QLatin1Char('='), 1)));
    }
    const int at = int(text.indexOf(QLatin1Char('@')));
    const int line = int(text.left(at).count(QLatin1Char('\n')));
    const int character = at - int(text.lastIndexOf(QLatin1Char('\n'), at - 1)) - 1;
    text.remove(at, 1);

    Client client;
    client.initialize();
    const QString uri = QUrl::fromLocalFile(path).toString();
    client.open(text, uri);
    // The planted finding, at its place; the good text's own findings (the built-in
    // themes have a few) may stand beside it.
    const auto planted = [&](const QJsonArray &diagnostics) {
        QJsonArray found;
        for (const QJsonValue &diagnostic : diagnostics) {
            if (diagnostic["message"].toString().contains(message) &&
                rangeText(diagnostic["range"].toObject()).section(QLatin1Char('-'), 0, 0) ==
                    QStringLiteral("%1:%2").arg(line).arg(character))
                found.append(diagnostic);
        }
        return found;
    };
    const QJsonArray diagnostics = client.diagnosticsFor(uri)["params"]["diagnostics"].toArray();
    const QJsonArray found = planted(diagnostics);
    QVERIFY2(found.size() == 1, QJsonDocument(diagnostics).toJson().constData());
    if (theme && !message.startsWith(QLatin1Char('{')))
        QVERIFY2(found[0]["message"].toString().endsWith(QLatin1String("[Light]")),
                 qPrintable(found[0]["message"].toString()));
    else
        QCOMPARE(found[0]["code"].toString(), QString(kThemeBuildCheckId));
    if (message.startsWith(QLatin1String("text "))) {
        const QJsonValue related = found[0]["relatedInformation"][0];
        QCOMPARE(related["location"]["uri"].toString(), uri);
        QCOMPARE(related["message"].toString(),
                 QStringLiteral("background #f6f8fb (via {palette.window})"));
    }
    if (!theme)
        QCOMPARE(diagnostics.size(), 1);

    // Mended in the editor, the file is checked again and the finding is gone.
    client.change(uri, 2, good);
    const QJsonArray mended = client.diagnosticsFor(uri, 2)["params"]["diagnostics"].toArray();
    QVERIFY(planted(mended).isEmpty());
    QVERIFY(std::none_of(mended.begin(), mended.end(), [](const QJsonValue &diagnostic) {
        return diagnostic["code"].toString() == kThemeBuildCheckId;
    }));
}

namespace {
// Runs session.lua, which the caller put in dir, in headless Neovim set up as the
// documentation says, on file; the session's log.
void runNeovimSession(const QDir &dir, const QString &file, QString *output)
{
    // The documented set-up, as a reader would copy it.
    QFile readme(QStringLiteral(PRISMARK_SOURCE_DIR "/docs/lsp.md"));
    QVERIFY(readme.open(QIODevice::ReadOnly));
    const QString markdown = QString::fromUtf8(readme.readAll());
    const QRegularExpression block(QStringLiteral("### Neovim\\n.*?```lua\\n(.*?)```"),
                                   QRegularExpression::DotMatchesEverythingOption);
    const QString setup = block.match(markdown).captured(1);
    QVERIFY(!setup.isEmpty());
    QFile init(dir.filePath(QStringLiteral("init.lua")));
    QVERIFY(init.open(QIODevice::WriteOnly));
    init.write(setup.toUtf8());
    init.close();

    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("PATH"),
                       QFileInfo(QStringLiteral(PRISMARK_LSP_BINARY)).path() + QLatin1Char(':') +
                           environment.value(QStringLiteral("PATH")));
    environment.insert(QStringLiteral("XDG_STATE_HOME"), dir.filePath(QStringLiteral("state")));
    environment.insert(QStringLiteral("XDG_DATA_HOME"), dir.filePath(QStringLiteral("data")));
    process.setProcessEnvironment(environment);
    process.setWorkingDirectory(dir.path());
    process.start(QStandardPaths::findExecutable(QStringLiteral("nvim")),
                  {QStringLiteral("--headless"), QStringLiteral("-u"),
                   dir.filePath(QStringLiteral("init.lua")), file, QStringLiteral("-c"),
                   QStringLiteral("luafile session.lua")});
    QVERIFY(process.waitForFinished(120000));
    QFile log(dir.filePath(QStringLiteral("session.log")));
    QVERIFY(log.open(QIODevice::ReadOnly));
    *output = QString::fromUtf8(log.readAll());
    qInfo().noquote() << *output;
}
} // namespace

void TestLsp::neovimSession()
{
    if (QStandardPaths::findExecutable(QStringLiteral("nvim")).isEmpty())
        QSKIP("nvim is not installed (Debian package neovim)");
    QTemporaryDir directory;
    const QDir dir(directory.path());
    QFile sheet(dir.filePath(QStringLiteral("mytheme.qss")));
    QVERIFY(sheet.open(QIODevice::WriteOnly));
    sheet.write(brokenLightSheet().toUtf8());
    sheet.close();
    QFile session(
        QStringLiteral(PRISMARK_SOURCE_DIR "/tests/programs/prismark-lsp/lsp-neovim-session.lua"));
    QVERIFY(session.copy(dir.filePath(QStringLiteral("session.lua"))));
    QString output;
    runNeovimSession(dir, QStringLiteral("mytheme.qss"), &output);
    if (QTest::currentTestFailed())
        return;
    QVERIFY2(output.contains(QLatin1String("diagnostics: ")) &&
                 output.contains(QLatin1String("[unknown-property]")),
             qPrintable(output));
    QVERIFY2(output.contains(QLatin1String("completed subcontrol: QScrollBar::handle")),
             qPrintable(output));
    QVERIFY2(output.contains(QLatin1String("completed property: border-radius:")),
             qPrintable(output));
    QVERIFY2(output.contains(QLatin1String("after quick fix 'Change to '")) &&
                 output.contains(QLatin1String("unknown-property diagnostics: ")),
             qPrintable(output));
    QVERIFY2(output.contains(QLatin1String("session: ok")), qPrintable(output));
}

void TestLsp::neovimTokenSession()
{
    if (QStandardPaths::findExecutable(QStringLiteral("nvim")).isEmpty())
        QSKIP("nvim is not installed (Debian package neovim)");
    QTemporaryDir directory;
    const QDir dir(directory.path());
    QVERIFY(QProcess::execute(QStringLiteral("cp"),
                              {QStringLiteral("-r"),
                               QStringLiteral(PRISMARK_SOURCE_DIR "/resources/theme-sources"),
                               dir.path()}) == 0);
    const QString themePath = dir.filePath(QStringLiteral("theme-sources/prismark.qss.in"));
    const ThemeBuild before = buildTheme(themePath);
    QVERIFY(before.ok());
    QFile session(
        QStringLiteral(PRISMARK_SOURCE_DIR "/tests/programs/prismark-lsp/lsp-neovim-tokens.lua"));
    QVERIFY(session.copy(dir.filePath(QStringLiteral("session.lua"))));
    QString output;
    runNeovimSession(dir, QStringLiteral("theme-sources/prismark.qss.in"), &output);
    if (QTest::currentTestFailed())
        return;
    QVERIFY2(output.contains(QLatin1String("session: ok")), qPrintable(output));
    QVERIFY2(output.contains(QLatin1String("Dark #1f2329")), qPrintable(output));
    QVERIFY2(output.contains(QLatin1String("definition: 12 places")), qPrintable(output));
    QVERIFY2(output.contains(QLatin1String("refused: only the last part")), qPrintable(output));
    // What Neovim wrote builds to the same sheets.
    const ThemeBuild after = buildTheme(themePath);
    QVERIFY(after.ok());
    for (int i = 0; i < after.sheets.size(); ++i)
        QCOMPARE(after.sheets.at(i).text, before.sheets.at(i).text);
}

QTEST_GUILESS_MAIN(TestLsp)
#include "tst_lsp.moc"
