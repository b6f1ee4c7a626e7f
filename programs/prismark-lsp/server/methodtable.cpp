// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "prismark-lsp/server/methodtable.h"

#include <QHash>
#include <QJsonArray>

namespace {
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
} // namespace

Method::Method(const char *name, const QJsonObject &announces, Answer answer, InEmbedded embedded,
               bool waitsForAnalysis)
    : name(QLatin1String(name))
    , announces(announces)
    , answer(answer)
    , embedded(embedded)
    , waitsForAnalysis(waitsForAnalysis)
{}

Method::Method(const char *name, const QJsonObject &announces, Notification notification)
    : name(QLatin1String(name))
    , announces(announces)
    , notification(notification)
{}

const QVector<Method> &MethodTable::methods()
{
    using DS = DocumentStore;
    constexpr InEmbedded answers = InEmbedded::Answers;
    constexpr InEmbedded null = InEmbedded::Null;
    constexpr InEmbedded noItems = InEmbedded::NoItems;
    constexpr bool waits = true;
    // Where the client asks for completion without a word begun.
    const QJsonArray triggers{":", "#", "[", "!", "(", "{", "\""};
    // One row a method: its name, what initialize announces for it, its handler; for a
    // request, what it answers in a form or a source, and whether it waits for the
    // current text's diagnostics. didChange's 2: the client sends the changed ranges.
    // clang-format off
    static const QVector<Method> table{
        {"textDocument/didOpen", {{"textDocumentSync", QJsonObject{{"openClose", true}}}}, &DS::open},
        {"textDocument/didChange", {{"textDocumentSync", QJsonObject{{"change", 2}}}}, &DS::change},
        {"textDocument/didSave", {{"textDocumentSync", QJsonObject{{"save", QJsonObject{{"includeText", false}}}}}}, &DS::save},
        {"textDocument/didClose", {{"textDocumentSync", QJsonObject{{"openClose", true}}}}, &DS::close},
        {"$/cancelRequest", {}, &DS::cancel},
        {"textDocument/completion", {{"completionProvider", QJsonObject{{"triggerCharacters", triggers}, {"resolveProvider", false}}}}, Answers::completion, answers},
        {"textDocument/hover", {{"hoverProvider", true}}, Answers::hover, answers},
        {"textDocument/formatting", {{"documentFormattingProvider", true}}, Answers::formatting, noItems},
        {"textDocument/rangeFormatting", {{"documentRangeFormattingProvider", true}}, Answers::formatting, noItems},
        {"textDocument/documentColor", {{"colorProvider", true}}, Answers::documentColour, noItems},
        {"textDocument/colorPresentation", {{"colorProvider", true}}, Answers::colourPresentation, noItems},
        {"textDocument/documentSymbol", {{"documentSymbolProvider", true}}, Answers::documentSymbol, noItems},
        {"textDocument/definition", {{"definitionProvider", true}}, Answers::definition, null},
        {"textDocument/references", {{"referencesProvider", true}}, Answers::references, noItems},
        {"textDocument/rename", {{"renameProvider", true}}, Answers::rename, null},
        {"textDocument/prepareRename", {{"renameProvider", QJsonObject{{"prepareProvider", true}}}}, Answers::prepareRename, null},
        {"textDocument/codeAction", {{"codeActionProvider", QJsonObject{{"codeActionKinds", QJsonArray{"quickfix"}}}}}, Answers::codeAction, answers, waits},
    };
    // clang-format on
    return table;
}

const Method *MethodTable::find(const QString &name)
{
    static const QHash<QString, const Method *> byName = [] {
        QHash<QString, const Method *> index;
        for (const Method &method : methods())
            index.insert(method.name, &method);
        return index;
    }();
    return byName.value(name);
}

bool MethodTable::serves(const Method &method, ServedFeatures features)
{
    return features == ServedFeatures::All || method.embedded == InEmbedded::Answers;
}

QJsonObject MethodTable::capabilities(ServedFeatures features)
{
    QJsonObject capabilities;
    for (const Method &method : methods()) {
        if (serves(method, features))
            capabilities = mergedCapabilities(capabilities, method.announces);
    }
    return capabilities;
}
