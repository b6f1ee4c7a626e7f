// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "tokens/tokenliterals.h"

#include <QRegularExpression>

#include <algorithm>
#include <cmath>

namespace {

int channel(double unit)
{
    return qBound(0, int(std::lround(unit * 255.0)), 255);
}

// One channel of rgb(): 0 to 255, or a percentage.
bool rgbChannel(const QString &text, double scale, double *value)
{
    bool ok = false;
    if (text.endsWith(QLatin1Char('%'))) {
        *value = text.chopped(1).toDouble(&ok) / 100.0;
    } else {
        *value = text.toDouble(&ok) / scale;
    }
    return ok && std::isfinite(*value) && *value >= 0 && *value <= 1;
}

QColor colourFromRgbFunction(const QString &text)
{
    static const QRegularExpression pattern(
        QStringLiteral("^rgba?\\(\\s*([^,\\s/)]+)\\s*,?\\s*([^,\\s/)]+)\\s*,?\\s*([^,\\s/)]+)\\s*"
                       "(?:[,/]\\s*([^,\\s/)]+)\\s*)?\\)$"),
        QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = pattern.match(text);
    if (!match.hasMatch())
        return QColor();
    double rgb[3];
    for (int i = 0; i < 3; ++i) {
        if (!rgbChannel(match.captured(i + 1), 255.0, &rgb[i]))
            return QColor();
    }
    double alpha = 1;
    if (match.lastCapturedIndex() >= 4 && !rgbChannel(match.captured(4), 1.0, &alpha))
        return QColor();
    return QColor(channel(rgb[0]), channel(rgb[1]), channel(rgb[2]), channel(alpha));
}

bool isHexDigits(const QString &digits)
{
    return std::all_of(digits.begin(), digits.end(),
                       [](QChar c) { return isxdigit(c.toLatin1()); });
}

QColor colourFromHex(const QString &text)
{
    QString digits = text.mid(1);
    if (!isHexDigits(digits))
        return QColor();
    if (digits.size() == 3 || digits.size() == 4) {
        QString doubled;
        for (const QChar c : digits)
            doubled += QString(2, c);
        digits = doubled;
    }
    if (digits.size() != 6 && digits.size() != 8)
        return QColor();
    const auto byte = [&](int i) { return digits.mid(2 * i, 2).toInt(nullptr, 16); };
    return QColor(byte(0), byte(1), byte(2), digits.size() == 8 ? byte(3) : 255);
}

bool isUnitNumber(double value)
{
    return std::isfinite(value) && value >= 0 && value <= 1;
}

// The colour object of the format: sRGB components from 0 to 1, an optional alpha,
// and "hex" as the fallback for colour spaces the toolkit does not know.
QColor colourFromObject(const JsonNode &value, QString *error)
{
    const JsonNode *space = value.member(QStringLiteral("colorSpace"));
    const JsonNode *components = value.member(QStringLiteral("components"));
    const JsonNode *alpha = value.member(QStringLiteral("alpha"));
    const JsonNode *hex = value.member(QStringLiteral("hex"));
    double a = 1;
    if (alpha) {
        if (alpha->kind != JsonNode::Number || !isUnitNumber(alpha->number)) {
            *error = QStringLiteral("\"alpha\" must be a number from 0 to 1");
            return QColor();
        }
        a = alpha->number;
    }
    if (!space || space->kind != JsonNode::String) {
        *error = QStringLiteral("a colour needs \"colorSpace\"");
        return QColor();
    }
    if (space->string == QLatin1String("srgb")) {
        if (!components || components->kind != JsonNode::Array || components->items.size() != 3) {
            *error = QStringLiteral("an srgb colour needs three \"components\"");
            return QColor();
        }
        double rgb[3];
        for (int i = 0; i < 3; ++i) {
            const JsonNode &c = components->items[i];
            if (c.kind == JsonNode::String && c.string == QLatin1String("none")) {
                rgb[i] = 0;
            } else if (c.kind == JsonNode::Number && isUnitNumber(c.number)) {
                rgb[i] = c.number;
            } else {
                *error = QStringLiteral("srgb components are numbers from 0 to 1");
                return QColor();
            }
        }
        return QColor(channel(rgb[0]), channel(rgb[1]), channel(rgb[2]), channel(a));
    }
    if (hex && hex->kind == JsonNode::String) {
        QColor colour = colourFromHex(hex->string);
        if (colour.isValid() && hex->string.size() == 7) {
            colour.setAlpha(channel(a));
            return colour;
        }
        *error = QStringLiteral("\"hex\" must be written \"#rrggbb\"");
        return QColor();
    }
    *error = QStringLiteral("colour space \"%1\" is not sRGB; give a \"hex\" fallback")
                 .arg(space->string);
    return QColor();
}

bool isLengthUnit(const QString &unit)
{
    static const QStringList units = {QStringLiteral("px"), QStringLiteral("pt"),
                                      QStringLiteral("em"), QStringLiteral("ex"),
                                      QStringLiteral("rem")};
    return units.contains(unit);
}

bool isDurationUnit(const QString &unit)
{
    return unit == QLatin1String("ms") || unit == QLatin1String("s");
}

// "4px", "-0.5em", "200ms".
bool amountFromString(const QString &text, double *amount, QString *unit)
{
    static const QRegularExpression pattern(
        QStringLiteral("^\\s*(-?(?:\\d+\\.?\\d*|\\.\\d+))\\s*([a-z]+)\\s*$"));
    const QRegularExpressionMatch match = pattern.match(text);
    if (!match.hasMatch())
        return false;
    *amount = match.captured(1).toDouble();
    *unit = match.captured(2);
    return std::isfinite(*amount);
}

bool amountFromNode(const JsonNode &value, double *amount, QString *unit)
{
    if (value.kind == JsonNode::String)
        return amountFromString(value.string, amount, unit);
    if (value.kind != JsonNode::Object)
        return false;
    const JsonNode *number = value.member(QStringLiteral("value"));
    const JsonNode *name = value.member(QStringLiteral("unit"));
    if (!number || number->kind != JsonNode::Number || !name || name->kind != JsonNode::String)
        return false;
    *amount = number->number;
    *unit = name->string;
    return true;
}

int fontWeightFromKeyword(const QString &keyword)
{
    static const QHash<QString, int> weights = {
        {QStringLiteral("thin"), 100},        {QStringLiteral("hairline"), 100},
        {QStringLiteral("extra-light"), 200}, {QStringLiteral("ultra-light"), 200},
        {QStringLiteral("light"), 300},       {QStringLiteral("normal"), 400},
        {QStringLiteral("regular"), 400},     {QStringLiteral("book"), 400},
        {QStringLiteral("medium"), 500},      {QStringLiteral("semi-bold"), 600},
        {QStringLiteral("demi-bold"), 600},   {QStringLiteral("bold"), 700},
        {QStringLiteral("extra-bold"), 800},  {QStringLiteral("ultra-bold"), 800},
        {QStringLiteral("black"), 900},       {QStringLiteral("heavy"), 900},
        {QStringLiteral("extra-black"), 950}, {QStringLiteral("ultra-black"), 950}};
    return weights.value(keyword, 0);
}

QString quotedFamily(const QString &family)
{
    static const QStringList generic = {QStringLiteral("serif"),     QStringLiteral("sans-serif"),
                                        QStringLiteral("monospace"), QStringLiteral("cursive"),
                                        QStringLiteral("fantasy"),   QStringLiteral("system-ui")};
    if (generic.contains(family))
        return family;
    QString escaped = family;
    escaped.replace(QLatin1Char('\\'), QLatin1String("\\\\"))
        .replace(QLatin1Char('"'), QLatin1String("\\\""));
    return QLatin1Char('"') + escaped + QLatin1Char('"');
}

} // namespace

// The type a value shows by its form, for a token that no "$type" reaches.
QString typeFromForm(const JsonNode &value)
{
    double amount = 0;
    QString unit;
    switch (value.kind) {
    case JsonNode::Number:
        return TokenTypes::Number;
    case JsonNode::Array:
        return TokenTypes::FontFamily;
    case JsonNode::Object:
        if (value.member(QStringLiteral("colorSpace")))
            return TokenTypes::Colour;
        if (amountFromNode(value, &amount, &unit))
            return isDurationUnit(unit) ? QString(TokenTypes::Duration)
                                        : QString(TokenTypes::Dimension);
        return QString();
    case JsonNode::String:
        if (amountFromNode(value, &amount, &unit))
            return isDurationUnit(unit) ? QString(TokenTypes::Duration)
                                        : QString(TokenTypes::Dimension);
        if (colourFromTokenString(value.string).isValid())
            return TokenTypes::Colour;
        return QString();
    default:
        return QString();
    }
}

// Reads a literal value of a known type; the message names what was expected.
bool readLiteral(const QString &type, const JsonNode &node, TokenValue *value, QString *error)
{
    value->type = type;
    if (type == TokenTypes::Colour) {
        if (node.kind == JsonNode::String) {
            value->colour = colourFromTokenString(node.string, &value->keyword);
            if (!value->colour.isValid())
                *error = QStringLiteral("\"%1\" is not a colour").arg(node.string);
        } else if (node.kind == JsonNode::Object) {
            value->colour = colourFromObject(node, error);
        } else {
            *error = QStringLiteral("a colour is an object or a string");
        }
        return value->colour.isValid();
    }
    if (type == TokenTypes::Dimension || type == TokenTypes::Duration) {
        const bool dimension = type == TokenTypes::Dimension;
        if (!amountFromNode(node, &value->number, &value->unit) ||
            !(dimension ? isLengthUnit(value->unit) : isDurationUnit(value->unit))) {
            *error = dimension ? QStringLiteral("a dimension is {\"value\": 4, \"unit\": \"px\"} "
                                                "or \"4px\" (px, pt, em, ex or rem)")
                               : QStringLiteral("a duration is {\"value\": 200, \"unit\": \"ms\"} "
                                                "or \"200ms\" (ms or s)");
            return false;
        }
        return true;
    }
    if (type == TokenTypes::Number) {
        if (node.kind != JsonNode::Number) {
            *error = QStringLiteral("a number is written as a JSON number");
            return false;
        }
        value->number = node.number;
        return true;
    }
    if (type == TokenTypes::FontWeight) {
        if (node.kind == JsonNode::Number && node.number >= 1 && node.number <= 1000) {
            value->number = node.number;
            return true;
        }
        if (node.kind == JsonNode::String && fontWeightFromKeyword(node.string) > 0) {
            value->number = fontWeightFromKeyword(node.string);
            return true;
        }
        *error = QStringLiteral("a font weight is a number from 1 to 1000 or a weight name");
        return false;
    }
    if (type == TokenTypes::FontFamily) {
        if (node.kind == JsonNode::String && !node.string.trimmed().isEmpty()) {
            value->families = QStringList{node.string};
            return true;
        }
        if (node.kind == JsonNode::Array && !node.items.empty()) {
            for (const JsonNode &item : node.items) {
                if (item.kind != JsonNode::String || item.string.trimmed().isEmpty()) {
                    *error = QStringLiteral("a font family list holds names only");
                    return false;
                }
                value->families << item.string;
            }
            return true;
        }
        *error = QStringLiteral("a font family is a name or a list of names");
        return false;
    }
    // Types the toolkit has no property for are read, and refused only where used.
    return true;
}

QString tokenNumberText(double number)
{
    if (!std::isfinite(number))
        return QStringLiteral("0");
    QString text = QString::number(number, 'f', 4);
    while (text.endsWith(QLatin1Char('0')))
        text.chop(1);
    if (text.endsWith(QLatin1Char('.')))
        text.chop(1);
    if (text == QLatin1String("-0"))
        text = QStringLiteral("0");
    return text;
}

// The shortest fraction that reads back as alpha whether the reader truncates
// (the toolkit does) or rounds: times 255 it is alpha exactly, or a little above.
QString alphaFractionText(int alpha)
{
    int scale = 1;
    for (int places = 1; places <= 4; ++places) {
        scale *= 10;
        const int nearest = int(std::lround(alpha * double(scale) / 255.0));
        for (const int digits : {nearest, nearest + 1}) {
            const int product = digits * 255; // alpha * scale, in units of 1 / scale
            const int above = product - alpha * scale;
            if (above == 0 || (above * 1000 >= scale && above * 1000 <= 499 * scale))
                return tokenNumberText(double(digits) / scale);
        }
    }
    return tokenNumberText(alpha / 255.0);
}

QString sheetColourText(const QColor &colour)
{
    if (colour.alpha() == 255)
        return colour.name(QColor::HexRgb);
    return QStringLiteral("rgba(%1, %2, %3, %4)")
        .arg(colour.red())
        .arg(colour.green())
        .arg(colour.blue())
        .arg(alphaFractionText(colour.alpha()));
}

QColor colourFromTokenString(const QString &text, QString *keyword)
{
    const QString trimmed = text.trimmed();
    if (trimmed.startsWith(QLatin1Char('#')))
        return colourFromHex(trimmed);
    if (trimmed.startsWith(QLatin1String("rgb"), Qt::CaseInsensitive))
        return colourFromRgbFunction(trimmed);
    const bool word = !trimmed.isEmpty() && std::all_of(trimmed.begin(), trimmed.end(),
                                                        [](QChar c) { return c.isLetter(); });
    if (word && QColor::isValidColor(trimmed)) {
        if (keyword)
            *keyword = trimmed;
        return QColor(trimmed);
    }
    return QColor();
}

QString TokenValue::sheetText() const
{
    if (type == TokenTypes::Colour)
        return keyword.isEmpty() ? sheetColourText(colour) : keyword;
    if (type == TokenTypes::Dimension || type == TokenTypes::Duration)
        return tokenNumberText(number) + unit;
    if (type == TokenTypes::FontFamily) {
        QStringList quoted;
        for (const QString &family : families)
            quoted << quotedFamily(family);
        return quoted.join(QLatin1String(", "));
    }
    return tokenNumberText(number);
}
