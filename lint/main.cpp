// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "lint/lintcommandline.h"

#include <QCoreApplication>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("prismark-lint"));
    QCoreApplication::setApplicationVersion(QStringLiteral(PRISMARK_VERSION));
    return runLintCommandLine(QCoreApplication::arguments());
}
