// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "analysis/checks/checks.h"
#include "analysis/colourliterals.h"
#include "analysis/toolkitsheet.h"

#include <QSet>

#include <algorithm>

using namespace QCss;

namespace {
// The HASH tokens of a declaration's value that are "#" and eight characters, url()
// arguments left out: a file name may hold "#" and eight hexadecimal digits without
// being a colour.
QVector<int> colourTokens(const QVector<Symbol> &symbols, const SheetDeclaration &entry)
{
    QVector<int> result;
    int insideUrl = 0;
    for (int i = entry.firstSymbol; i < entry.endSymbol && i < symbols.size(); ++i) {
        const Symbol &symbol = symbols.at(i);
        if (insideUrl > 0) {
            if (symbol.token == FUNCTION || symbol.token == LPAREN)
                ++insideUrl;
            else if (symbol.token == RPAREN)
                --insideUrl;
            continue;
        }
        // The lengths first: a token's text is copied out to be compared.
        if (symbol.token == FUNCTION && symbol.len == 4 &&
            symbol.lexem().compare(QLatin1String("url("), Qt::CaseInsensitive) == 0)
            insideUrl = 1;
        else if (symbol.token == HASH && symbol.len == 9)
            result.append(i);
    }
    return result;
}

// One eight-digit colour of a declaration, read both ways.
struct HexColour
{
    int offset = 0;
    int length = 0;
    QString written;
    EightDigitHex readings;
};

// How a colour reads when every eight digits of the sheet are read one way, and what
// the sheet's other colours (read as the toolkit reads them) say of that way.
class SheetColours
{
public:
    SheetColours(const QString &text, const QVector<HexColour> &hexes)
        : hexes(hexes)
    {
        for (const ColourLiteral &literal : findColourLiterals(text)) {
            EightDigitHex unused;
            if (literal.inPaletteDirective ||
                !readEightDigitHex(text.mid(literal.offset, literal.length), &unused))
                fixed.append(literal.colour);
        }
    }

    // The opacities the sheet gives the colour's red, green and blue when eight
    // digits are read alpha first (or last); a colour nobody sees has no hue to count.
    QSet<int> opacitiesOf(const QColor &colour, bool alphaFirst) const
    {
        QSet<int> alphas;
        const auto count = [&](const QColor &other) {
            if (other.alpha() != 0 && other.rgb() == colour.rgb())
                alphas.insert(other.alpha());
        };
        for (const QColor &other : fixed)
            count(other);
        for (const HexColour &hex : hexes)
            count(alphaFirst ? hex.readings.alphaFirst : hex.readings.alphaLast);
        return alphas;
    }

    // Whether the sheet has the opaque colour anywhere but in eight digits written
    // as written here.
    bool usesElsewhere(const QColor &colour, const QString &written) const
    {
        const auto same = [&](const QColor &other) { return other.rgba() == colour.rgba(); };
        return std::any_of(fixed.cbegin(), fixed.cend(), same) ||
               std::any_of(hexes.cbegin(), hexes.cend(), [&](const HexColour &hex) {
                   return hex.written.compare(written, Qt::CaseInsensitive) != 0 &&
                          same(hex.readings.alphaLast);
               });
    }

    // Why the sheet shows the toolkit's reading is meant, or "" when it does not.
    QString alphaFirstEvidence(const HexColour &hex) const
    {
        const QColor &first = hex.readings.alphaFirst;
        const QColor &last = hex.readings.alphaLast;
        const int shades = opacitiesOf(first, true).size();
        if (shades > 1 && first.alpha() != 0 && opacitiesOf(last, false).size() < 2)
            return QStringLiteral("read so, the sheet uses rgb(%1, %2, %3) at %4 opacities")
                .arg(first.red())
                .arg(first.green())
                .arg(first.blue())
                .arg(shades);
        if (last.alpha() == 255 && !usesElsewhere(last, hex.written))
            return QStringLiteral("in CSS order it would be the opaque %1, a colour the sheet "
                                  "uses nowhere else")
                .arg(last.name());
        return QString();
    }

private:
    const QVector<HexColour> &hexes;
    QVector<QColor> fixed;
};

QVector<HexColour> hexColoursOf(const SheetModel &model)
{
    QVector<HexColour> found;
    const auto &symbols = model.parser().symbols;
    for (const SheetRule &rule : model.rules) {
        for (const SheetDeclaration &entry : rule.declarations) {
            for (int i : colourTokens(symbols, entry)) {
                HexColour hex;
                hex.written = symbols.at(i).lexem();
                if (!readEightDigitHex(hex.written, &hex.readings))
                    continue;
                hex.offset = model.symbolOffset(i);
                // An escape writes the token longer than the toolkit reads it.
                hex.length =
                    (i + 1 < symbols.size() ? model.symbolOffset(i + 1) : int(model.text.size())) -
                    hex.offset;
                found.append(hex);
            }
        }
    }
    return found;
}

void checkEightDigitHex(const SheetModel &model, CheckReporter &report)
{
    const QVector<HexColour> hexes = hexColoursOf(model);
    if (hexes.isEmpty())
        return;
    const SheetColours sheet(model.text, hexes);
    for (const HexColour &hex : hexes) {
        const QString toolkit = rgbaFunctionText(hex.readings.alphaFirst);
        const QString css = rgbaFunctionText(hex.readings.alphaLast);
        const QString readings = QStringLiteral("%1 is read alpha first (#AARRGGBB) as %2; "
                                                "written in CSS order (#RRGGBBAA) it would mean %3")
                                     .arg(hex.written, toolkit, css);
        const QString toolkitTitle =
            QStringLiteral("Keep what the toolkit paints: %1").arg(toolkit);
        const QString cssTitle = QStringLiteral("Read it in CSS order: %1").arg(css);
        // A colour nobody sees, where the other order gives one that shows, was
        // written in CSS order.
        if (hex.readings.alphaFirst.alpha() == 0 && hex.readings.alphaLast.alpha() != 0) {
            report.at(hex.offset, hex.length, readings);
            report.mendByReplacing(hex.offset, hex.length, css, true, cssTitle);
            continue;
        }
        const QString evidence = sheet.alphaFirstEvidence(hex);
        if (!evidence.isEmpty()) {
            report.at(hex.offset, hex.length, LintSeverity::Note,
                      readings + QStringLiteral(". Alpha first looks meant: ") + evidence);
            report.mendByReplacing(hex.offset, hex.length, toolkit, true, toolkitTitle);
            report.mendByReplacing(hex.offset, hex.length, css, false, cssTitle);
            continue;
        }
        // Either may be meant: the CSS reading for --unsafe-fixes, which come first,
        // and the toolkit's, which paints the same, for --fix.
        report.at(hex.offset, hex.length, readings);
        report.mendByReplacing(hex.offset, hex.length, css, false, cssTitle);
        report.mendByReplacing(hex.offset, hex.length, toolkit, true, toolkitTitle);
    }
}
} // namespace

const LintCheck kEightDigitHexCheck = {
    "eight-digit-hex",
    LintSeverity::Warning,
    true,
    0,
    "an eight-digit `#hex` colour, which the toolkit reads as `#AARRGGBB`, not CSS's "
    "`#RRGGBBAA`",
    "The toolkit reads eight hexadecimal digits alpha first, #AARRGGBB, while CSS, design "
    "tools and the design tokens format write #RRGGBBAA. A colour copied from them comes out "
    "in another colour and opacity: #ff000080, meant as half-transparent red, is read as an "
    "opaque dark blue. Write rgba() instead, which reads the same everywhere. Code written "
    "for the toolkit often means alpha first, and where the sheet shows it (one colour at "
    "several opacities, as #99448aff and #4c448aff, or a CSS-order reading that would be an "
    "opaque colour the sheet uses nowhere else) the finding is a note that says so.",
    "QLabel { background: #ff000080; }",
    "QLabel { background: rgba(255, 0, 0, 128); }",
    checkEightDigitHex,
    nullptr,
    "writes the toolkit's reading as `rgba()` (safe: it paints the same, and reads the same "
    "everywhere), or the CSS-order reading (unsafe: it changes what the toolkit paints; "
    "`--unsafe-fixes` writes it, unless the sheet shows alpha first is meant). When the "
    "toolkit's reading is fully transparent and the CSS-order one is not, the CSS-order "
    "reading is the one fix, and safe: nobody writes a colour that never shows, so the "
    "author wrote CSS order",
};
