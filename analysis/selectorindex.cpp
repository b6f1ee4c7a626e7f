// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "analysis/selectorindex.h"

#include <QSet>

#include <algorithm>

namespace {
// The number of key in numbers, given the next one when it is new.
template <typename Key> int numberOf(QHash<Key, int> &numbers, const Key &key)
{
    auto known = numbers.constFind(key);
    if (known == numbers.cend())
        known = numbers.insert(key, numbers.size());
    return *known;
}
} // namespace

SelectorIndex::SelectorIndex(const SheetModel &model)
    : model(model)
{
    QHash<QString, int> texts;
    QHash<QString, int> values;
    QHash<QString, int> properties;
    // A rule's content, numbered: its declarations' property and value numbers in order.
    QHash<QVector<int>, int> contents;
    QVector<int> content;
    // Keyed by the selector's text and its rule's content numbers. The value is where
    // that copy stands in all.
    QHash<QPair<int, int>, int> lastCopy;
    QSet<int> repeated;
    firstValueOfRule.reserve(model.rules.size());
    for (const SheetRule &rule : model.rules) {
        firstValueOfRule.append(int(valueNumbers.size()));
        content.clear();
        for (const SheetDeclaration &declaration : rule.declarations) {
            const int value = numberOf(values, declaration.valueText);
            valueNumbers.append(value);
            content << numberOf(properties, declaration.property) << value;
        }
        const int contentNumber = numberOf(contents, content);
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
            const QPair<int, int> copy(text, contentNumber);
            const auto previous = lastCopy.constFind(copy);
            if (previous != lastCopy.cend())
                repeated.insert(*previous);
            lastCopy.insert(copy, place);
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
    const auto bucket = buckets.constFind(Bucket{subcontrol, className, QString()});
    if (bucket == buckets.cend())
        return found;
    for (const int place : selectors.at(*bucket)) {
        const IndexedSelector &entry = all.at(place);
        const int firstValue = firstValueOfRule.at(int(entry.rule - model.rules.constData()));
        for (int d = 0; d < entry.rule->declarations.size(); ++d) {
            const SheetDeclaration &declaration = entry.rule->declarations.at(d);
            if (declaration.property == property)
                found.append({entry.rule, entry.selector, &declaration, entry.text,
                              valueNumbers.at(firstValue + d)});
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
