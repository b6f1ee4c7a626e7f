// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "analysis/checks/checks.h"
#include "analysis/colourliterals.h"
#include "analysis/toolkitsheet.h"

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

void checkEightDigitHex(const SheetModel &model, CheckReporter &report)
{
    const auto &symbols = model.parser().symbols;
    for (const SheetRule &rule : model.rules) {
        for (const SheetDeclaration &entry : rule.declarations) {
            for (int i : colourTokens(symbols, entry)) {
                const QString written = symbols.at(i).lexem();
                EightDigitHex readings;
                if (!readEightDigitHex(written, &readings))
                    continue;
                const int offset = model.symbolOffset(i);
                // An escape writes the token longer than the toolkit reads it.
                const int length =
                    (i + 1 < symbols.size() ? model.symbolOffset(i + 1) : int(model.text.size())) -
                    offset;
                report.at(offset, length,
                          QStringLiteral("%1 is read alpha first (#AARRGGBB) as %2; written in "
                                         "CSS order (#RRGGBBAA) it would mean %3")
                              .arg(written, rgbaFunctionText(readings.alphaFirst),
                                   rgbaFunctionText(readings.alphaLast)));
                // A colour nobody sees, where the other order gives one that shows, was
                // written in CSS order.
                const bool evident =
                    readings.alphaFirst.alpha() == 0 && readings.alphaLast.alpha() != 0;
                report.mendByReplacing(offset, length, rgbaFunctionText(readings.alphaLast),
                                       evident);
            }
        }
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
    "opaque dark blue. Write rgba() instead, which reads the same everywhere. The fix "
    "offered writes the CSS-order reading as rgba().",
    "QLabel { background: #ff000080; }",
    "QLabel { background: rgba(255, 0, 0, 128); }",
    checkEightDigitHex,
    nullptr,
    "writes the CSS-order reading as `rgba()`: safe when the toolkit's reading is fully "
    "transparent and the CSS-order one is not (nobody writes a colour that never shows, so "
    "the author wrote CSS order), unsafe otherwise (it changes what the toolkit paints)",
};
