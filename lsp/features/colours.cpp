// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "lsp/features/colours.h"

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
    const bool opaque = rgb.alpha() == 255;
    const QString hex = opaque ? rgb.name() : rgb.name(QColor::HexArgb);
    const QString function =
        opaque ? QStringLiteral("rgb(%1, %2, %3)").arg(rgb.red()).arg(rgb.green()).arg(rgb.blue())
               : QStringLiteral("rgba(%1, %2, %3, %4)")
                     .arg(rgb.red())
                     .arg(rgb.green())
                     .arg(rgb.blue())
                     .arg(rgb.alpha());
    return {hex, function};
}
