// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "support/safefileread.h"

#include <QFile>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
QString fileKind(mode_t mode)
{
    if (S_ISDIR(mode))
        return QStringLiteral("a directory");
    if (S_ISFIFO(mode))
        return QStringLiteral("a FIFO");
    if (S_ISCHR(mode) || S_ISBLK(mode))
        return QStringLiteral("a device");
    if (S_ISSOCK(mode))
        return QStringLiteral("a socket");
    return QStringLiteral("not a regular file");
}

FileReadResult failure(const QString &error)
{
    FileReadResult result;
    result.error = error;
    return result;
}

QString tooLarge(qint64 maxBytes)
{
    return QStringLiteral("larger than the limit of %1").arg(byteLimitText(maxBytes));
}

FileReadResult readOpenFile(QFile &file, qint64 maxBytes)
{
    FileReadResult result;
    if (maxBytes < 0) {
        result.bytes = file.readAll();
    } else {
        // read(n) reserves n bytes at once, so a generous limit is read in steps;
        // one byte past the limit tells "exactly the limit" from "more".
        constexpr qint64 step = 1024 * 1024;
        while (result.bytes.size() <= maxBytes) {
            const QByteArray chunk = file.read(qMin(step, maxBytes + 1 - result.bytes.size()));
            if (chunk.isEmpty())
                break;
            result.bytes += chunk;
        }
        if (result.bytes.size() > maxBytes)
            return failure(tooLarge(maxBytes));
    }
    if (file.error() != QFileDevice::NoError)
        return failure(file.errorString());
    result.ok = true;
    return result;
}
} // namespace

QString nonRegularFileKind(const QString &path)
{
    struct stat status;
    if (::stat(QFile::encodeName(path).constData(), &status) != 0 || S_ISREG(status.st_mode))
        return QString();
    return fileKind(status.st_mode);
}

QString byteLimitText(qint64 maxBytes)
{
    if (maxBytes >= 1024 * 1024 && maxBytes % (1024 * 1024) == 0)
        return QStringLiteral("%1 MiB").arg(maxBytes / (1024 * 1024));
    return QStringLiteral("%1 bytes").arg(maxBytes);
}

FileReadResult readRegularFile(const QString &path, qint64 maxBytes, bool textMode)
{
    if (path.isEmpty())
        return failure(QStringLiteral("no file name"));
    const QIODevice::OpenMode mode =
        textMode ? QIODevice::ReadOnly | QIODevice::Text : QIODevice::ReadOnly;
    if (path.startsWith(QLatin1Char(':'))) {
        QFile resource(path);
        if (!resource.open(mode))
            return failure(resource.errorString());
        return readOpenFile(resource, maxBytes);
    }

    // O_NONBLOCK makes opening a FIFO with no writer return at once; the descriptor
    // is then refused below before anything reads from it.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return failure(QString::fromLocal8Bit(std::strerror(errno)));
    struct stat status;
    if (::fstat(fd, &status) != 0) {
        const int error = errno;
        ::close(fd);
        return failure(QString::fromLocal8Bit(std::strerror(error)));
    }
    if (!S_ISREG(status.st_mode)) {
        ::close(fd);
        return failure(fileKind(status.st_mode));
    }
    if (maxBytes >= 0 && status.st_size > maxBytes) {
        ::close(fd);
        return failure(tooLarge(maxBytes));
    }
    // Regular files never block; plain reads from here on.
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    QFile file;
    if (!file.open(fd, mode, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return failure(file.errorString());
    }
    return readOpenFile(file, maxBytes);
}

FileReadResult readStandardInput(qint64 maxBytes)
{
    FileReadResult input;
    char buffer[65536];
    for (;;) {
        const ssize_t count = ::read(STDIN_FILENO, buffer, sizeof buffer);
        if (count == 0)
            break;
        if (count < 0) {
            if (errno == EINTR)
                continue;
            input.error = QString::fromLocal8Bit(std::strerror(errno));
            return input;
        }
        if (maxBytes >= 0 && input.bytes.size() + count > maxBytes) {
            input.error =
                QStringLiteral("larger than the limit of %1").arg(byteLimitText(maxBytes));
            return input;
        }
        input.bytes.append(buffer, int(count));
    }
    input.ok = true;
    return input;
}

FileReadResult readFileOrStandardInput(const QString &path, qint64 maxBytes)
{
    if (path == QLatin1String("-"))
        return readStandardInput(maxBytes);
    return readRegularFile(path, maxBytes);
}
