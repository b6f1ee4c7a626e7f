// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

// libFuzzer target: arbitrary bytes through the whole analysis (every check, gallery
// coverage on), in a process without a GUI application, as prismark-lint runs it.
// Besides no crash, hang or sanitizer report: every diagnostic lies inside the
// text, carries a registered check id, and the list is sorted by position.

#include "analysis/checkregistry.h"
#include "analysis/stylesheetlint.h"
#include "theme/stylesheetloader.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QSet>
#include <QStringList>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

void quiet(QtMsgType, const QMessageLogContext &, const QString &) {}

// Characters (not UTF-16 units) per line of the text, as the diagnostics count them.
QVector<int> lineLengths(const QString &text)
{
    QVector<int> lengths{0};
    for (const QChar character : text) {
        if (character == QLatin1Char('\n'))
            lengths.append(0);
        else if (!character.isLowSurrogate())
            ++lengths.last();
    }
    return lengths;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    qInstallMessageHandler(quiet);
    // QCoreApplication keeps a reference to argc, so both outlive it.
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
    const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<int>(size));
    static const QSet<QString> ids = [] {
        const QStringList list = lintCheckIds();
        return QSet<QString>(list.cbegin(), list.cend());
    }();

    LintOptions options;
    options.gallery = true;
    const QVector<LintDiagnostic> diagnostics =
        lintStyleSheet(bytes, QStringLiteral("fuzz.qss"), options);

    QByteArray folded = bytes;
    const QVector<int> lengths = lineLengths(decodeStyleSheetText(folded.replace("\r\n", "\n")));
    int lastLine = 1;
    int lastColumn = 1;
    for (const LintDiagnostic &diagnostic : diagnostics) {
        if (!ids.contains(diagnostic.check))
            std::abort();
        // The loader's text ends at a NUL byte, which is reported just past it.
        if (diagnostic.line < 1 || diagnostic.line > lengths.size() || diagnostic.column < 1 ||
            diagnostic.column > lengths.at(diagnostic.line - 1) + 1)
            std::abort();
        if (diagnostic.line < lastLine ||
            (diagnostic.line == lastLine && diagnostic.column < lastColumn))
            std::abort();
        lastLine = diagnostic.line;
        lastColumn = diagnostic.column;
        if (diagnostic.message.isEmpty())
            std::abort();
    }
    return 0;
}
