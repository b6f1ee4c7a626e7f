// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

// libFuzzer target: arbitrary bytes as what an attached application sends
// prismark-live, arriving in pieces whose sizes the first byte chooses. Besides no
// crash, hang or sanitizer report: what is left buffered never holds a complete
// line and never grows past the limit by more than one piece; every message read
// has a kind; and a message encoded and read back is the same message (its kind and
// the names of its fields: a number JSON cannot hold comes back as another).

#include "attach/attachprotocol.h"
#include "fuzzrequire.h"

#include <QByteArray>
#include <QJsonObject>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size == 0)
        return 0;
    const int piece = 1 + data[0] % 64;
    const QByteArray input(reinterpret_cast<const char *>(data) + 1, int(size) - 1);
    QByteArray buffer;
    for (int at = 0; at < input.size(); at += piece) {
        buffer += input.mid(at, piece);
        for (const Attach::Message &message : Attach::takeMessages(buffer)) {
            require(!message.kind.isEmpty());
            QByteArray again = Attach::encodeMessage(message.kind, message.fields);
            const QVector<Attach::Message> read = Attach::takeMessages(again);
            require(read.size() == 1 && read.first().kind == message.kind &&
                    read.first().fields.keys() == message.fields.keys() && again.isEmpty());
        }
        require(!buffer.contains('\n'));
        require(buffer.size() <= Attach::maxMessageBytes + piece);
    }
    return 0;
}
