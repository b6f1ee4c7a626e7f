// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

// libFuzzer target: arbitrary bytes through prismark-fmt's formatter. Besides no
// crash, hang or sanitizer report: a sheet the toolkit rejects is never formatted;
// a formatted one is read by the toolkit as the input was, every line ending in
// what most of the input's lines ended in; formatting it again changes nothing.

#include "analysis/sheetformatter.h"
#include "analysis/toolkitparse.h"

#include <QByteArray>
#include <QCoreApplication>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {
void quiet(QtMsgType, const QMessageLogContext &, const QString &) {}
} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    qInstallMessageHandler(quiet);
    static int qtArgc = 1;
    static char *qtArgv[] = {(*argv)[0], nullptr};
    (void)argc;
    static QCoreApplication *application = new QCoreApplication(qtArgc, qtArgv);
    (void)application;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size > 64 * 1024)
        return 0;
    const QString text =
        QString::fromUtf8(reinterpret_cast<const char *>(data), static_cast<int>(size));
    const SheetFormatResult result = formatStyleSheet(text);
    QString before;
    const bool accepted = toolkitParseSummary(text, &before);
    if (!result.ok)
        return 0;
    if (!accepted)
        std::abort();
    QString after;
    if (!toolkitParseSummary(result.text, &after) || after != before)
        std::abort();
    const int crLfs = int(text.count(QLatin1String("\r\n")));
    const int lineFeeds = int(text.count(QLatin1Char('\n'))) - crLfs;
    const bool crLf = crLfs > lineFeeds;
    const int outCrLfs = int(result.text.count(QLatin1String("\r\n")));
    const int outCrs = int(result.text.count(QLatin1Char('\r')));
    const int outLineFeeds = int(result.text.count(QLatin1Char('\n')));
    if ((result.lineEnding == LineEnding::CrLf) != crLf || outCrs != outCrLfs ||
        outCrLfs != (crLf ? outLineFeeds : 0))
        std::abort();
    const SheetFormatResult again = formatStyleSheet(result.text);
    if (!again.ok || again.text != result.text)
        std::abort();
    return 0;
}
