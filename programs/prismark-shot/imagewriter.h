// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include <QImage>
#include <QMutex>
#include <QSemaphore>
#include <QString>
#include <QStringList>
#include <QThreadPool>

#include <functional>

// Writes a run's files: images on worker threads while the next one renders, a few
// waiting at a time, and pages at once; remembers what it wrote and what it could not.
class ImageWriter
{
public:
    ImageWriter() = default;
    ~ImageWriter();

    // Runs job on a worker; waits first while too many rendered images are pending,
    // which bounds the memory a fast renderer can fill.
    void submit(std::function<void()> job);
    void submitImage(const QString &path, const QImage &image);
    // On the calling thread; a failure is recorded for printWriteErrors().
    void writeImage(const QString &path, const QImage &image);
    // An HTML page, at once; prints what went wrong and returns false on failure.
    bool writePage(const QString &path, const QString &html);
    void waitForDone();

    // Prints every image that could not be written; true when there was one.
    bool printWriteErrors() const;
    // --list: every file written, in order of their paths.
    void printWrittenFiles();

private:
    // Rendered images waiting for a writer.
    static constexpr int kPendingImages = 6;

    QSemaphore pendingSlots{kPendingImages};
    QMutex mutex;
    QStringList writeErrors;
    QStringList writtenFiles;
    // Last, so that it is gone first: no job outlives what it writes to.
    QThreadPool pool;
};
