// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

// libFuzzer target: baseline file names read back into tab and combination, the
// matrix options read as lists, and the lines as a whole command line. A name that
// reads back must be written the same way; a command line runs with every choice
// made, or is refused with a message.

#include "prismark-shot/shotmatrix.h"
#include "prismark-shot/shotoptions.h"

#include <QCoreApplication>
#include <QString>
#include <QStringList>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

// --help and --version read the program's name from the application, as the
// program's own does.
extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
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
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), int(size));
    static const QStringList tabs{QStringLiteral("buttons"), QStringLiteral("form-dialog"),
                                  QStringLiteral("form-dialog-rtl")};
    QString tab;
    ShotCombination combination;
    if (parseShotFileName(text, tabs, &tab, &combination)) {
        if (!tabs.contains(tab) || shotFileName(tab, combination) != text)
            std::abort();
    }

    const QStringList values = text.split(QLatin1Char('\n'));
    QString error;
    QStringList styles;
    if (parseBaseStyles(values, &styles, &error) && styles.isEmpty())
        std::abort();
    QVector<qreal> scales;
    if (parseScales(values, &scales, &error)) {
        for (qreal scale : scales)
            if (!(scale > 0 && scale <= 8))
                std::abort();
    }
    QVector<Qt::LayoutDirection> directions;
    parseDirections(values, &directions, &error);
    QVector<ColorScheme> schemes;
    if (parseColorSchemes(values, &schemes, &error) && schemes.isEmpty())
        std::abort();

    const ParsedShotOptions parsed =
        parseShotOptions(QStringList{QStringLiteral("prismark-shot")} + values);
    if (parsed.runs()) {
        const ShotOptions &options = parsed.options;
        if (!options.auditFormat || (!options.htmlPath.isEmpty() && !options.wcag) ||
            (options.wcag && !options.audit))
            std::abort();
    } else if (parsed.answer.isEmpty() &&
               (parsed.exitCode != ShotUsageError || parsed.error.isEmpty())) {
        std::abort();
    }
    return 0;
}
