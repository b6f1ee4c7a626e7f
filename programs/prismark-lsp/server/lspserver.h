// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include "prismark-lsp/protocol/clientcapabilities.h"
#include "prismark-lsp/protocol/messageframer.h"
#include "prismark-lsp/server/documentstore.h"
#include "prismark-lsp/server/methodtable.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonValue>
#include <QObject>
#include <QSet>

#include <functional>

// The language server's transport and dispatch: reads framed JSON-RPC messages, keeps
// the protocol's lifecycle, and hands each method to what its row in the method table
// binds: a notification to the open documents, a request to its feature's answer, on
// the thread that reads them. The documents' analyses run on worker threads.
class LspServer : public QObject, private Outbox
{
    Q_OBJECT
public:
    // Writes one framed message; false when the client can no longer be reached.
    using Writer = std::function<bool(const QByteArray &)>;
    using Features = ServedFeatures;

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
    void process(const QJsonParseError &parseError, const QJsonValue &message,
                 const QSet<QString> &cancelled);
    void dispatch(const QString &method, const QJsonValue &id, bool isRequest,
                  const QJsonObject &params, const QSet<QString> &cancelled);
    // The lifecycle's part of a request: false when it was answered here.
    bool admit(const QString &method, const QJsonValue &id, const QJsonObject &params,
               const QSet<QString> &cancelled);
    void answer(const Method *method, const QString &name, const QJsonValue &id,
                const QJsonObject &params);
    QJsonValue initialize(const QJsonObject &params);
    AnswerContext answerContext() const;

    void respond(const QJsonValue &id, const QJsonValue &result) override;
    void respondError(const QJsonValue &id, int code, const QString &message) override;
    void notify(const QString &method, const QJsonObject &params) override;
    void send(const QJsonObject &message);
    void finish(int status);

    Writer writer;
    QString version;
    Features features = Features::All;
    MessageFramer framer;
    DocumentStore documents;
    ClientCapabilities client;
    bool initialized = false;
    bool shutdownRequested = false;
    int finishedStatus = -1;
};
