// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "analysis/selectorindex.h"

#include <QSet>

#include <algorithm>

SelectorIndex::SelectorIndex(const SheetModel &model)
    : model(model)
{
    QHash<QString, int> texts;
    QHash<QString, int> values;
    QVector<int> ruleValues;
    // Keyed by the selector text (shared, not copied) and a hash of the rule's content.
    // The value is where that copy stands in all.
    QHash<QPair<QString, uint>, int> lastCopy;
    QSet<int> repeated;
    for (const SheetRule &rule : model.rules) {
        uint content = 0;
        ruleValues.clear();
        for (const SheetDeclaration &declaration : rule.declarations) {
            content = qHash(declaration.valueText, qHash(declaration.property, content));
            ruleValues.append(*values.insert(declaration.valueText,
                                             values.value(declaration.valueText, values.size())));
        }
        for (const SheetSelector &selector : rule.selectors) {
            if (selector.hasAncestors)
                continue;
            auto known = texts.constFind(selector.text);
            if (known == texts.cend())
                known = texts.insert(selector.text, texts.size());
            const int text = *known;
            const Bucket bucket{selector.subcontrol, selector.element, QString()};
            all.append({&rule, &selector, text});
            const int place = int(all.size() - 1);
            selectors[bucket].append(place);
            const QPair<QString, uint> copy(selector.text, content);
            const auto previous = lastCopy.constFind(copy);
            if (previous != lastCopy.cend())
                repeated.insert(*previous);
            lastCopy.insert(copy, place);
            for (int d = 0; d < rule.declarations.size(); ++d) {
                declarations[Bucket{selector.subcontrol, selector.element,
                                    rule.declarations.at(d).property}]
                    .append({place, d, ruleValues.at(d)});
            }
        }
    }
    for (QVector<int> &group : selectors) {
        group.erase(std::remove_if(group.begin(), group.end(),
                                   [&repeated](int place) { return repeated.contains(place); }),
                    group.end());
        group.squeeze();
    }
}

uint qHash(const SelectorIndex::Bucket &bucket, uint seed)
{
    return qHash(bucket.property, qHash(bucket.element, qHash(bucket.subcontrol, seed)));
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
    for (const QString &name : classAndBases(element)) {
        const auto places = declarations.constFind(Bucket{subcontrol, name, property});
        if (places == declarations.cend())
            continue;
        for (const Place &place : *places) {
            const IndexedSelector &entry = all.at(place.selector);
            found.append({entry.rule, entry.selector,
                          &entry.rule->declarations.at(place.declaration), entry.text,
                          place.value});
        }
    }
    return found;
}

const SelectorIndex &SheetModel::selectorIndex() const
{
    if (!index)
        index = std::make_shared<const SelectorIndex>(*this);
    return *index;
}
