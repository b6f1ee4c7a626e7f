// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "analysis/checks/checks.h"
#include "analysis/colourliterals.h"
#include "analysis/toolkitsheet.h"

#include <QRegularExpression>

using namespace QCss;

namespace {
// The token paths of the candidates, in path order, as references.
void proposeTokens(const SheetModel &model, CheckReporter &report, int offset, int length,
                   const QString &written, const QStringList &paths)
{
    if (paths.isEmpty())
        return;
    const QString first = QLatin1Char('{') + paths.first() + QLatin1Char('}');
    if (paths.size() == 1) {
        report.at(offset, length,
                  QStringLiteral("%1 is the value of the token %2: write the reference")
                      .arg(written, first));
    } else {
        QStringList others;
        for (int i = 1; i < paths.size(); ++i)
            others << QLatin1Char('{') + paths.at(i) + QLatin1Char('}');
        report.at(offset, length,
                  QStringLiteral("%1 is the value of the tokens %2 and %3%4")
                      .arg(written, first, others.join(QLatin1String(", ")),
                           model.options.builtFromTemplate
                               ? QStringLiteral(": the fix writes the first; choose the one meant")
                               : QString()));
    }
    // One token is the one meant; among several the first is a guess. A plain sheet
    // is told the token but not edited: it must become a template first.
    if (model.options.builtFromTemplate)
        report.mendByReplacing(offset, length, first, paths.size() == 1);
}

void checkColours(const SheetModel &model, const UniformTokens &tokens, CheckReporter &report)
{
    // Comments, url()s and the palette lines are left out: the palette's colours
    // are written as references in a template's own way, and a path is no colour.
    for (const ColourLiteral &literal : findColourLiterals(model.text)) {
        if (literal.inPaletteDirective)
            continue;
        QStringList paths;
        for (const UniformToken &token : tokens) {
            if (token.colour.isValid() && token.colour.rgba() == literal.colour.rgba())
                paths << token.path;
        }
        proposeTokens(model, report, literal.offset, literal.length,
                      model.text.mid(literal.offset, literal.length), paths);
    }
}

// "4px" -> 4 and "px"; false for what is no plain length.
bool readLength(const QString &written, double *amount, QString *unit)
{
    static const QRegularExpression length(
        QStringLiteral("^([+-]?(?:\\d+\\.?\\d*|\\.\\d+))([a-zA-Z]+)$"));
    const QRegularExpressionMatch match = length.match(written);
    if (!match.hasMatch())
        return false;
    *amount = match.captured(1).toDouble();
    *unit = match.captured(2).toLower();
    return true;
}

void checkLengths(const SheetModel &model, const UniformTokens &tokens, CheckReporter &report)
{
    const auto &symbols = model.parser().symbols;
    for (const SheetRule &rule : model.rules) {
        for (const SheetDeclaration &entry : rule.declarations) {
            int insideFunction = 0;
            for (int i = entry.firstSymbol; i < entry.endSymbol && i < symbols.size(); ++i) {
                const Symbol &symbol = symbols.at(i);
                // A length inside a function (a gradient's stop, a url) is its argument.
                if (symbol.token == FUNCTION || (insideFunction > 0 && symbol.token == LPAREN))
                    ++insideFunction;
                else if (symbol.token == RPAREN && insideFunction > 0)
                    --insideFunction;
                if (insideFunction > 0 || symbol.token != LENGTH)
                    continue;
                const QString written = symbol.lexem();
                double amount = 0;
                QString unit;
                // Nothing is gained by naming zero.
                if (!readLength(written, &amount, &unit) || amount == 0)
                    continue;
                QStringList paths;
                for (const UniformToken &token : tokens) {
                    if (!token.colour.isValid() && token.length == amount &&
                        token.unit.compare(unit, Qt::CaseInsensitive) == 0)
                        paths << token.path;
                }
                const int offset = model.symbolOffset(i);
                const int end =
                    i + 1 < symbols.size() ? model.symbolOffset(i + 1) : int(model.text.size());
                proposeTokens(model, report, offset, end - offset, written, paths);
            }
        }
    }
}

void checkUseToken(const SheetModel &model, CheckReporter &report)
{
    const std::shared_ptr<const UniformTokens> tokens = model.options.tokens;
    if (!tokens || tokens->isEmpty() || !model.syntaxAccepted)
        return;
    checkColours(model, *tokens, report);
    checkLengths(model, *tokens, report);
}
} // namespace

const LintCheck kUseTokenCheck = {
    "use-token",
    LintSeverity::Note,
    true,
    CheckFlag::ProposesEdit,
    "a colour or length written out that equals a design token's value in every variant",
    "A theme written as tokens keeps each colour and size in one place: a literal that "
    "happens to equal a token's value is left behind when the token changes, and one variant "
    "drifts from the rest. The check compares colours by what they paint (#fff, #ffffff and "
    "white are the same), lengths by amount and unit, and proposes the token whose value the "
    "literal equals in every variant. It runs on a template (`.qss.in`) with the template's "
    "own tokens, and on a plain sheet when tokens are named by `--tokens` or the \"tokens\" "
    "key. The palette lines and url()s are left alone.",
    "/* with the token color.accent = #3daee9 */\nQLabel { color: #3daee9; }",
    "/* in the template */\nQLabel { color: {color.accent}; }",
    checkUseToken,
    "\"tokens\": a token file or a template whose tokens a plain sheet is checked against",
    "in a template, writes the reference `{path}`: safe when exactly one token has the value, "
    "unsafe when several do (the first by path is written and the others named in the "
    "message). None in a plain sheet, where the toolkit reads no reference",
};
