// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "analysis/selectorindex.h"

#include <QSet>

SelectorIndex::SelectorIndex(const SheetModel &model)
    : model(model)
{
    QHash<QString, int> texts;
    // Keyed by the selector text (shared, not copied) and a hash of the rule's content.
    // The value is where that copy stands: its group and its place there.
    QHash<QPair<QString, uint>, QPair<QString, int>> lastCopy;
    QSet<QPair<QString, int>> repeated;
    for (const SheetRule &rule : model.rules) {
        uint content = 0;
        for (const SheetDeclaration &declaration : rule.declarations)
            content = qHash(declaration.valueText, qHash(declaration.property, content));
        for (const SheetSelector &selector : rule.selectors) {
            if (selector.hasAncestors)
                continue;
            const int text = *texts.insert(selector.text, texts.value(selector.text, texts.size()));
            const QString bucket = key(selector.subcontrol, selector.element);
            QVector<IndexedSelector> &group = selectors[bucket];
            group.append({&rule, &selector, text});
            const QPair<QString, uint> copy(selector.text, content);
            const auto previous = lastCopy.constFind(copy);
            if (previous != lastCopy.cend())
                repeated.insert(qMakePair(previous->first, previous->second));
            lastCopy.insert(copy, qMakePair(bucket, int(group.size() - 1)));
            for (const SheetDeclaration &declaration : rule.declarations) {
                declarations[declaration.property + QLatin1Char('\n') + bucket].append(
                    {&rule, &selector, &declaration, text});
            }
        }
    }
    for (auto group = selectors.begin(); group != selectors.end(); ++group) {
        QVector<IndexedSelector> latest;
        for (int i = 0; i < group->size(); ++i) {
            if (!repeated.contains(qMakePair(group.key(), i)))
                latest.append(group->at(i));
        }
        *group = latest;
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
