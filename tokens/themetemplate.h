// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include "tokens/designtokens.h"
#include "tokens/sourceerror.h"
#include "tokens/sourcemap.h"

#include <QString>
#include <QStringList>
#include <QVector>

#include <functional>
#include <vector>

// A theme template: a style sheet whose leading comment names its token sources
//
//   @tokens FILE...          the base tokens, later files over earlier ones
//   @variant NAME FILE...    one variant, its files merged over the base
//   @icons DIR               SVG icons whose colours are references
//   @palette Role = VALUE    kept, with VALUE resolved to a colour
//
// and whose declaration values hold references ("{color.accent}") and colour
// functions with QColor's meaning: alpha(C, a), mix(C1, C2, t), lighter(C, factor),
// darker(C, factor). A comment "/* @only A, B */" or "/* @except A, B */" on its own
// line before a rule block or a declaration keeps it in those variants only, or in
// all but those.

// The keywords, written once for the reader, the writer and the tests.
namespace TemplateKeywords {
inline const QLatin1String Tokens("@tokens");
inline const QLatin1String Variant("@variant");
inline const QLatin1String Icons("@icons");
inline const QLatin1String Palette("@palette");
inline const QLatin1String Only("@only");
inline const QLatin1String Except("@except");
} // namespace TemplateKeywords

struct TemplateVariant
{
    QString name;
    QStringList files; // as written, relative to the template
    SourcePosition where;
};

class ThemeTemplate
{
public:
    // Reads the template's text; fileName names it in errors.
    static ThemeTemplate parse(const QString &text, const QString &fileName, SourceErrors *errors);

    QStringList baseFiles() const { return base; }
    SourcePosition baseWhere() const { return baseAt; }
    QVector<TemplateVariant> variants() const { return variantList; }
    QString iconsDirectory() const { return icons; }
    SourcePosition iconsWhere() const { return iconsAt; }

    // Maps "icons/NAME" of a url() to what the sheet writes; empty when there is no such
    // icon (an error at the url).
    using IconUrl = std::function<QString(const QString &name)>;

    // The sheet of one variant with every reference replaced, or errors; map, when
    // given, is filled with where each stretch of the sheet came from.
    QString render(const DesignTokens &tokens, const QString &variant, const IconUrl &iconUrl,
                   SourceErrors *errors, SourceMap *map = nullptr) const;

private:
    // A reference, a colour function or, as a function's argument, a literal.
    struct Expression
    {
        enum Kind
        {
            Reference,
            Call,
            Colour,
            Number,
        };
        Kind kind = Reference;
        QString name; // the token path or the function
        QColor colour;
        QString keyword;
        double number = 0;
        int offset = 0;
        std::vector<Expression> arguments;
    };
    // A stretch of the text the rendering replaces.
    struct Edit
    {
        enum Kind
        {
            Remove,
            Value,        // expressions[index], written for property
            PaletteValue, // expressions[index], written as the palette reader takes it
            IconUrl,      // the url of icon name
            Conditional,  // directives[index]
        };
        int start = 0;
        int end = 0;
        Kind kind = Remove;
        int index = 0;
        QString property;
        QString name;
    };
    struct Directive
    {
        bool only = true;
        QStringList names;
        // Always left out: the directive's own line. Left out when the directive
        // excludes the variant: up to excludedEnd.
        int excludedEnd = 0;
    };
    void evaluate(const Expression &expression, const DesignTokens &tokens, TokenValue *value,
                  SourceErrors *errors) const;
    QString valueText(const Edit &edit, const DesignTokens &tokens, SourceErrors *errors) const;

    QString text;
    QString fileName;
    QStringList base;
    SourcePosition baseAt;
    QVector<TemplateVariant> variantList;
    QString icons;
    SourcePosition iconsAt;
    QVector<int> lineStarts;
    std::vector<Edit> edits;
    std::vector<Directive> directives;
    std::vector<Expression> expressions;

    friend class TemplateScanner;
    friend class TemplateRenderer;
    SourcePosition positionAt(int offset) const;
};

// The colours and values an SVG's references name, replaced in its text. fileName
// names the SVG in errors.
QByteArray recolourSvg(const QByteArray &svg, const QString &fileName, const DesignTokens &tokens,
                       SourceErrors *errors);

// "BlueLight" -> "blue-light", "VS17 Light" -> "vs17-light".
QString kebabCaseName(const QString &name);
// "BlueLight" -> "blueLight", "VS17Light" -> "vs17Light".
QString lowerCamelCaseName(const QString &name);
