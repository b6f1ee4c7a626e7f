// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "shell/mainwindow.h"
#include "support/programsupport.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    quietRuntimeDirectoryNotice();
    QApplication application(argc, argv);
    MainWindow window;
    window.show();
    return application.exec();
}
