// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include "embedded/embeddedsheets.h"
#include "prismark-lsp/protocol/clientcapabilities.h"
#include "prismark-lsp/protocol/protocol.h"

#include <QString>
#include <QVector>

#include <optional>

// A Designer form or a C++ or Python source as the server sees it: the style sheets
// its literals hold, read once for its text. The sheet features are answered inside
// those literals only, with places mapped from the file into the sheet and spans and
// edits mapped back out, spelt as the literal needs.
class EmbeddedDocument
{
public:
    EmbeddedDocument(EmbeddingLanguage language, const QString &text);

    // Where a place of the file stands in a sheet it embeds.
    struct Place
    {
        int sheet = 0;
        int piece = 0;
        int decoded = 0; // the offset in the sheet's text
    };
    // The checkable sheet whose literal's content holds offset, either end included;
    // nothing between literals, in a quote or prefix, or anywhere else.
    std::optional<Place> placeAt(int offset) const;

    // The sheets after [start, end) of the file became inserted, editedText being the
    // file after it, without reading the file again: for typing inside a literal, where
    // plain characters replace plain ones and nothing else of the file can change.
    // False (and the sheets unusable) for any other edit: the file must be read anew.
    bool applyEdit(int start, int end, const QString &inserted, const QString &editedText);

    const QVector<EmbeddedSheet> &sheets() const { return found; }

private:
    QVector<EmbeddedSheet> found;
};

// The language a document embeds sheets in: by its URI's suffix, else by the
// languageId the client gave it ("cpp", "c", "python"); None for anything else, a
// style sheet included.
EmbeddingLanguage documentEmbedding(const QString &uri, const QString &languageId);

class ApplicationObjects;

// What completionItems() offers at the same place of the sheet (the application's
// object names among it, when its forms are known), each item's range and text placed
// in the literal; nothing outside one, and no item the literal cannot spell.
QVector<CompletionItem> embeddedCompletionItems(const EmbeddedDocument &document, int offset,
                                                const ClientCapabilities &client,
                                                const ApplicationObjects *application = nullptr);

// What hoverAt() says at the same place of the sheet, its span in the literal.
std::optional<HoverInfo> embeddedHoverAt(const EmbeddedDocument &document, int offset,
                                         const ClientCapabilities &client);
