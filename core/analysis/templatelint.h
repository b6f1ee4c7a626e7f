// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include "analysis/diagnostic.h"
#include "analysis/lintoptions.h"
#include "tokens/sourcemap.h"
#include "tokens/themebuild.h"

#include <QHash>
#include <QStringList>
#include <QVector>

#include <functional>

// The analysis of a theme template: every variant built in memory, analysed as a
// sheet, and each finding told once, on the line the author wrote, with the
// variants it occurs in.

// The id of a theme build's own findings (an unknown reference, a cycle, a wrong
// type): not a check of a sheet, since they arise before there is one.
inline const QLatin1String kThemeBuildCheckId("theme-build");

// "mytheme.qss.in": a file the analysis reads as a template.
bool isThemeTemplatePath(const QString &path);

struct TemplateLint
{
    QVector<LintDiagnostic> diagnostics;
    // The template or a file it names could not be read.
    bool unreadable = false;
    // An unknown variant was asked for.
    QString usageError;
};

// variants narrows to those (as the template names them, or in kebab case).
// text, when not null, is the template's text as an editor holds it; tokenTexts the
// token files' an editor holds, by absolute clean path.
TemplateLint lintThemeTemplate(const QString &path, const LintOptions &options,
                               const QStringList &variants = {}, const QString &text = QString(),
                               const QHash<QString, QString> &tokenTexts = {});

// The sheets of a build made with ThemeBuildOptions::sourceIconUrls analysed, each
// with the options optionsFor gives its variant, as lintThemeTemplate does.
TemplateLint lintBuiltTemplate(const ThemeBuild &build, const QString &path,
                               const std::function<LintOptions(const BuiltSheet &)> &optionsFor);

// The reference each value a finding judged (LintDiagnostic::judgedValues) was
// written for, empty where it was none (a literal, a function of two references).
QStringList judgedValueTokens(const LintDiagnostic &diagnostic, const SourceMap &map);

// A token file on its own, as no template names it: its format's findings (bad JSON,
// a wrong "$type", an unknown alias, a cycle) at their places.
QVector<LintDiagnostic> lintTokenFile(const QString &path, const QString &text);

// A theme build's own finding as the analysis tells findings.
LintDiagnostic themeBuildDiagnostic(const SourceError &error);

// A finding on a built sheet told where its text came from: in a token file (with
// "via {path}") when the text is a token's value, else in the template. A finding
// about values it judged (contrast) is told where the first was written, the others
// named as related places in whichever file they were written.
LintDiagnostic mapToSources(const LintDiagnostic &diagnostic, const SourceMap &map);
