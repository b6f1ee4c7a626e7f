// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "prismark-lsp/server/answers.h"

#include "analysis/lintconfig.h"
#include "analysis/templatelint.h"
#include "prismark-lsp/features/codeactions.h"
#include "prismark-lsp/features/colours.h"
#include "prismark-lsp/features/completion.h"
#include "prismark-lsp/features/definition.h"
#include "prismark-lsp/features/diagnostichover.h"
#include "prismark-lsp/features/formatting.h"
#include "prismark-lsp/features/hover.h"
#include "prismark-lsp/features/symbols.h"
#include "prismark-lsp/features/templatefunctions.h"
#include "prismark-lsp/features/tokencolours.h"
#include "prismark-lsp/features/tokenfilecompletion.h"
#include "prismark-lsp/features/tokennavigation.h"
#include "prismark-lsp/features/tokenreferences.h"
#include "prismark-lsp/server/openworkspace.h"
#include "prismark-lsp/server/workspaceoptions.h"

#include <QJsonArray>

namespace {
int positionOffset(const TextDocument &text, const QJsonObject &params)
{
    return text.offsetAt(params.value(QLatin1String("position")).toObject());
}

QJsonObject completionList(const QJsonArray &items)
{
    return QJsonObject{{QStringLiteral("isIncomplete"), false}, {QStringLiteral("items"), items}};
}

// The sheets a form or a source embeds, read again only when its text changed.
const EmbeddedDocument &embeddedSheets(OpenDocument &document)
{
    if (!document.embedded || document.embeddedGeneration != document.generation) {
        document.embedded.emplace(document.embedding, document.text.text());
        document.embeddedGeneration = document.generation;
    }
    return *document.embedded;
}

// Diagnostics of an older text would stand in the wrong places.
QVector<PublishedDiagnostic> currentDiagnostics(const OpenDocument &document)
{
    return document.publishedGeneration == document.generation ? document.published
                                                               : QVector<PublishedDiagnostic>();
}

QVector<ColourInformation> coloursOf(const AnswerContext &context, const OpenDocument &document)
{
    if (!isTokenDocument(document))
        return documentColours(document.text.text());
    const QVector<ColourInformation> tokens =
        tokenColours(tokenWorkspace(context.open, document), document.text.path);
    // A token file's colours are its tokens'; a template also writes literals.
    if (isTokenFilePath(document.text.path))
        return tokens;
    return documentColours(document.text.text()) + tokens;
}

// A text of the workspace, to place spans and edits in: a file the server may hold
// only as the workspace read it.
TextDocument workspaceText(const AnswerContext &context, const TokenWorkspace &workspace,
                           const QString &file)
{
    const TokenSource *source = workspace.source(file);
    return TextDocument(uriOfLocalPath(file), source ? source->text : QString(), 0,
                        context.encoding);
}

QJsonArray locationsJson(const AnswerContext &context, const TokenWorkspace &workspace,
                         const QVector<FileSpan> &spans)
{
    QJsonArray locations;
    for (const FileSpan &span : spans) {
        const TextDocument text = workspaceText(context, workspace, span.file);
        locations.append(
            QJsonObject{{QStringLiteral("uri"), text.uri},
                        {QStringLiteral("range"), text.range(span.span.start, span.span.end)}});
    }
    return locations;
}

QJsonValue embeddedCompletion(const AnswerContext &context, OpenDocument &document, int offset)
{
    // The application's forms, as the analysis of this document's sheets is configured.
    const LintOptions options = workspaceOptionsFor(document.text.path);
    return completionList(toJson(
        document.text, embeddedCompletionItems(embeddedSheets(document), offset, context.client,
                                               options.applicationObjects.get())));
}

QJsonValue embeddedHover(const AnswerContext &context, OpenDocument &document, int offset)
{
    const EmbeddedDocument &sheets = embeddedSheets(document);
    if (!sheets.placeAt(offset))
        return QJsonValue(QJsonValue::Null);
    return toJson(document.text, joinHovers(diagnosticHoverAt(currentDiagnostics(document), offset,
                                                              context.client.markdownHover),
                                            embeddedHoverAt(sheets, offset, context.client)));
}
} // namespace

namespace Answers {

QJsonValue completion(const AnswerContext &context, OpenDocument &document,
                      const QJsonObject &params, ResponseError *)
{
    if (document.tooLarge)
        return QJsonValue(QJsonArray());
    const int offset = positionOffset(document.text, params);
    if (document.embedding != EmbeddingLanguage::None)
        return embeddedCompletion(context, document, offset);
    const QString &text = document.text.text();
    const QString &path = document.text.path;
    // A token file is JSON: nothing of a style sheet is offered there.
    if (isTokenFilePath(path))
        return completionList(
            toJson(document.text,
                   tokenFileCompletions(tokenWorkspace(context.open, document), text, offset)));
    QVector<CompletionItem> items;
    if (isThemeTemplatePath(path))
        items = tokenCompletions(text, offset, path);
    if (items.isEmpty()) {
        // The application's forms, as the analysis of this document is configured.
        const LintOptions options = workspaceOptionsFor(path);
        items = colourFunctionCompletions(text, offset, path, context.client.snippets) +
                completionItems(text, offset, context.client, options.applicationObjects.get());
    }
    return completionList(toJson(document.text, items));
}

QJsonValue hover(const AnswerContext &context, OpenDocument &document, const QJsonObject &params,
                 ResponseError *)
{
    if (document.tooLarge)
        return QJsonValue(QJsonValue::Null);
    const int offset = positionOffset(document.text, params);
    if (document.embedding != EmbeddingLanguage::None)
        return embeddedHover(context, document, offset);
    const bool markdown = context.client.markdownHover;
    if (isTokenDocument(document)) {
        if (const auto token = tokenHover(tokenWorkspace(context.open, document),
                                          document.text.path, offset, markdown))
            return toJson(document.text, token);
        if (const auto function =
                colourFunctionHover(document.text.text(), offset, document.text.path, markdown))
            return toJson(document.text, function);
    }
    return toJson(document.text,
                  joinHovers(diagnosticHoverAt(currentDiagnostics(document), offset, markdown),
                             hoverAt(document.text.text(), offset, context.client)));
}

QJsonValue formatting(const AnswerContext &, OpenDocument &document, const QJsonObject &params,
                      ResponseError *)
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

QJsonValue documentColour(const AnswerContext &context, OpenDocument &document, const QJsonObject &,
                          ResponseError *)
{
    return QJsonValue(document.tooLarge ? QJsonArray()
                                        : toJson(document.text, coloursOf(context, document)));
}

QJsonValue colourPresentation(const AnswerContext &context, OpenDocument &document,
                              const QJsonObject &params, ResponseError *)
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
        toJson(document.text, tokenColourPresentations(tokenWorkspace(context.open, document),
                                                       document.text.path, {start, end}, colour)));
}

QJsonValue documentSymbol(const AnswerContext &context, OpenDocument &document, const QJsonObject &,
                          ResponseError *)
{
    return QJsonValue(document.tooLarge
                          ? QJsonArray()
                          : toJson(document.text, documentSymbols(document.text.text()),
                                   context.client.hierarchicalSymbols));
}

QJsonValue definition(const AnswerContext &context, OpenDocument &document,
                      const QJsonObject &params, ResponseError *)
{
    if (document.tooLarge)
        return QJsonValue(QJsonValue::Null);
    const int offset = positionOffset(document.text, params);
    if (isTokenDocument(document)) {
        const TokenWorkspace workspace = tokenWorkspace(context.open, document);
        const QVector<FileSpan> found = tokenDefinitions(workspace, document.text.path, offset);
        if (!found.isEmpty())
            return QJsonValue(locationsJson(context, workspace, found));
    }
    return locationJson(definitionAt(document.text.text(), offset));
}

QJsonValue references(const AnswerContext &context, OpenDocument &document,
                      const QJsonObject &params, ResponseError *)
{
    if (document.tooLarge || !isTokenDocument(document))
        return QJsonValue(QJsonArray());
    const bool declaration = params.value(QLatin1String("context"))
                                 .toObject()
                                 .value(QLatin1String("includeDeclaration"))
                                 .toBool();
    const TokenWorkspace workspace = tokenWorkspace(context.open, document);
    return QJsonValue(
        locationsJson(context, workspace,
                      tokenReferences(workspace, document.text.path,
                                      positionOffset(document.text, params), declaration)));
}

QJsonValue prepareRename(const AnswerContext &context, OpenDocument &document,
                         const QJsonObject &params, ResponseError *)
{
    if (document.tooLarge || !isTokenDocument(document))
        return QJsonValue(QJsonValue::Null);
    const auto target =
        prepareTokenRename(tokenWorkspace(context.open, document), document.text.path,
                           positionOffset(document.text, params));
    if (!target)
        return QJsonValue(QJsonValue::Null);
    return QJsonValue(QJsonObject{
        {QStringLiteral("range"), document.text.range(target->span.start, target->span.end)},
        {QStringLiteral("placeholder"), target->placeholder}});
}

QJsonValue rename(const AnswerContext &context, OpenDocument &document, const QJsonObject &params,
                  ResponseError *error)
{
    if (document.tooLarge || !isTokenDocument(document)) {
        *error = {LspError::RequestFailed,
                  QStringLiteral("only a token path in a theme template or a token file can be "
                                 "renamed")};
        return QJsonValue::Null;
    }
    const TokenWorkspace workspace = tokenWorkspace(context.open, document);
    const TokenRename renamed =
        renameToken(workspace, document.text.path, positionOffset(document.text, params),
                    params.value(QLatin1String("newName")).toString());
    if (!renamed.error.isEmpty()) {
        *error = {LspError::RequestFailed, renamed.error};
        return QJsonValue::Null;
    }
    QJsonObject changes;
    for (const FileEdits &file : renamed.files) {
        const TextDocument text = workspaceText(context, workspace, file.file);
        QJsonArray edits;
        for (const PublishedFix &edit : file.edits)
            edits.append(QJsonObject{{QStringLiteral("range"), text.range(edit.start, edit.end)},
                                     {QStringLiteral("newText"), edit.newText}});
        changes.insert(text.uri, edits);
    }
    return QJsonObject{{QStringLiteral("changes"), changes}};
}

QJsonValue codeAction(const AnswerContext &, OpenDocument &document, const QJsonObject &params,
                      ResponseError *)
{
    int start = 0;
    int end = 0;
    if (!document.text.rangeOffsets(params.value(QLatin1String("range")).toObject(), &start, &end))
        return QJsonValue(QJsonArray());
    return QJsonValue(
        toJson(document.text, quickFixes(document.text.text(), document.published, start, end)));
}

} // namespace Answers
