// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include "attach/attachenvironment.h"
#include "theme/schemepalette.h"

#include <QString>
#include <QStringList>

#include <optional>

struct ProfileMeasurement;

// prismark-profile SHEET -- PROGRAM: what it asks of the author's application.
struct AppProfileRequest
{
    QString program;
    QStringList arguments;
    int settleMs = 3000;
    int rounds = 0;                         // at most; 0 for the attribution's default
    std::optional<ColorScheme> colorScheme; // none for the desktop's
    Attach::Way way = Attach::Way::Auto;
};

// Starts the application attached, with sheetText in place of its own sheet, has the
// plugin measure it on the windows shown within the settle time (or, attached through
// the Python agent, drives the attribution from here over passes the agent times),
// and stops the application. The measurement must fit a sheet of ruleCount rules in
// unitCount units. Returns the exit code; every failure is said on standard error.
int measureInApplication(const QString &sheetText, int ruleCount, int unitCount,
                         const AppProfileRequest &request, ProfileMeasurement *measurement);

// The application as the report names it: its file name and its arguments.
QString applicationTitle(const AppProfileRequest &request);
