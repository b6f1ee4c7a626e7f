// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT
#pragma once

#include "prismark-lsp/protocol/clientcapabilities.h"
#include "prismark-lsp/protocol/protocol.h"

#include <QString>
#include <QStringList>
#include <QVector>

// The text without its "|" and where the "|" stood.
struct Marked
{
    explicit Marked(const QString &marked)
        : text(marked)
        , offset(int(marked.indexOf(QLatin1Char('|'))))
    {
        text.remove(offset, 1);
    }
    QString text;
    int offset;
};

inline ClientCapabilities markdownClient()
{
    ClientCapabilities client;
    client.markdownHover = true;
    client.snippets = true;
    return client;
}

inline QStringList labels(const QVector<CompletionItem> &items)
{
    QStringList result;
    for (const CompletionItem &item : items)
        result.append(item.label);
    return result;
}
