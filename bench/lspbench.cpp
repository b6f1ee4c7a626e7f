// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

// On-demand benchmark of prismark-lsp, driven through its pipes as an editor drives
// it; see the README. Usage: prismark-lsp-bench [REPETITIONS]   (default 30)

#include "tests/lspclient.h"
#include "theme/themecatalogue.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QThread>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {
constexpr int kWait = 60000;

QString builtInSheet(Theme theme)
{
    QFile file(QStringLiteral(":/styles/") + styleSheetFileName(theme));
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

// The largest built-in sheet, about 9 KB.
Theme largestTheme()
{
    Theme largest = Theme(0);
    for (int theme = 0; theme < ThemeCount; ++theme) {
        if (builtInSheet(Theme(theme)).size() > builtInSheet(largest).size())
            largest = Theme(theme);
    }
    return largest;
}

QString megabyteSheet()
{
    QString all;
    for (int theme = 0; theme < ThemeCount; ++theme)
        all += builtInSheet(Theme(theme)) + QLatin1Char('\n');
    QString sheet;
    while (sheet.size() < 1024 * 1024)
        sheet += all;
    return sheet;
}

// The server through the shared test client; a bench with no answer cannot go on.
class Server : public LspTestClient
{
public:
    Server()
        : LspTestClient(QStringLiteral(PRISMARK_LSP_BINARY), kWait)
    {}
    ~Server()
    {
        request("shutdown");
        notify("exit");
        process.closeWriteChannel();
        if (!process.waitForFinished(kWait))
            process.kill();
    }
    QJsonObject take(const std::function<bool(const QJsonObject &)> &matches)
    {
        const QJsonObject message = LspTestClient::take(matches);
        if (message.isEmpty()) {
            std::fprintf(stderr, "prismark-lsp-bench: no answer from the server\n");
            std::exit(1);
        }
        return message;
    }
    QJsonObject response(int id)
    {
        return take([id](const QJsonObject &m) { return m.value("id").toInt(-1) == id; });
    }
    QJsonObject diagnostics(const QString &uri, int version)
    {
        return take([&](const QJsonObject &m) {
            const QJsonObject params = m.value("params").toObject();
            return m.value("method") == "textDocument/publishDiagnostics" &&
                   params.value("uri") == uri && params.value("version").toInt() == version;
        });
    }
};

double milliseconds(const QElapsedTimer &timer)
{
    return timer.nsecsElapsed() / 1e6;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

QJsonObject at(const QString &uri, int line, int character)
{
    return {{"textDocument", QJsonObject{{"uri", uri}}},
            {"position", QJsonObject{{"line", line}, {"character", character}}}};
}

template <typename Ask> double timeRequests(Server &server, int repetitions, Ask ask)
{
    std::vector<double> times;
    for (int i = 0; i < repetitions; ++i) {
        QElapsedTimer timer;
        timer.start();
        server.response(ask());
        times.push_back(milliseconds(timer));
    }
    return median(times);
}

void row(const char *what, double value, const char *unit, const char *goal)
{
    std::printf("  %-52s %8.1f %-3s  goal %s\n", what, value, unit, goal);
}

// Completion in the small document while the large one is analysed.
void completionDuringLargeAnalysis(Server &server, const QJsonObject &position)
{
    const QString large = megabyteSheet();
    const QString largeUri = QStringLiteral("file:///bench/large.qss");
    server.open(largeUri, large);
    server.diagnostics(largeUri, 1);
    QElapsedTimer analysis;
    analysis.start();
    server.change(largeUri, 2, large + QStringLiteral("\n"));
    std::vector<double> during;
    bool analysed = false;
    while (!analysed) {
        QElapsedTimer timer;
        timer.start();
        server.response(server.request("textDocument/completion", position));
        during.push_back(milliseconds(timer));
        analysed = server.arrived([&](const QJsonObject &m) {
            return m.value("params").toObject().value("uri") == largeUri;
        });
        if (!analysed)
            QThread::msleep(5);
    }
    server.diagnostics(largeUri, 2);
    const double analysisTime = milliseconds(analysis);
    // The first request queues behind the reading of the 1 MB message itself (its JSON
    // is parsed on the reading thread); the rest arrive while only the analysis runs.
    row("completion right behind the 1 MB didChange", during.front(), "ms",
        "(waits for the change to be read)");
    const std::vector<double> rest(during.begin() + 1, during.end());
    row("slowest completion while the 1 MB sheet is analysed",
        rest.empty() ? 0 : *std::max_element(rest.begin(), rest.end()), "ms", "<= 50 ms");
    std::vector<double> sorted = rest;
    std::sort(sorted.begin(), sorted.end());
    std::printf("  %-52s (%zu completions: median %.1f ms, 95th percentile %.1f ms, over an "
                "analysis of %.0f ms)\n",
                "", rest.size(), median(rest),
                sorted.empty() ? 0 : sorted[sorted.size() * 95 / 100], analysisTime);
    server.notify("textDocument/didClose",
                  QJsonObject{{"textDocument", QJsonObject{{"uri", largeUri}}}});
}

// Ten documents open, each a built-in sheet, all analysed.
void memoryOfTenDocuments()
{
    Server fresh;
    fresh.request("initialize", QJsonObject{{"capabilities", QJsonObject()}});
    fresh.response(1);
    for (int i = 0; i < 10; ++i)
        fresh.open(QStringLiteral("file:///bench/%1.qss").arg(i), builtInSheet(Theme(i)));
    for (int i = 0; i < 10; ++i)
        fresh.diagnostics(QStringLiteral("file:///bench/%1.qss").arg(i), 1);
    row("resident memory, ten 9 KB documents open", fresh.residentKiB() / 1024.0, "MB",
        "<= 150 MB");
}
} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const int repetitions = argc > 1 ? std::max(3, QByteArray(argv[1]).toInt()) : 30;
    const Theme theme = largestTheme();
    const QString sheet = builtInSheet(theme);
    QFile load(QStringLiteral("/proc/loadavg"));
    load.open(QIODevice::ReadOnly);
    std::printf("prismark-lsp benchmark: the real server through its pipes, %s (%lld bytes), "
                "median of %d unless said; load average %s\n\n",
                qPrintable(styleSheetFileName(theme)),
                static_cast<long long>(sheet.toUtf8().size()), repetitions,
                load.readAll().split(' ').value(0).constData());

    Server server;
    server.request("initialize", QJsonObject{{"capabilities", QJsonObject()}});
    server.response(1);
    server.notify("initialized", QJsonObject());
    const QString uri = QStringLiteral("file:///bench/sheet.qss");
    server.open(uri, sheet);
    server.diagnostics(uri, 1);

    // Each change alters the text, as typing does: a comment that grows by a character.
    std::vector<double> changes;
    for (int version = 2; version < repetitions + 2; ++version) {
        const QString text = sheet + QStringLiteral("\n/* %1 */\n").arg(QString(version, 'x'));
        QElapsedTimer timer;
        timer.start();
        server.change(uri, version, text);
        server.diagnostics(uri, version);
        changes.push_back(milliseconds(timer));
    }
    row("didChange to its diagnostics", median(changes), "ms", "<= 30 ms");

    // A property name in the first rule, and the colour at its value.
    const int line = sheet.left(sheet.indexOf(QLatin1String("color:"))).count(QLatin1Char('\n'));
    const QString lineText = sheet.section(QLatin1Char('\n'), line, line);
    const int column = lineText.indexOf(QLatin1String("color:"));
    row("completion of a property",
        timeRequests(
            server, repetitions,
            [&] { return server.request("textDocument/completion", at(uri, line, column + 2)); }),
        "ms", "<= 10 ms");
    row("hover on a property",
        timeRequests(
            server, repetitions,
            [&] { return server.request("textDocument/hover", at(uri, line, column + 2)); }),
        "ms", "<= 10 ms");
    row("hover on a colour",
        timeRequests(
            server, repetitions,
            [&] { return server.request("textDocument/hover", at(uri, line, column + 9)); }),
        "ms", "<= 10 ms");

    completionDuringLargeAnalysis(server, at(uri, line, column + 2));
    memoryOfTenDocuments();
    return 0;
}
