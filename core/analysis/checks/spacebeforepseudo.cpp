// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "analysis/checks/checks.h"
#include "analysis/toolkitsheet.h"

using namespace QCss;

namespace {
// A blank between a compound and ":" or "::" makes the toolkit read a descendant
// selector, "QComboBox *::drop-down": the pseudo-state or subcontrol is then asked of
// every descendant, and the widget the author named is not styled at all.
void checkSpaceBeforePseudo(const SheetModel &model, CheckReporter &report)
{
    const auto &symbols = model.parser().symbols;
    for (const SheetRule &rule : model.rules) {
        TokenType beforeBlank = NONE;
        for (int i = rule.firstSymbol; i < rule.braceSymbol; ++i) {
            const TokenType token = symbols.at(i).token;
            if (token != S) {
                beforeBlank = token;
                continue;
            }
            const int blank = i;
            while (i + 1 < rule.braceSymbol && symbols.at(i + 1).token == S)
                ++i;
            const bool afterCompound =
                beforeBlank == IDENT || beforeBlank == RBRACKET || beforeBlank == STAR;
            if (!afterCompound || i + 1 >= rule.braceSymbol || symbols.at(i + 1).token != COLON)
                continue;
            const bool doubleColon = i + 2 < rule.braceSymbol && symbols.at(i + 2).token == COLON;
            const int start = model.symbolOffset(blank);
            const int colon = model.symbolOffset(i + 1);
            const int name = i + (doubleColon ? 3 : 2);
            const QString word = name < rule.braceSymbol ? symbols.at(name).lexem() : QString();
            report.at(
                start, colon - start,
                QStringLiteral("the blank before \"%1%2\" makes a descendant selector: the "
                               "toolkit styles the %3 of every widget inside, not of the "
                               "widget before it")
                    .arg(doubleColon ? QStringLiteral("::") : QStringLiteral(":"), word,
                         doubleColon ? QStringLiteral("subcontrol") : QStringLiteral("state")));
            report.mendByReplacing(start, colon - start, QString(), false);
        }
    }
}
} // namespace

const LintCheck kSpaceBeforePseudoCheck = {
    "space-before-pseudo",
    LintSeverity::Warning,
    true,
    0,
    "a blank before \":state\" or \"::subcontrol\": a descendant selector nobody meant",
    "A blank between a widget and its pseudo-state or subcontrol turns the selector into a "
    "descendant selector: \"QComboBox ::drop-down\" is \"QComboBox *::drop-down\", the "
    "drop-down of any widget inside a combo box, and the combo box's own drop-down keeps its "
    "look. The fix offered removes the blank; it changes what the rule styles, to what it "
    "reads as.",
    "QComboBox ::drop-down { width: 12px; }",
    "QComboBox::drop-down { width: 12px; }",
    checkSpaceBeforePseudo,
};
