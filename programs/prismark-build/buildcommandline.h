// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// prismark-build's command line, apart from main so the tests run the same code.

enum BuildExitStatus
{
    BuildExitClean = 0,
    BuildExitLintErrors = 1,
    BuildExitSourceErrors = 2,
    BuildExitUnreadable = 3,
    BuildExitContrast = 4,
};

int runBuildCommandLine(const QStringList &arguments);

// An icon as PNG at its SVG's own size times scale; empty with error set when the
// SVG cannot be drawn.
QByteArray renderIconPng(const QByteArray &svg, int scale, QString *error);
