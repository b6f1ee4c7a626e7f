// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "tokens/templateexpression.h"

#include "tokens/colourfunctions.h"
#include "tokens/designtokens.h"

#include <algorithm>

using TemplateText::isBlank;
using TemplateText::isNameChar;

namespace {

// Nested colour functions beyond this are refused: no theme needs them, and the
// reader's recursion stays shallow.
constexpr int kMaxNesting = 32;

// A token path as a reference may write it: no blanks, braces or separators.
bool isReferenceName(const QString &name)
{
    if (name.isEmpty())
        return false;
    return std::none_of(name.begin(), name.end(), [](QChar c) {
        return isBlank(c) || c == QLatin1Char('{') || c == QLatin1Char('}') ||
               c == QLatin1Char(';') || c == QLatin1Char(':') || c == QLatin1Char(',') ||
               c == QLatin1Char('"') || c == QLatin1Char('\'') || c == QLatin1Char('<') ||
               c == QLatin1Char('>') || c == QLatin1Char('(') || c == QLatin1Char(')');
    });
}

} // namespace

bool TemplateText::isNameChar(QChar c)
{
    return c.isLetterOrNumber() || c == QLatin1Char('-') || c == QLatin1Char('_');
}

bool TemplateText::isBlank(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('\t') || c == QLatin1Char('\r') ||
           c == QLatin1Char('\n') || c == QLatin1Char('\f');
}

TemplateExpressionReader::TemplateExpressionReader(const QString &text, Report report)
    : text(text)
    , textLength(int(text.size()))
    , report(std::move(report))
{}

bool TemplateExpressionReader::read(int *offset, int end, TemplateExpression *expression)
{
    return readExpression(offset, end, expression, 0);
}

bool TemplateExpressionReader::readExpression(int *cursor, int end, TemplateExpression *expression,
                                              int depth)
{
    skipBlanks(cursor, end);
    expression->offset = *cursor;
    if (*cursor >= end) {
        report(qMin(*cursor, textLength),
               QStringLiteral("expected a reference, a colour or a number"));
        return false;
    }
    const QChar c = text.at(*cursor);
    if (c == QLatin1Char('{'))
        return readReference(cursor, end, expression);
    if (c == QLatin1Char('#'))
        return readHexColour(cursor, end, expression);
    if (c.isDigit() || c == QLatin1Char('.') || c == QLatin1Char('-'))
        return readNumber(cursor, end, expression);
    if (!c.isLetter()) {
        report(*cursor, QStringLiteral("expected a reference, a colour or a number"));
        return false;
    }
    return readNameOrCall(cursor, end, expression, depth);
}

void TemplateExpressionReader::skipBlanks(int *cursor, int end) const
{
    while (*cursor < end && isBlank(text.at(*cursor)))
        ++*cursor;
}

// "{group.token}" at *cursor.
bool TemplateExpressionReader::readReference(int *cursor, int end, TemplateExpression *expression)
{
    int close = *cursor + 1;
    while (close < end && text.at(close) != QLatin1Char('}') &&
           text.at(close) != QLatin1Char('\n') && text.at(close) != QLatin1Char(';'))
        ++close;
    const QString name = text.mid(*cursor + 1, close - *cursor - 1);
    if (close >= end || text.at(close) != QLatin1Char('}') || !isReferenceName(name)) {
        report(*cursor, QStringLiteral("a reference reads {group.token}"));
        *cursor = close;
        return false;
    }
    expression->kind = TemplateExpression::Reference;
    expression->name = name;
    *cursor = close + 1;
    return true;
}

// "#rgb", "#rrggbb" or with alpha, at *cursor.
bool TemplateExpressionReader::readHexColour(int *cursor, int end, TemplateExpression *expression)
{
    int i = *cursor + 1;
    while (i < end && isNameChar(text.at(i)))
        ++i;
    const QString written = text.mid(*cursor, i - *cursor);
    expression->kind = TemplateExpression::Colour;
    expression->colour = colourFromTokenString(written);
    if (!expression->colour.isValid()) {
        report(*cursor, QStringLiteral("\"%1\" is not a colour").arg(written));
        *cursor = i;
        return false;
    }
    *cursor = i;
    return true;
}

// A number at *cursor; "50%" reads as 0.5.
bool TemplateExpressionReader::readNumber(int *cursor, int end, TemplateExpression *expression)
{
    int i = *cursor + 1;
    while (i < end && (text.at(i).isDigit() || text.at(i) == QLatin1Char('.')))
        ++i;
    bool ok = false;
    expression->kind = TemplateExpression::Number;
    expression->number = text.mid(*cursor, i - *cursor).toDouble(&ok);
    if (i < end && text.at(i) == QLatin1Char('%')) {
        expression->number /= 100.0;
        ++i;
    }
    if (!ok) {
        report(*cursor,
               QStringLiteral("\"%1\" is not a number").arg(text.mid(*cursor, i - *cursor)));
        *cursor = i;
        return false;
    }
    *cursor = i;
    return true;
}

// A colour's name, or a colour function and its arguments, at *cursor.
bool TemplateExpressionReader::readNameOrCall(int *cursor, int end, TemplateExpression *expression,
                                              int depth)
{
    int i = *cursor;
    while (i < end && isNameChar(text.at(i)))
        ++i;
    const QString word = text.mid(*cursor, i - *cursor);
    const ColourFunction *function = colourFunction(word);
    if (!function || i >= end || text.at(i) != QLatin1Char('(')) {
        if (!function && QColor::isValidColor(word)) {
            expression->kind = TemplateExpression::Colour;
            expression->colour = QColor(word);
            expression->keyword = word;
            *cursor = i;
            return true;
        }
        report(*cursor, QStringLiteral("\"%1\" is neither a colour function (%2) nor a colour")
                            .arg(word, colourFunctionNames()));
        *cursor = i;
        return false;
    }
    if (depth >= kMaxNesting) {
        report(*cursor, QStringLiteral("colour functions nested deeper than %1").arg(kMaxNesting));
        *cursor = end;
        return false;
    }
    expression->kind = TemplateExpression::Call;
    expression->name = word;
    *cursor = i + 1;
    if (!readArguments(cursor, end, expression, depth))
        return false;
    if (int(expression->arguments.size()) != function->arity) {
        report(expression->offset, QStringLiteral("%1() takes %2 arguments: %3")
                                       .arg(word)
                                       .arg(function->arity)
                                       .arg(function->signature()));
        return false;
    }
    return true;
}

// The arguments of call from *cursor, just after its '(', up to its ')'.
bool TemplateExpressionReader::readArguments(int *cursor, int end, TemplateExpression *call,
                                             int depth)
{
    while (true) {
        TemplateExpression argument;
        if (!readExpression(cursor, end, &argument, depth + 1))
            return false;
        call->arguments.push_back(std::move(argument));
        skipBlanks(cursor, end);
        if (*cursor < end && text.at(*cursor) == QLatin1Char(',')) {
            ++*cursor;
            continue;
        }
        if (*cursor < end && text.at(*cursor) == QLatin1Char(')')) {
            ++*cursor;
            return true;
        }
        report(qMin(*cursor, textLength),
               QStringLiteral("expected ',' or ')' in %1()").arg(call->name));
        return false;
    }
}
