// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include "tokens/contrastlevel.h"
#include "tokens/designtokens.h"
#include "tokens/sourceerror.h"
#include "tokens/sourcemap.h"
#include "tokens/templateedits.h"
#include "tokens/templateexpression.h"

#include <QString>
#include <QStringList>
#include <QVector>

#include <functional>
#include <vector>

// A theme template: a style sheet whose leading comment names its token sources
//
//   @tokens FILE...          the base tokens, later files over earlier ones
//   @variant NAME FILE...    one variant, its files merged over the base; the word
//                            "high-contrast" among them marks a high-contrast variant
//   @contrast LEVEL          the WCAG level (AA, AAA) every variant is built to
//   @icons DIR               SVG icons whose colours are references
//   @palette Role = VALUE    kept, with VALUE resolved to a colour
//
// and whose declaration values hold references ("{color.accent}") and the colour
// functions of tokens/colourfunctions.h. A comment "/* @only A, B */" or
// "/* @except A, B */" on its own line before a rule block or a declaration keeps it
// in those variants only, or in all but those.

// The keywords, written once for the reader, the writer and the tests.
namespace TemplateKeywords {
inline const QLatin1String Tokens("@tokens");
inline const QLatin1String Variant("@variant");
inline const QLatin1String Icons("@icons");
inline const QLatin1String Palette("@palette");
inline const QLatin1String Contrast("@contrast");
inline const QLatin1String HighContrast("high-contrast");
inline const QLatin1String Only("@only");
inline const QLatin1String Except("@except");
} // namespace TemplateKeywords

struct TemplateVariant
{
    QString name;
    QStringList files; // as written, relative to the template
    SourcePosition where;
    // Built to AAA whatever level the template or the command line asks.
    bool highContrast = false;
};

class ThemeTemplate
{
public:
    // Reads the template's text; fileName names it in errors.
    static ThemeTemplate parse(const QString &text, const QString &fileName, SourceErrors *errors);

    QStringList baseFiles() const { return baseFileList; }
    SourcePosition baseWhere() const { return baseFilesWhere; }
    QVector<TemplateVariant> variants() const { return variantList; }
    QString iconsDirectory() const { return iconsDirectoryName; }
    SourcePosition iconsWhere() const { return iconsDirectoryWhere; }
    ContrastLevel contrastLevel() const { return contrast; }

    // Maps "icons/NAME" of a url() to what the sheet writes; empty when there is no such
    // icon (an error at the url).
    using IconUrl = std::function<QString(const QString &name)>;

    // The sheet of one variant with every reference replaced, or errors; map, when
    // given, is filled with where each stretch of the sheet came from.
    QString render(const DesignTokens &tokens, const QString &variant, const IconUrl &iconUrl,
                   SourceErrors *errors, SourceMap *map = nullptr) const;

    // The line and column of an offset in the template's text.
    SourcePosition positionAt(int offset) const;

private:
    // Written by the scanner, read by the renderer.
    friend class TemplateScanner;
    friend class TemplateRenderer;

    QString text;
    QString fileName;
    QStringList baseFileList;
    SourcePosition baseFilesWhere;
    QVector<TemplateVariant> variantList;
    QString iconsDirectoryName;
    SourcePosition iconsDirectoryWhere;
    ContrastLevel contrast = ContrastLevel::None;
    QVector<int> lineStarts;
    std::vector<TemplateEdit> edits;
    std::vector<TemplateDirective> directives;
    std::vector<TemplateExpression> expressions;
};

// "BlueLight" -> "blue-light", "VS17 Light" -> "vs17-light".
QString kebabCaseName(const QString &name);
// "BlueLight" -> "blueLight", "VS17Light" -> "vs17Light".
QString lowerCamelCaseName(const QString &name);
