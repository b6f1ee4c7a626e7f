// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

// On-demand benchmark of prismark-live attached to an application of the author's
// own (the tests' attachedapp, in C++ and in Python on each binding of the system's
// Qt): from its start to its window's first paint, attached through the plugin and
// (a Python one) through the Python agent, against the same on its own with the same
// sheet passed as -stylesheet; then a save of the sheet to the application's windows
// painted again, through either. See docs/live.md.

#include "attach/attachenvironment.h"
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
const QString systemPython = QStringLiteral("/usr/bin/python3");

double median(std::vector<double> values)
{
    if (values.empty())
        return 0;
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

// One way of starting the application: a command and its environment.
struct Way
{
    const char *title;
    QString program;
    QStringList arguments;
    QProcessEnvironment environment;
};

// From the start of the command to the application's first paint, as it prints it
// (its standard output comes through prismark-live); 0 when it printed none.
double msToFirstPaint(const Way &way)
{
    QProcess process;
    process.setProcessEnvironment(way.environment);
    process.setStandardErrorFile(QProcess::nullDevice());
    const qint64 started = monotonicNs();
    process.start(way.program, way.arguments);
    process.waitForFinished(60000);
    for (const QByteArray &line : process.readAllStandardOutput().split('\n')) {
        if (line.startsWith("painted "))
            return (line.mid(8).toLongLong() - started) / 1e6;
    }
    return 0;
}

// An application of the tests': the C++ one, or the script on a binding.
struct Application
{
    QString name;
    QString program;
    QStringList arguments;
    bool python = false;
};

QStringList liveCommand(const QString &way, const QString &sheet, const Application &application,
                        const QStringList &more)
{
    return QStringList{QStringLiteral("--attach"), way, sheet, QStringLiteral("--")} +
           QStringList{application.program} + application.arguments + more;
}

// Its own start with -stylesheet first, then through prismark-live, then (to tell the
// two apart) with the plugin or the agent alone in its environment, no prismark-live.
std::vector<Way> waysToStart(const Application &application, const QString &sheet)
{
    const QStringList quit{QStringLiteral("--quit-when-painted")};
    const QProcessEnvironment system = QProcessEnvironment::systemEnvironment();
    QProcessEnvironment pluginOnly = system;
    pluginOnly.insert(QLatin1String(Attach::pluginPathVariable),
                      QStringLiteral(PRISMARK_BUILD_PLUGIN_DIR));
    pluginOnly.insert(QLatin1String(Attach::platformThemeVariable),
                      QLatin1String(Attach::themeKey));
    pluginOnly.insert(QLatin1String(Attach::sheetVariable), sheet);
    QProcessEnvironment agentOnly = system;
    agentOnly.insert(QLatin1String(Attach::pythonPathVariable),
                     QStringLiteral(PRISMARK_BUILD_AGENT_DIR));
    agentOnly.insert(QLatin1String(Attach::agentVariable),
                     QStringLiteral(PRISMARK_BUILD_AGENT_DIR));
    agentOnly.insert(QLatin1String(Attach::sheetVariable), sheet);
    // Nobody listens there: the hello goes nowhere, as the plugin's does above.
    agentOnly.insert(QLatin1String(Attach::serverVariable), QStringLiteral("/nonexistent"));
    const QString live = QStringLiteral(PRISMARK_LIVE_EXECUTABLE);
    std::vector<Way> ways{
        {"on its own, with -stylesheet", application.program,
         application.arguments + QStringList{QStringLiteral("-stylesheet"), sheet} + quit, system},
        {"attached by prismark-live, plugin", live,
         liveCommand(QStringLiteral("plugin"), sheet, application, quit), system},
        {"with the plugin alone", application.program, application.arguments + quit, pluginOnly}};
    if (application.python) {
        ways.push_back({"attached by prismark-live, agent", live,
                        liveCommand(QStringLiteral("python"), sheet, application, quit), system});
        ways.push_back(
            {"with the agent alone", application.program, application.arguments + quit, agentOnly});
    }
    return ways;
}

void startUp(const Application &application, const QString &what, const QString &sheet)
{
    const std::vector<Way> ways = waysToStart(application, sheet);
    std::vector<std::vector<double>> times(ways.size()), ratios(ways.size());
    for (int i = 0; i < starts; ++i) {
        std::vector<double> run;
        for (const Way &way : ways)
            run.push_back(msToFirstPaint(way));
        if (std::find(run.begin(), run.end(), 0.0) != run.end()) {
            std::printf("%s: no first paint reported; skipped\n", qPrintable(application.name));
            return;
        }
        for (size_t way = 0; way < ways.size(); ++way) {
            times[way].push_back(run[way]);
            ratios[way].push_back(run[way] / run[0]);
        }
    }
    std::printf("%s, %s, start to first paint (median of %d)\n", qPrintable(application.name),
                qPrintable(what), starts);
    for (size_t way = 0; way < ways.size(); ++way) {
        std::printf("  %-36s %6.1f ms", ways[way].title, median(times[way]));
        if (way > 0)
            std::printf("  ratio of medians %.2f, paired median ratio %.2f",
                        median(times[way]) / median(times[0]), median(ratios[way]));
        std::printf("\n");
    }
}

QJsonObject readReport(const QString &folder)
{
    QFile file(QDir(folder).filePath(QStringLiteral("report.json")));
    return file.open(QIODevice::ReadOnly) ? QJsonDocument::fromJson(file.readAll()).object()
                                          : QJsonObject();
}

// From each save's completed write to the application's windows painted again (the
// monotonic clock the application's report gives), through the way asked for.
std::vector<double> saves(const QTemporaryDir &folder, const Application &application,
                          const QString &way)
{
    const QString sheet = folder.filePath(QStringLiteral("saved-%1.qss").arg(way));
    const QString out = folder.filePath(QStringLiteral("out-%1").arg(way));
    writeByRename(sheet, sheetText(90));
    QDir().mkpath(out);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QLatin1String(Attach::testFolderVariable), out);
    QProcess live;
    live.setProcessEnvironment(environment);
    live.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    live.start(QStringLiteral(PRISMARK_LIVE_EXECUTABLE), liveCommand(way, sheet, application, {}));
    QElapsedTimer waited;
    waited.start();
    while (readReport(out).value(QStringLiteral("updates")).toInt() < 3 && waited.elapsed() < 20000)
        QThread::msleep(20);
    // Once prismark-live has loaded beside it and sent what it checked.
    QThread::msleep(1000);
    std::vector<double> repaints;
    for (int i = 0; i < kSaves; ++i) {
        const qint64 before =
            qint64(readReport(out).value(QStringLiteral("repaintedNs")).toDouble());
        const qint64 written = (writeByRename(sheet, sheetText(100 + i)), monotonicNs());
        qint64 repainted = before;
        waited.restart();
        while (repainted == before && waited.elapsed() < 10000) {
            QThread::msleep(2);
            repainted = qint64(readReport(out).value(QStringLiteral("repaintedNs")).toDouble());
        }
        if (repainted != before)
            repaints.push_back((repainted - written) / 1e6);
        // The full analysis and the report of this save are done before the next.
        QThread::msleep(150);
    }
    live.write("quit 0\n");
    live.closeWriteChannel();
    live.waitForFinished(10000);
    return repaints;
}

bool pythonModuleThere(const QString &module)
{
    QProcess python;
    python.start(systemPython, {QStringLiteral("-c"), QStringLiteral("import ") + module});
    return python.waitForFinished(20000) && python.exitCode() == 0;
}

std::vector<Application> applications()
{
    std::vector<Application> all{
        {QStringLiteral("C++ application"), QStringLiteral(ATTACHED_APP_EXECUTABLE), {}, false}};
    const QStringList bindings =
        QT_VERSION_MAJOR == 5 ? QStringList{QStringLiteral("PyQt5"), QStringLiteral("PySide2")}
                              : QStringList{QStringLiteral("PyQt6")};
    for (const QString &binding : bindings) {
        if (pythonModuleThere(binding + QStringLiteral(".QtWidgets")))
            all.push_back({QStringLiteral("Python application (%1)").arg(binding),
                           systemPython,
                           {QStringLiteral(ATTACHED_APP_SCRIPT), binding.toLower()},
                           true});
        else
            std::printf("%s is not installed; its application is left out\n", qPrintable(binding));
    }
    return all;
}

void printSaves(const QTemporaryDir &folder, const Application &application)
{
    const std::vector<double> plugin = saves(folder, application, QStringLiteral("plugin"));
    std::printf("%s, save -> repainted, from the write (median of %zu):\n"
                "  through the plugin %6.2f ms",
                qPrintable(application.name), plugin.size(), median(plugin));
    if (application.python) {
        const std::vector<double> agent = saves(folder, application, QStringLiteral("python"));
        std::printf(", through the agent %6.2f ms (%zu saves): %.2f x", median(agent), agent.size(),
                    median(agent) / median(plugin));
    }
    std::printf("\n");
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
    // A theme's worth of rules as well: what is done with a sheet grows with it.
    const QString theme = folder.filePath(QStringLiteral("light.qss"));
    QFile light(QStringLiteral(PRISMARK_STYLES_DIR "/light.qss"));
    if (!light.open(QIODevice::ReadOnly) || !writeByRename(theme, light.readAll()))
        return 1;
    const std::vector<Application> subjects = applications();
    for (const auto &[path, what] : {std::make_pair(sheet, "a two-rule sheet"),
                                     std::make_pair(theme, "the Light theme, 8 KB")}) {
        for (const Application &subject : subjects)
            startUp(subject, QLatin1String(what), path);
    }
    for (const Application &subject : subjects)
        printSaves(folder, subject);
    return 0;
}
