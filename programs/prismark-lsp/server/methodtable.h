// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include "prismark-lsp/server/answers.h"
#include "prismark-lsp/server/documentstore.h"

#include <QJsonObject>
#include <QString>
#include <QVector>

// Every method the server handles, with what initialize announces for it: the
// announced capabilities are those of the methods served, so a method is announced
// exactly when it is answered. (initialize, shutdown and exit are the server's own.)

// What initialize announces: every feature, or only those answered inside the sheets
// forms and sources embed, for a client that starts the server for those alone.
enum class ServedFeatures
{
    All,
    EmbeddedSheets,
};

// What a request answers in a form or a source: the sheet features inside its
// literals; a feature of style sheet files alone answers null or no items there.
enum class InEmbedded
{
    Answers,
    Null,
    NoItems,
};

// A notification keeps the open documents.
using Notification = void (DocumentStore::*)(const QJsonObject &params);

struct Method
{
    // The methods of one feature (rename and its preparation) announce their parts of
    // one capability.
    Method(const char *name, const QJsonObject &announces, Answer answer, InEmbedded embedded,
           bool waitsForAnalysis = false);
    Method(const char *name, const QJsonObject &announces, Notification notification);

    QString name;
    QJsonObject announces;
    Answer answer = nullptr;
    Notification notification = nullptr;
    InEmbedded embedded = InEmbedded::Answers;
    // Answered only from the diagnostics of the document's current text.
    bool waitsForAnalysis = false;
};

namespace MethodTable {
const QVector<Method> &methods();
// The method of that name, or nullptr.
const Method *find(const QString &name);
bool serves(const Method &method, ServedFeatures features);
// The capabilities of the methods served, merged.
QJsonObject capabilities(ServedFeatures features);
} // namespace MethodTable
