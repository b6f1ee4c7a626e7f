// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "support/attachprotocol.h"

#include <QJsonDocument>

namespace Attach {

namespace {

// A hello is some tens of bytes; anything near this is not from the plugin.
constexpr int maxLineBytes = 64 * 1024;

} // namespace

QByteArray encodeMessage(const QString &kind, const QJsonObject &fields)
{
    QJsonObject message = fields;
    message.insert(QStringLiteral("kind"), kind);
    return QJsonDocument(message).toJson(QJsonDocument::Compact) + '\n';
}

QVector<Message> takeMessages(QByteArray &buffer)
{
    QVector<Message> messages;
    int start = 0;
    for (int end = buffer.indexOf('\n'); end >= 0; end = buffer.indexOf('\n', start)) {
        const QByteArray line = buffer.mid(start, end - start);
        start = end + 1;
        const QJsonDocument document = QJsonDocument::fromJson(line);
        if (!document.isObject())
            continue;
        QJsonObject fields = document.object();
        const QString kind = fields.take(QStringLiteral("kind")).toString();
        if (!kind.isEmpty())
            messages.append({kind, fields});
    }
    buffer.remove(0, start);
    if (buffer.size() > maxLineBytes)
        buffer.clear();
    return messages;
}

} // namespace Attach
