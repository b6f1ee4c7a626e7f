// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "theme/stylesheetloader.h"

#include "support/safefileread.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

QStringList styleSheetSearchDirectories()
{
    const QString styles = QStringLiteral("styles");
    const QString executableDirectory = QCoreApplication::applicationDirPath();
    return {QDir(executableDirectory).filePath(styles), QDir(QDir::currentPath()).filePath(styles),
            styleSheetDataDirectory(executableDirectory)};
}

QString styleSheetDataDirectory(const QString &executableDirectory)
{
    const QString installed = QDir::cleanPath(
        QDir(executableDirectory).filePath(QStringLiteral(PRISMARK_INSTALLED_STYLES_FROM_BINDIR)));
    return QFileInfo(installed).isDir() ? installed : QStringLiteral(PRISMARK_BUILD_STYLES_DIR);
}

int styleSheetTextEnd(const QByteArray &bytes)
{
    const auto nul = bytes.indexOf('\0');
    return int(nul < 0 ? bytes.size() : nul);
}

QString decodeStyleSheetText(const QByteArray &bytes)
{
    // Text ends at the first NUL byte, whichever toolkit decodes it: Qt 5's
    // fromUtf8 stops there by itself, Qt 6's would carry the NUL on.
    const int end = styleSheetTextEnd(bytes);
    return QString::fromUtf8(end < bytes.size() ? bytes.left(end) : bytes);
}

QString readStyleSheetFile(const QString &path)
{
    // Only regular files count: opening a FIFO or a device for reading can block
    // forever. Symbolic links are followed, which is what a user expects.
    const FileReadResult file = readRegularFile(path, -1, true);
    return file.ok ? decodeStyleSheetText(file.bytes) : QString();
}

QString readStyleSheetFromDisk(const QString &fileName)
{
    for (const QString &directory : styleSheetSearchDirectories()) {
        const QString text = readStyleSheetFile(QDir(directory).filePath(fileName));
        if (!text.isEmpty())
            return text;
    }
    return QString();
}

QString loadThemeStyleSheet(Theme theme)
{
    theme = themeInfo(theme).theme; // out-of-range values mean Light here too
    const QString fileName = styleSheetFileName(theme);
    const bool diskFirst = theme == Light || theme == Dark;
    if (diskFirst) {
        const QString text = readStyleSheetFromDisk(fileName);
        if (!text.isEmpty())
            return text;
    }
    const QString compiledIn = readStyleSheetFile(QStringLiteral(":/styles/%1").arg(fileName));
    if (!compiledIn.isEmpty() || diskFirst)
        return compiledIn;
    return readStyleSheetFromDisk(fileName);
}
