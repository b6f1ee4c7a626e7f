// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

// libFuzzer target: arbitrary bytes as a disk copy of "light.qss", through the
// whole load path: lookup, read, palette directives and the style sheet installed
// on an application with a few polished widgets.

#include "theme/stylesheetloader.h"
#include "widgetstyles/themestyles.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <QWidget>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

QString diskCopyPath;
// What Light loads when the disk copy beside the binary does not count.
QString fallbackText;

// The style sheet parser warns about every malformed rule; at thousands of inputs a
// second that is most of the time spent.
void dropMessage(QtMsgType, const QMessageLogContext &, const QString &) {}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(dropMessage);
    // QApplication keeps a reference to argc, so both outlive it.
    static int qtArgc = 1;
    static char *qtArgv[] = {(*argv)[0], nullptr};
    (void)argc;
    static QApplication *application = new QApplication(qtArgc, qtArgv);

    // The first place searched: a "styles" directory beside this binary, which
    // lives in the build tree, so the source tree is never written.
    const QDir styles(
        QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("styles")));
    if (!styles.mkpath(QStringLiteral(".")))
        std::abort();
    diskCopyPath = styles.filePath(QStringLiteral("light.qss"));
    QFile::remove(diskCopyPath);
    fallbackText = loadThemeStyleSheet(Light);

    static QWidget *window = new QWidget;
    auto *layout = new QVBoxLayout(window);
    auto *button = new QPushButton(QStringLiteral("Primary"), window);
    button->setProperty("variant", QStringLiteral("primary"));
    layout->addWidget(button);
    layout->addWidget(new QCheckBox(QStringLiteral("Check"), window));
    layout->addWidget(new QLineEdit(window));
    // Only polished widgets are restyled when a style is installed.
    for (QWidget *widget : window->findChildren<QWidget *>())
        widget->ensurePolished();
    window->ensurePolished();
    (void)application;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    {
        QFile file(diskCopyPath);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            std::abort();
        if (file.write(reinterpret_cast<const char *>(data), static_cast<qint64>(size)) !=
            static_cast<qint64>(size))
            std::abort();
    }
    // A disk copy that reads as non-empty text wins for Light, whatever it holds;
    // one that does not is skipped for the next place.
    const QString diskText = readStyleSheetFile(diskCopyPath);
    const QString loaded = loadThemeStyleSheet(Light);
    if (!diskText.isEmpty() && loaded != diskText)
        std::abort();
    if (diskText.isEmpty() && loaded != fallbackText)
        std::abort();

    QApplication::setStyle(createThemeStyle(Light));
    if (qApp->styleSheet() != loaded)
        std::abort();
    return 0;
}
