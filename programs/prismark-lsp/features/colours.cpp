// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "prismark-lsp/features/colours.h"

#include "analysis/colourliterals.h"

QVector<ColourInformation> documentColours(const QString &text)
{
    QVector<ColourInformation> result;
    for (const ColourLiteral &literal : findColourLiterals(text))
        result.append({{literal.offset, literal.offset + literal.length}, literal.colour});
    return result;
}

QStringList colourPresentations(const QColor &rgb)
{
    // A translucent colour gets no eight-digit hex: the toolkit reads it alpha first,
    // other tools alpha last, and prismark-lint reports it for that.
    if (rgb.alpha() != 255)
        return {rgbaFunctionText(rgb)};
    return {rgb.name(),
            QStringLiteral("rgb(%1, %2, %3)").arg(rgb.red()).arg(rgb.green()).arg(rgb.blue())};
}
