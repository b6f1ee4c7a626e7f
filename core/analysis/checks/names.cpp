// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "analysis/checks/names.h"

#include "analysis/qssreference.h"
#include "analysis/toolkitsheet.h"

using namespace QCss;

namespace {
// Calls found(symbol, word) for each name of the wanted kind in the rule's selectors
// that the reference does not know. Only names of that kind are read and looked up:
// each of the three checks walks every selector.
template <typename Found>
void scanSelectorNames(const SheetModel &context, const SheetRule &rule, NameKind wanted,
                       Found found, bool unknownOnly = true)
{
    const auto &symbols = context.parser().symbols;
    TokenType previous = NONE;
    for (int i = rule.firstSymbol; i < rule.braceSymbol; ++i) {
        const TokenType token = symbols.at(i).token;
        if (token == LBRACKET) {
            while (i < rule.braceSymbol && symbols.at(i).token != RBRACKET)
                ++i;
            previous = RBRACKET;
            continue;
        }
        if (token == IDENT && (previous == NONE || previous == S || previous == COMMA ||
                               previous == GREATER || previous == PLUS || previous == TILDE)) {
            if (wanted == NameKind::Widget) {
                const QString name = symbols.at(i).lexem();
                if (!unknownOnly || !context.classes.isKnown(name))
                    found(i, name);
            }
        } else if (token == DOT && i + 1 < rule.braceSymbol) {
            // A class selector: the IDENT after it is a class, never a type selector.
            ++i;
            if (wanted == NameKind::ClassSelector && symbols.at(i).token == IDENT) {
                const QString name = symbols.at(i).lexem();
                if (!unknownOnly || !context.classes.isKnown(name))
                    found(i, name);
            }
        } else if (token == COLON) {
            const bool doubleColon = i + 1 < rule.braceSymbol && symbols.at(i + 1).token == COLON;
            int name = i + (doubleColon ? 2 : 1);
            if (name < rule.braceSymbol && symbols.at(name).token == EXCLAMATION_SYM)
                ++name;
            if (name < rule.braceSymbol && symbols.at(name).token == IDENT) {
                const NameKind kind = doubleColon ? NameKind::Subcontrol : NameKind::PseudoState;
                if (kind == wanted) {
                    const QString word = symbols.at(name).lexem();
                    const bool known = QssReference::isKnownPseudoState(word) ||
                                       QssReference::isKnownSubcontrol(word);
                    if (!known)
                        found(name, word);
                }
                i = name;
            }
            previous = IDENT;
            continue;
        }
        previous = token;
    }
}
} // namespace

void reportSelectorNames(const SheetModel &model, NameKind wanted,
                         const std::function<void(int offset, const QString &word)> &report)
{
    for (const SheetRule &rule : model.rules) {
        scanSelectorNames(model, rule, wanted, [&](int symbol, const QString &word) {
            report(model.symbolOffset(symbol), word);
        });
    }
}

void reportClassNames(const SheetModel &model,
                      const std::function<void(int offset, const QString &name)> &found)
{
    for (const SheetRule &rule : model.rules) {
        for (const NameKind kind : {NameKind::Widget, NameKind::ClassSelector})
            scanSelectorNames(
                model, rule, kind,
                [&](int symbol, const QString &name) { found(model.symbolOffset(symbol), name); },
                false);
    }
}

void reportObjectNames(
    const SheetModel &model,
    const std::function<void(int offset, const QString &name, const QString &element)> &found)
{
    const auto &symbols = model.parser().symbols;
    for (const SheetRule &rule : model.rules) {
        QString element;
        TokenType previous = NONE;
        for (int i = rule.firstSymbol; i < rule.braceSymbol; ++i) {
            const TokenType token = symbols.at(i).token;
            if (token == LBRACKET) {
                while (i < rule.braceSymbol && symbols.at(i).token != RBRACKET)
                    ++i;
            } else if (token == S || token == COMMA || token == GREATER || token == PLUS ||
                       token == TILDE) {
                element.clear();
            } else if (token == IDENT &&
                       (previous == NONE || previous == S || previous == COMMA ||
                        previous == GREATER || previous == PLUS || previous == TILDE)) {
                element = symbols.at(i).lexem();
            } else if (token == HASH) {
                found(model.symbolOffset(i) + 1, symbols.at(i).lexem().mid(1), element);
            } else if (token == DOT || token == COLON) {
                // What follows names a class, a state or a subcontrol, not the element.
                if (i + 1 < rule.braceSymbol && symbols.at(i + 1).token != HASH)
                    ++i;
            }
            previous = symbols.at(i).token;
        }
    }
}

bool isKnownProperty(const SheetModel &model, const SheetDeclaration &entry)
{
    if (model.options.properties.contains(entry.property))
        return true;
    const bool knownToParser = entry.toolkit->d->propertyId != UnknownProperty;
    return QssReference::isKnownProperty(entry.property, knownToParser, model.options.qtVersion);
}

QStringList namesOf(const QVector<QssReference::NameInfo> &table)
{
    QStringList result;
    for (const QssReference::NameInfo &entry : table)
        result.append(entry.name);
    return result;
}

int declarationLength(const SheetModel &model, const SheetDeclaration &entry)
{
    const auto &symbols = model.parser().symbols;
    int i = entry.endSymbol;
    while (i < symbols.size() && symbols.at(i).token == S)
        ++i;
    if (i < symbols.size() && symbols.at(i).token == SEMICOLON) {
        ++i;
        while (i < symbols.size() && symbols.at(i).token == S)
            ++i;
    }
    const int end = i < symbols.size() ? model.symbolOffset(i) : int(model.text.size());
    return end - entry.offset;
}
