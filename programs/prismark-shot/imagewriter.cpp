// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "prismark-shot/imagewriter.h"

#include "prismark-shot/pngfile.h"
#include "prismark-shot/shotconsole.h"
#include "support/programsupport.h"

#include <QSaveFile>

ImageWriter::~ImageWriter()
{
    pool.waitForDone();
}

void ImageWriter::submit(std::function<void()> job)
{
    pendingSlots.acquire();
    pool.start(QRunnable::create([this, job] {
        job();
        pendingSlots.release();
    }));
}

void ImageWriter::submitImage(const QString &path, const QImage &image)
{
    submit([this, path, image] { writeImage(path, image); });
}

void ImageWriter::writeImage(const QString &path, const QImage &image)
{
    QString error;
    const bool ok = writePngAtomically(path, image, &error);
    QMutexLocker locker(&mutex);
    if (ok)
        writtenFiles << path;
    else
        writeErrors << QStringLiteral("cannot write %1: %2").arg(path, error);
}

bool ImageWriter::writePage(const QString &path, const QString &html)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(html.toUtf8()) < 0 || !file.commit()) {
        printProgramError(QStringLiteral("cannot write %1: %2").arg(path, file.errorString()));
        return false;
    }
    QMutexLocker locker(&mutex);
    writtenFiles << path;
    return true;
}

void ImageWriter::waitForDone()
{
    pool.waitForDone();
}

bool ImageWriter::printWriteErrors() const
{
    for (const QString &error : writeErrors)
        printProgramError(error);
    return !writeErrors.isEmpty();
}

void ImageWriter::printWrittenFiles()
{
    writtenFiles.sort();
    for (const QString &file : qAsConst(writtenFiles))
        printShotLine(file);
}
