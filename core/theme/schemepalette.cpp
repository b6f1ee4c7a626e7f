// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "theme/schemepalette.h"

namespace {

// One role's colour in the active (and inactive) group and in the disabled group.
struct RoleColours
{
    QPalette::ColorRole role;
    QRgb light;
    QRgb lightDisabled;
    QRgb dark;
    QRgb darkDisabled;
};

// The toolkit's own Fusion palette (qtbase, src/gui/kernel/qplatformtheme.cpp,
// qt_fusionPalette(); Qt 6.5 added its dark half, which the toolkit uses when the
// platform reports a dark colour scheme and supplies no palette of its own). The
// roles it leaves to QPalette's seven-colour constructor are written out as that
// constructor derives them, so that this table is the whole palette.
constexpr RoleColours kRoles[] = {
    {QPalette::WindowText, 0xff000000, 0xffbebebe, 0xfff0f0f0, 0xff828282},
    {QPalette::Button, 0xffefefef, 0xffefefef, 0xff323232, 0xff323232},
    {QPalette::Light, 0xffffffff, 0xffffffff, 0xff4b4b4b, 0xff4b4b4b},
    {QPalette::Midlight, 0xffcacaca, 0xffcacaca, 0xff2a2a2a, 0xff2a2a2a},
    {QPalette::Dark, 0xff9f9f9f, 0xffbebebe, 0xff212121, 0xffbebebe},
    {QPalette::Mid, 0xffb8b8b8, 0xffb8b8b8, 0xff262626, 0xff262626},
    {QPalette::Text, 0xff000000, 0xffbebebe, 0xfff0f0f0, 0xff828282},
    {QPalette::BrightText, 0xffffffff, 0xffffffff, 0xff4b4b4b, 0xff4b4b4b},
    {QPalette::ButtonText, 0xff000000, 0xffbebebe, 0xfff0f0f0, 0xff828282},
    {QPalette::Base, 0xffffffff, 0xffefefef, 0xff242424, 0xff323232},
    {QPalette::Window, 0xffefefef, 0xffefefef, 0xff323232, 0xff323232},
    {QPalette::Shadow, 0xff767676, 0xffb1b1b1, 0xff191919, 0xff252525},
    {QPalette::Highlight, 0xff308cc6, 0xff919191, 0xff308cc6, 0xff919191},
    {QPalette::HighlightedText, 0xffffffff, 0xffffffff, 0xfff0f0f0, 0xfff0f0f0},
    {QPalette::Link, 0xff0000ff, 0xff0000ff, 0xff308cc6, 0xff308cc6},
    {QPalette::LinkVisited, 0xffff00ff, 0xffff00ff, 0xffff00ff, 0xffff00ff},
    {QPalette::AlternateBase, 0xfff7f7f7, 0xfff7f7f7, 0xff2b2b2b, 0xff2b2b2b},
    {QPalette::ToolTipBase, 0xffffffdc, 0xffffffdc, 0xffffffdc, 0xffffffdc},
    {QPalette::ToolTipText, 0xff000000, 0xff000000, 0xff000000, 0xff000000},
    {QPalette::PlaceholderText, 0x80000000, 0x80000000, 0x80f0f0f0, 0x80f0f0f0},
};

struct SchemeName
{
    ColorScheme scheme;
    const char *name;
};

constexpr SchemeName kSchemeNames[] = {
    {ColorScheme::Light, "light"},
    {ColorScheme::Dark, "dark"},
};

} // namespace

QString colorSchemeName(ColorScheme scheme)
{
    for (const SchemeName &entry : kSchemeNames) {
        if (entry.scheme == scheme)
            return QString::fromLatin1(entry.name);
    }
    return QString::fromLatin1(kSchemeNames[0].name);
}

bool colorSchemeFromName(const QString &name, ColorScheme *scheme)
{
    for (const SchemeName &entry : kSchemeNames) {
        if (name.compare(QLatin1String(entry.name), Qt::CaseInsensitive) == 0) {
            *scheme = entry.scheme;
            return true;
        }
    }
    return false;
}

QStringList colorSchemeNames()
{
    QStringList names;
    for (const SchemeName &entry : kSchemeNames)
        names << QString::fromLatin1(entry.name);
    return names;
}

QString colorSchemeOptionError(const QString &value)
{
    return QStringLiteral("--%1 takes %2, not \"%3\"")
        .arg(kColorSchemeOption, colorSchemeNames().join(QLatin1String(" or ")), value);
}

QPalette schemePalette(ColorScheme scheme)
{
    const bool dark = scheme == ColorScheme::Dark;
    QPalette palette;
    for (const RoleColours &entry : kRoles) {
        const QColor normal = QColor::fromRgba(dark ? entry.dark : entry.light);
        const QColor disabled = QColor::fromRgba(dark ? entry.darkDisabled : entry.lightDisabled);
        palette.setColor(QPalette::Active, entry.role, normal);
        palette.setColor(QPalette::Inactive, entry.role, normal);
        palette.setColor(QPalette::Disabled, entry.role, disabled);
    }
    return palette;
}

QString schemePaletteSource(ColorScheme scheme)
{
    return scheme == ColorScheme::Dark
               ? QStringLiteral("the toolkit's dark Fusion palette, as Qt 6.5 and later give it "
                                "under a dark colour scheme")
               : QStringLiteral("the toolkit's standard Fusion palette");
}
