// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "shot/pngfile.h"

#include <QImageWriter>
#include <QSaveFile>

bool writePngAtomically(const QString &path, const QImage &image, QString *error)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        *error = file.errorString();
        return false;
    }
    QImageWriter writer(&file, "png");
    // Fixed, so the bytes depend on the pixels alone: zlib level (100 - 50) * 9 / 91 = 4,
    // nearly the default level's size in a good deal less time.
    writer.setQuality(50);
    if (!writer.write(image)) {
        *error = writer.errorString();
        file.cancelWriting();
        return false;
    }
    if (!file.commit()) {
        *error = file.errorString();
        return false;
    }
    return true;
}
