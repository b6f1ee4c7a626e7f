// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include "analysis/sheetmodel.h"

#include <QHash>
#include <QString>
#include <QVector>

// Which rules may style a widget of a class, and which set a property there: the
// selectors without an ancestor part (those the cascade-aware checks can judge from
// the selectors alone), grouped by subcontrol and class. Built once per model, on
// first use, and only read after that.

struct IndexedSelector
{
    const SheetRule *rule = nullptr;
    const SheetSelector *selector = nullptr;
    int text = 0; // the same number for the same selector text
};

struct IndexedDeclaration
{
    const SheetRule *rule = nullptr;
    const SheetSelector *selector = nullptr;
    const SheetDeclaration *declaration = nullptr;
    int text = 0;   // as in IndexedSelector
    int weight = 0; // cascadeWeight of the selector in its rule
};

class SelectorIndex
{
public:
    explicit SelectorIndex(const SheetModel &model);

    // Calls visit(selector) for the selectors for this subcontrol of the class
    // itself, then of each of its bases, then of any class; each group in the order
    // of the sheet. A copy that a later rule repeats with the same declarations is
    // left out: the later one outweighs it and sets everything it sets, and long
    // sheets repeat themselves a lot.
    template <typename Visit>
    void forClass(const QString &subcontrol, const QString &element, Visit visit) const
    {
        for (const QString &name : classAndBases(element)) {
            const auto bucket = buckets.constFind(Bucket{subcontrol, name, QString()});
            if (bucket == buckets.cend())
                continue;
            for (const int place : selectors.at(*bucket))
                visit(all.at(place));
        }
    }
    // The selectors for this subcontrol of exactly this class ("" for any class), one
    // entry for each declaration of property their rules make, in the order of the
    // sheet; repeated copies left out as above.
    QVector<IndexedDeclaration> settingPropertyOf(const QString &property,
                                                  const QString &subcontrol,
                                                  const QString &className) const;

    // A subcontrol and a class, or with a property too; compared as they stand, so
    // that no key is built by joining texts on each look-up.
    struct Bucket
    {
        QString subcontrol;
        QString element;
        QString property;
        bool operator==(const Bucket &other) const
        {
            return subcontrol == other.subcontrol && element == other.element &&
                   property == other.property;
        }
    };

private:
    QStringList classAndBases(const QString &element) const;

    const SheetModel &model;
    QHash<Bucket, int> buckets;
    QVector<QVector<int>> selectors; // by bucket: places in all, the latest copies only
    // Every selector without an ancestor part: small, as the index lives as long as
    // the model.
    QVector<IndexedSelector> all;
};

uint qHash(const SelectorIndex::Bucket &bucket, uint seed = 0);
