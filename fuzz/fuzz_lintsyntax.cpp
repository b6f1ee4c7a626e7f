// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

// libFuzzer target: arbitrary bytes through the style sheet analysis. Its syntax
// verdict must be the toolkit's own (a rejected sheet is an error, an accepted one
// never is), and the analysis must neither crash nor hang.

#include "analysis/stylesheetlint.h"
#include "theme/stylesheetloader.h"

#include <QApplication>
#include <QByteArray>
#include <QWidget>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

bool parseWarningSeen = false;

void catchMessages(QtMsgType, const QMessageLogContext &, const QString &message)
{
    if (message.contains(QLatin1String("Could not parse application stylesheet")))
        parseWarningSeen = true;
}

bool toolkitAccepts(const QString &text)
{
    parseWarningSeen = false;
    qApp->setStyleSheet(text);
    {
        QWidget widget;
        widget.ensurePolished();
    }
    qApp->setStyleSheet(QString());
    return !parseWarningSeen;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Also silences the parser's own notes on values it drops.
    qInstallMessageHandler(catchMessages);
    // QApplication keeps a reference to argc, so both outlive it.
    static int qtArgc = 1;
    static char *qtArgv[] = {(*argv)[0], nullptr};
    (void)argc;
    static QApplication *application = new QApplication(qtArgc, qtArgv);
    (void)application;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size > 64 * 1024)
        return 0;
    const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<int>(size));
    QByteArray folded = bytes;
    const QString text = decodeStyleSheetText(folded.replace("\r\n", "\n"));
    // The toolkit reads such a sheet from the file it names, which may be a device.
    if (text.startsWith(QLatin1String("file:///")))
        return 0;

    bool lintAccepts = true;
    for (const LintDiagnostic &diagnostic : lintStyleSheet(bytes, QStringLiteral("fuzz.qss"))) {
        if (diagnostic.line < 1 || diagnostic.column < 1)
            std::abort();
        if (diagnostic.check == QLatin1String("syntax") &&
            diagnostic.severity == LintSeverity::Error)
            lintAccepts = false;
    }
    if (lintAccepts != toolkitAccepts(text))
        std::abort();
    return 0;
}
