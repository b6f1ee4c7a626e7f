// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

// On-demand benchmark of prismark-live attached to an application of the author's
// own (the tests' attachedapp, in C++ and in Python): from its start to its window's
// first paint, attached, against the same on its own with the same sheet passed as
// -stylesheet; then a save of the sheet to the application's windows painted again.
// See the README.

#include "attach/attachprotocol.h"

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
#include <ctime>
#include <vector>

namespace {

// Starts of each kind; the first argument may ask for more, as the ratios are noisy.
int starts = 25;
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

qint64 monotonicNs()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return now.tv_sec * 1000000000LL + now.tv_nsec;
}

// From the start of the command to the application's first paint, as it prints it
// (its standard output comes through prismark-live); 0 when it printed none.
double msToFirstPaint(const QString &program, const QStringList &arguments,
                      const QProcessEnvironment &environment)
{
    QProcess process;
    process.setProcessEnvironment(environment);
    process.setStandardErrorFile(QProcess::nullDevice());
    const qint64 started = monotonicNs();
    process.start(program, arguments);
    process.waitForFinished(60000);
    for (const QByteArray &line : process.readAllStandardOutput().split('\n')) {
        if (line.startsWith("painted "))
            return (line.mid(8).toLongLong() - started) / 1e6;
    }
    return 0;
}

QJsonObject readReport(const QString &folder)
{
    QFile file(QDir(folder).filePath(QStringLiteral("report.json")));
    return file.open(QIODevice::ReadOnly) ? QJsonDocument::fromJson(file.readAll()).object()
                                          : QJsonObject();
}

// The application on its own with -stylesheet, and attached with the same sheet:
// through prismark-live, and (to tell the two apart) started with the plugin alone.
void startUp(const QString &name, const QString &program, const QStringList &arguments,
             const QString &sheet)
{
    const QStringList quit{QStringLiteral("--quit-when-painted")};
    const QProcessEnvironment system = QProcessEnvironment::systemEnvironment();
    QProcessEnvironment pluginOnly = system;
    pluginOnly.insert(QStringLiteral("QT_PLUGIN_PATH"), QStringLiteral(PRISMARK_BUILD_PLUGIN_DIR));
    pluginOnly.insert(QStringLiteral("QT_QPA_PLATFORMTHEME"),
                      QString::fromLatin1(Attach::themeKey));
    pluginOnly.insert(QString::fromLatin1(Attach::sheetVariable), sheet);
    std::vector<double> own, attached, plugin, ratios;
    for (int i = 0; i < starts; ++i) {
        const double alone = msToFirstPaint(
            program, arguments + QStringList{QStringLiteral("-stylesheet"), sheet} + quit, system);
        const double live = msToFirstPaint(
            QStringLiteral(PRISMARK_LIVE_EXECUTABLE),
            QStringList{sheet, QStringLiteral("--"), program} + arguments + quit, system);
        plugin.push_back(msToFirstPaint(program, arguments + quit, pluginOnly));
        if (alone <= 0 || live <= 0) {
            std::printf("%s: no first paint reported; skipped\n", qPrintable(name));
            return;
        }
        own.push_back(alone);
        attached.push_back(live);
        ratios.push_back(live / alone);
    }
    std::printf("%s, start to first paint (median of %d)\n", qPrintable(name), starts);
    std::printf("  on its own, with -stylesheet: %6.1f ms\n", median(own));
    std::printf("  attached by prismark-live:    %6.1f ms\n", median(attached));
    std::printf("  with the plugin alone:        %6.1f ms\n", median(plugin));
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
    if (argc > 1)
        starts = qMax(1, QByteArray(argv[1]).toInt());
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir folder;
    const QString sheet = folder.filePath(QStringLiteral("author.qss"));
    writeByRename(sheet, sheetText(90));
    // A theme's worth of rules as well: what the plugin does with a sheet grows with it.
    const QString theme = folder.filePath(QStringLiteral("light.qss"));
    QFile light(QStringLiteral(PRISMARK_STYLES_DIR "/light.qss"));
    if (!light.open(QIODevice::ReadOnly) || !writeByRename(theme, light.readAll()))
        return 1;
    for (const auto &[path, what] : {std::make_pair(sheet, "a two-rule sheet"),
                                     std::make_pair(theme, "the Light theme, 8 KB")}) {
        startUp(QStringLiteral("C++ application, %1").arg(QLatin1String(what)),
                QStringLiteral(ATTACHED_APP_EXECUTABLE), {}, path);
        startUp(
            QStringLiteral("Python application (PyQt%1), %2")
                .arg(QT_VERSION_MAJOR)
                .arg(QLatin1String(what)),
            QStringLiteral("/usr/bin/python3"),
            {QStringLiteral(ATTACHED_APP_SCRIPT), QStringLiteral("pyqt%1").arg(QT_VERSION_MAJOR)},
            path);
    }
    saves(folder, sheet);
    return 0;
}
