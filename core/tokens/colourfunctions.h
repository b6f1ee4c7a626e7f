// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include <QColor>
#include <QString>

#include <array>

// The colour functions a theme template's values may call, one row each: what the
// template reader, its evaluator and the language server's completion and hover read.

enum class ColourArgument
{
    Colour,
    Amount, // from 0 to 1
    Factor, // in percent, as QColor::lighter() and darker() take it
};

struct ColourFunction
{
    const char *name;
    int arity;
    std::array<ColourArgument, 3> arguments;
    // What it computes, a sentence or two.
    const char *description;
    // Over arguments of the right types and in range; amount is the last argument.
    QColor (*compute)(const QColor &colour, const QColor &other, double amount);

    // "mix(colour, colour, amount from 0 to 1)".
    QString signature() const;
    // "mix(${1:colour}, ${2:colour}, ${3:0.5})", a completion's snippet.
    QString snippet() const;
    // Empty when amount is in range for the last argument, else why not.
    QString rangeError(double amount) const;
};

// Every colour function, in the order the documentation gives them.
const std::array<ColourFunction, 4> &colourFunctions();
// nullptr for a name that is none (names are case-sensitive, as the reader takes them).
const ColourFunction *colourFunction(const QString &name);
// "alpha, mix, lighter, darker".
QString colourFunctionNames();
