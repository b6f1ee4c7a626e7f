// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "lsp/server/lspserver.h"

#include "analysis/lintconfig.h"
#include "analysis/templatelint.h"
#include "lsp/features/codeactions.h"
#include "lsp/features/colours.h"
#include "lsp/features/completion.h"
#include "lsp/features/definition.h"
#include "lsp/features/diagnostichover.h"
#include "lsp/features/formatting.h"
#include "lsp/features/hover.h"
#include "lsp/features/symbols.h"
#include "lsp/features/templatefunctions.h"
#include "lsp/features/tokencolours.h"
#include "lsp/features/tokenfilecompletion.h"
#include "lsp/features/tokennavigation.h"
#include "lsp/features/tokenreferences.h"
#include "lsp/features/tokenworkspace.h"
#include "support/safefileread.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>

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

// A capability the methods of one feature announce in parts: their options are
// merged, and options stand for a bare true.
QJsonObject mergedCapabilities(QJsonObject capabilities, const QJsonObject &announced)
{
    for (auto it = announced.begin(); it != announced.end(); ++it) {
        const QJsonValue present = capabilities.value(it.key());
        if (present.isObject() && it.value().isObject())
            capabilities.insert(it.key(),
                                mergedCapabilities(present.toObject(), it.value().toObject()));
        else if (!present.isObject())
            capabilities.insert(it.key(), it.value());
    }
    return capabilities;
}

QString idKey(const QJsonValue &id)
{
    return id.isString() ? QLatin1Char('s') + id.toString()
                         : QLatin1Char('n') + QString::number(id.toDouble(), 'g', 17);
}

} // namespace

LspServer::LspServer(Writer writer, const QString &version, Features features, QObject *parent)
    : QObject(parent)
    , writer(std::move(writer))
    , version(version)
    , features(features)
{
    connect(&scheduler, &AnalysisScheduler::analysed, this, &LspServer::analysed);
}

LspServer::~LspServer()
{
    waitForAnalyses();
}

void LspServer::waitForAnalyses()
{
    scheduler.waitForDone();
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
                cancelled.insert(idKey(
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
    const Method *handled = methodNamed(method);
    if (!isRequest) {
        if (!initialized || shutdownRequested)
            return;
        // Anything else, "initialized" and "$/" notifications included, needs nothing.
        if (handled && handled->notification)
            (this->*handled->notification)(params);
        return;
    }
    if (method == QLatin1String("initialize")) {
        if (initialized)
            respondError(id, LspError::InvalidRequest,
                         QStringLiteral("initialize was already called"));
        else
            respond(id, initialize(params));
        return;
    }
    if (!initialized) {
        respondError(id, LspError::ServerNotInitialized,
                     QStringLiteral("the first request must be initialize"));
        return;
    }
    if (shutdownRequested) {
        respondError(id, LspError::InvalidRequest, QStringLiteral("the server is shutting down"));
        return;
    }
    if (cancelled.contains(idKey(id))) {
        respondError(id, LspError::RequestCancelled, QStringLiteral("cancelled"));
        return;
    }
    if (method == QLatin1String("shutdown")) {
        shutdownRequested = true;
        respond(id, QJsonValue::Null);
        return;
    }
    if (!handled || !handled->answer || !serves(*handled)) {
        respondError(id, LspError::MethodNotFound,
                     QStringLiteral("unknown method \"%1\"").arg(method));
        return;
    }
    ResponseError error;
    Document *document = requestedDocument(params, &error);
    if (!document) {
        respondError(id, error.code, error.message);
        return;
    }
    if (document->embedding != EmbeddingLanguage::None &&
        handled->embedded != InEmbedded::Answers) {
        respond(id, handled->embedded == InEmbedded::Null ? QJsonValue(QJsonValue::Null)
                                                          : QJsonValue(QJsonArray()));
        return;
    }
    if (handled->waitsForAnalysis && !document->tooLarge &&
        document->publishedGeneration != document->generation) {
        document->waiting.append({id, params, handled->answer});
        return;
    }
    const QJsonValue result = (this->*handled->answer)(*document, params, &error);
    if (error.code != 0)
        respondError(id, error.code, error.message);
    else
        respond(id, result);
}

QJsonValue LspServer::initialize(const QJsonObject &params)
{
    initialized = true;
    const QJsonObject capabilities = params.value(QLatin1String("capabilities")).toObject();
    client = ClientCapabilities::fromInitialize(capabilities);
    const QJsonArray encodings = capabilities.value(QLatin1String("general"))
                                     .toObject()
                                     .value(QLatin1String("positionEncodings"))
                                     .toArray();
    encoding = encodings.contains(QStringLiteral("utf-8")) ? PositionEncoding::Utf8
                                                           : PositionEncoding::Utf16;
    QJsonObject server{{QStringLiteral("positionEncoding"), encoding == PositionEncoding::Utf8
                                                                ? QStringLiteral("utf-8")
                                                                : QStringLiteral("utf-16")}};
    for (const Method &method : methods()) {
        if (serves(method))
            server = mergedCapabilities(server, method.announces);
    }
    return QJsonObject{
        {QStringLiteral("capabilities"), server},
        {QStringLiteral("serverInfo"),
         QJsonObject{{QStringLiteral("name"), QStringLiteral("prismark-lsp")},
                     {QStringLiteral("version"), version}}},
    };
}

QJsonValue LspServer::completionAnswer(Document &document, const QJsonObject &params,
                                       ResponseError *) const
{
    if (document.tooLarge)
        return QJsonValue(QJsonArray());
    const int offset = document.text.offsetAt(params.value(QLatin1String("position")).toObject());
    if (document.embedding != EmbeddingLanguage::None) {
        // The application's forms, as the analysis of this document's sheets is configured.
        const LintOptions options = lintConfigForSheet(document.text.path).options;
        return QJsonValue(QJsonObject{
            {QStringLiteral("isIncomplete"), false},
            {QStringLiteral("items"),
             toJson(document.text, embeddedCompletionItems(embeddedSheets(document), offset, client,
                                                           options.applicationObjects.get()))}});
    }
    // A token file is JSON: nothing of a style sheet is offered there.
    if (isTokenFilePath(document.text.path))
        return QJsonValue(QJsonObject{
            {QStringLiteral("isIncomplete"), false},
            {QStringLiteral("items"),
             toJson(document.text, tokenFileCompletions(tokenWorkspace(document),
                                                        document.text.text(), offset))}});
    QVector<CompletionItem> items;
    if (isThemeTemplatePath(document.text.path))
        items = tokenCompletions(document.text.text(), offset, document.text.path);
    if (items.isEmpty()) {
        // The application's forms, as the analysis of this document is configured.
        const LintOptions options = lintConfigForSheet(document.text.path).options;
        items =
            colourFunctionCompletions(document.text.text(), offset, document.text.path,
                                      client.snippets) +
            completionItems(document.text.text(), offset, client, options.applicationObjects.get());
    }
    return QJsonValue(QJsonObject{{QStringLiteral("isIncomplete"), false},
                                  {QStringLiteral("items"), toJson(document.text, items)}});
}

QJsonValue LspServer::hoverAnswer(Document &document, const QJsonObject &params,
                                  ResponseError *) const
{
    if (document.tooLarge)
        return QJsonValue(QJsonValue::Null);
    const int offset = document.text.offsetAt(params.value(QLatin1String("position")).toObject());
    // Diagnostics of an older text would stand in the wrong places.
    const bool current = document.publishedGeneration == document.generation;
    if (document.embedding != EmbeddingLanguage::None) {
        const EmbeddedDocument &sheets = embeddedSheets(document);
        if (!sheets.placeAt(offset))
            return QJsonValue(QJsonValue::Null);
        return toJson(document.text,
                      joinHovers(diagnosticHoverAt(current ? document.published
                                                           : QVector<PublishedDiagnostic>(),
                                                   offset, client.markdownHover),
                                 embeddedHoverAt(sheets, offset, client)));
    }
    if (isTokenDocument(document)) {
        if (const auto token = tokenHover(tokenWorkspace(document), document.text.path, offset,
                                          client.markdownHover))
            return toJson(document.text, token);
        if (const auto function = colourFunctionHover(document.text.text(), offset,
                                                      document.text.path, client.markdownHover))
            return toJson(document.text, function);
    }
    return toJson(
        document.text,
        joinHovers(diagnosticHoverAt(current ? document.published : QVector<PublishedDiagnostic>(),
                                     offset, client.markdownHover),
                   hoverAt(document.text.text(), offset, client)));
}

// prismark-fmt's layout; a range formats the whole sheet (see formattingEdits).
QJsonValue LspServer::formattingAnswer(Document &document, const QJsonObject &params,
                                       ResponseError *) const
{
    QJsonArray edits;
    if (document.tooLarge)
        return QJsonValue(edits);
    const QJsonObject options = params.value(QStringLiteral("options")).toObject();
    const bool spaces = options.value(QStringLiteral("insertSpaces")).toBool(true);
    const int indent = spaces ? options.value(QStringLiteral("tabSize")).toInt(4) : 4;
    const SheetFormatOptions layout = formattingOptions(document.text.path, indent);
    for (const PublishedFix &edit : formattingEdits(document.text.text(), layout))
        edits.append(
            QJsonObject{{QStringLiteral("range"), document.text.range(edit.start, edit.end)},
                        {QStringLiteral("newText"), edit.newText}});
    return QJsonValue(edits);
}

namespace {
int positionOffset(const TextDocument &text, const QJsonObject &params)
{
    return text.offsetAt(params.value(QLatin1String("position")).toObject());
}
} // namespace

const QVector<LspServer::Method> &LspServer::methods()
{
    static const QVector<Method> table{
        {"textDocument/didOpen",
         {{"textDocumentSync", QJsonObject{{"openClose", true}}}},
         &LspServer::didOpen},
        // 2: the client sends the changed ranges, not the whole text.
        {"textDocument/didChange",
         {{"textDocumentSync", QJsonObject{{"change", 2}}}},
         &LspServer::didChange},
        {"textDocument/didSave",
         {{"textDocumentSync", QJsonObject{{"save", QJsonObject{{"includeText", false}}}}}},
         &LspServer::didSave},
        {"textDocument/didClose",
         {{"textDocumentSync", QJsonObject{{"openClose", true}}}},
         &LspServer::didClose},
        {"$/cancelRequest", {}, &LspServer::cancelRequest},
        {"textDocument/completion",
         {{"completionProvider",
           QJsonObject{{"triggerCharacters", QJsonArray{":", "#", "[", "!", "(", "{", "\""}},
                       {"resolveProvider", false}}}},
         &LspServer::completionAnswer,
         InEmbedded::Answers},
        {"textDocument/hover",
         {{"hoverProvider", true}},
         &LspServer::hoverAnswer,
         InEmbedded::Answers},
        {"textDocument/formatting",
         {{"documentFormattingProvider", true}},
         &LspServer::formattingAnswer,
         InEmbedded::NoItems},
        {"textDocument/rangeFormatting",
         {{"documentRangeFormattingProvider", true}},
         &LspServer::formattingAnswer,
         InEmbedded::NoItems},
        {"textDocument/documentColor",
         {{"colorProvider", true}},
         &LspServer::documentColourAnswer,
         InEmbedded::NoItems},
        {"textDocument/colorPresentation",
         {{"colorProvider", true}},
         &LspServer::colourPresentationAnswer,
         InEmbedded::NoItems},
        {"textDocument/documentSymbol",
         {{"documentSymbolProvider", true}},
         &LspServer::documentSymbolAnswer,
         InEmbedded::NoItems},
        {"textDocument/definition",
         {{"definitionProvider", true}},
         &LspServer::definitionAnswer,
         InEmbedded::Null},
        {"textDocument/references",
         {{"referencesProvider", true}},
         &LspServer::referencesAnswer,
         InEmbedded::NoItems},
        {"textDocument/rename",
         {{"renameProvider", true}},
         &LspServer::renameAnswer,
         InEmbedded::Null},
        {"textDocument/prepareRename",
         {{"renameProvider", QJsonObject{{"prepareProvider", true}}}},
         &LspServer::prepareRenameAnswer,
         InEmbedded::Null},
        {"textDocument/codeAction",
         {{"codeActionProvider", QJsonObject{{"codeActionKinds", QJsonArray{"quickfix"}}}}},
         &LspServer::codeActionAnswer,
         InEmbedded::Answers,
         true},
    };
    return table;
}

bool LspServer::serves(const Method &method) const
{
    return features == Features::All || method.embedded == InEmbedded::Answers;
}

const LspServer::Method *LspServer::methodNamed(const QString &name)
{
    static const QHash<QString, const Method *> byName = [] {
        QHash<QString, const Method *> index;
        for (const Method &method : methods())
            index.insert(method.name, &method);
        return index;
    }();
    return byName.value(name);
}

QJsonValue LspServer::documentColourAnswer(Document &document, const QJsonObject &,
                                           ResponseError *) const
{
    return QJsonValue(document.tooLarge ? QJsonArray()
                                        : toJson(document.text, coloursOf(document)));
}

QJsonValue LspServer::colourPresentationAnswer(Document &document, const QJsonObject &params,
                                               ResponseError *) const
{
    const QColor colour = colourFromJson(params.value(QLatin1String("color")).toObject());
    if (!isTokenDocument(document))
        return QJsonValue(presentationsJson(colourPresentations(colour)));
    int start = 0;
    int end = 0;
    if (document.tooLarge ||
        !document.text.rangeOffsets(params.value(QLatin1String("range")).toObject(), &start, &end))
        return QJsonValue(QJsonArray());
    return QJsonValue(
        toJson(document.text, tokenColourPresentations(tokenWorkspace(document), document.text.path,
                                                       {start, end}, colour)));
}

QJsonValue LspServer::documentSymbolAnswer(Document &document, const QJsonObject &,
                                           ResponseError *) const
{
    return QJsonValue(document.tooLarge
                          ? QJsonArray()
                          : toJson(document.text, documentSymbols(document.text.text()),
                                   client.hierarchicalSymbols));
}

QJsonValue LspServer::definitionAnswer(Document &document, const QJsonObject &params,
                                       ResponseError *) const
{
    if (document.tooLarge)
        return QJsonValue(QJsonValue::Null);
    const int offset = positionOffset(document.text, params);
    if (isTokenDocument(document)) {
        const TokenWorkspace workspace = tokenWorkspace(document);
        const QVector<FileSpan> found = tokenDefinitions(workspace, document.text.path, offset);
        if (!found.isEmpty())
            return QJsonValue(locationsJson(workspace, found));
    }
    return locationJson(definitionAt(document.text.text(), offset));
}

QJsonValue LspServer::referencesAnswer(Document &document, const QJsonObject &params,
                                       ResponseError *) const
{
    if (document.tooLarge || !isTokenDocument(document))
        return QJsonValue(QJsonArray());
    const bool declaration = params.value(QLatin1String("context"))
                                 .toObject()
                                 .value(QLatin1String("includeDeclaration"))
                                 .toBool();
    const TokenWorkspace workspace = tokenWorkspace(document);
    return QJsonValue(locationsJson(
        workspace, tokenReferences(workspace, document.text.path,
                                   positionOffset(document.text, params), declaration)));
}

QJsonValue LspServer::prepareRenameAnswer(Document &document, const QJsonObject &params,
                                          ResponseError *) const
{
    if (document.tooLarge || !isTokenDocument(document))
        return QJsonValue(QJsonValue::Null);
    const auto target = prepareTokenRename(tokenWorkspace(document), document.text.path,
                                           positionOffset(document.text, params));
    if (!target)
        return QJsonValue(QJsonValue::Null);
    return QJsonValue(QJsonObject{
        {QStringLiteral("range"), document.text.range(target->span.start, target->span.end)},
        {QStringLiteral("placeholder"), target->placeholder}});
}

QJsonValue LspServer::codeActionAnswer(Document &document, const QJsonObject &params,
                                       ResponseError *) const
{
    int start = 0;
    int end = 0;
    if (!document.text.rangeOffsets(params.value(QLatin1String("range")).toObject(), &start, &end))
        return QJsonValue(QJsonArray());
    return QJsonValue(
        toJson(document.text, quickFixes(document.text.text(), document.published, start, end)));
}

QJsonValue LspServer::renameAnswer(Document &document, const QJsonObject &params,
                                   ResponseError *error) const
{
    const QString refusal = QStringLiteral("only a token path in a theme template or a token "
                                           "file can be renamed");
    if (document.tooLarge || !isTokenDocument(document)) {
        *error = {LspError::RequestFailed, refusal};
        return QJsonValue::Null;
    }
    const TokenWorkspace workspace = tokenWorkspace(document);
    const TokenRename rename =
        renameToken(workspace, document.text.path,
                    document.text.offsetAt(params.value(QLatin1String("position")).toObject()),
                    params.value(QLatin1String("newName")).toString());
    if (!rename.error.isEmpty()) {
        *error = {LspError::RequestFailed, rename.error};
        return QJsonValue::Null;
    }
    QJsonObject changes;
    for (const FileEdits &file : rename.files) {
        const TokenSource *source = workspace.source(file.file);
        const TextDocument text(uriOfLocalPath(file.file), source ? source->text : QString(), 0,
                                encoding);
        QJsonArray edits;
        for (const PublishedFix &edit : file.edits)
            edits.append(QJsonObject{{QStringLiteral("range"), text.range(edit.start, edit.end)},
                                     {QStringLiteral("newText"), edit.newText}});
        changes.insert(text.uri, edits);
    }
    return QJsonObject{{QStringLiteral("changes"), changes}};
}

QVector<ColourInformation> LspServer::coloursOf(const Document &document) const
{
    if (!isTokenDocument(document))
        return documentColours(document.text.text());
    const QVector<ColourInformation> tokens =
        tokenColours(tokenWorkspace(document), document.text.path);
    // A token file's colours are its tokens'; a template also writes literals.
    if (isTokenFilePath(document.text.path))
        return tokens;
    return documentColours(document.text.text()) + tokens;
}

bool LspServer::isTokenDocument(const Document &document)
{
    return isThemeTemplatePath(document.text.path) || isTokenFilePath(document.text.path);
}

TokenWorkspace LspServer::tokenWorkspace(const Document &document) const
{
    // What the editor holds is newer than the disk. An open document is found by its
    // path or by where it really is (through a symlink), each path resolved once per
    // workspace: one is built for every open theme source on each change to one of them.
    QHash<QString, QString> held;
    for (const auto &open : documents) {
        if (open->text.path.isEmpty())
            continue;
        const QString canonical = QFileInfo(open->text.path).canonicalFilePath();
        if (!canonical.isEmpty())
            held.insert(canonical, open->text.text());
        held.insert(open->text.path, open->text.text());
    }
    const SourceReader read = [&held](const QString &path) -> std::optional<QString> {
        auto found = held.constFind(path);
        if (found == held.cend()) {
            const QString canonical = QFileInfo(path).canonicalFilePath();
            if (!canonical.isEmpty())
                found = held.constFind(canonical);
        }
        if (found != held.cend())
            return *found;
        return readSourceFromDisk(path);
    };
    return TokenWorkspace::around(document.text.path, document.text.text(), read);
}

QJsonArray LspServer::locationsJson(const TokenWorkspace &workspace,
                                    const QVector<FileSpan> &spans) const
{
    QJsonArray locations;
    for (const FileSpan &span : spans) {
        const TokenSource *source = workspace.source(span.file);
        const TextDocument text(uriOfLocalPath(span.file), source ? source->text : QString(), 0,
                                encoding);
        locations.append(
            QJsonObject{{QStringLiteral("uri"), text.uri},
                        {QStringLiteral("range"), text.range(span.span.start, span.span.end)}});
    }
    return locations;
}

LspServer::Document *LspServer::requestedDocument(const QJsonObject &params, ResponseError *error)
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

void LspServer::answerWaiting(Document &document)
{
    const auto waiting = document.waiting;
    document.waiting.clear();
    for (const Document::Waiting &request : waiting) {
        ResponseError error;
        respond(request.id, (this->*request.answer)(document, request.params, &error));
    }
}

void LspServer::cancelRequest(const QJsonObject &params)
{
    const QString key = idKey(params.value(QLatin1String("id")));
    for (const auto &document : qAsConst(documents)) {
        auto &waiting = document->waiting;
        for (int i = 0; i < waiting.size(); ++i) {
            if (idKey(waiting.at(i).id) == key) {
                respondError(waiting.takeAt(i).id, LspError::RequestCancelled,
                             QStringLiteral("cancelled"));
                return;
            }
        }
    }
}

void LspServer::didOpen(const QJsonObject &params)
{
    const QJsonObject item = params.value(QLatin1String("textDocument")).toObject();
    const QString uri = item.value(QLatin1String("uri")).toString();
    if (uri.isEmpty())
        return;
    auto document = std::make_shared<Document>(
        TextDocument(uri, item.value(QLatin1String("text")).toString(),
                     item.value(QLatin1String("version")).toInt(), encoding));
    document->embedding =
        documentEmbedding(uri, item.value(QLatin1String("languageId")).toString());
    const auto previous = documents.constFind(uri);
    if (previous != documents.cend())
        document->generation = (*previous)->generation;
    documents.insert(uri, document);
    documentChanged(*document);
}

void LspServer::didChange(const QJsonObject &params)
{
    const QJsonObject item = params.value(QLatin1String("textDocument")).toObject();
    const auto it = documents.constFind(item.value(QLatin1String("uri")).toString());
    if (it == documents.cend()) {
        std::fprintf(stderr, "prismark-lsp: a change to a document that is not open\n");
        return;
    }
    Document &document = **it;
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
    documentChanged(document);
    if (sheetsKept)
        document.embeddedGeneration = document.generation;
}

void LspServer::didSave(const QJsonObject &params)
{
    // The files its url()s name may have changed with it.
    const QString uri = params.value(QLatin1String("textDocument"))
                            .toObject()
                            .value(QLatin1String("uri"))
                            .toString();
    const auto it = documents.constFind(uri);
    if (it != documents.cend())
        documentChanged(**it);
}

void LspServer::didClose(const QJsonObject &params)
{
    const QString uri = params.value(QLatin1String("textDocument"))
                            .toObject()
                            .value(QLatin1String("uri"))
                            .toString();
    const auto it = documents.find(uri);
    if (it == documents.end())
        return;
    const std::shared_ptr<Document> document = *it;
    documents.erase(it);
    for (const Document::Waiting &request : qAsConst(document->waiting))
        respond(request.id, QJsonArray());
    scheduler.forget(uri);
    publish(uri, QJsonArray(), -1);
    // The others now read the file from disk.
    if (isTokenDocument(*document)) {
        const auto open = documents;
        for (const std::shared_ptr<Document> &other : open) {
            if (isTokenDocument(*other))
                documentChanged(*other, false);
        }
    }
}

void LspServer::documentChanged(Document &document, bool withRelated)
{
    ++document.generation;
    document.published.clear();
    const TextDocument &text = document.text;
    if (utf8Size(text.text()) > kMaxDocumentBytes) {
        if (!document.tooLarge) {
            notify(QStringLiteral("window/showMessage"),
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
                           tokenContext(document));
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
        this, [this] { checkThemeSources(); }, Qt::QueuedConnection);
}

void LspServer::checkThemeSources()
{
    themeSourcesDue = false;
    if (isFinished())
        return;
    const auto open = documents;
    for (const std::shared_ptr<Document> &document : open) {
        if (isTokenDocument(*document))
            documentChanged(*document, false);
    }
}

const EmbeddedDocument &LspServer::embeddedSheets(Document &document)
{
    if (!document.embedded || document.embeddedGeneration != document.generation) {
        document.embedded.emplace(document.embedding, document.text.text());
        document.embeddedGeneration = document.generation;
    }
    return *document.embedded;
}

TokenContext LspServer::tokenContext(const Document &document) const
{
    TokenContext context;
    const QString self = QDir::cleanPath(QFileInfo(document.text.path).absoluteFilePath());
    if (isTokenFilePath(document.text.path)) {
        // The folder tree's templates that name it, read as the editor holds them.
        const TokenWorkspace workspace = tokenWorkspace(document);
        for (const TokenSource &source : workspace.sources()) {
            if (source.file == self)
                continue;
            if (source.isTemplate)
                context.templates.append(source.file);
            context.texts.insert(source.file, source.text);
        }
        return context;
    }
    for (const auto &open : documents) {
        if (!open->tooLarge && isTokenFilePath(open->text.path))
            context.texts.insert(QDir::cleanPath(QFileInfo(open->text.path).absoluteFilePath()),
                                 open->text.text());
    }
    return context;
}

void LspServer::analysed(const QString &uri, int generation,
                         const QVector<LintDiagnostic> &diagnostics)
{
    const auto it = documents.constFind(uri);
    if (it == documents.cend() || (*it)->generation != generation || (*it)->tooLarge)
        return;
    Document &document = **it;
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

void LspServer::publish(const QString &uri, const QJsonArray &diagnostics, int version)
{
    QJsonObject params{{QStringLiteral("uri"), uri}, {QStringLiteral("diagnostics"), diagnostics}};
    if (version >= 0)
        params.insert(QStringLiteral("version"), version);
    notify(QStringLiteral("textDocument/publishDiagnostics"), params);
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
