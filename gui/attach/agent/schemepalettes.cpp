// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

// Run by the build: writes the Python agent's schemes.py, every colour scheme's
// palette as theme/schemepalette.h gives it, so that the agent puts on the very
// palette the plugin answers with. "prismark-schemepalettes OUTPUT".

#include "theme/schemepalette.h"

#include <QFile>
#include <QMetaEnum>

#include <cstdio>

namespace {

QByteArray colourText(const QColor &colour)
{
    return QByteArray("\"#") + QByteArray::number(colour.rgba(), 16).rightJustified(8, '0') + '"';
}

// "ROLE": ("#aarrggbb" active, inactive, disabled), a line for each role.
QByteArray roleLines(const QPalette &palette)
{
    const QMetaEnum roles = QMetaEnum::fromType<QPalette::ColorRole>();
    QByteArray lines;
    for (int role = 0; role < QPalette::NColorRoles; ++role) {
        const char *name = roles.valueToKey(role);
        if (role == QPalette::NoRole || !name)
            continue;
        const auto colour = [&](QPalette::ColorGroup group) {
            return colourText(palette.color(group, QPalette::ColorRole(role)));
        };
        lines += "        \"" + QByteArray(name) + "\": (" + colour(QPalette::Active) + ", " +
                 colour(QPalette::Inactive) + ", " + colour(QPalette::Disabled) + "),\n";
    }
    return lines;
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: prismark-schemepalettes OUTPUT\n");
        return 2;
    }
    QByteArray text = "# Made by the build from core/theme/schemepalette.cpp; do not edit.\n"
                      "# Each scheme's palette: role: (active, inactive, disabled).\n"
                      "palettes = {\n";
    for (const QString &name : colorSchemeNames()) {
        ColorScheme scheme = ColorScheme::Light;
        colorSchemeFromName(name, &scheme);
        text +=
            "    \"" + name.toLatin1() + "\": {\n" + roleLines(schemePalette(scheme)) + "    },\n";
    }
    text += "}\n";
    // Written only when it changes, so that nothing that reads it is made again for nothing.
    QFile file(QString::fromLocal8Bit(argv[1]));
    if (file.open(QIODevice::ReadOnly) && file.readAll() == text)
        return 0;
    file.close();
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(text) != text.size()) {
        std::fprintf(stderr, "prismark-schemepalettes: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
