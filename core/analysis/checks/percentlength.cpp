// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "analysis/checks/checks.h"
#include "analysis/qssreference.h"
#include "analysis/toolkitsheet.h"

#include <algorithm>

using namespace QCss;

namespace {
void checkPercentLengths(const SheetModel &model, CheckReporter &report)
{
    const auto &symbols = model.parser().symbols;
    for (const SheetRule &rule : model.rules) {
        for (const SheetDeclaration &entry : rule.declarations) {
            // The tokens first: few values hold a percentage, and looking the property
            // up costs more than the walk.
            const auto percentage =
                std::find_if(symbols.cbegin() + qMin(entry.firstSymbol, int(symbols.size())),
                             symbols.cbegin() + qMin(entry.endSymbol, int(symbols.size())),
                             [](const Symbol &symbol) { return symbol.token == PERCENTAGE; });
            if (percentage == symbols.cbegin() + qMin(entry.endSymbol, int(symbols.size())) ||
                QssReference::valueKind(entry.property.toLower()) !=
                    QssReference::ValueKind::Length)
                continue;
            for (int i = entry.firstSymbol; i < entry.endSymbol && i < symbols.size(); ++i) {
                if (symbols.at(i).token != PERCENTAGE)
                    continue;
                const QString written = symbols.at(i).lexem();
                const int offset = model.symbolOffset(i);
                report.at(offset, int(written.size()),
                          QStringLiteral("\"%1\" of %2: the toolkit's lengths take no "
                                         "percentages; it reads %3px, never a share of the "
                                         "parent")
                              .arg(written, entry.property, written.chopped(1)));
                // The toolkit reads the bare number as pixels: "px" keeps what it paints.
                report.mendByReplacing(offset + int(written.size()) - 1, 1, QStringLiteral("px"),
                                       true);
            }
        }
    }
}
} // namespace

const LintCheck kPercentLengthCheck = {
    "percent-length",
    LintSeverity::Warning,
    true,
    0,
    "a length in %, which the toolkit's lengths do not take",
    "The toolkit's reference gives lengths in px, pt, em and ex only. A percentage is not a "
    "share of the parent or of the font: the toolkit reads the bare number as pixels, so "
    "\"50%\" is 50px whatever the widget's size. The fix offered writes \"px\" for the "
    "\"%\", which keeps what the toolkit paints; then write the size you want.",
    "QPushButton { min-width: 50%; }",
    "QPushButton { min-width: 8em; }",
    checkPercentLengths,
};
