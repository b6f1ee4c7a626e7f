// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include "prismark-lsp/protocol/clientcapabilities.h"
#include "prismark-lsp/protocol/protocol.h"
#include "prismark-lsp/protocol/textdocument.h"
#include "prismark-lsp/server/opendocument.h"

#include <QJsonObject>
#include <QJsonValue>

// What an answer reads besides its document and params.
struct AnswerContext
{
    const ClientCapabilities &client;
    PositionEncoding encoding;
    // The other open documents, whose texts stand for their files.
    const OpenDocuments &open;
};

// A request's answer about the open document it names: the request's params read,
// the features asked and their typed results turned into the protocol's JSON. Sets
// error when the request fails.
using Answer = QJsonValue (*)(const AnswerContext &context, OpenDocument &document,
                              const QJsonObject &params, ResponseError *error);

// The feature adapters, one for each request the server answers.
namespace Answers {
QJsonValue completion(const AnswerContext &, OpenDocument &, const QJsonObject &, ResponseError *);
QJsonValue hover(const AnswerContext &, OpenDocument &, const QJsonObject &, ResponseError *);
// prismark-fmt's layout; a range formats the whole sheet (see formattingEdits).
QJsonValue formatting(const AnswerContext &, OpenDocument &, const QJsonObject &, ResponseError *);
QJsonValue documentColour(const AnswerContext &, OpenDocument &, const QJsonObject &,
                          ResponseError *);
QJsonValue colourPresentation(const AnswerContext &, OpenDocument &, const QJsonObject &,
                              ResponseError *);
QJsonValue documentSymbol(const AnswerContext &, OpenDocument &, const QJsonObject &,
                          ResponseError *);
QJsonValue definition(const AnswerContext &, OpenDocument &, const QJsonObject &, ResponseError *);
QJsonValue references(const AnswerContext &, OpenDocument &, const QJsonObject &, ResponseError *);
QJsonValue prepareRename(const AnswerContext &, OpenDocument &, const QJsonObject &,
                         ResponseError *);
QJsonValue rename(const AnswerContext &, OpenDocument &, const QJsonObject &, ResponseError *);
QJsonValue codeAction(const AnswerContext &, OpenDocument &, const QJsonObject &, ResponseError *);
} // namespace Answers
