// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "embedded/sheettemplates.h"

#include <QStringList>

namespace {

QChar charAt(const QString &text, int at)
{
    return at >= 0 && at < text.size() ? text.at(at) : QChar();
}

// The length of the placeholder at from (its first character), 0 when there is
// none; escape is set when it is an escape ("%%", "{{", "}}") for one character.
int placeholderLength(TemplateSyntax syntax, const QString &text, int from, bool *escape)
{
    *escape = false;
    const QChar c = text.at(from);
    const QChar next = charAt(text, from + 1);
    if (syntax == TemplateSyntax::QtArg) {
        // %1 ... %99, and %L1 for a number in the locale's digits.
        const int digits = from + (next == QLatin1Char('L') ? 2 : 1);
        if (c != QLatin1Char('%') || !charAt(text, digits).isDigit())
            return 0;
        return digits - from + (charAt(text, digits + 1).isDigit() ? 2 : 1);
    }
    if (syntax == TemplateSyntax::Percent) {
        if (c != QLatin1Char('%'))
            return 0;
        if (next == QLatin1Char('%')) {
            *escape = true;
            return 2;
        }
        int i = from + 1;
        if (next == QLatin1Char('(')) {
            const int close = int(text.indexOf(QLatin1Char(')'), i));
            if (close < 0)
                return 0;
            i = close + 1;
        }
        static const QString flags = QStringLiteral("#0- +*.");
        while (i < text.size() && (flags.contains(text.at(i)) || text.at(i).isDigit()))
            ++i;
        if (i < text.size() && QStringLiteral("hlL").contains(text.at(i)))
            ++i;
        static const QString conversions = QStringLiteral("diouxXeEfFgGcrsa");
        return i < text.size() && conversions.contains(text.at(i)) ? i + 1 - from : 0;
    }
    if (syntax != TemplateSyntax::Braces || (c != QLatin1Char('{') && c != QLatin1Char('}')))
        return 0;
    if (next == c) {
        *escape = true;
        return 2;
    }
    if (c == QLatin1Char('}'))
        return 0;
    // {expr} or {name:format}, where the format may hold {nested} fields.
    int depth = 0;
    for (int i = from; i < text.size(); ++i) {
        if (text.at(i) == QLatin1Char('{'))
            ++depth;
        else if (text.at(i) == QLatin1Char('}') && --depth == 0)
            return i + 1 - from;
    }
    return 0;
}

// What the text before at says of the place: the depth of braces, where the current
// selector or declaration starts, its colon, and whether at is inside a comment or a
// quoted string.
struct SheetPlace
{
    int depth = 0;
    int statement = 0;
    int colon = -1;
    bool comment = false;
    QChar quote;
};

SheetPlace placeOf(const QString &text, int at)
{
    SheetPlace place;
    for (int i = 0; i < at; ++i) {
        const QChar c = text.at(i);
        if (place.comment) {
            if (c == QLatin1Char('*') && charAt(text, i + 1) == QLatin1Char('/')) {
                place.comment = false;
                ++i;
            }
        } else if (!place.quote.isNull()) {
            if (c == place.quote)
                place.quote = QChar();
        } else if (c == QLatin1Char('/') && charAt(text, i + 1) == QLatin1Char('*')) {
            place.comment = true;
            ++i;
        } else if (c == QLatin1Char('"') || c == QLatin1Char('\'')) {
            place.quote = c;
        } else if (c == QLatin1Char('{') || c == QLatin1Char('}') || c == QLatin1Char(';')) {
            if (c == QLatin1Char('{'))
                ++place.depth;
            else if (c == QLatin1Char('}'))
                place.depth = qMax(0, place.depth - 1);
            place.statement = i + 1;
            place.colon = -1;
        } else if (c == QLatin1Char(':') && place.depth > 0 && place.colon < 0) {
            place.colon = i;
        }
    }
    return place;
}

// The first character at or after at that is no blank.
QChar nextVisible(const QString &text, int at)
{
    while (at < text.size() && text.at(at).isSpace())
        ++at;
    return charAt(text, at);
}

// The function whose parentheses at stands inside, in the value from valueStart.
QString enclosingFunction(const QString &text, int valueStart, int at)
{
    int depth = 0;
    for (int i = at - 1; i >= valueStart; --i) {
        if (text.at(i) == QLatin1Char(')')) {
            ++depth;
        } else if (text.at(i) == QLatin1Char('(') && depth-- == 0) {
            int start = i;
            while (start > valueStart && (text.at(start - 1).isLetterOrNumber() ||
                                          text.at(start - 1) == QLatin1Char('-')))
                --start;
            return text.mid(start, i - start).toLower();
        }
    }
    return QString();
}

bool endsWithAny(const QString &name, const QStringList &endings)
{
    for (const QString &ending : endings) {
        if (name.endsWith(ending))
            return true;
    }
    return false;
}

const QString kColour = QStringLiteral("#808080");
const QString kLength = QStringLiteral("1px");

// A stand-in in a declaration's value, from its property and what stands around it.
QString valueStandIn(const QString &text, int at, const SheetPlace &place)
{
    const QString property =
        text.mid(place.statement, place.colon - place.statement).trimmed().toLower();
    const QChar before = charAt(text, at - 1);
    const QChar after = charAt(text, at);
    if (before == QLatin1Char('#'))
        return QStringLiteral("808080");
    if (after.isLetter() || after == QLatin1Char('%'))
        return QStringLiteral("1"); // a number before its unit
    const QString function = enclosingFunction(text, place.colon + 1, at);
    if (function == QLatin1String("url"))
        return QStringLiteral("placeholder.png");
    if (function.startsWith(QLatin1String("rgb")) || function.startsWith(QLatin1String("hs")))
        return QStringLiteral("128");
    if (function.contains(QLatin1String("gradient")))
        return text.mid(0, at).trimmed().endsWith(QLatin1Char(':')) &&
                       !text.mid(0, at).trimmed().endsWith(QLatin1String("stop:"))
                   ? QStringLiteral("0")
                   : kColour;
    static const QStringList lengths{
        QStringLiteral("width"),  QStringLiteral("height"),  QStringLiteral("radius"),
        QStringLiteral("margin"), QStringLiteral("padding"), QStringLiteral("spacing"),
        QStringLiteral("size"),   QStringLiteral("left"),    QStringLiteral("top"),
        QStringLiteral("right"),  QStringLiteral("bottom"),  QStringLiteral("offset"),
        QStringLiteral("indent"), QStringLiteral("-x"),      QStringLiteral("-y")};
    if (endsWithAny(property, lengths) || property.contains(QLatin1String("margin")) ||
        property.contains(QLatin1String("padding")))
        return kLength;
    if (property.contains(QLatin1String("image")) || property == QLatin1String("icon"))
        return QStringLiteral("none");
    const bool shorthand = property.startsWith(QLatin1String("border")) ||
                           property.startsWith(QLatin1String("outline"));
    if (shorthand && text.mid(place.colon + 1, at - place.colon - 1).trimmed().isEmpty()) {
        const QChar next = nextVisible(text, at);
        if (!next.isNull() && next != QLatin1Char(';') && next != QLatin1Char('}'))
            return kLength; // the width, the first of the shorthand's values
    }
    if (shorthand || property.contains(QLatin1String("color")) ||
        property.startsWith(QLatin1String("background")) ||
        property.startsWith(QLatin1String("selection")) ||
        property.startsWith(QLatin1String("gridline")))
        return kColour;
    if (property.startsWith(QLatin1String("font")))
        return QStringLiteral("sans-serif");
    return QStringLiteral("none");
}

} // namespace

QVector<Placeholder> takePlaceholders(TemplateSyntax syntax, int from, QString *text,
                                      QVector<int> *offsets)
{
    QVector<Placeholder> taken;
    if (syntax == TemplateSyntax::None)
        return taken;
    for (int i = from; i < text->size();) {
        bool escape = false;
        const int length = placeholderLength(syntax, *text, i, &escape);
        if (length == 0) {
            ++i;
            continue;
        }
        const int removed = escape ? 1 : length; // an escape keeps its first character
        if (!escape)
            taken.append({i, offsets->at(i)});
        text->remove(escape ? i + 1 : i, removed);
        offsets->remove(escape ? i + 1 : i, removed);
        i += escape ? 1 : 0;
    }
    return taken;
}

QString standInFor(const QString &text, int at)
{
    const SheetPlace place = placeOf(text, at);
    if (place.comment || !place.quote.isNull())
        return QStringLiteral("x");
    const QChar before = charAt(text, at - 1);
    const bool inName = before.isLetterOrNumber() || before == QLatin1Char('_') ||
                        before == QLatin1Char('-') || before == QLatin1Char('#') ||
                        before == QLatin1Char('.') || before == QLatin1Char(':');
    const QChar next = nextVisible(text, at);
    if (place.depth == 0) {
        // A whole rule or sheet, or a part of a selector.
        if (next.isNull() || next == QLatin1Char('}'))
            return QStringLiteral("/**/");
        return inName ? QStringLiteral("placeholder") : QStringLiteral("QWidget");
    }
    if (place.colon < 0) {
        // A property's name, or whole declarations.
        return next == QLatin1Char(':') || inName ? QStringLiteral("placeholder")
                                                  : QStringLiteral("/**/");
    }
    return valueStandIn(text, at, place);
}
