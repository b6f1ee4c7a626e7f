// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "attach/attachprotocol.h"

#include <QFile>
#include <QJsonDocument>

#include <cerrno>
#include <cstring>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

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

int connectToServer(const QString &serverPath)
{
    const QByteArray path = QFile::encodeName(serverPath);
    sockaddr_un address{};
    if (path.isEmpty() || size_t(path.size()) >= sizeof(address.sun_path))
        return -1;
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, path.constData(), size_t(path.size()));
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return -1;
    if (::connect(fd, reinterpret_cast<const sockaddr *>(&address), sizeof(address)) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

bool sendMessage(int socket, const QByteArray &message)
{
    qint64 written = 0;
    while (socket >= 0 && written < message.size()) {
        // No SIGPIPE for the application when prismark-live has gone.
        const ssize_t step = ::send(socket, message.constData() + written,
                                    size_t(message.size() - written), MSG_NOSIGNAL);
        if (step < 0 && errno == EINTR)
            continue;
        if (step <= 0)
            return false;
        written += step;
    }
    return socket >= 0;
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
