// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "analysis/contrastpalettes.h"

#include "theme/palettedirectives.h"

#include <QMetaEnum>

namespace {
QString roleName(QPalette::ColorRole role)
{
    return QString::fromLatin1(QMetaEnum::fromType<QPalette::ColorRole>().valueToKey(role));
}
} // namespace

QString ContrastPalette::description() const
{
    return fromFile ? QStringLiteral("the palette of %1").arg(name)
                    : QStringLiteral("the %1 palette").arg(name);
}

QString ContrastPalette::roleOwner() const
{
    return fromFile ? name : description();
}

QString ContrastPalette::roleOrigin(QPalette::ColorRole role) const
{
    if (fromFile && !ownRoles.contains(role))
        return schemeContrastPalette(ColorScheme::Light).roleOrigin(role);
    return QStringLiteral("%1's %2").arg(roleOwner(), roleName(role));
}

ContrastPalette schemeContrastPalette(ColorScheme scheme)
{
    // The toolkit's palettes never change: made once, shared by every options object.
    static const ContrastPalette light{
        colorSchemeName(ColorScheme::Light), schemePalette(ColorScheme::Light), {}, false};
    static const ContrastPalette dark{
        colorSchemeName(ColorScheme::Dark), schemePalette(ColorScheme::Dark), {}, false};
    return scheme == ColorScheme::Dark ? dark : light;
}

bool contrastPaletteFromSheet(const QString &name, const QString &text, ContrastPalette *palette)
{
    ContrastPalette result{name, schemePalette(ColorScheme::Light), {}, true};
    for (const PaletteDirectiveLine &line : paletteDirectiveLines(text)) {
        if (line.match.matched && line.match.knownRole && line.match.color.isValid() &&
            !result.ownRoles.contains(line.match.role))
            result.ownRoles.append(line.match.role);
    }
    if (result.ownRoles.isEmpty())
        return false;
    applyPaletteDirectivesFromText(result.palette, text);
    *palette = result;
    return true;
}
