#include "theme/stylesheetloader.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

QStringList styleSheetSearchDirectories()
{
    const QString styles = QStringLiteral("styles");
    return {QDir(QCoreApplication::applicationDirPath()).filePath(styles),
            QDir(QDir::currentPath()).filePath(styles), QStringLiteral(PRISMARK_SOURCE_STYLES_DIR)};
}

QString readStyleSheetFile(const QString &path)
{
    // Opening a FIFO or a device for reading can block forever, so only regular
    // files count. isFile() follows symbolic links, which is what a user expects.
    if (!QFileInfo(path).isFile())
        return QString();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return QString();
    return QString::fromUtf8(file.readAll());
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
