// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include "prismark-lint/lintfixing.h"
#include "prismark-lint/lintreport.h"
#include "tokens/uniformtokens.h"

#include <QCommandLineParser>
#include <QString>
#include <QStringList>
#include <QTextStream>

#include <memory>

// prismark-lint's options: declared once for the parser and --help, and what they
// ask the run to do.

// The exit status, as --help lists it.
enum LintExitStatus
{
    ExitClean = 0,
    ExitWarnings = 1,
    ExitErrors = 2,
    ExitUnreadable = 3,
};

// What the command line asked for.
struct LintSettings
{
    const LintReportFormat *format = nullptr;
    bool werror = false;
    int maxWarnings = -1; // no budget
    bool summaryTable = false;
    QString configFile; // --config
    bool noConfig = false;
    bool gallery = false;
    QStringList enabled;
    QStringList disabled;
    QStringList variants; // of a theme template; all when empty
    // --tokens: what a plain sheet's literals are compared with; null when not given.
    std::shared_ptr<const UniformTokens> tokens;
    QStringList files;
    // --stdin-filename: the path standard input stands for, or empty.
    QString standardInputName;
    LintFixMode fixMode;
    QString printConfig; // the sheet whose configuration is printed instead of a run
    bool listObjects = false;
};

// The options, written once for the parser and --help.
void declareOptions(QCommandLineParser &parser);

// What the options say, read from parsed arguments; usageError says what is wrong
// with a value (a token file that cannot be read, a number that is none).
void readSettings(const QCommandLineParser &parser, LintSettings &settings, QString &usageError);

// A problem with the run or its input, on standard error after the program's name.
void complain(QTextStream &err, const QString &what);
