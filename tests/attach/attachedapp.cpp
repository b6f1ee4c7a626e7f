// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

// An application of an author's own, as prismark-live attaches to it: it sets its
// own application sheet at start-up and again later, one widget-level sheet, and
// opens a dialog on a timer. "quit N" on standard input ends it with status N. Its
// button's handlers say on standard error that they ran.
// With --quit-when-shown (for the benchmark) it sets no sheet of its own, and ends
// once its window is first painted.

#include "attach/attachedappnames.h"

#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QLabel>
#include <QMainWindow>
#include <QPushButton>
#include <QSocketNotifier>
#include <QTimer>
#include <QVBoxLayout>

#include <cstdio>
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

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    const bool quitWhenShown =
        application.arguments().contains(QStringLiteral("--quit-when-shown"));
    if (!quitWhenShown)
        application.setStyleSheet(QString::fromLatin1(AttachedApp::ownSheet));

    QMainWindow window;
    window.setObjectName(QLatin1String(AttachedApp::mainName));
    auto *central = new QWidget;
    auto *layout = new QVBoxLayout(central);
    auto *label = new QLabel(QStringLiteral("own sheet"));
    label->setObjectName(QLatin1String(AttachedApp::labelName));
    label->setStyleSheet(QString::fromLatin1(AttachedApp::labelSheet));
    label->setMinimumHeight(60);
    layout->addWidget(label);
    auto *button = new QPushButton(QStringLiteral("Pick me"));
    button->setObjectName(QLatin1String(AttachedApp::buttonName));
    layout->addWidget(button);
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
    window.show();
    if (quitWhenShown) {
        QTimer::singleShot(0, &application, [&window, &application] {
            window.repaint();
            application.quit();
        });
        return application.exec();
    }

    QDialog dialog(&window);
    dialog.setObjectName(QLatin1String(AttachedApp::dialogName));
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
