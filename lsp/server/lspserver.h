// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include "lsp/features/embeddeddocument.h"
#include "lsp/features/tokencolours.h"
#include "lsp/features/tokenworkspace.h"
#include "lsp/protocol/clientcapabilities.h"
#include "lsp/protocol/messageframer.h"
#include "lsp/protocol/protocol.h"
#include "lsp/protocol/textdocument.h"
#include "lsp/server/analysisscheduler.h"

#include <QHash>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonValue>
#include <QObject>
#include <QSet>

#include <functional>
#include <memory>
#include <optional>

// The language server: reads framed JSON-RPC messages, keeps the documents the
// client has open, answers requests on the thread that reads them and publishes the
// analysis's diagnostics, which worker threads produce.
class LspServer : public QObject
{
    Q_OBJECT
public:
    // Writes one framed message; false when the client can no longer be reached.
    using Writer = std::function<bool(const QByteArray &)>;

    // A document larger than this, in UTF-8, is kept but not analysed.
    static constexpr qint64 kMaxDocumentBytes = 16 * 1024 * 1024;

    // What initialize announces: every feature, or only those answered inside the sheets
    // forms and sources embed, for a client that starts the server for those alone.
    enum class Features
    {
        All,
        EmbeddedSheets,
    };

    LspServer(Writer writer, const QString &version, Features features = Features::All,
              QObject *parent = nullptr);
    ~LspServer() override;

    // Bytes read from the client, in any pieces.
    void receive(const QByteArray &bytes);
    // The client closed its end.
    void endOfInput();
    bool isFinished() const { return finishedStatus >= 0; }
    // Lets every analysis still running end, so no thread outlives the server.
    void waitForAnalyses();

signals:
    // exit, end of input or a client that cannot be written to: 0 after shutdown.
    void finished(int exitStatus);

private:
    struct ResponseError
    {
        int code = 0;
        QString message;
    };
    struct Document;
    // A request's answer about the open document it names; sets error when it fails.
    using Answer = QJsonValue (LspServer::*)(Document &, const QJsonObject &,
                                             ResponseError *) const;
    struct Document
    {
        explicit Document(const TextDocument &text)
            : text(text)
        {}
        TextDocument text;
        // A form or a source: only its embedded sheets are served.
        EmbeddingLanguage embedding = EmbeddingLanguage::None;
        // Its sheets, read for the text of embeddedGeneration.
        std::optional<EmbeddedDocument> embedded;
        int embeddedGeneration = -1;
        int generation = 0;
        int publishedGeneration = 0;
        bool tooLarge = false;
        QVector<PublishedDiagnostic> published;
        // Requests (quick fixes) asked for while the text's analysis runs: answered once
        // its diagnostics are published, so a fix never edits by stale positions.
        struct Waiting
        {
            QJsonValue id;
            QJsonObject params;
            Answer answer;
        };
        QVector<Waiting> waiting;
    };
    using Notification = void (LspServer::*)(const QJsonObject &);
    // What a request answers in a form or a source: the sheet features inside its
    // literals; a feature of style sheet files alone answers null or no items there.
    enum class InEmbedded
    {
        Answers,
        Null,
        NoItems,
    };
    // One method the server handles and what initialize announces for it; the methods
    // of one feature (rename and its preparation) announce their parts of one
    // capability.
    struct Method
    {
        Method(const char *name, const QJsonObject &announces, Answer answer, InEmbedded embedded,
               bool waitsForAnalysis = false)
            : name(QLatin1String(name))
            , announces(announces)
            , answer(answer)
            , embedded(embedded)
            , waitsForAnalysis(waitsForAnalysis)
        {}
        Method(const char *name, const QJsonObject &announces, Notification notification)
            : name(QLatin1String(name))
            , announces(announces)
            , notification(notification)
        {}
        QString name;
        QJsonObject announces;
        Answer answer = nullptr;
        Notification notification = nullptr;
        InEmbedded embedded = InEmbedded::Answers;
        // Answered only from the diagnostics of the document's current text.
        bool waitsForAnalysis = false;
    };
    static const QVector<Method> &methods();
    static const Method *methodNamed(const QString &name);
    bool serves(const Method &method) const;

    void process(const QJsonParseError &parseError, const QJsonValue &message,
                 const QSet<QString> &cancelled);
    void dispatch(const QString &method, const QJsonValue &id, bool isRequest,
                  const QJsonObject &params, const QSet<QString> &cancelled);
    void respond(const QJsonValue &id, const QJsonValue &result);
    void respondError(const QJsonValue &id, int code, const QString &message);
    void notify(const QString &method, const QJsonObject &params);
    void send(const QJsonObject &message);
    void finish(int status);

    QJsonValue initialize(const QJsonObject &params);
    void didOpen(const QJsonObject &params);
    void didChange(const QJsonObject &params);
    void didSave(const QJsonObject &params);
    void didClose(const QJsonObject &params);
    void cancelRequest(const QJsonObject &params);
    // withRelated: the other open templates and token files are checked again too.
    void documentChanged(Document &document, bool withRelated = true);
    // Every open template and token file checked again with the texts held now.
    void checkThemeSources();
    void publish(const QString &uri, const QJsonArray &diagnostics, int version);
    void analysed(const QString &uri, int generation, const QVector<LintDiagnostic> &diagnostics);
    // The open document a request names, or an error.
    Document *requestedDocument(const QJsonObject &params, ResponseError *error);
    // The answers, one for each request in methods().
    QJsonValue completionAnswer(Document &document, const QJsonObject &params,
                                ResponseError *) const;
    QJsonValue hoverAnswer(Document &document, const QJsonObject &params, ResponseError *) const;
    QJsonValue formattingAnswer(Document &document, const QJsonObject &params,
                                ResponseError *) const;
    QJsonValue renameAnswer(Document &document, const QJsonObject &params,
                            ResponseError *error) const;
    QJsonValue documentColourAnswer(Document &document, const QJsonObject &params,
                                    ResponseError *) const;
    QJsonValue colourPresentationAnswer(Document &document, const QJsonObject &params,
                                        ResponseError *) const;
    QJsonValue documentSymbolAnswer(Document &document, const QJsonObject &params,
                                    ResponseError *) const;
    QJsonValue definitionAnswer(Document &document, const QJsonObject &params,
                                ResponseError *) const;
    QJsonValue referencesAnswer(Document &document, const QJsonObject &params,
                                ResponseError *) const;
    QJsonValue prepareRenameAnswer(Document &document, const QJsonObject &params,
                                   ResponseError *) const;
    QJsonValue codeActionAnswer(Document &document, const QJsonObject &params,
                                ResponseError *) const;
    // A theme template or a token file, where token paths are looked up.
    static bool isTokenDocument(const Document &document);
    TokenWorkspace tokenWorkspace(const Document &document) const;
    TokenContext tokenContext(const Document &document) const;
    static const EmbeddedDocument &embeddedSheets(Document &document);
    QVector<ColourInformation> coloursOf(const Document &document) const;
    QJsonArray locationsJson(const TokenWorkspace &workspace, const QVector<FileSpan> &spans) const;
    void answerWaiting(Document &document);

    Writer writer;
    QString version;
    Features features = Features::All;
    MessageFramer framer;
    AnalysisScheduler scheduler;
    QHash<QString, std::shared_ptr<Document>> documents;
    ClientCapabilities client;
    PositionEncoding encoding = PositionEncoding::Utf16;
    bool initialized = false;
    bool shutdownRequested = false;
    // checkThemeSources() is posted and has not run yet.
    bool themeSourcesDue = false;
    int finishedStatus = -1;
};
