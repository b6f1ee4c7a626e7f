// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

// An application of an author's own, as prismark-live attaches to it: it sets its
// own application sheet at start-up and again later, one widget-level sheet, and
// opens a dialog on a timer. "quit N" on standard input ends it with status N. Its
// button's handlers say on standard error that they ran.
// With --quit-when-painted (for the benchmark) it sets no sheet of its own, and once
// its window is first painted prints "painted NS" (the monotonic clock then) and ends.
// With --child-environment FILE it first runs a child process that writes the
// environment it was given to FILE, which appears whole. With --unnamed no window or
// widget has an object name; with --bare its label and button are hidden.

#include "standins/attachedappnames.h"

#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QFile>
#include <QLabel>
#include <QMainWindow>
#include <QProcess>
#include <QPushButton>
#include <QSocketNotifier>
#include <QTimer>
#include <QVBoxLayout>

#include <cstdio>
#include <ctime>
#include <unistd.h>

// A press reaches the application's own event handling even with no signal.
class PressNote : public QObject
{
protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::MouseButtonPress)
            std::fprintf(stderr, "%smouse press\n", AttachedApp::handlerRan);
        return QObject::eventFilter(watched, event);
    }
};

namespace {

// Told the first time the window is painted, as the toolkit paints it on its own.
class FirstPaint : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && !seen) {
            seen = true;
            // Once the paint under way (the window's children too) is done.
            QTimer::singleShot(0, this, [] {
                timespec now{};
                clock_gettime(CLOCK_MONOTONIC, &now);
                std::printf("painted %lld\n", now.tv_sec * 1000000000LL + now.tv_nsec);
                std::fflush(stdout);
                QCoreApplication::quit();
            });
        }
        return QObject::eventFilter(watched, event);
    }

private:
    bool seen = false;
};

// Once the application object stands, as the application's own code would start one.
void writeChildEnvironment(const QString &path)
{
    const QString part = path + QStringLiteral(".part");
    QProcess child;
    child.setStandardOutputFile(part);
    child.start(QStringLiteral("env"), QStringList());
    child.waitForFinished();
    QFile::rename(part, path);
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    const bool quitWhenPainted =
        application.arguments().contains(QStringLiteral("--quit-when-painted"));
    const int childEnvironment =
        application.arguments().indexOf(QStringLiteral("--child-environment"));
    if (childEnvironment > 0)
        writeChildEnvironment(application.arguments().value(childEnvironment + 1));
    if (!quitWhenPainted)
        application.setStyleSheet(QString::fromLatin1(AttachedApp::ownSheet));
    const bool named = !application.arguments().contains(QLatin1String(AttachedApp::unnamedOption));
    const auto setName = [named](QObject *object, const char *name) {
        if (named)
            object->setObjectName(QLatin1String(name));
    };

    QMainWindow window;
    setName(&window, AttachedApp::mainName);
    auto *central = new QWidget;
    auto *layout = new QVBoxLayout(central);
    auto *label = new QLabel(QStringLiteral("own sheet"));
    setName(label, AttachedApp::labelName);
    label->setStyleSheet(QString::fromLatin1(AttachedApp::labelSheet));
    label->setMinimumHeight(60);
    auto *button = new QPushButton(QStringLiteral("Pick me"));
    setName(button, AttachedApp::buttonName);
    layout->addWidget(label);
    layout->addWidget(button);
    if (application.arguments().contains(QLatin1String(AttachedApp::bareOption))) {
        label->hide();
        button->hide();
    }
    for (const auto &[signal, name] : {std::pair{&QPushButton::pressed, "pressed"},
                                       std::pair{&QPushButton::released, "released"}})
        QObject::connect(button, signal, [name = name] {
            std::fprintf(stderr, "%s%s\n", AttachedApp::handlerRan, name);
        });
    QObject::connect(button, &QPushButton::clicked,
                     [] { std::fprintf(stderr, "%sclicked\n", AttachedApp::handlerRan); });
    PressNote pressNote;
    button->installEventFilter(&pressNote);
    layout->addStretch();
    window.setCentralWidget(central);
    window.resize(320, 240);
    if (quitWhenPainted) {
        FirstPaint firstPaint;
        window.installEventFilter(&firstPaint);
        window.show();
        return application.exec();
    }
    window.show();

    QDialog dialog(&window);
    setName(&dialog, AttachedApp::dialogName);
    dialog.resize(200, 120);
    QTimer::singleShot(300, &dialog, &QDialog::show);
    // Applications set their sheet again (a setting changed, a plugin loaded).
    QTimer::singleShot(600, &application, [&application] {
        application.setStyleSheet(QString::fromLatin1(AttachedApp::ownSheet) + QLatin1Char('\n'));
    });

    QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
    QObject::connect(&input, &QSocketNotifier::activated, &application, [&application, &input] {
        char line[64] = {};
        const ssize_t count = ::read(STDIN_FILENO, line, sizeof line - 1);
        int status = 0;
        if (count <= 0 || std::sscanf(line, "quit %d", &status) == 1) {
            input.setEnabled(false);
            application.exit(status);
        }
    });
    return application.exec();
}
