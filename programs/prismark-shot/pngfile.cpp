// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "prismark-shot/pngfile.h"

#include <QSaveFile>
#include <QtEndian>

#include <array>

namespace {

// zlib level: about the toolkit writer's default size at a fraction of its time.
constexpr int kCompressionLevel = 4;

enum PngFilter : char
{
    // Each byte less the same channel of the pixel to its left: flat runs of a
    // screenshot become zeros.
    SubFilter = 1,
};

const std::array<quint32, 256> &crcTable()
{
    static const std::array<quint32, 256> table = [] {
        std::array<quint32, 256> entries{};
        for (quint32 n = 0; n < 256; ++n) {
            quint32 c = n;
            for (int k = 0; k < 8; ++k)
                c = (c & 1) ? 0xedb88320u ^ (c >> 1) : c >> 1;
            entries[n] = c;
        }
        return entries;
    }();
    return table;
}

quint32 crc32(const QByteArray &bytes)
{
    const auto &table = crcTable();
    quint32 c = 0xffffffffu;
    for (const char byte : bytes)
        c = table[(c ^ quint8(byte)) & 0xff] ^ (c >> 8);
    return c ^ 0xffffffffu;
}

QByteArray bigEndian(quint32 value)
{
    QByteArray bytes(4, Qt::Uninitialized);
    qToBigEndian(value, bytes.data());
    return bytes;
}

QByteArray chunk(const char type[4], const QByteArray &data)
{
    const QByteArray typed = QByteArray(type, 4) + data;
    return bigEndian(quint32(data.size())) + typed + bigEndian(crc32(typed));
}

// The rows, each behind its filter byte, as a zlib stream.
QByteArray imageData(const QImage &image, int channels)
{
    const int rowBytes = image.width() * channels;
    QByteArray raw((rowBytes + 1) * qsizetype(image.height()), Qt::Uninitialized);
    char *out = raw.data();
    for (int y = 0; y < image.height(); ++y) {
        const auto *row = image.constScanLine(y);
        *out++ = SubFilter;
        for (int i = 0; i < channels && i < rowBytes; ++i)
            *out++ = char(row[i]);
        for (int i = channels; i < rowBytes; ++i)
            *out++ = char(row[i] - row[i - channels]);
    }
    // qCompress writes a zlib stream behind the length it prepends.
    return qCompress(raw, kCompressionLevel).mid(4);
}

} // namespace

// Written here rather than by the toolkit's PNG writer, which lets libpng try every
// filter on every row: that search took most of a large render's time.
QByteArray encodePng(const QImage &image)
{
    const bool alpha = image.hasAlphaChannel();
    const QImage pixels =
        image.convertToFormat(alpha ? QImage::Format_RGBA8888 : QImage::Format_RGB888);
    const int channels = alpha ? 4 : 3;
    QByteArray header = bigEndian(quint32(pixels.width())) + bigEndian(quint32(pixels.height()));
    // 8 bits a channel, truecolour with or without alpha, deflate, adaptive filters,
    // not interlaced.
    header += QByteArray::fromRawData(alpha ? "\x08\x06\x00\x00\x00" : "\x08\x02\x00\x00\x00", 5);
    return QByteArray::fromRawData("\x89PNG\r\n\x1a\n", 8) + chunk("IHDR", header) +
           chunk("IDAT", imageData(pixels, channels)) + chunk("IEND", QByteArray());
}

bool writePngAtomically(const QString &path, const QImage &image, QString *error)
{
    if (image.isNull()) {
        *error = QStringLiteral("no image to write");
        return false;
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        *error = file.errorString();
        return false;
    }
    if (file.write(encodePng(image)) < 0) {
        *error = file.errorString();
        file.cancelWriting();
        return false;
    }
    if (!file.commit()) {
        *error = file.errorString();
        return false;
    }
    return true;
}
