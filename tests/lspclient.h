// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QVector>

#include <algorithm>
#include <functional>

// prismark-lsp as a child process over real pipes, as an editor drives it: frames
// what it sends, unframes what comes back, and keeps every message until it is
// taken. Shared by tst_lsp and the language server's benchmark.
class LspTestClient
{
public:
    LspTestClient(const QString &program, int waitMs, const QString &workingDirectory = QString(),
                  const QStringList &options = QStringList())
        : waitMs(waitMs)
    {
        if (!workingDirectory.isEmpty())
            process.setWorkingDirectory(workingDirectory);
        process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process.start(program, QStringList{QStringLiteral("--stdio")} + options);
        process.waitForStarted();
    }
    ~LspTestClient()
    {
        if (process.state() != QProcess::NotRunning) {
            process.kill();
            process.waitForFinished();
        }
    }

    void sendRaw(const QByteArray &bytes) { process.write(bytes); }
    void send(const QJsonObject &message)
    {
        const QByteArray body = QJsonDocument(message).toJson(QJsonDocument::Compact);
        sendRaw("Content-Length: " + QByteArray::number(body.size()) + "\r\n\r\n" + body);
    }
    int request(const QString &method, const QJsonValue &params = QJsonValue())
    {
        send({{"jsonrpc", "2.0"}, {"id", ++lastId}, {"method", method}, {"params", params}});
        return lastId;
    }
    void notify(const QString &method, const QJsonValue &params = QJsonValue())
    {
        send({{"jsonrpc", "2.0"}, {"method", method}, {"params", params}});
    }
    // The first message that matches, waiting for it; an empty object when none
    // came in time or the server is gone.
    QJsonObject take(const std::function<bool(const QJsonObject &)> &matches)
    {
        QElapsedTimer timer;
        timer.start();
        for (;;) {
            for (int i = 0; i < inbox.size(); ++i) {
                if (matches(inbox.at(i)))
                    return inbox.takeAt(i);
            }
            if (timer.elapsed() > waitMs || process.state() == QProcess::NotRunning)
                return QJsonObject();
            process.waitForReadyRead(5);
            unframe();
        }
    }
    QJsonObject response(int id)
    {
        return take([id](const QJsonObject &m) { return m.value("id").toInt(-1) == id; });
    }
    // Whether a message that matches has come, without waiting or taking it.
    bool arrived(const std::function<bool(const QJsonObject &)> &matches)
    {
        process.waitForReadyRead(0);
        unframe();
        return std::any_of(inbox.cbegin(), inbox.cend(), matches);
    }
    // The diagnostics published for uri (of that version, unless -1).
    QJsonObject diagnosticsFor(const QString &uri, int version = -1)
    {
        return take([&](const QJsonObject &m) {
            const QJsonObject params = m.value("params").toObject();
            return m.value("method") == "textDocument/publishDiagnostics" &&
                   params.value("uri") == uri &&
                   (version < 0 || params.value("version").toInt() == version);
        });
    }
    // Every message that arrives within a short while, for "nothing came" checks.
    QVector<QJsonObject> drain()
    {
        for (int i = 0; i < 10; ++i) {
            process.waitForReadyRead(30);
            unframe();
        }
        QVector<QJsonObject> all = inbox;
        inbox.clear();
        return all;
    }
    QJsonObject initialize(const QJsonObject &capabilities = QJsonObject())
    {
        const QJsonObject reply =
            response(request("initialize", QJsonObject{{"capabilities", capabilities}}));
        notify("initialized", QJsonObject());
        return reply;
    }
    void open(const QString &uri, const QString &text, int version = 1,
              const QString &languageId = QStringLiteral("qss"))
    {
        notify("textDocument/didOpen",
               QJsonObject{{"textDocument", QJsonObject{{"uri", uri},
                                                        {"languageId", languageId},
                                                        {"version", version},
                                                        {"text", text}}}});
    }
    void change(const QString &uri, int version, const QString &text)
    {
        notify("textDocument/didChange",
               QJsonObject{{"textDocument", QJsonObject{{"uri", uri}, {"version", version}}},
                           {"contentChanges", QJsonArray{QJsonObject{{"text", text}}}}});
    }
    // Closes the server's input and waits: its exit status, -1 for none in time, -2
    // for a crash.
    int finish()
    {
        process.closeWriteChannel();
        if (!process.waitForFinished(waitMs))
            return -1;
        return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -2;
    }
    long residentKiB()
    {
        QFile status(QStringLiteral("/proc/%1/status").arg(process.processId()));
        if (!status.open(QIODevice::ReadOnly))
            return -1;
        static const QRegularExpression rss(QStringLiteral("VmRSS:\\s+(\\d+) kB"));
        return rss.match(QString::fromLatin1(status.readAll())).captured(1).toLong();
    }

    QProcess process;

private:
    void unframe()
    {
        buffer += process.readAllStandardOutput();
        for (;;) {
            const int end = buffer.indexOf("\r\n\r\n");
            if (end < 0)
                return;
            static const QRegularExpression length(QStringLiteral("Content-Length: (\\d+)"));
            const int size =
                length.match(QString::fromLatin1(buffer.left(end))).captured(1).toInt();
            if (buffer.size() < end + 4 + size)
                return;
            inbox.append(QJsonDocument::fromJson(buffer.mid(end + 4, size)).object());
            buffer.remove(0, end + 4 + size);
        }
    }

    const int waitMs;
    QByteArray buffer;
    QVector<QJsonObject> inbox;
    int lastId = 0;
};
