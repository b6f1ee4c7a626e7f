// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include "tokens/contrastlevel.h"
#include "tokens/designtokens.h"
#include "tokens/sourceerror.h"
#include "tokens/sourcemap.h"

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>
#include <QVector>

// Builds a theme template into one style sheet per variant, the variants' recoloured
// icons and a resource collection listing them, all in memory: writing is the
// caller's, once nothing has failed.

struct ThemeBuildOptions
{
    // Only these variants (as the template names them, or in kebab case); all when empty.
    QStringList variants;
    // The resource prefix of the .qrc; "/<stem>" when empty.
    QString qrcPrefix;
    // url(icons/NAME) becomes the icon's resource path rather than a relative path.
    bool resourceUrls = false;
    // url(icons/NAME) becomes the source icon's absolute path, so that the built
    // sheet can be analysed where no icon has been written.
    bool sourceIconUrls = false;
    // When set, url(icons/NAME) becomes the absolute path of the recoloured SVG as
    // "<iconRoot>/<variant>/icons/<icon>.svg", for a caller that writes the icons there.
    QString iconRoot;
    // The template's text as an editor holds it; read from the template's path when null.
    QString templateText;
    // Token files' texts as an editor holds them, by absolute clean path; a file not
    // here is read from disk.
    QHash<QString, QString> sourceTexts;
    // The sheet's file name: {stem}, {variant} (kebab case) and {camel} (the variant's
    // name in lower camel case) are replaced.
    QString sheetName = QStringLiteral("{stem}-{variant}.qss");
    // A token file's text merged over a variant's own files, by the variant's name as
    // the template writes it: trial colours, as a file of them would set them.
    QHash<QString, QString> overrideTokens;
    // What errors in those texts are told as coming from.
    QString overrideTokensName = QStringLiteral("<override>");
};

struct BuiltSheet
{
    QString variant;  // as the template names it
    QString fileName; // relative to the output directory
    QByteArray text;
    // Where each stretch of text came from in the template and token files.
    SourceMap map;
    // The variant's tokens, resolved, as the sheet was rendered from them.
    DesignTokens tokens;
    // Marked "high-contrast" in the template.
    bool highContrast = false;
};

struct BuiltIcon
{
    QString variant;
    QString directory; // "<variant>/icons", relative to the output directory
    QString name;      // the SVG's base name
    QByteArray svg;
};

struct ThemeBuild
{
    QString stem;
    QVector<BuiltSheet> sheets;
    QVector<BuiltIcon> icons;
    QString qrcFileName;
    QByteArray qrc;
    // The template's "@contrast" level, or none.
    ContrastLevel contrastLevel = ContrastLevel::None;
    // Findings in the sources, each once, in the order they were found.
    SourceErrors errors;
    // A wrong request rather than a wrong source: an unknown --variant.
    QString usageError;

    bool ok() const { return errors.isEmpty() && usageError.isEmpty(); }
    // Some source could not be read at all.
    bool unreadable() const;
};

// The largest template, token file or icon read.
constexpr qint64 kMaxThemeSourceBytes = 16 * 1024 * 1024;

// "mytheme.qss.in" -> "mytheme".
QString themeTemplateStem(const QString &templatePath);

ThemeBuild buildTheme(const QString &templatePath, const ThemeBuildOptions &options = {});

// The resolved tokens of each of the template's variants, in its order; text, when
// not null, is the template's text as an editor holds it, and tokenTexts the token
// files an editor holds (by path, as ThemeBuildOptions::sourceTexts).
QVector<DesignTokens> themeVariantTokens(const QString &templatePath, SourceErrors *errors,
                                         const QString &text = QString(),
                                         const QHash<QString, QString> &tokenTexts = {});
