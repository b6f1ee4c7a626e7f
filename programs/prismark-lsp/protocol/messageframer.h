// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include <QByteArray>
#include <QString>

// Cuts the base protocol's byte stream into message bodies: header lines, a blank
// line, then exactly Content-Length bytes. A body that is too large is skipped as it
// arrives, never held; input that is no message is dropped up to the next header.
class MessageFramer
{
public:
    static constexpr qint64 kMaxContentLength = 64 * 1024 * 1024;
    static constexpr int kMaxHeaderBytes = 8 * 1024;

    struct Frame
    {
        QByteArray body;
        // Set instead of a body for input that breaks the protocol.
        QString error;
    };

    void append(const QByteArray &bytes);
    // The next complete message or protocol error; false until more input arrives.
    bool next(Frame *frame);
    // Bytes held for a message not yet complete.
    int pending() const { return int(buffer.size()); }

    static QByteArray frame(const QByteArray &body);

private:
    bool readHeader(Frame *frame);

    QByteArray buffer;
    qint64 skipping = 0;    // bytes of a refused body still to drop
    qint64 bodyLength = -1; // a header was read; its body is awaited
};
