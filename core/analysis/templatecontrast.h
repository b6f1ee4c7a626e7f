// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include "analysis/diagnostic.h"
#include "analysis/templatelint.h"
#include "tokens/contrastlevel.h"
#include "tokens/themebuild.h"

#include <QColor>
#include <QString>
#include <QVector>

// A theme template held to a WCAG level: every text/background, boundary and palette
// pair each variant's sheet draws, told at the token that gives its colour, and the
// token colours that make every pair pass.

// The level a variant is held to: the stronger of the one asked for and the
// template's "@contrast"; AAA for a variant marked high-contrast.
ContrastLevel variantContrastLevel(ContrastLevel asked, const ThemeBuild &build,
                                   const BuiltSheet &sheet);

// The pairs below their variant's level, as findings of the contrast check at error
// severity; the build's own errors instead when it has any.
TemplateLint checkTemplateContrast(const QString &path, ContrastLevel asked,
                                   const ThemeBuildOptions &options = {});

// One token's colour moved to make pairs pass.
struct ContrastTokenChange
{
    QString token;
    QColor before;
    QColor after;
};

// A pair that failed, its place as a finding tells it, and its ratio then and now.
struct ContrastPairChange
{
    LintDiagnostic finding;
    double before = 0;
    double after = 0; // 0 when the check no longer judges it
};

struct VariantContrastFix
{
    QString variant;
    ContrastLevel level = ContrastLevel::None;
    QVector<ContrastTokenChange> changes;
    QVector<ContrastPairChange> pairs;
    // Pairs no change of one of their tokens' lightness makes pass without another
    // pair failing, told at their tokens.
    QVector<LintDiagnostic> unfixable;
    // A token file setting the changed tokens, to be merged over the variant's own;
    // empty when nothing changed.
    QByteArray tokenFile;
};

struct TemplateContrastFix
{
    QVector<VariantContrastFix> variants;
    // The build's own errors, as checkTemplateContrast gives them.
    TemplateLint build;

    bool fixed() const;
};

// Moves the OKLCH lightness of the tokens the failing pairs' colours come from, hue
// kept and chroma only lowered where sRGB needs it, each by the least that makes its
// pair pass without making another fail: of the two colours of a pair, the one that
// needs the smaller change, the text's on a tie.
TemplateContrastFix fixTemplateContrast(const QString &path, ContrastLevel asked,
                                        const ThemeBuildOptions &options = {});

// What a variant's fix changed, a line each: every token, old colour -> new, then
// every pair that failed, at its place, ratio before -> after.
QStringList contrastFixLines(const VariantContrastFix &fix);
