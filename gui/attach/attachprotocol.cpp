// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "attach/attachprotocol.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QSet>

#include <cerrno>
#include <cstring>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace Attach {

namespace {

// Ids are JSON numbers, exact below 2^53.
constexpr double maxId = 9007199254740992.0;

QLatin1String field(const char *name)
{
    return QLatin1String(name);
}

qint64 idOf(const QJsonValue &value)
{
    const double number = value.toDouble(-1);
    if (number < 0 || number >= maxId || number != double(qint64(number)))
        return -1;
    return qint64(number);
}

QJsonObject encodeNode(const WidgetNode &node)
{
    QJsonObject properties;
    for (auto it = node.properties.cbegin(); it != node.properties.cend(); ++it)
        properties.insert(it.key(), it.value());
    const QRect &g = node.geometry;
    return {{field(idField), double(node.id)},
            {field(parentField), double(node.parent)},
            {field(classesField), QJsonArray::fromStringList(node.classes)},
            {field(objectNameField), node.objectName},
            {field(propertiesField), properties},
            {field(statesField), QJsonArray::fromStringList(node.states)},
            {field(geometryField), QJsonArray{g.x(), g.y(), g.width(), g.height()}},
            {field(visibleField), node.visible},
            {field(ownSheetField), node.sheet}};
}

QStringList stringsOf(const QJsonValue &value)
{
    QStringList strings;
    for (const QJsonValue &item : value.toArray()) {
        if (item.isString())
            strings.append(item.toString());
    }
    return strings;
}

bool decodeNode(const QJsonObject &object, WidgetNode *node)
{
    node->id = idOf(object.value(field(idField)));
    node->parent = idOf(object.value(field(parentField)));
    node->classes = stringsOf(object.value(field(classesField)));
    if (node->id <= 0 || node->parent < 0 || node->classes.isEmpty())
        return false;
    node->objectName = object.value(field(objectNameField)).toString();
    const QJsonObject properties = object.value(field(propertiesField)).toObject();
    for (auto it = properties.begin(); it != properties.end(); ++it) {
        if (it.value().isString())
            node->properties.insert(it.key(), it.value().toString());
    }
    node->states = stringsOf(object.value(field(statesField)));
    const QJsonArray g = object.value(field(geometryField)).toArray();
    if (g.size() == 4)
        node->geometry = QRect(g.at(0).toInt(), g.at(1).toInt(), g.at(2).toInt(), g.at(3).toInt());
    node->visible = object.value(field(visibleField)).toBool();
    node->sheet = object.value(field(ownSheetField)).toString();
    return true;
}

} // namespace

QByteArray encodeMessage(const QString &kind, const QJsonObject &fields)
{
    QJsonObject message = fields;
    message.insert(QStringLiteral("kind"), kind);
    return QJsonDocument(message).toJson(QJsonDocument::Compact) + '\n';
}

QJsonObject encodeWidgetTree(const WidgetTree &tree)
{
    QJsonArray nodes;
    for (const WidgetNode &node : tree.nodes)
        nodes.append(encodeNode(node));
    return {{field(styleField), tree.styleName}, {field(nodesField), nodes}};
}

WidgetTree decodeWidgetTree(const QJsonObject &fields)
{
    WidgetTree tree;
    tree.styleName = fields.value(field(styleField)).toString();
    QSet<qint64> known;
    for (const QJsonValue &value : fields.value(field(nodesField)).toArray()) {
        WidgetNode node;
        // A parent after its child, or none, would make a cycle or an orphan of it.
        if (!decodeNode(value.toObject(), &node) || known.contains(node.id) ||
            (node.parent != 0 && !known.contains(node.parent)))
            continue;
        known.insert(node.id);
        tree.nodes.append(node);
    }
    return tree;
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
    if (buffer.size() > maxMessageBytes)
        buffer.clear();
    return messages;
}

} // namespace Attach
