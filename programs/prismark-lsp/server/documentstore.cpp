// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "prismark-lsp/server/documentstore.h"

#include "prismark-lsp/server/openworkspace.h"
#include "support/safefileread.h"

#include <cstdio>

namespace {
qint64 utf8Size(const QString &text)
{
    qint64 size = 0;
    for (const QChar c : text) {
        const ushort u = c.unicode();
        // A surrogate pair is four bytes, two for each half.
        size += u < 0x80 ? 1 : u < 0x800 ? 2 : c.isSurrogate() ? 2 : 3;
    }
    return size;
}

QString uriOf(const QJsonObject &params)
{
    return params.value(QLatin1String("textDocument"))
        .toObject()
        .value(QLatin1String("uri"))
        .toString();
}
} // namespace

DocumentStore::DocumentStore(Outbox &outbox)
    : outbox(outbox)
{
    QObject::connect(
        &scheduler, &AnalysisScheduler::analysed, &scheduler,
        [this](const QString &uri, int generation, const QVector<LintDiagnostic> &diagnostics) {
            analysed(uri, generation, diagnostics);
        });
}

void DocumentStore::waitForAnalyses()
{
    scheduler.waitForDone();
}

OpenDocument *DocumentStore::requested(const QJsonObject &params, ResponseError *error) const
{
    const QJsonValue uri =
        params.value(QLatin1String("textDocument")).toObject().value(QLatin1String("uri"));
    if (!uri.isString()) {
        *error = {LspError::InvalidParams, QStringLiteral("params.textDocument.uri is missing")};
        return nullptr;
    }
    const auto it = documents.constFind(uri.toString());
    if (it == documents.cend()) {
        *error = {LspError::InvalidParams,
                  QStringLiteral("the document \"%1\" is not open").arg(uri.toString())};
        return nullptr;
    }
    return it->get();
}

bool DocumentStore::deferUntilAnalysed(OpenDocument &document, const QJsonValue &id,
                                       const std::function<QJsonValue(OpenDocument &)> &answer)
{
    if (document.tooLarge || document.publishedGeneration == document.generation)
        return false;
    document.waiting.append({id, answer});
    return true;
}

void DocumentStore::answerWaiting(OpenDocument &document)
{
    const auto waiting = document.waiting;
    document.waiting.clear();
    for (const OpenDocument::Waiting &request : waiting)
        outbox.respond(request.id, request.answer(document));
}

void DocumentStore::cancel(const QJsonObject &params)
{
    const QString key = requestIdKey(params.value(QLatin1String("id")));
    for (const auto &document : qAsConst(documents)) {
        auto &waiting = document->waiting;
        for (int i = 0; i < waiting.size(); ++i) {
            if (requestIdKey(waiting.at(i).id) == key) {
                outbox.respondError(waiting.takeAt(i).id, LspError::RequestCancelled,
                                    QStringLiteral("cancelled"));
                return;
            }
        }
    }
}

void DocumentStore::open(const QJsonObject &params)
{
    const QJsonObject item = params.value(QLatin1String("textDocument")).toObject();
    const QString uri = item.value(QLatin1String("uri")).toString();
    if (uri.isEmpty())
        return;
    auto document = std::make_shared<OpenDocument>(
        TextDocument(uri, item.value(QLatin1String("text")).toString(),
                     item.value(QLatin1String("version")).toInt(), positionEncoding));
    document->embedding =
        documentEmbedding(uri, item.value(QLatin1String("languageId")).toString());
    const auto previous = documents.constFind(uri);
    if (previous != documents.cend())
        document->generation = (*previous)->generation;
    documents.insert(uri, document);
    changed(*document);
}

void DocumentStore::change(const QJsonObject &params)
{
    const QJsonObject item = params.value(QLatin1String("textDocument")).toObject();
    const auto it = documents.constFind(item.value(QLatin1String("uri")).toString());
    if (it == documents.cend()) {
        std::fprintf(stderr, "prismark-lsp: a change to a document that is not open\n");
        return;
    }
    OpenDocument &document = **it;
    // Typing inside a literal moves the sheets read before; anything else reads them anew.
    bool sheetsKept = document.embedded && document.embeddedGeneration == document.generation;
    for (const QJsonValue &value : params.value(QLatin1String("contentChanges")).toArray()) {
        const QJsonObject change = value.toObject();
        const QString text = change.value(QLatin1String("text")).toString();
        int start = 0;
        int end = 0;
        if (document.text.rangeOffsets(change.value(QLatin1String("range")).toObject(), &start,
                                       &end)) {
            document.text.replace(start, end, text);
            sheetsKept =
                sheetsKept && document.embedded->applyEdit(start, end, text, document.text.text());
        } else {
            document.text.setText(text);
            sheetsKept = false;
        }
    }
    document.text.version = item.value(QLatin1String("version")).toInt(document.text.version);
    changed(document);
    if (sheetsKept)
        document.embeddedGeneration = document.generation;
}

void DocumentStore::save(const QJsonObject &params)
{
    // The files its url()s name may have changed with it.
    const auto it = documents.constFind(uriOf(params));
    if (it != documents.cend())
        changed(**it);
}

void DocumentStore::close(const QJsonObject &params)
{
    const QString uri = uriOf(params);
    const auto it = documents.find(uri);
    if (it == documents.end())
        return;
    const std::shared_ptr<OpenDocument> document = *it;
    documents.erase(it);
    for (const OpenDocument::Waiting &request : qAsConst(document->waiting))
        outbox.respond(request.id, QJsonArray());
    scheduler.forget(uri);
    publish(uri, QJsonArray(), -1);
    // The others now read the file from disk.
    if (isTokenDocument(*document)) {
        const auto open = documents;
        for (const std::shared_ptr<OpenDocument> &other : open) {
            if (isTokenDocument(*other))
                changed(*other, false);
        }
    }
}

void DocumentStore::changed(OpenDocument &document, bool withRelated)
{
    ++document.generation;
    document.published.clear();
    const TextDocument &text = document.text;
    if (utf8Size(text.text()) > kMaxDocumentBytes) {
        setAside(document);
        return;
    }
    document.tooLarge = false;
    if (document.embedding != EmbeddingLanguage::None) {
        scheduler.scheduleEmbedded(text.uri, text.path, text.text(), document.generation,
                                   document.embedding);
        return;
    }
    if (!isTokenDocument(document)) {
        scheduler.schedule(text.uri, text.path, text.text(), document.generation);
        return;
    }
    if (!withRelated) {
        scheduler.schedule(text.uri, text.path, text.text(), document.generation,
                           tokenContext(documents, document));
        return;
    }
    // A template's findings can lie in a token file and a token file's come from the
    // templates: every open theme source is checked again with the new text. Once for
    // all the changes read together (a rename changes every one of them), after the
    // requests read with them are answered.
    if (themeSourcesDue)
        return;
    themeSourcesDue = true;
    QMetaObject::invokeMethod(
        &scheduler, [this] { checkThemeSources(); }, Qt::QueuedConnection);
}

void DocumentStore::checkThemeSources()
{
    themeSourcesDue = false;
    const auto open = documents;
    for (const std::shared_ptr<OpenDocument> &document : open) {
        if (isTokenDocument(*document))
            changed(*document, false);
    }
}

void DocumentStore::setAside(OpenDocument &document)
{
    const TextDocument &text = document.text;
    if (!document.tooLarge) {
        outbox.notify(QStringLiteral("window/showMessage"),
                      QJsonObject{{QStringLiteral("type"), kLspMessageError},
                                  {QStringLiteral("message"),
                                   QStringLiteral("prismark-lsp: %1 is larger than %2; it is not "
                                                  "analysed")
                                       .arg(text.uri, byteLimitText(kMaxDocumentBytes))}});
    }
    document.tooLarge = true;
    scheduler.forget(text.uri);
    publish(text.uri, QJsonArray(), text.version);
    answerWaiting(document);
}

void DocumentStore::analysed(const QString &uri, int generation,
                             const QVector<LintDiagnostic> &diagnostics)
{
    const auto it = documents.constFind(uri);
    if (it == documents.cend() || (*it)->generation != generation || (*it)->tooLarge)
        return;
    OpenDocument &document = **it;
    document.published.clear();
    QJsonArray json;
    for (const LintDiagnostic &diagnostic : diagnostics) {
        document.published.append(publishedDiagnostic(document.text, diagnostic));
        json.append(document.published.constLast().json);
    }
    document.publishedGeneration = generation;
    publish(uri, json, document.text.version);
    answerWaiting(document);
}

void DocumentStore::publish(const QString &uri, const QJsonArray &diagnostics, int version)
{
    QJsonObject params{{QStringLiteral("uri"), uri}, {QStringLiteral("diagnostics"), diagnostics}};
    if (version >= 0)
        params.insert(QStringLiteral("version"), version);
    outbox.notify(QStringLiteral("textDocument/publishDiagnostics"), params);
}
