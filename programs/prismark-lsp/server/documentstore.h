// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include "prismark-lsp/server/analysisscheduler.h"
#include "prismark-lsp/server/opendocument.h"

#include <QJsonArray>
#include <QJsonObject>

// What the store tells the client: published diagnostics, the answers of requests
// that waited for them, and messages.
class Outbox
{
public:
    virtual void respond(const QJsonValue &id, const QJsonValue &result) = 0;
    virtual void respondError(const QJsonValue &id, int code, const QString &message) = 0;
    virtual void notify(const QString &method, const QJsonObject &params) = 0;

protected:
    ~Outbox() = default;
};

// The documents the client has open, kept by its notifications and analysed on
// worker threads as they change; each analysis's diagnostics are published to the
// client when they are still those of the document's text.
class DocumentStore
{
public:
    // A document larger than this, in UTF-8, is kept but not analysed.
    static constexpr qint64 kMaxDocumentBytes = 16 * 1024 * 1024;

    explicit DocumentStore(Outbox &outbox);

    // How positions count columns, as initialize agreed; documents opened after take it.
    void setEncoding(PositionEncoding encoding) { positionEncoding = encoding; }
    PositionEncoding encoding() const { return positionEncoding; }

    // The notifications that keep the documents.
    void open(const QJsonObject &params);
    void change(const QJsonObject &params);
    void save(const QJsonObject &params);
    void close(const QJsonObject &params);
    // A request that waits for its document's analysis is answered as cancelled.
    void cancel(const QJsonObject &params);

    // The open document a request's params name, or an error.
    OpenDocument *requested(const QJsonObject &params, ResponseError *error) const;
    // Whether a request about document must wait for its current text's diagnostics;
    // if so, answer is called and its result sent once they are published.
    bool deferUntilAnalysed(OpenDocument &document, const QJsonValue &id,
                            const std::function<QJsonValue(OpenDocument &)> &answer);
    const OpenDocuments &all() const { return documents; }
    // Lets every analysis still running end.
    void waitForAnalyses();

private:
    // withRelated: the other open templates and token files are checked again too.
    void changed(OpenDocument &document, bool withRelated = true);
    // Every open template and token file checked again with the texts held now.
    void checkThemeSources();
    // Too large to analyse: kept, and its diagnostics cleared.
    void setAside(OpenDocument &document);
    void analysed(const QString &uri, int generation, const QVector<LintDiagnostic> &diagnostics);
    void publish(const QString &uri, const QJsonArray &diagnostics, int version);
    void answerWaiting(OpenDocument &document);

    Outbox &outbox;
    AnalysisScheduler scheduler;
    OpenDocuments documents;
    PositionEncoding positionEncoding = PositionEncoding::Utf16;
    // checkThemeSources() is posted and has not run yet.
    bool themeSourcesDue = false;
};
