// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "tools/stylesheetgenerator.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>

#include <cstdio>

// Writes the twelve theme style sheets into the directory given as the only argument.
// Files whose text is already current are left untouched, so resources stay unchanged.
int main(int argc, char *argv[])
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: prismark-generate-stylesheets <directory>\n");
        return 2;
    }
    const QStringList problems = styleSheetTableProblems();
    if (!problems.isEmpty()) {
        for (const QString &problem : problems)
            std::fprintf(stderr, "%s\n", qPrintable(problem));
        return 1;
    }

    const QDir directory(QString::fromLocal8Bit(argv[1]));
    if (!directory.mkpath(QStringLiteral("."))) {
        std::fprintf(stderr, "cannot create %s\n", qPrintable(directory.path()));
        return 1;
    }
    for (int value = 0; value < ThemeCount; ++value) {
        const Theme theme = static_cast<Theme>(value);
        const QString path = directory.filePath(styleSheetFileName(theme));
        const QByteArray text = generatedStyleSheet(theme).toUtf8();
        QFile current(path);
        if (current.open(QIODevice::ReadOnly) && current.readAll() == text)
            continue;
        QSaveFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size() || !file.commit()) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
            return 1;
        }
        std::printf("wrote %s\n", qPrintable(path));
    }
    return 0;
}
