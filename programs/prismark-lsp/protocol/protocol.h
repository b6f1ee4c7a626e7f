// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include "analysis/diagnostic.h"
#include "prismark-lsp/protocol/textdocument.h"

#include <QColor>
#include <QJsonArray>
#include <QJsonObject>
#include <QJsonValue>
#include <QStringList>
#include <QVector>

#include <optional>

// The protocol's side of the language server: the typed answers the features give,
// in offsets of a document's text, and their JSON. Features know no JSON; the
// server knows no feature's insides.

// JSON-RPC and protocol error codes.
namespace LspError {
constexpr int ParseError = -32700;
constexpr int InvalidRequest = -32600;
constexpr int MethodNotFound = -32601;
constexpr int InvalidParams = -32602;
constexpr int ServerNotInitialized = -32002;
constexpr int RequestCancelled = -32800;
constexpr int RequestFailed = -32803;
} // namespace LspError

// The protocol's MessageType for window/showMessage.
constexpr int kLspMessageError = 1;

// The protocol's SymbolKind values the features use.
namespace LspKind {
constexpr int SymbolClass = 5;
constexpr int SymbolConstant = 14;
} // namespace LspKind

// A stretch of a document's text, [start, end) in characters.
struct TextSpan
{
    int start = 0;
    int end = 0;
    bool operator==(const TextSpan &other) const
    {
        return start == other.start && end == other.end;
    }
};

struct HoverInfo
{
    TextSpan span;
    QString contents; // Markdown when the client shows it, else plain text
    bool markdown = false;
};

struct CompletionItem
{
    QString label;
    int kind = 0; // LspKind
    QString detail;
    QString documentation;
    TextSpan replaces; // the word being written
    QString newText;
    bool snippet = false;
};

struct ColourInformation
{
    TextSpan span;
    QColor colour;
};

struct SymbolInfo
{
    QString name;
    QString detail;
    int kind = 0; // LspKind
    TextSpan range;
    TextSpan selection;
};

// A check's fix as published: [start, end) of the text replaced by newText.
struct PublishedFix
{
    int start = 0;
    int end = 0;
    QString newText;
    bool safe = false; // as the check marked it: a sure mend or a guess
    QString title;     // the check's words for the edit, or empty
};

// A diagnostic as published: where it stands in the text it was found in.
// A colour's form, and the edit that writes it in the document.
struct ColourPresentation
{
    QString label;
    PublishedFix edit;
};

struct PublishedDiagnostic
{
    LintDiagnostic lint;
    int start = 0;
    int end = 0;
    QVector<PublishedFix> fixes; // lint.fixes, placed in the text
    QJsonObject json;
};

struct CodeAction
{
    QString title;
    PublishedFix edit;
    QJsonObject diagnostic; // as published
};

// The JSON-RPC envelopes.
QJsonObject responseMessage(const QJsonValue &id, const QJsonValue &result);
QJsonObject errorMessage(const QJsonValue &id, int code, const QString &message);
QJsonObject notificationMessage(const QString &method, const QJsonObject &params);

// A finding placed in the document, with its JSON.
PublishedDiagnostic publishedDiagnostic(const TextDocument &document,
                                        const LintDiagnostic &diagnostic);

QJsonValue toJson(const TextDocument &document, const std::optional<HoverInfo> &hover);
QJsonArray toJson(const TextDocument &document, const QVector<CompletionItem> &items);
QJsonArray toJson(const TextDocument &document, const QVector<ColourInformation> &colours);
QJsonArray toJson(const TextDocument &document, const QVector<SymbolInfo> &symbols,
                  bool hierarchical);
QJsonArray toJson(const TextDocument &document, const QVector<CodeAction> &actions);
// The start of the file at path, or null.
QJsonValue locationJson(const std::optional<QString> &path);
QJsonArray presentationsJson(const QStringList &labels);
// Presentations that edit the document, each with its textEdit.
QJsonArray toJson(const TextDocument &document, const QVector<ColourPresentation> &presentations);
// A colour as the protocol sends it, each channel from 0 to 1.
QColor colourFromJson(const QJsonObject &colour);
