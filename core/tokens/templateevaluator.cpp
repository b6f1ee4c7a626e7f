// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "tokens/templateevaluator.h"

#include "tokens/colourfunctions.h"

#include <QRegularExpression>

namespace {

// What a property takes, as far as a token's type can be wrong for it.
enum class Slot
{
    Any,
    Colour,
    Length,
    Weight,
    Family,
};

Slot slotOf(const QString &property)
{
    if (property == QLatin1String("color") || property.endsWith(QLatin1String("-color")))
        return Slot::Colour;
    if (property == QLatin1String("font-weight"))
        return Slot::Weight;
    if (property == QLatin1String("font-family"))
        return Slot::Family;
    static const QRegularExpression length(QStringLiteral(
        "^((min-|max-)?(width|height)|(margin|padding)(-(top|right|bottom|left))?|spacing|"
        "left|right|top|bottom|font-size|border(-(top|bottom)-(left|right))?-radius|"
        "border(-(top|right|bottom|left))?-width|outline-radius|outline-width)$"));
    if (length.match(property).hasMatch())
        return Slot::Length;
    return Slot::Any;
}

QString slotMismatch(Slot slot, const TokenValue &value, const QString &property)
{
    const QString &type = value.type;
    const bool writable = type == TokenTypes::Colour || type == TokenTypes::Dimension ||
                          type == TokenTypes::Number || type == TokenTypes::FontWeight ||
                          type == TokenTypes::FontFamily;
    if (!writable)
        return QStringLiteral("a %1 token has no notation in a style sheet").arg(type);
    bool fits = true;
    switch (slot) {
    case Slot::Colour:
        fits = type == TokenTypes::Colour;
        break;
    case Slot::Length:
        fits = type == TokenTypes::Dimension || type == TokenTypes::Number;
        break;
    case Slot::Weight:
        fits = type == TokenTypes::FontWeight || type == TokenTypes::Number;
        break;
    case Slot::Family:
        fits = type == TokenTypes::FontFamily;
        break;
    case Slot::Any:
        break;
    }
    if (fits)
        return QString();
    return QStringLiteral("a %1 does not fit \"%2\"").arg(type, property);
}

} // namespace

TemplateEvaluator::TemplateEvaluator(const DesignTokens &tokens, Locate locate,
                                     SourceErrors *errors)
    : tokens(tokens)
    , locate(std::move(locate))
    , errors(errors)
{}

void TemplateEvaluator::error(int offset, const QString &message) const
{
    if (errors)
        errors->append({locate(offset), message});
}

TokenValue TemplateEvaluator::evaluate(const TemplateExpression &expression) const
{
    TokenValue value;
    switch (expression.kind) {
    case TemplateExpression::Colour:
        value.type = TokenTypes::Colour;
        value.colour = expression.colour;
        value.keyword = expression.keyword;
        break;
    case TemplateExpression::Number:
        value.type = TokenTypes::Number;
        value.number = expression.number;
        break;
    case TemplateExpression::Reference:
        if (const TokenValue *found = tokens.value(expression.name)) {
            value = *found;
        } else if (tokens.isDefined(expression.name)) {
            // its own error is already told
        } else if (tokens.isGroup(expression.name)) {
            error(expression.offset,
                  QStringLiteral("{%1} is a group, not a token").arg(expression.name));
        } else {
            const QString closest = tokens.closestName(expression.name);
            error(expression.offset, closest.isEmpty()
                                         ? QStringLiteral("unknown token {%1}").arg(expression.name)
                                         : QStringLiteral("unknown token {%1}; did you mean {%2}?")
                                               .arg(expression.name, closest));
        }
        break;
    case TemplateExpression::Call:
        return call(expression);
    }
    return value;
}

// The reader makes calls of known functions only, with their number of arguments.
TokenValue TemplateEvaluator::call(const TemplateExpression &expression) const
{
    const ColourFunction &function = *colourFunction(expression.name);
    std::vector<TokenValue> arguments;
    for (std::size_t i = 0; i < expression.arguments.size(); ++i) {
        arguments.push_back(evaluate(expression.arguments[i]));
        const TokenValue &argument = arguments.back();
        if (argument.type.isEmpty())
            return TokenValue();
        const bool wantsColour = function.arguments[i] == ColourArgument::Colour;
        const bool fits = wantsColour ? argument.isColour() : argument.type == TokenTypes::Number;
        if (!fits) {
            error(expression.arguments[i].offset,
                  QStringLiteral("%1() takes a %2 here, not a %3: %4")
                      .arg(expression.name,
                           wantsColour ? QStringLiteral("colour") : QStringLiteral("number"),
                           argument.type, function.signature()));
            return TokenValue();
        }
    }
    const double amount = arguments.back().number;
    const QString rangeError = function.rangeError(amount);
    if (!rangeError.isEmpty()) {
        error(expression.offset, rangeError);
        return TokenValue();
    }
    const QColor other = function.arity > 2 ? arguments[1].colour : QColor();
    TokenValue value;
    value.type = TokenTypes::Colour;
    value.colour = function.compute(arguments[0].colour, other, amount).toRgb();
    value.where = locate(expression.offset);
    return value;
}

QString TemplateEvaluator::declarationText(const TemplateExpression &expression,
                                           const QString &property) const
{
    const TokenValue value = evaluate(expression);
    if (value.type.isEmpty())
        return QString();
    const QString mismatch = slotMismatch(slotOf(property), value, property);
    if (!mismatch.isEmpty()) {
        error(expression.offset, mismatch);
        return QString();
    }
    return value.sheetText();
}

QString TemplateEvaluator::paletteText(const TemplateExpression &expression) const
{
    const TokenValue value = evaluate(expression);
    if (value.type.isEmpty())
        return QString();
    if (!value.isColour()) {
        error(expression.offset,
              QStringLiteral("a palette role takes a colour, not a %1").arg(value.type));
        return QString();
    }
    // The palette reader takes hexadecimal only, alpha first.
    return value.colour.name(value.colour.alpha() == 255 ? QColor::HexRgb : QColor::HexArgb);
}
