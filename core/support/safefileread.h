// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include <QByteArray>
#include <QString>

// Reads a file from disk without ever blocking on something that is not a regular
// file: the name is opened non-blocking and the opened descriptor, not the name, is
// inspected, so a FIFO or device swapped in after any earlier check is still refused.
struct FileReadResult
{
    bool ok = false;
    QByteArray bytes;
    // One line for a user when not ok, e.g. "not a regular file (a FIFO)".
    QString error;
};

// maxBytes < 0 means no limit. Text mode folds CR LF to LF, as QIODevice::Text does.
// Paths starting with ":" name compiled-in resources and are read through QFile.
FileReadResult readRegularFile(const QString &path, qint64 maxBytes = -1, bool textMode = false);

// Standard input to its end, refused past maxBytes (< 0: no limit).
FileReadResult readStandardInput(qint64 maxBytes = -1);

// readRegularFile, or standard input for the path "-", as command-line programs take it.
FileReadResult readFileOrStandardInput(const QString &path, qint64 maxBytes = -1);

// What stands at path when it is something other than a regular file ("a FIFO",
// "a directory", "a device", ...), or "" for a regular file or nothing at all. Only
// for reports: it looks at the name, so a reader must still go through readRegularFile.
QString nonRegularFileKind(const QString &path);

// The limit as a user reads it in a message: "16 MiB".
QString byteLimitText(qint64 maxBytes);
