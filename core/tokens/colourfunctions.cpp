// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "tokens/colourfunctions.h"

#include <QStringList>

namespace {
using A = ColourArgument;

QColor withAlpha(const QColor &colour, const QColor &, double amount)
{
    QColor result = colour;
    result.setAlphaF(amount);
    return result;
}

QColor mixed(const QColor &colour, const QColor &other, double amount)
{
    const auto blend = [amount](int a, int b) { return qRound(a + (b - a) * amount); };
    return QColor(blend(colour.red(), other.red()), blend(colour.green(), other.green()),
                  blend(colour.blue(), other.blue()), blend(colour.alpha(), other.alpha()));
}

QColor lighter(const QColor &colour, const QColor &, double factor)
{
    return colour.lighter(qRound(factor));
}

QColor darker(const QColor &colour, const QColor &, double factor)
{
    return colour.darker(qRound(factor));
}

const std::array<ColourFunction, 4> kColourFunctions = {{
    {"alpha",
     2,
     {A::Colour, A::Amount},
     "The colour with its alpha set to the amount: 0 is clear, 1 opaque.",
     withAlpha},
    {"mix",
     3,
     {A::Colour, A::Colour, A::Amount},
     "The two colours blended channel by channel, alpha too: an amount of 0 gives the first, "
     "1 the second, 0.5 the colour halfway.",
     mixed},
    {"lighter",
     2,
     {A::Colour, A::Factor},
     "The colour lightened as QColor::lighter() does: its brightness times the factor over "
     "100, so 150 is half as light again; a factor below 100 darkens.",
     lighter},
    {"darker",
     2,
     {A::Colour, A::Factor},
     "The colour darkened as QColor::darker() does: its brightness divided by the factor "
     "over 100, so 200 is half as bright; a factor below 100 lightens.",
     darker},
}};

QString usage(ColourArgument argument)
{
    switch (argument) {
    case A::Colour:
        return QStringLiteral("colour");
    case A::Amount:
        return QStringLiteral("amount from 0 to 1");
    case A::Factor:
        break;
    }
    return QStringLiteral("factor in percent");
}

// What a snippet's placeholder offers for the argument.
QString placeholder(ColourArgument argument)
{
    switch (argument) {
    case A::Colour:
        return QStringLiteral("colour");
    case A::Amount:
        return QStringLiteral("0.5");
    case A::Factor:
        break;
    }
    return QStringLiteral("150");
}
} // namespace

QString ColourFunction::signature() const
{
    QStringList parts;
    for (int i = 0; i < arity; ++i)
        parts << usage(arguments[i]);
    return QStringLiteral("%1(%2)").arg(QLatin1String(name), parts.join(QLatin1String(", ")));
}

QString ColourFunction::snippet() const
{
    QStringList parts;
    for (int i = 0; i < arity; ++i)
        parts << QStringLiteral("${%1:%2}").arg(i + 1).arg(placeholder(arguments[i]));
    return QStringLiteral("%1(%2)").arg(QLatin1String(name), parts.join(QLatin1String(", ")));
}

QString ColourFunction::rangeError(double amount) const
{
    if (arguments[arity - 1] == A::Amount) {
        if (amount < 0 || amount > 1)
            return QStringLiteral("%1() takes an amount from 0 to 1").arg(QLatin1String(name));
        return QString();
    }
    if (amount <= 0 || amount > 10000)
        return QStringLiteral("%1() takes a factor in percent above 0, 150 for half as light again")
            .arg(QLatin1String(name));
    return QString();
}

const std::array<ColourFunction, 4> &colourFunctions()
{
    return kColourFunctions;
}

const ColourFunction *colourFunction(const QString &name)
{
    for (const ColourFunction &function : kColourFunctions) {
        if (name == QLatin1String(function.name))
            return &function;
    }
    return nullptr;
}

QString colourFunctionNames()
{
    QStringList names;
    for (const ColourFunction &function : kColourFunctions)
        names << QLatin1String(function.name);
    return names.join(QLatin1String(", "));
}
