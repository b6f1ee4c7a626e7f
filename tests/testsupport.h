// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include <QByteArray>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

#include <sys/stat.h>

// What the tests of every layer share; no GUI (guitestsupport.h has that).

// Makes a FIFO at path, as an author's or an attacker's file could be one.
inline bool makeFifo(const QString &path)
{
    return ::mkfifo(QFile::encodeName(path).constData(), 0600) == 0;
}

// A program of the build as a child process: its exit code (-1 when it did not
// start or end in time, -2 when it crashed), its standard output and error.
struct ProgramRun
{
    int exitCode = -1;
    QString out;
    QString err;
};

struct ProgramOptions
{
    QByteArray input;         // written to its standard input, which is then closed
    QString workingDirectory; // "" for this process's
    int timeoutMs = 120000;   // only against a hang
};

inline ProgramRun runProgram(const QString &program, const QStringList &arguments,
                             const ProgramOptions &options = ProgramOptions())
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    process.setProcessEnvironment(environment);
    if (!options.workingDirectory.isEmpty())
        process.setWorkingDirectory(options.workingDirectory);
    process.start(program, arguments);
    ProgramRun run;
    if (!process.waitForStarted())
        return run;
    if (!options.input.isNull())
        process.write(options.input);
    process.closeWriteChannel();
    if (!process.waitForFinished(options.timeoutMs)) {
        process.kill();
        process.waitForFinished();
        return run;
    }
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -2;
    run.out = QString::fromUtf8(process.readAllStandardOutput());
    run.err = QString::fromUtf8(process.readAllStandardError());
    return run;
}

// The "styles" directory beside the test binary: the loader's first place to look,
// where a test puts its own copies of Light's and Dark's sheets.
inline QString stylesBesideExecutable()
{
    return QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("styles"));
}
