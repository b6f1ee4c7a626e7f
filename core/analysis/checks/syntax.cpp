// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "analysis/checks/checks.h"
#include "analysis/toolkitsheet.h"

#include <QStringList>

#include <algorithm>

using namespace QCss;

namespace {
QString tokenDescription(const SheetModel &context, int symbolIndex)
{
    const auto &symbols = context.parser().symbols;
    if (symbolIndex >= symbols.size())
        return QStringLiteral("the end of the text");
    const Symbol &symbol = symbols.at(symbolIndex);
    if (symbol.token == S)
        return QStringLiteral("white space");
    QString lexem = symbol.lexem().trimmed();
    if (lexem.size() > 30)
        lexem = lexem.left(27) + QStringLiteral("...");
    return QStringLiteral("\"%1\"").arg(lexem);
}

void checkSyntax(const SheetModel &context, CheckReporter &report)
{
    if (context.isReference) {
        if (context.reference.readable && !context.reference.accepted) {
            report.atLine(1, 1,
                          QStringLiteral("the toolkit reads the style sheet from \"%1\" and "
                                         "rejects it: check that file")
                              .arg(context.reference.name));
        }
        return;
    }
    const auto &symbols = context.parser().symbols;
    // Declarations dropped for want of "name: value"; those with a value the toolkit
    // cannot read are bad values.
    for (const DroppedDeclaration &dropped : context.dropped) {
        bool colon = false;
        for (int i = dropped.firstSymbol; i < dropped.failedSymbol && i < symbols.size(); ++i)
            colon = colon || symbols.at(i).token == COLON;
        if (!colon) {
            const int start = context.symbolOffset(dropped.firstSymbol);
            report.at(start,
                      context.tokensEnd(dropped.firstSymbol, dropped.failedSymbol + 1) - start,
                      LintSeverity::Warning,
                      QStringLiteral("the toolkit drops this declaration: expected \"name: "
                                     "value\", found %1")
                          .arg(tokenDescription(context, dropped.failedSymbol)));
        }
    }
    if (context.syntaxAccepted)
        return;
    const SyntaxFailure &failure = context.syntaxFailure;
    const int at = failure.symbol;
    // "color: red background: blue;" reads "background" as part of the first value
    // and stops at its ":"; the ";" is missing at the end of the value before it.
    if (!failure.unclosed && at < symbols.size() && symbols.at(at).token == COLON &&
        failure.expected.startsWith(QLatin1String("\";\""))) {
        int name = at - 1;
        while (name > 0 && symbols.at(name).token == S)
            --name;
        int value = name - 1;
        while (value > 0 && symbols.at(value).token == S)
            --value;
        if (name > 0 && value >= 0 && symbols.at(name).token == IDENT) {
            const int end =
                context.symbolOffset(value) + symbols.at(value).lexem().trimmed().size();
            report.at(end, context.tokensEnd(name, name + 1) - end,
                      QStringLiteral("the toolkit rejects the whole style sheet here: "
                                     "expected \";\" before \"%1\" (it reads \"%1\" as part "
                                     "of this value and stops at the \":\" after it)")
                          .arg(symbols.at(name).lexem()));
            report.mendBy(end, QStringLiteral(";"));
            return;
        }
    }
    const QString message =
        failure.unclosed
            ? QStringLiteral("the toolkit rejects the whole style sheet: this \"{\" is never "
                             "closed, the text ends before its \"}\"")
            : QStringLiteral("the toolkit rejects the whole style sheet here: expected %1, found "
                             "%2")
                  .arg(failure.expected, tokenDescription(context, at));
    const int start = context.symbolOffset(at);
    report.at(start, qMax(1, context.tokensEnd(at, at + 1) - start), message);
    const bool endsInRule =
        at >= symbols.size() && failure.expected.startsWith(QLatin1String("\";\" or \"}\""));
    if (failure.unclosed || endsInRule) {
        const bool newline = context.text.endsWith(QLatin1Char('\n'));
        report.mendBy(int(context.text.size()),
                      newline ? QStringLiteral("}\n") : QStringLiteral("\n}"));
    }
}
} // namespace

const LintCheck kSyntaxCheck = {
    "syntax",
    LintSeverity::Error,
    true,
    CheckFlag::RefusesInstall | CheckFlag::ToolkitParse,
    "the toolkit's own parser rejects the sheet (and then drops all of it): where it stops "
    "and what it expected there; a declaration it drops inside an accepted sheet is a "
    "warning",
    "The toolkit parses a style sheet whole: at its first error it installs none of it, and "
    "the application falls back to its plain look without a word. The finding says where the "
    "toolkit's own parser stops and what it expected there; a missing \";\" or \"}\" it can "
    "name comes with its fix. A declaration without a colon is only dropped, and reported as "
    "a warning.",
    "QPushButton { color: red background: blue; }",
    "QPushButton { color: red; background: blue; }",
    checkSyntax,
    nullptr,
    "a \";\" missing at the end of a value before the next declaration is inserted, and a rule "
    "still open at the end of the text is closed with \"}\" (both safe: the toolkit rejects the "
    "sheet without them, and they are the only reading in which every declaration stays one)",
};
