// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include "attach/attachenvironment.h"
#include "audit/auditreport.h"
#include "theme/schemepalette.h"
#include "theme/themecatalogue.h"

#include <QSize>
#include <QString>
#include <QStringList>
#include <QVector>
#include <Qt>

// Exit codes of prismark-shot.
enum ShotExitCode : int
{
    ShotSuccess = 0,
    // --compare found an image beyond the threshold, or one missing on either side.
    ShotDifferences = 1,
    // Bad command line: unknown option, theme or tab, malformed size or number.
    ShotUsageError = 2,
    // A sheet could not be read or an output file could not be written.
    ShotInputOutputError = 3,
    // -- PROGRAM: it could not be started, attached to or rendered.
    ShotNotAttached = 4,
    // --audit: not one widget to audit in a theme, or in the application's windows.
    ShotNothingAudited = 5,
};

// What the command line asks prismark-shot to do, read and checked without
// rendering or reading anything but the names of the folders it is given.
struct ShotOptions
{
    // --theme, each built-in theme once, in the order first named.
    QVector<Theme> builtInThemes;
    QStringList sheetPaths;
    // --tab as given, comma lists split; "all" when none is given.
    QStringList tabNames;
    QStringList formPaths;
    QSize windowSize{1040, 720};
    QStringList baseStyles;
    QVector<qreal> scales;
    QVector<Qt::LayoutDirection> directions;
    // --color-scheme: the palettes each theme is drawn over, light alone by default.
    QVector<ColorScheme> colorSchemes;
    bool disabledToo = false;
    QString outPath = QStringLiteral("shots");
    bool contactSheet = false;
    // --compare's baseline folder; empty without a comparison.
    QString comparePath;
    bool updateBaseline = false;
    // Percent of differing pixels that fails a comparison.
    double threshold = 0.1;
    bool audit = false;
    // --audit=wcag: findings by WCAG 2.2 success criterion instead of by state.
    bool wcag = false;
    // A row of auditReportFormats(), for either audit; never null once parsed.
    const AuditReportFormat *auditFormat = nullptr;
    // --html's folder for --audit=wcag's pages; empty without.
    QString htmlPath;
    bool quiet = false;
    bool listFiles = false;
    // "SHEET -- PROGRAM [ARGS...]": the author's application, rendered with SHEET (the
    // one entry of sheetPaths) in place of its own sheet; empty for the gallery.
    QString program;
    QStringList programArguments;
    // How long the application runs before its windows are rendered.
    int settleMs = 3000;
    // --attach: the ways into it.
    Attach::Way attachWay = Attach::Way::Auto;
    // --shard K/N: this run renders part shard of shards of the whole matrix; 0 of 0
    // for the whole.
    int shard = 0;
    int shards = 0;
    // The command line less what a part may choose for itself (--shard, --out, --html,
    // --quiet, --list): parts of one matrix agree on it.
    QStringList matrixArguments;
    // --merge OUT PART...: the parts' folders joined into OUT; empty without.
    QString mergeOut;
    QStringList mergeParts;
    // --merge's --html: where the merged --audit=wcag pages go; empty for none.
    QString mergeHtmlPath;
    // --variant of a theme template SHEET, comma lists split: the variants rendered,
    // each a run of its own; every variant when none is named.
    QStringList variants;
};

// The options, or what the command line came to instead: a usage error for
// standard error with its exit code, or the text --help or --version asks for.
struct ParsedShotOptions
{
    ShotOptions options;
    int exitCode = ShotSuccess;
    QString error;
    QString answer;

    bool runs() const { return exitCode == ShotSuccess && answer.isEmpty(); }
};

// arguments include the program name; what follows the first "--" is the
// application's command, never options of ours.
ParsedShotOptions parseShotOptions(const QStringList &arguments);
