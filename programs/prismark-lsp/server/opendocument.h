// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include "prismark-lsp/features/embeddeddocument.h"
#include "prismark-lsp/protocol/protocol.h"
#include "prismark-lsp/protocol/textdocument.h"

#include <QHash>
#include <QJsonValue>
#include <QString>
#include <QVector>

#include <functional>
#include <memory>
#include <optional>

// One document the client has open, as the server keeps it between messages.
struct OpenDocument
{
    explicit OpenDocument(const TextDocument &text)
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
        std::function<QJsonValue(OpenDocument &)> answer;
    };
    QVector<Waiting> waiting;
};

// The open documents by URI.
using OpenDocuments = QHash<QString, std::shared_ptr<OpenDocument>>;
