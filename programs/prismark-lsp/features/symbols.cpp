// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "prismark-lsp/features/symbols.h"

#include "prismark-lsp/features/sheetcontext.h"
#include "theme/palettedirectives.h"

QVector<SymbolInfo> documentSymbols(const QString &text)
{
    QVector<SymbolInfo> result;
    for (const RuleSpan &rule : ruleSpans(text)) {
        const QString selector =
            text.mid(rule.selectorStart, rule.selectorEnd - rule.selectorStart).simplified();
        if (selector.isEmpty())
            continue;
        int nameEnd = rule.selectorEnd;
        while (nameEnd > rule.selectorStart && text.at(nameEnd - 1).isSpace())
            --nameEnd;
        result.append({selector,
                       QString(),
                       LspKind::SymbolClass,
                       {rule.selectorStart, rule.end},
                       {rule.selectorStart, nameEnd}});
    }
    for (const PaletteDirectiveLine &line : paletteDirectiveLines(text)) {
        const PaletteDirectiveMatch &match = line.match;
        if (!match.matched)
            continue;
        const int start = line.lineStart + match.start;
        result.append({QStringLiteral("@palette %1").arg(match.name),
                       match.colorText,
                       LspKind::SymbolConstant,
                       {start, line.lineStart + match.end},
                       {start, start + int(kPaletteKeyword.size()) + 1 + int(match.name.size())}});
    }
    return result;
}
