// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "analysis/checks/checks.h"
#include "analysis/checks/names.h"
#include "analysis/toolkitsheet.h"

#include "analysis/qssreference.h"

using namespace QCss;
using QssReference::ValueKind;

namespace {
// One value against a brush: colour name, #hex, rgb()/hsv()/hsl(), palette(role)
// or gradient, read the way the toolkit reads it. The palette is made once per sheet:
// making one per value costs more than reading the value.
bool isBrushValue(const Value &value, const QPalette &palette)
{
    if (value.type == Value::Identifier)
        return QColor::isValidColor(value.variant.toString());
    if (value.type != Value::Color && value.type != Value::Function &&
        value.type != Value::KnownIdentifier)
        return false;
    Declaration single;
    single.d->values.append(value);
    const QBrush brush = single.brushValue(palette);
    return brush.gradient() || brush.color().isValid();
}

QString valueText(const Value &value)
{
    if (value.type == Value::Function) {
        const QStringList parts = value.variant.toStringList();
        return parts.value(0) + QLatin1Char('(') + parts.value(1) + QLatin1Char(')');
    }
    return value.variant.toString();
}

bool isOperator(const Value &value)
{
    return value.type == Value::TermOperatorComma || value.type == Value::TermOperatorSlash;
}

// The unit of a length as written, "" for a bare number.
QString lengthUnit(const Value &value)
{
    const QString text = value.variant.toString();
    int i = text.size();
    while (i > 0 && text.at(i - 1).isLetter())
        --i;
    return text.mid(i);
}

// What is wrong with the values of a property of one kind, "" when nothing is.
QString colourProblem(const QString &property, const QVector<Value> &values,
                      const QPalette &palette)
{
    for (const Value &value : values) {
        if (!isOperator(value) && !isBrushValue(value, palette))
            return QStringLiteral("\"%1\" is not a colour the toolkit reads for %2")
                .arg(valueText(value), property);
    }
    return QString();
}

QString backgroundOrBorderProblem(const QString &property, const QVector<Value> &values)
{
    for (const Value &value : values) {
        if (value.type == Value::Identifier && !QColor::isValidColor(value.variant.toString()) &&
            !QssReference::isKnownBorderStyle(value.variant.toString()))
            return QStringLiteral("\"%1\" is neither a colour nor a keyword of %2")
                .arg(valueText(value), property);
        if (value.type == Value::Length && !QssReference::isKnownLengthUnit(lengthUnit(value)))
            return QStringLiteral("unit \"%1\" of %2 is not one the toolkit reads (px, em, ex)")
                .arg(lengthUnit(value), property);
    }
    return QString();
}

QString borderStyleProblem(const QVector<Value> &values)
{
    for (const Value &value : values) {
        if (value.type == Value::Identifier &&
            !QssReference::isKnownBorderStyle(value.variant.toString()))
            return QStringLiteral("\"%1\" is not a border style").arg(valueText(value));
    }
    return QString();
}

QString lengthProblem(const QString &property, const QVector<Value> &values)
{
    for (const Value &value : values) {
        if (value.type == Value::Length && !QssReference::isKnownLengthUnit(lengthUnit(value)))
            return QStringLiteral("unit \"%1\" of %2 is not one the toolkit reads (px, em, "
                                  "ex): it reads 0")
                .arg(lengthUnit(value), property);
        if (value.type == Value::Identifier || value.type == Value::String ||
            value.type == Value::Color)
            return QStringLiteral("%1 needs a length, not \"%2\"").arg(property, valueText(value));
    }
    return QString();
}

QString fontSizeProblem(const Value &value)
{
    const QString unit = lengthUnit(value).toLower();
    if (value.type == Value::Number)
        return QStringLiteral("font-size needs a unit, pt or px: the toolkit ignores \"%1\"")
            .arg(valueText(value));
    if (value.type == Value::Length && unit != QLatin1String("pt") && unit != QLatin1String("px"))
        return QStringLiteral("font-size in \"%1\" is ignored: the toolkit reads pt and px")
            .arg(unit);
    return QString();
}

QString fontWeightProblem(const Value &value)
{
    if (value.type != Value::Number && value.type != Value::KnownIdentifier)
        return QStringLiteral("font-weight \"%1\" is ignored: the toolkit reads normal, bold "
                              "or a number")
            .arg(valueText(value));
    return QString();
}

QString valueProblem(const QString &property, const QVector<Value> &values, const QPalette &palette)
{
    switch (QssReference::valueKind(property)) {
    case ValueKind::Colour:
        return colourProblem(property, values, palette);
    case ValueKind::Background:
    case ValueKind::Border:
        return backgroundOrBorderProblem(property, values);
    case ValueKind::BorderStyle:
        return borderStyleProblem(values);
    case ValueKind::Length:
        return lengthProblem(property, values);
    case ValueKind::FontSize:
        return fontSizeProblem(values.first());
    case ValueKind::FontWeight:
        return fontWeightProblem(values.first());
    case ValueKind::Other:
        break;
    }
    return QString();
}

// A font-size written as a bare number: the toolkit ignores it, in Qt 5 and Qt 6 alike,
// so no unit keeps what it paints. Points are a guess: the unit the toolkit's own
// fonts are given in.
void offerFontSizeUnit(const SheetModel &model, const SheetDeclaration &entry,
                       CheckReporter &report)
{
    const auto &symbols = model.parser().symbols;
    for (int i = entry.firstSymbol; i < entry.endSymbol && i < symbols.size(); ++i) {
        if (symbols.at(i).token == NUMBER) {
            report.mendByReplacing(model.symbolOffset(i) + int(symbols.at(i).lexem().size()), 0,
                                   QStringLiteral("pt"), false);
            return;
        }
    }
}

void checkValues(const SheetModel &model, const SheetDeclaration &entry, const QPalette &palette,
                 CheckReporter &report)
{
    const QVector<Value> &values = entry.toolkit->d->values;
    const QString problem = valueProblem(entry.property, values, palette);
    if (problem.isEmpty())
        return;
    report.at(entry.valueOffset,
              model.tokensEnd(entry.firstSymbol, entry.endSymbol) - entry.valueOffset, problem);
    if (QssReference::valueKind(entry.property) == ValueKind::FontSize &&
        values.first().type == Value::Number)
        offerFontSizeUnit(model, entry, report);
}

void checkBadValues(const SheetModel &model, CheckReporter &report)
{
    const auto &symbols = model.parser().symbols;
    // Declarations the toolkit drops because it cannot read their value.
    for (const DroppedDeclaration &dropped : model.dropped) {
        int colon = -1;
        for (int i = dropped.firstSymbol; i < dropped.failedSymbol && i < symbols.size(); ++i) {
            if (symbols.at(i).token == COLON) {
                colon = i;
                break;
            }
        }
        if (colon < 0)
            continue; // no "name: value" at all: a syntax finding
        int valueStart = colon + 1;
        while (valueStart < symbols.size() && symbols.at(valueStart).token == S)
            ++valueStart;
        int valueEnd = valueStart;
        while (valueEnd < symbols.size() && valueEnd - valueStart < 20 &&
               symbols.at(valueEnd).token != SEMICOLON && symbols.at(valueEnd).token != RBRACE)
            ++valueEnd;
        const int start = model.symbolOffset(valueStart);
        report.at(start, model.tokensEnd(valueStart, valueEnd) - start,
                  QStringLiteral("the toolkit drops this declaration: it cannot read the value "
                                 "\"%1\"")
                      .arg(model.tokensText(valueStart, valueEnd)));
    }
    const QPalette palette;
    for (const SheetRule &rule : model.rules) {
        for (const SheetDeclaration &entry : rule.declarations) {
            if (isKnownProperty(model, entry) && !entry.toolkit->d->values.isEmpty())
                checkValues(model, entry, palette, report);
        }
    }
}
} // namespace

const LintCheck kBadValueCheck = {
    "bad-value",
    LintSeverity::Warning,
    true,
    0,
    "colours the toolkit cannot read, length units it ignores, `font-size` without "
    "`pt`/`px`, declarations it drops",
    "The toolkit keeps a sheet whose values it cannot read and quietly ignores those "
    "declarations, or reads them otherwise than written: a colour it does not know paints "
    "nothing, a unit it ignores makes a length a bare number, and a font size needs pt or px. "
    "Write the value the way the property's reference gives it.",
    "QLabel { color: #ff00zz; }",
    "QLabel { color: #ff0000; }",
    checkBadValues,
    "\"qt\" names the toolkit version whose value forms count",
    "a font-size without a unit gets \"pt\" (unsafe: the toolkit ignores the bare number, so "
    "any unit changes what it paints; points are a guess)",
};
