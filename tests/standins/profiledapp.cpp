// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

// An application of an author's own with many widgets, as prismark-profile measures
// it: a main window of 2,000 labels in frames (or as many in each frame as its first
// argument says), its own application sheet, and a dialog it opens and closes on
// timers. It ends only when it is stopped.

#include "standins/profiledappnames.h"

#include <QApplication>
#include <QDialog>
#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QMainWindow>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include <cstdio>

namespace {

class CountedDialog : public QDialog
{
public:
    using QDialog::QDialog;

protected:
    void showEvent(QShowEvent *event) override
    {
        if (++shows > 1)
            std::fprintf(stderr, "%s\n", ProfiledApp::shownAgain);
        QDialog::showEvent(event);
    }

private:
    int shows = 0;
};

} // namespace

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    const int labels =
        argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : ProfiledApp::labelsPerFrame;
    application.setStyleSheet(QString::fromLatin1(ProfiledApp::ownSheet));

    QMainWindow window;
    window.setObjectName(QLatin1String(ProfiledApp::mainName));
    auto *central = new QWidget;
    auto *grid = new QGridLayout(central);
    for (int frame = 0; frame < ProfiledApp::frames; ++frame) {
        auto *box = new QFrame;
        auto *column = new QVBoxLayout(box);
        for (int label = 0; label < labels; ++label) {
            auto *text = new QLabel(QStringLiteral("x"));
            text->setProperty(ProfiledApp::flagProperty, QLatin1String(ProfiledApp::flagValue));
            column->addWidget(text);
        }
        grid->addWidget(box, frame / 8, frame % 8);
    }
    window.setCentralWidget(central);
    window.show();

    CountedDialog dialog(&window);
    dialog.setObjectName(QLatin1String(ProfiledApp::dialogName));
    auto *close = new QPushButton(QStringLiteral("Close"), &dialog);
    QObject::connect(close, &QPushButton::clicked, &dialog, &QDialog::accept);
    QTimer::singleShot(ProfiledApp::dialogShownMs, &dialog, &QDialog::show);
    QTimer::singleShot(ProfiledApp::dialogClosedMs, &dialog, &QDialog::close);
    return application.exec();
}
