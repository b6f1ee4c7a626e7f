// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "prismark-lsp/server/lspserver.h"

#include "prismark-lsp/protocol/textdocument.h"
#include "prismark-lsp/server/workspaceoptions.h"

#include <QJsonArray>
#include <QJsonDocument>

#include <cstdio>

LspServer::LspServer(Writer writer, const QString &version, Features features, QObject *parent)
    : QObject(parent)
    , writer(std::move(writer))
    , version(version)
    , features(features)
    , documents(*this)
{}

LspServer::~LspServer()
{
    waitForAnalyses();
}

void LspServer::waitForAnalyses()
{
    documents.waitForAnalyses();
}

void LspServer::receive(const QByteArray &bytes)
{
    if (isFinished())
        return;
    framer.append(bytes);
    // Parsed all at once, so a cancellation read with its request reaches it before
    // it is answered.
    struct Incoming
    {
        QJsonParseError error;
        QJsonValue message;
    };
    QVector<Incoming> batch;
    QSet<QString> cancelled;
    MessageFramer::Frame frame;
    while (framer.next(&frame)) {
        if (!frame.error.isEmpty()) {
            std::fprintf(stderr, "prismark-lsp: %s\n", qPrintable(frame.error));
            respondError(QJsonValue::Null, LspError::InvalidRequest, frame.error);
            continue;
        }
        Incoming incoming;
        const QJsonDocument document = QJsonDocument::fromJson(frame.body, &incoming.error);
        if (document.isObject()) {
            incoming.message = document.object();
            const QJsonObject object = document.object();
            if (object.value(QLatin1String("method")).toString() ==
                QLatin1String("$/cancelRequest")) {
                cancelled.insert(requestIdKey(
                    object.value(QLatin1String("params")).toObject().value(QLatin1String("id"))));
            }
        } else if (document.isArray()) {
            incoming.message = document.array();
        }
        batch.append(incoming);
    }
    for (const Incoming &incoming : qAsConst(batch)) {
        if (isFinished())
            return;
        process(incoming.error, incoming.message, cancelled);
    }
}

void LspServer::endOfInput()
{
    finish(shutdownRequested ? 0 : 1);
}

void LspServer::process(const QJsonParseError &parseError, const QJsonValue &message,
                        const QSet<QString> &cancelled)
{
    if (parseError.error != QJsonParseError::NoError) {
        respondError(QJsonValue::Null, LspError::ParseError,
                     QStringLiteral("malformed JSON: %1 at byte %2")
                         .arg(parseError.errorString())
                         .arg(parseError.offset));
        return;
    }
    if (!message.isObject()) {
        respondError(QJsonValue::Null, LspError::InvalidRequest,
                     QStringLiteral("a message must be one JSON object"));
        return;
    }
    const QJsonObject object = message.toObject();
    const QJsonValue id = object.value(QLatin1String("id"));
    const bool hasId = object.contains(QLatin1String("id"));
    const bool validId = id.isString() || id.isDouble();
    const QJsonValue method = object.value(QLatin1String("method"));
    if (!method.isString()) {
        // A response to this server (it sends no requests) is dropped.
        if (object.contains(QLatin1String("result")) || object.contains(QLatin1String("error")))
            return;
        respondError(validId ? id : QJsonValue(QJsonValue::Null), LspError::InvalidRequest,
                     QStringLiteral("a request needs a method"));
        return;
    }
    if (hasId && !validId) {
        respondError(QJsonValue::Null, LspError::InvalidRequest,
                     QStringLiteral("a request id is a number or a string"));
        return;
    }
    const QJsonValue params = object.value(QLatin1String("params"));
    dispatch(method.toString(), id, hasId, params.toObject(), cancelled);
}

void LspServer::dispatch(const QString &method, const QJsonValue &id, bool isRequest,
                         const QJsonObject &params, const QSet<QString> &cancelled)
{
    if (method == QLatin1String("exit")) {
        finish(shutdownRequested ? 0 : 1);
        return;
    }
    const Method *handled = MethodTable::find(method);
    if (!isRequest) {
        // Anything else, "initialized" and "$/" notifications included, needs nothing.
        if (initialized && !shutdownRequested && handled && handled->notification)
            (documents.*handled->notification)(params);
        return;
    }
    if (admit(method, id, params, cancelled))
        answer(handled, method, id, params);
}

bool LspServer::admit(const QString &method, const QJsonValue &id, const QJsonObject &params,
                      const QSet<QString> &cancelled)
{
    if (method == QLatin1String("initialize")) {
        if (initialized)
            respondError(id, LspError::InvalidRequest,
                         QStringLiteral("initialize was already called"));
        else
            respond(id, initialize(params));
        return false;
    }
    if (!initialized) {
        respondError(id, LspError::ServerNotInitialized,
                     QStringLiteral("the first request must be initialize"));
        return false;
    }
    if (shutdownRequested) {
        respondError(id, LspError::InvalidRequest, QStringLiteral("the server is shutting down"));
        return false;
    }
    if (cancelled.contains(requestIdKey(id))) {
        respondError(id, LspError::RequestCancelled, QStringLiteral("cancelled"));
        return false;
    }
    if (method == QLatin1String("shutdown")) {
        shutdownRequested = true;
        respond(id, QJsonValue::Null);
        return false;
    }
    return true;
}

void LspServer::answer(const Method *method, const QString &name, const QJsonValue &id,
                       const QJsonObject &params)
{
    if (!method || !method->answer || !MethodTable::serves(*method, features)) {
        respondError(id, LspError::MethodNotFound,
                     QStringLiteral("unknown method \"%1\"").arg(name));
        return;
    }
    ResponseError error;
    OpenDocument *document = documents.requested(params, &error);
    if (!document) {
        respondError(id, error.code, error.message);
        return;
    }
    if (document->embedding != EmbeddingLanguage::None && method->embedded != InEmbedded::Answers) {
        respond(id, method->embedded == InEmbedded::Null ? QJsonValue(QJsonValue::Null)
                                                         : QJsonValue(QJsonArray()));
        return;
    }
    const Answer answer = method->answer;
    const auto later = [this, answer, params](OpenDocument &document) {
        ResponseError ignored;
        return answer(answerContext(), document, params, &ignored);
    };
    if (method->waitsForAnalysis && documents.deferUntilAnalysed(*document, id, later))
        return;
    const QJsonValue result = answer(answerContext(), *document, params, &error);
    if (error.code != 0)
        respondError(id, error.code, error.message);
    else
        respond(id, result);
}

QJsonValue LspServer::initialize(const QJsonObject &params)
{
    initialized = true;
    // The workspace's application, as a walk of its folder learns it (the first folder
    // of several; rootUri from a client that names no folders).
    const QJsonArray folders = params.value(QLatin1String("workspaceFolders")).toArray();
    const QString root = folders.isEmpty()
                             ? params.value(QLatin1String("rootUri")).toString()
                             : folders.first().toObject().value(QLatin1String("uri")).toString();
    setWorkspaceFolder(root.isEmpty() ? QString() : localPathOfUri(root));
    const QJsonObject capabilities = params.value(QLatin1String("capabilities")).toObject();
    client = ClientCapabilities::fromInitialize(capabilities);
    const QJsonArray encodings = capabilities.value(QLatin1String("general"))
                                     .toObject()
                                     .value(QLatin1String("positionEncodings"))
                                     .toArray();
    const bool utf8 = encodings.contains(QStringLiteral("utf-8"));
    documents.setEncoding(utf8 ? PositionEncoding::Utf8 : PositionEncoding::Utf16);
    QJsonObject server = MethodTable::capabilities(features);
    server.insert(QStringLiteral("positionEncoding"),
                  utf8 ? QStringLiteral("utf-8") : QStringLiteral("utf-16"));
    return QJsonObject{
        {QStringLiteral("capabilities"), server},
        {QStringLiteral("serverInfo"),
         QJsonObject{{QStringLiteral("name"), QStringLiteral("prismark-lsp")},
                     {QStringLiteral("version"), version}}},
    };
}

AnswerContext LspServer::answerContext() const
{
    return {client, documents.encoding(), documents.all()};
}

void LspServer::respond(const QJsonValue &id, const QJsonValue &result)
{
    send(responseMessage(id, result));
}

void LspServer::respondError(const QJsonValue &id, int code, const QString &message)
{
    send(errorMessage(id, code, message));
}

void LspServer::notify(const QString &method, const QJsonObject &params)
{
    send(notificationMessage(method, params));
}

void LspServer::send(const QJsonObject &message)
{
    if (isFinished())
        return;
    if (!writer(MessageFramer::frame(QJsonDocument(message).toJson(QJsonDocument::Compact))))
        finish(1);
}

void LspServer::finish(int status)
{
    if (isFinished())
        return;
    finishedStatus = status;
    emit finished(status);
}
