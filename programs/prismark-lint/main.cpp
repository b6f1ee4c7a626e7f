// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "prismark-lint/lintcommandline.h"

#include <QApplication>
#include <QCoreApplication>

#include <cstdio>
#include <cstring>
#include <memory>

namespace {
// --gallery judges contrast on the gallery's widgets, which need a GUI application;
// without it the program needs no display at all.
bool wantsGallery(int argc, char *argv[])
{
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--") == 0)
            return false;
        if (std::strcmp(argv[i], "--gallery") == 0)
            return true;
    }
    return false;
}

// The toolkit's own remarks on the offscreen platform it runs on (no runtime
// directory, no session) are no problem with the run, whose stderr they would join.
void dropToolkitRemarks(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (type == QtCriticalMsg || type == QtFatalMsg)
        std::fprintf(stderr, "%s\n", qUtf8Printable(qFormatLogMessage(type, context, message)));
}
} // namespace

int main(int argc, char *argv[])
{
    std::unique_ptr<QCoreApplication> app;
    if (wantsGallery(argc, argv)) {
        // The gallery is never shown: it is built offscreen, whatever display there is.
        qputenv("QT_QPA_PLATFORM", "offscreen");
        qInstallMessageHandler(dropToolkitRemarks);
        app = std::make_unique<QApplication>(argc, argv);
    } else {
        app = std::make_unique<QCoreApplication>(argc, argv);
    }
    QCoreApplication::setApplicationName(QStringLiteral("prismark-lint"));
    QCoreApplication::setApplicationVersion(QStringLiteral(PRISMARK_VERSION));
    return runLintCommandLine(QCoreApplication::arguments());
}
