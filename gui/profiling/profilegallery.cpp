// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "profiling/profilestage.h"

#include "shell/mainwindow.h"
#include "switcher/styleswitcherwindow.h"

void ProfileStage::addGallery()
{
    auto window = std::make_unique<MainWindow>();
    // The window's show event shows the switcher too; it stays off the screen.
    window->styleSwitcherWindow()->setAttribute(Qt::WA_DontShowOnScreen);
    gallery = std::move(window);
}
