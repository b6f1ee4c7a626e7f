// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

// libFuzzer target: arbitrary bytes from a client through prismark-lsp's message
// framing and JSON-RPC dispatch, in pieces of varying size. Beyond not crashing or
// hanging, no request id is answered more often than the input asked with it.

#include "prismark-lsp/server/lspserver.h"

#include <QCoreApplication>
#include <QHash>
#include <QJsonDocument>
#include <QJsonObject>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {
QString idKey(const QJsonValue &id)
{
    return QString::fromUtf8(
        QJsonDocument(QJsonObject{{QStringLiteral("id"), id}}).toJson(QJsonDocument::Compact));
}

// Ids per message of a byte stream, counted with the server's own framer: those of
// requests (anything with an id that is no response) or of responses (no method).
QHash<QString, int> idsIn(const QByteArray &bytes, bool responses)
{
    QHash<QString, int> ids;
    MessageFramer framer;
    framer.append(bytes);
    MessageFramer::Frame frame;
    while (framer.next(&frame)) {
        const QJsonObject message = QJsonDocument::fromJson(frame.body).object();
        const QJsonValue id = message.value(QStringLiteral("id"));
        if (!message.contains(QStringLiteral("id")) || id.isNull())
            continue;
        const bool isResponse = responses ? !message.contains(QStringLiteral("method"))
                                          : message.contains(QStringLiteral("result")) ||
                                                message.contains(QStringLiteral("error"));
        if (isResponse == responses)
            ++ids[idKey(id)];
    }
    return ids;
}
} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    static QCoreApplication app(*argc, *argv);
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &) {});
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size == 0)
        return 0;
    const QByteArray input(reinterpret_cast<const char *>(data) + 1, int(size - 1));
    const int piece = data[0] % 64 + 1;
    QByteArray output;
    {
        LspServer server(
            [&output](const QByteArray &bytes) {
                output += bytes;
                return true;
            },
            QStringLiteral("fuzz"));
        for (int at = 0; at < input.size() && !server.isFinished(); at += piece)
            server.receive(input.mid(at, piece));
        // Analyses hand their results back through the event loop.
        server.waitForAnalyses();
        QCoreApplication::processEvents();
        server.waitForAnalyses();
        QCoreApplication::processEvents();
    }
    const QHash<QString, int> asked = idsIn(input, false);
    const QHash<QString, int> answered = idsIn(output, true);
    for (auto it = answered.cbegin(); it != answered.cend(); ++it) {
        if (it.value() > asked.value(it.key()))
            std::abort();
    }
    return 0;
}
