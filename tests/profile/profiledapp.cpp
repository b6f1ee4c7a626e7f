// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

// An application of an author's own with many widgets, as prismark-profile measures
// it: a main window of 2,000 labels in frames, its own application sheet, and a
// dialog it opens on a timer. It ends only when it is stopped.

#include "profile/profiledappnames.h"

#include <QApplication>
#include <QDialog>
#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QMainWindow>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    application.setStyleSheet(QString::fromLatin1(ProfiledApp::ownSheet));

    QMainWindow window;
    window.setObjectName(QLatin1String(ProfiledApp::mainName));
    auto *central = new QWidget;
    auto *grid = new QGridLayout(central);
    for (int frame = 0; frame < ProfiledApp::frames; ++frame) {
        auto *box = new QFrame;
        auto *column = new QVBoxLayout(box);
        for (int label = 0; label < ProfiledApp::labelsPerFrame; ++label) {
            auto *text = new QLabel(QStringLiteral("x"));
            text->setProperty(ProfiledApp::flagProperty, QLatin1String(ProfiledApp::flagValue));
            column->addWidget(text);
        }
        grid->addWidget(box, frame / 8, frame % 8);
    }
    window.setCentralWidget(central);
    window.show();

    QDialog dialog(&window);
    dialog.setObjectName(QLatin1String(ProfiledApp::dialogName));
    auto *close = new QPushButton(QStringLiteral("Close"), &dialog);
    QObject::connect(close, &QPushButton::clicked, &dialog, &QDialog::accept);
    QTimer::singleShot(300, &dialog, &QDialog::show);
    return application.exec();
}
