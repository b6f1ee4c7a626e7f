// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

// On-demand benchmark of prismark-live attached to an application of the author's
// own (the tests' attachedapp): its start-up to the first paint, attached, against
// its own start-up with the same sheet passed as -stylesheet; then a save of the
// sheet to the application's windows painted again. See the README.

#include "support/attachprotocol.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr int kStarts = 15;
constexpr int kSaves = 30;

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

QByteArray sheetText(int shade)
{
    return QStringLiteral("QMainWindow, QDialog { background: rgb(%1, 40, 40); }\n"
                          "QPushButton { padding: 4px; border: 1px solid rgb(0, 0, %1); }\n")
        .arg(shade)
        .toUtf8();
}

bool writeByRename(const QString &path, const QByteArray &bytes)
{
    QFile file(path + QStringLiteral(".new"));
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        return false;
    file.close();
    return ::rename(QFile::encodeName(file.fileName()).constData(),
                    QFile::encodeName(path).constData()) == 0;
}

double runMs(const QString &program, const QStringList &arguments)
{
    QElapsedTimer clock;
    clock.start();
    QProcess process;
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process.start(program, arguments);
    process.waitForFinished(60000);
    return clock.nsecsElapsed() / 1e6;
}

QJsonObject readReport(const QString &folder)
{
    QFile file(QDir(folder).filePath(QStringLiteral("report.json")));
    return file.open(QIODevice::ReadOnly) ? QJsonDocument::fromJson(file.readAll()).object()
                                          : QJsonObject();
}

void startUp(const QString &sheet)
{
    const QString app = QStringLiteral(ATTACHED_APP_EXECUTABLE);
    const QString quit = QStringLiteral("--quit-when-shown");
    std::vector<double> own, attached, ratios;
    for (int i = 0; i < kStarts; ++i) {
        const double alone = runMs(app, {QStringLiteral("-stylesheet"), sheet, quit});
        const double live = runMs(QStringLiteral(PRISMARK_LIVE_EXECUTABLE),
                                  {sheet, QStringLiteral("--"), app, quit});
        own.push_back(alone);
        attached.push_back(live);
        ratios.push_back(live / alone);
    }
    std::printf("start-up to first paint, own with -stylesheet: %.1f ms (median of %d)\n",
                median(own), kStarts);
    std::printf("start-up to first paint, attached:              %.1f ms\n", median(attached));
    std::printf("  ratio of medians %.2f, paired median ratio %.2f\n",
                median(attached) / median(own), median(ratios));
}

void saves(const QTemporaryDir &folder, const QString &sheet)
{
    const QString out = folder.filePath(QStringLiteral("out"));
    QDir().mkpath(out);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QString::fromLatin1(Attach::testFolderVariable), out);
    QProcess live;
    live.setProcessEnvironment(environment);
    live.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    live.start(QStringLiteral(PRISMARK_LIVE_EXECUTABLE),
               {sheet, QStringLiteral("--"), QStringLiteral(ATTACHED_APP_EXECUTABLE)});
    QElapsedTimer waited;
    waited.start();
    while (readReport(out).value(QStringLiteral("updates")).toInt() < 3 && waited.elapsed() < 20000)
        QThread::msleep(20);
    std::vector<double> repaints;
    for (int i = 0; i < kSaves; ++i) {
        const int before = readReport(out).value(QStringLiteral("updates")).toInt();
        writeByRename(sheet, sheetText(100 + i));
        QJsonObject report;
        waited.restart();
        do {
            QThread::msleep(2);
            report = readReport(out);
        } while (report.value(QStringLiteral("updates")).toInt() <= before &&
                 waited.elapsed() < 10000);
        repaints.push_back(report.value(QStringLiteral("repaintMs")).toDouble());
        // The full analysis and the report of this save are done before the next.
        QThread::msleep(150);
    }
    live.write("quit 0\n");
    live.closeWriteChannel();
    live.waitForFinished(10000);
    std::printf("save -> attached application repainted: %.2f ms (median of %d); compare with\n"
                "  prismark-live-bench's save -> repainted gallery\n",
                median(repaints), kSaves);
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir folder;
    const QString sheet = folder.filePath(QStringLiteral("author.qss"));
    writeByRename(sheet, sheetText(90));
    startUp(sheet);
    saves(folder, sheet);
    return 0;
}
