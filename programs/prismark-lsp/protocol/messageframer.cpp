// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "prismark-lsp/protocol/messageframer.h"

#include <QList>

#include <cctype>

namespace {
const QByteArray kHeaderEnd("\r\n\r\n");
const QByteArray kContentLength("content-length");

bool isHeaderLine(const QByteArray &line)
{
    const int colon = line.indexOf(':');
    if (colon <= 0)
        return false;
    for (int i = 0; i < colon; ++i) {
        const char c = line.at(i);
        if (!(std::isalnum(uchar(c)) || c == '-'))
            return false;
    }
    return true;
}

// -1 for anything but a plain decimal number.
qint64 parseLength(const QByteArray &value)
{
    const QByteArray digits = value.trimmed();
    if (digits.isEmpty() || digits.size() > 18)
        return -1;
    qint64 length = 0;
    for (const char c : digits) {
        if (c < '0' || c > '9')
            return -1;
        length = length * 10 + (c - '0');
    }
    return length;
}
} // namespace

void MessageFramer::append(const QByteArray &bytes)
{
    // A refused body is dropped as it comes; bytes held before it go first.
    if (skipping > 0 && buffer.isEmpty()) {
        const qint64 dropped = qMin<qint64>(skipping, bytes.size());
        skipping -= dropped;
        buffer.append(bytes.constData() + dropped, int(bytes.size() - dropped));
        return;
    }
    buffer.append(bytes);
}

bool MessageFramer::next(Frame *frame)
{
    *frame = Frame();
    for (;;) {
        if (skipping > 0) {
            const qint64 dropped = qMin<qint64>(skipping, buffer.size());
            skipping -= dropped;
            buffer.remove(0, int(dropped));
            if (skipping > 0)
                return false;
        }
        if (bodyLength >= 0) {
            if (buffer.size() < bodyLength)
                return false;
            frame->body = buffer.left(int(bodyLength));
            buffer.remove(0, int(bodyLength));
            bodyLength = -1;
            return true;
        }
        if (buffer.isEmpty())
            return false;
        if (readHeader(frame))
            return true;
        if (bodyLength < 0 && skipping == 0)
            return false;
    }
}

// True when it sets frame->error; false when it read a header (or needs more input).
bool MessageFramer::readHeader(Frame *frame)
{
    const int end = buffer.indexOf(kHeaderEnd);
    if (end < 0) {
        if (buffer.size() <= kMaxHeaderBytes)
            return false;
        frame->error =
            QStringLiteral("no end of the header in %1 bytes: input dropped").arg(buffer.size());
        buffer.clear();
        return true;
    }
    const QList<QByteArray> lines = buffer.left(end).split('\n');
    qint64 length = -1;
    bool wellFormed = true;
    for (QByteArray line : lines) {
        if (line.endsWith('\r'))
            line.chop(1);
        if (!isHeaderLine(line)) {
            wellFormed = false;
            break;
        }
        const int colon = line.indexOf(':');
        if (line.left(colon).toLower() == kContentLength)
            length = parseLength(line.mid(colon + 1));
    }
    if (!wellFormed) {
        // Not a header: the rest of a body that could not be framed. Resume at the
        // next header that names a length.
        const int resume = buffer.toLower().indexOf(kContentLength, 1);
        const int dropped = resume < 0 ? end + int(kHeaderEnd.size()) : resume;
        buffer.remove(0, dropped);
        frame->error = QStringLiteral("%1 bytes that are no message dropped").arg(dropped);
        return true;
    }
    buffer.remove(0, end + int(kHeaderEnd.size()));
    if (length < 0) {
        frame->error = QStringLiteral("a message without a valid Content-Length header");
        return true;
    }
    if (length > kMaxContentLength) {
        frame->error = QStringLiteral("a Content-Length of %1 bytes, over the limit of %2: "
                                      "the message is skipped")
                           .arg(length)
                           .arg(kMaxContentLength);
        skipping = length;
        return true;
    }
    bodyLength = length;
    return false;
}

QByteArray MessageFramer::frame(const QByteArray &body)
{
    return "Content-Length: " + QByteArray::number(body.size()) + "\r\n\r\n" + body;
}
