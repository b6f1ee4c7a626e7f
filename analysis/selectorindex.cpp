// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "analysis/selectorindex.h"

#include <QSet>

#include <algorithm>

namespace {
// The number of text in numbers, given the next one when it is new.
int numberOf(QHash<QString, int> &numbers, const QString &text)
{
    auto known = numbers.constFind(text);
    if (known == numbers.cend())
        known = numbers.insert(text, numbers.size());
    return *known;
}
} // namespace

SelectorIndex::SelectorIndex(const SheetModel &model)
    : model(model)
{
    QHash<QString, int> texts;
    QHash<QString, int> values;
    QVector<int> ruleValues;
    QVector<int> ruleProperties;
    // Keyed by the selector's text number and a hash of the rule's content. The value
    // is where that copy stands in all.
    QHash<QPair<int, uint>, int> lastCopy;
    QSet<int> repeated;
    for (const SheetRule &rule : model.rules) {
        uint content = 0;
        ruleValues.clear();
        ruleProperties.clear();
        for (const SheetDeclaration &declaration : rule.declarations) {
            content = qHash(declaration.valueText, qHash(declaration.property, content));
            ruleValues.append(numberOf(values, declaration.valueText));
            ruleProperties.append(numberOf(properties, declaration.property));
        }
        for (const SheetSelector &selector : rule.selectors) {
            if (selector.hasAncestors)
                continue;
            const int text = numberOf(texts, selector.text);
            auto bucket =
                buckets.constFind(Bucket{selector.subcontrol, selector.element, QString()});
            if (bucket == buckets.cend()) {
                bucket = buckets.insert(Bucket{selector.subcontrol, selector.element, QString()},
                                        int(selectors.size()));
                selectors.append(QVector<int>());
            }
            all.append({&rule, &selector, text});
            const int place = int(all.size() - 1);
            selectors[*bucket].append(place);
            const QPair<int, uint> copy(text, content);
            const auto previous = lastCopy.constFind(copy);
            if (previous != lastCopy.cend())
                repeated.insert(*previous);
            lastCopy.insert(copy, place);
            for (int d = 0; d < rule.declarations.size(); ++d) {
                declarations[declarationKey(*bucket, ruleProperties.at(d))].append(
                    {place, d, ruleValues.at(d)});
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

QVector<IndexedDeclaration> SelectorIndex::settingPropertyOf(const QString &property,
                                                             const QString &subcontrol,
                                                             const QString &className) const
{
    QVector<IndexedDeclaration> found;
    const auto number = properties.constFind(property);
    const auto bucket = buckets.constFind(Bucket{subcontrol, className, QString()});
    if (number == properties.cend() || bucket == buckets.cend())
        return found;
    const auto places = declarations.constFind(declarationKey(*bucket, *number));
    if (places == declarations.cend())
        return found;
    for (const Place &place : *places) {
        const IndexedSelector &entry = all.at(place.selector);
        found.append({entry.rule, entry.selector, &entry.rule->declarations.at(place.declaration),
                      entry.text, place.value});
    }
    return found;
}

const SelectorIndex &SheetModel::selectorIndex() const
{
    if (!index)
        index = std::make_shared<const SelectorIndex>(*this);
    return *index;
}
