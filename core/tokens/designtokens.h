// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include "tokens/jsonreader.h"
#include "tokens/sourceerror.h"

#include <QColor>
#include <QHash>
#include <QMap>
#include <QSet>
#include <QString>
#include <QStringList>

// Design tokens in the Design Tokens Community Group format (2025.10), plus the
// shorter forms authors write by hand: a colour as "#rgb", "#rrggbb", "#rrggbbaa"
// (alpha last, as in CSS), "rgb()"/"rgba()" or a colour keyword, a dimension as "4px".

// The token types a style sheet can take, by their "$type" names.
namespace TokenTypes {
inline const QLatin1String Colour("color");
inline const QLatin1String Dimension("dimension");
inline const QLatin1String Number("number");
inline const QLatin1String FontFamily("fontFamily");
inline const QLatin1String FontWeight("fontWeight");
inline const QLatin1String Duration("duration");
} // namespace TokenTypes

// A token's value once its aliases are followed.
struct TokenValue
{
    QString type;
    QColor colour;
    // A colour written as a keyword ("white") keeps that word in the sheet.
    QString keyword;
    double number = 0; // a dimension's, duration's, weight's or number's amount
    QString unit;
    QStringList families;
    // Where the value itself is written, after following the aliases.
    SourcePosition where;

    bool isColour() const { return type == TokenTypes::Colour; }
    // The value in the style sheet's notation: "#rrggbb", "rgba(r, g, b, a)", "4px".
    QString sheetText() const;
};

// An opaque colour as "#rrggbb", any other as "rgba(r, g, b, a)", alpha from 0 to 1.
QString sheetColourText(const QColor &colour);
// "4", "0.5", "-1.25": no exponent, no trailing zeros.
QString tokenNumberText(double number);

// Reads a colour in one of the string forms; invalid when it is none. keyword is set
// for a colour keyword.
QColor colourFromTokenString(const QString &text, QString *keyword = nullptr);

// The tokens of one theme variant: files merged in order, aliases resolved after the
// merge, so overriding a token moves every alias of it.
class DesignTokens
{
public:
    // Merges one file's tokens over those already read. fileName names it in errors.
    void addDocument(const QString &text, const QString &fileName, SourceErrors *errors);

    // Follows every alias and reads every value; the tokens that fail are left out.
    void resolve(SourceErrors *errors);

    const TokenValue *value(const QString &path) const;
    bool isGroup(const QString &path) const { return groups.contains(path); }
    // A token of that name was read, whether or not its value resolved.
    bool isDefined(const QString &path) const { return definitions.contains(path); }
    // The token name nearest to path, for "did you mean"; empty when none is near.
    QString closestName(const QString &path) const;
    QStringList names() const { return definitions.keys(); }

private:
    struct Definition
    {
        QString path;
        QString type; // "$type" of the token itself, or empty
        JsonNode value;
        SourcePosition where;
    };

    void readGroup(const JsonNode &group, const QString &path, const QString &fileName,
                   SourceErrors *errors);
    QString effectiveType(const Definition &definition) const;
    const TokenValue *resolveToken(const QString &path, QStringList &chain, SourceErrors *errors);

    QMap<QString, Definition> definitions;
    QHash<QString, QString> groupTypes;
    QSet<QString> groups;
    QHash<QString, TokenValue> resolved;
    QSet<QString> failed;
    mutable QHash<QString, QString> closestNames;
};
