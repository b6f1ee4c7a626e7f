// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include "analysis/contrastpalettes.h"
#include "analysis/diagnostic.h"
#include "tokens/uniformtokens.h"

#include <QByteArray>
#include <QHash>
#include <QPair>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QVector>

#include <memory>

class ApplicationObjects;
class ContrastTree;

// What a run of the analysis is asked to do and to assume about the application.

struct LintOptions
{
    // Adds the gallery coverage notes ("coverage"), as enabling that check does.
    bool gallery = false;
    // Check ids never reported, and ids reported although off by default.
    QStringList disabledChecks;
    QStringList enabledChecks;
    // A severity per check id that replaces whatever its findings would have.
    QHash<QString, LintSeverity> severities;
    // The application's own widget classes, each with the toolkit class it derives
    // from: rules naming them are checked as that class.
    QHash<QString, QString> widgets;
    // The objects and classes the application's Designer forms declare ("forms"),
    // with the forms read; null when none are known, and then no object name is
    // judged. A promoted class counts as one of "widgets" unless configured there.
    std::shared_ptr<const ApplicationObjects> applicationObjects;
    QStringList forms;
    // Property names the application reads itself from its sheet.
    QStringList properties;
    // The toolkit version the sheet targets, major * 100 + minor (515, 605); 0 for
    // the version this program was built against.
    int qtVersion = 0;
    // The application's compiled-in resource paths ("/prefix/name"), consulted for
    // ":/..." urls when resourcesConfigured; without it such urls go unchecked.
    QSet<QString> resourcePaths;
    // Resource paths a .qrc lists whose file is missing: where it lists them
    // ("file.qrc:LINE") and the file as written there.
    QHash<QString, QPair<QString, QString>> missingResourceFiles;
    bool resourcesConfigured = false;
    // Where relative url()s resolve: empty for the working directory.
    QString urlBase;
    // WCAG thresholds: text on its background, and outlines and disabled text.
    double textContrast = 4.5;
    double outlineContrast = 3.0;
    // The palettes contrast is judged under ("palettes"), each on its own: what the
    // toolkit gives a widget where the sheet sets no colour.
    QVector<ContrastPalette> palettes = {schemeContrastPalette(ColorScheme::Light)};
    // When set, text contrast is judged on this tree's objects as the toolkit matches
    // them, not on the sheet alone.
    std::shared_ptr<const ContrastTree> contrastTree;
    // prismark-fmt's layout ("format"): spaces per level, and the longest selector
    // list kept on one line.
    int formatIndent = 4;
    int formatMaxLineLength = 100;
    // The tokens a literal may be written as ("tokens", --tokens, or a template's
    // own), in path order; null when none are known.
    std::shared_ptr<const UniformTokens> tokens;
    // The sheet is a variant built from a template, so a literal in it may be edited
    // into a reference; in a plain sheet the toolkit would drop the whole sheet there.
    bool builtFromTemplate = false;
};

// The options as bytes that are equal exactly when two runs judge a sheet alike: what
// the configuration, its forms, .qrc and token files gave, by value, and the contrast
// tree by identity. For a cache of findings, which a change of any of them outdates;
// a member added to LintOptions belongs here too.
QByteArray lintOptionsKey(const LintOptions &options);

// The largest sheet read, from a file or standard input.
constexpr qint64 kMaxSheetBytes = 64 * 1024 * 1024;
