// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "analysis/selectorindex.h"

#include "analysis/rulecascade.h"

#include <QSet>

#include <algorithm>

namespace {
// Whether two rules make the same declarations: property and value, in order.
bool sameContent(const SheetRule &a, const SheetRule &b)
{
    return std::equal(a.declarations.cbegin(), a.declarations.cend(), b.declarations.cbegin(),
                      b.declarations.cend(),
                      [](const SheetDeclaration &x, const SheetDeclaration &y) {
                          return x.property == y.property && x.valueText == y.valueText;
                      });
}
} // namespace

SelectorIndex::SelectorIndex(const SheetModel &model)
    : model(model)
{
    // Each selector text's number and bucket: the text decides the subcontrol and class.
    QHash<QString, QPair<int, int>> texts;
    // Keyed by the selector's text number and a hash of its rule's content. The value
    // is where that copy stands in all; rules that merely hash alike are told apart
    // by comparing them.
    QHash<QPair<int, uint>, int> lastCopy;
    QSet<int> repeated;
    for (const SheetRule &rule : model.rules) {
        uint content = 0;
        for (const SheetDeclaration &declaration : rule.declarations)
            content = qHash(declaration.valueText, qHash(declaration.property, content));
        for (const SheetSelector &selector : rule.selectors) {
            if (selector.hasAncestors)
                continue;
            auto known = texts.constFind(selector.text);
            if (known == texts.cend()) {
                const Bucket key{selector.subcontrol, selector.element, QString()};
                auto bucket = buckets.constFind(key);
                if (bucket == buckets.cend()) {
                    bucket = buckets.insert(key, int(selectors.size()));
                    selectors.append(QVector<int>());
                }
                known = texts.insert(selector.text, qMakePair(int(texts.size()), *bucket));
            }
            const int text = known->first;
            const int bucket = known->second;
            all.append({&rule, &selector, text});
            const int place = int(all.size() - 1);
            selectors[bucket].append(place);
            const QPair<int, uint> copy(text, content);
            const auto previous = lastCopy.constFind(copy);
            if (previous != lastCopy.cend() && sameContent(*all.at(*previous).rule, rule))
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
        for (const SheetDeclaration &declaration : entry.rule->declarations) {
            if (declaration.property == property)
                found.append({entry.rule, entry.selector, &declaration, entry.text,
                              cascadeWeight(*entry.selector, entry.rule->order)});
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
