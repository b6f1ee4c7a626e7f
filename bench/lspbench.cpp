// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

// On-demand benchmark of prismark-lsp, driven through its pipes as an editor drives
// it; see docs/lsp.md. Usage: prismark-lsp-bench [--embedded] [REPETITIONS]   (default 30)
// --embedded: sheets in the literals of a large C++ file against a .qss of the same sheets.

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

// One widget's sheet, written as Qt applications write them: a rule or bare declarations.
QString widgetSheet(int index)
{
    static const char *const kSheets[] = {
        "QPushButton#action%1 {\n    color: #1d3557;\n    background-color: #f1faee;\n"
        "    border: 1px solid #457b9d;\n    border-radius: 4px;\n    padding: 4px 12px;\n}\n"
        "QPushButton#action%1:hover {\n    background-color: #a8dadc;\n}\n",
        "color: #264653; background-color: #e9f5f2; font-size: 12pt; padding: 2px;",
        "QLabel#caption%1[role=\"title\"] {\n    color: palette(window-text);\n    font-weight: "
        "bold;\n}\n",
        "QLineEdit {\n    border: 1px solid #8d99ae;\n    selection-background-color: #2b2d42;\n"
        "    selection-color: #edf2f4;\n}\nQLineEdit:focus {\n    border-color: #ef233c;\n}\n",
    };
    const QString sheet = QString::fromLatin1(kSheets[index % 4]);
    return sheet.contains(QLatin1String("%1")) ? sheet.arg(index) : sheet;
}

// The sheet as a C++ literal, one line of the sheet to a literal, joined.
QString cppLiteral(const QString &sheet, const QString &indent)
{
    QStringList literals;
    for (const QString &line : sheet.split(QLatin1Char('\n'), Qt::SkipEmptyParts))
        literals.append(QLatin1Char('"') +
                        QString(line).replace(QLatin1Char('"'), QLatin1String("\\\"")) +
                        QLatin1String("\\n\""));
    return literals.join(QLatin1Char('\n') + indent);
}

// A source of count functions each setting one widget's sheet among ordinary code,
// and a style sheet of the same sheets; the property a completion asks at, in both.
struct EmbeddedWorkload
{
    QString source;
    QString sheet;
    QJsonObject sourcePlace;
    QJsonObject sheetPlace;
};

QJsonObject placeOf(const QString &text, int offset)
{
    const int line = int(text.left(offset).count(QLatin1Char('\n')));
    const int lineStart = int(text.lastIndexOf(QLatin1Char('\n'), offset - 1)) + 1;
    return {{"line", line}, {"character", offset - lineStart}};
}

EmbeddedWorkload embeddedWorkload(int count)
{
    EmbeddedWorkload workload;
    workload.source = QStringLiteral("#include \"mainwindow.h\"\n\n#include <QPushButton>\n\n");
    for (int i = 0; i < count; ++i) {
        const QString sheet = widgetSheet(i);
        const QString call = QStringLiteral("    widget%1->setStyleSheet(").arg(i);
        workload.source += QStringLiteral("void MainWindow::setUpWidget%1()\n{\n"
                                          "    auto *layout = new QVBoxLayout(this);\n"
                                          "    layout->setContentsMargins(%1, 0, 0, 0);\n"
                                          "    layout->addWidget(widget%1);\n")
                               .arg(i) +
                           call + cppLiteral(sheet, QString(call.size(), QLatin1Char(' '))) +
                           QStringLiteral(");\n}\n\n");
        // Bare declarations are the widget's own; in a .qss they need its selector.
        workload.sheet += sheet.contains(QLatin1Char('{'))
                              ? sheet
                              : QStringLiteral("#widget%1 { %2 }\n").arg(i).arg(sheet);
    }
    // "color" in the middle widget's sheet, a rule in both files.
    const QString middle = QStringLiteral("#action%1").arg(count / 2 - (count / 2) % 4);
    const int inSource =
        int(workload.source.indexOf(QLatin1String("color"), workload.source.indexOf(middle)));
    const int inSheet =
        int(workload.sheet.indexOf(QLatin1String("color"), workload.sheet.indexOf(middle)));
    workload.sourcePlace = placeOf(workload.source, inSource + 3);
    workload.sheetPlace = placeOf(workload.sheet, inSheet + 3);
    return workload;
}

// One document of the comparison and the place its completion and hover ask at.
struct BenchDocument
{
    const char *name;
    QString uri;
    QString languageId;
    QString text;
    QJsonObject at;
    int version = 1;
};

// A ranged change, as editors send them while typing: [from, from + removed) of the
// line replaced by text.
void typeAt(Server &server, BenchDocument &document, const QJsonObject &from, int removed,
            const QString &text)
{
    const QJsonObject to{{"line", from.value("line")},
                         {"character", from.value("character").toInt() + removed}};
    server.notify(
        "textDocument/didChange",
        QJsonObject{
            {"textDocument", QJsonObject{{"uri", document.uri}, {"version", ++document.version}}},
            {"contentChanges",
             QJsonArray{QJsonObject{{"range", QJsonObject{{"start", from}, {"end", to}}},
                                    {"text", text}}}}});
}

// The times of one round of typing inside the sheet, in order: a space typed before the
// property to its diagnostics, completion and hover of the property, and the space
// deleted to a completion right after it. The text ends as it began.
std::vector<double> embeddedRound(Server &server, BenchDocument &document)
{
    std::vector<double> times;
    const QJsonObject place = document.at.value("position").toObject();
    const int character = place.value("character").toInt();
    const QJsonObject wordStart{{"line", place.value("line")}, {"character", character - 3}};
    QJsonObject moved = document.at;
    moved.insert("position",
                 QJsonObject{{"line", place.value("line")}, {"character", character + 1}});
    QElapsedTimer timer;
    timer.start();
    typeAt(server, document, wordStart, 0, QStringLiteral(" "));
    server.diagnostics(document.uri, document.version);
    times.push_back(milliseconds(timer));
    for (const char *method : {"textDocument/completion", "textDocument/hover"}) {
        timer.restart();
        server.response(server.request(QLatin1String(method), moved));
        times.push_back(milliseconds(timer));
    }
    timer.restart();
    typeAt(server, document, wordStart, 1, QString());
    server.response(server.request("textDocument/completion", document.at));
    times.push_back(milliseconds(timer));
    server.diagnostics(document.uri, document.version);
    return times;
}

// The same rounds on both documents, back to back, so the machine's drift moves both
// alike; each ratio is the median of the ratios of the pairs.
void embeddedAgainstSheet(int repetitions)
{
    constexpr int kWidgets = 400;
    const EmbeddedWorkload workload = embeddedWorkload(kWidgets);
    BenchDocument documents[] = {
        {"C++",
         QStringLiteral("file:///bench/mainwindow.cpp"),
         QStringLiteral("cpp"),
         workload.source,
         {}},
        {".qss",
         QStringLiteral("file:///bench/mainwindow.qss"),
         QStringLiteral("qss"),
         workload.sheet,
         {}},
    };
    documents[0].at = {{"textDocument", QJsonObject{{"uri", documents[0].uri}}},
                       {"position", workload.sourcePlace}};
    documents[1].at = {{"textDocument", QJsonObject{{"uri", documents[1].uri}}},
                       {"position", workload.sheetPlace}};
    Server server;
    server.initialize();
    int findings[2] = {0, 0};
    int offered[2] = {0, 0};
    for (int i = 0; i < 2; ++i) {
        server.open(documents[i].uri, documents[i].text, 1, documents[i].languageId);
        findings[i] = server.diagnostics(documents[i].uri, 1)["params"]
                          .toObject()["diagnostics"]
                          .toArray()
                          .size();
        offered[i] =
            server.response(server.request("textDocument/completion", documents[i].at))["result"]
                .toObject()["items"]
                .toArray()
                .size();
    }
    std::printf("prismark-lsp benchmark, embedded sheets: %d widgets' sheets in a C++ file "
                "(%lld bytes, %d findings, %d items at the property) against a .qss of the same "
                "sheets (%lld bytes, %d findings, %d items), median of %d\n\n",
                kWidgets, static_cast<long long>(workload.source.toUtf8().size()), findings[0],
                offered[0], static_cast<long long>(workload.sheet.toUtf8().size()), findings[1],
                offered[1], repetitions);
    const char *const rounds[] = {"a character typed to its diagnostics",
                                  "completion of a property", "hover on a property",
                                  "completion right after a character deleted"};
    std::vector<std::vector<double>> times[2];
    std::vector<std::vector<double>> ratios(4);
    for (int r = 0; r < repetitions; ++r) {
        const std::vector<double> embedded = embeddedRound(server, documents[0]);
        const std::vector<double> sheet = embeddedRound(server, documents[1]);
        times[0].push_back(embedded);
        times[1].push_back(sheet);
        for (int k = 0; k < 4; ++k)
            ratios[k].push_back(embedded[k] / std::max(sheet[k], 0.001));
    }
    std::printf("  %-40s %9s %9s %12s\n", "", "C++", ".qss", "C++ / .qss");
    for (int k = 0; k < 4; ++k) {
        std::vector<double> column[2];
        for (int i = 0; i < 2; ++i) {
            for (const std::vector<double> &round : times[i])
                column[i].push_back(round[k]);
        }
        std::printf("  %-40s %6.1f ms %6.1f ms %12.2f\n", rounds[k], median(column[0]),
                    median(column[1]), median(ratios[k]));
    }
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
    QStringList arguments = app.arguments().mid(1);
    const bool embedded = arguments.removeAll(QStringLiteral("--embedded")) > 0;
    const int repetitions = arguments.isEmpty() ? 30 : std::max(3, arguments.constFirst().toInt());
    if (embedded) {
        embeddedAgainstSheet(repetitions);
        return 0;
    }
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
