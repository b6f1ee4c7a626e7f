// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "analysis/selectorindex.h"

SelectorIndex::SelectorIndex(const SheetModel &model)
    : model(model)
{
    QHash<QString, int> texts;
    // Keyed by the selector text (shared, not copied) and a hash of the rule's content.
    // The value is where that copy stands: its group and its place there.
    QHash<QPair<QString, uint>, QPair<QString, int>> lastCopy;
    for (const SheetRule &rule : model.rules) {
        uint content = 0;
        for (const SheetDeclaration &declaration : rule.declarations)
            content = qHash(declaration.valueText, qHash(declaration.property, content));
        for (const SheetSelector &selector : rule.selectors) {
            if (selector.hasAncestors)
                continue;
            const int text =
                *texts.insert(selector.text, texts.value(selector.text, texts.size()));
            const QString bucket = key(selector.subcontrol, selector.element);
            QVector<IndexedSelector> &group = selectors[bucket];
            group.append({&rule, &selector, text, false});
            const QPair<QString, uint> copy(selector.text, content);
            const auto previous = lastCopy.constFind(copy);
            if (previous != lastCopy.cend())
                selectors[previous->first][previous->second].repeatedLater = true;
            lastCopy.insert(copy, qMakePair(bucket, int(group.size() - 1)));
            for (const SheetDeclaration &declaration : rule.declarations) {
                declarations[declaration.property + QLatin1Char('\n') + bucket].append(
                    {&rule, &selector, &declaration, text});
            }
        }
    }
}

QString SelectorIndex::key(const QString &subcontrol, const QString &element)
{
    return subcontrol + QLatin1Char('\n') + element;
}

QStringList SelectorIndex::classAndBases(const QString &element) const
{
    QStringList names = model.classes.ancestry(element);
    names.append(QString());
    return names;
}

QVector<IndexedSelector> SelectorIndex::forClass(const QString &subcontrol,
                                                 const QString &element) const
{
    QVector<IndexedSelector> found;
    for (const QString &name : classAndBases(element))
        found += selectors.value(key(subcontrol, name));
    return found;
}

QVector<IndexedDeclaration> SelectorIndex::settingProperty(const QString &property,
                                                           const QString &subcontrol,
                                                           const QString &element) const
{
    QVector<IndexedDeclaration> found;
    for (const QString &name : classAndBases(element))
        found += declarations.value(property + QLatin1Char('\n') + key(subcontrol, name));
    return found;
}

const SelectorIndex &SheetModel::selectorIndex() const
{
    if (!index)
        index = std::make_shared<const SelectorIndex>(*this);
    return *index;
}
