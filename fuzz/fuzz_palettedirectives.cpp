// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

// libFuzzer target: arbitrary style sheet text through the palette directive reader.

#include "fuzzrequire.h"
#include "theme/palettedirectives.h"

#include <QColor>
#include <QPalette>
#include <QRegularExpression>
#include <QString>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

bool isDirectiveRole(QPalette::ColorRole role)
{
    QPalette::ColorRole named = QPalette::NoRole;
    const char *const names[] = {"Window", "WindowText", "Base",      "AlternateBase",  "Text",
                                 "Button", "ButtonText", "Highlight", "HighlightedText"};
    for (const char *name : names) {
        if (paletteRoleFromName(QString::fromLatin1(name), named) && named == role)
            return true;
    }
    return false;
}

// The grammar as an expression: the reader, written out for speed, must agree with it
// on every line, keyword, name and colour alike.
void requireSameAsExpression(QStringView line)
{
    static const QRegularExpression directive(
        QStringLiteral("@palette\\s+([A-Za-z.]+)\\s*=\\s*(#(?:[0-9A-Fa-f]{8}|[0-9A-Fa-f]{6}))"));
    const QRegularExpressionMatch expected = directive.match(line.toString());
    const PaletteDirectiveMatch found = matchPaletteDirective(line);
    require(found.matched == expected.hasMatch());
    require(!found.matched ||
            (found.start == expected.capturedStart(0) && found.end == expected.capturedEnd(0) &&
             found.name == expected.captured(1) && found.colorText == expected.captured(2)));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text =
        QString::fromUtf8(reinterpret_cast<const char *>(data), static_cast<int>(size));

    // A colour no directive can produce, so every write shows.
    const QPalette before(QColor(1, 2, 3), QColor(4, 5, 6));
    QPalette palette = before;
    applyPaletteDirectivesFromText(palette, text);
    for (const QStringView line : QStringView(text).split(QLatin1Char('\n')))
        requireSameAsExpression(line);

    // Only the nine named roles may change, whatever the text.
    for (int r = 0; r < QPalette::NColorRoles; ++r) {
        const auto role = static_cast<QPalette::ColorRole>(r);
        // The toolkit derives the placeholder colour from Text when Text is set.
        if (isDirectiveRole(role) || role == QPalette::PlaceholderText)
            continue;
        for (int g = 0; g < QPalette::NColorGroups; ++g) {
            const auto group = static_cast<QPalette::ColorGroup>(g);
            if (palette.brush(group, role) != before.brush(group, role))
                std::abort();
        }
    }
    return 0;
}
