// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include "analysis/rulematcher.h"

#include <QString>
#include <QVector>

// How the rules that match one object combine, by the toolkit's own rules. The
// rules for the object itself and those for each of its subcontrols cascade apart.
// A rule takes part in a state when the state has every pseudo-state its selector
// names and none that it negates; of the rules taking part, a higher weight wins
// property by property, and within a rule the later declaration wins.

struct CascadeDeclaration
{
    int index = 0; // in the rule's declarations
    // Another declaration wins over this one wherever this one's rule takes part,
    // or in the state the object is in now.
    bool overridden = false;
    int winnerRule = -1; // in SheetModel::rules
    int winnerDeclaration = -1;
};

struct CascadeEntry
{
    RuleMatch match;
    QString subcontrol; // lower case; empty for the object itself
    bool appliesNow = false;
    QVector<CascadeDeclaration> declarations;
};

// One entry per match, in the matches' order (the winner first). state holds the
// object's pseudo-states now, as PseudoState bits.
QVector<CascadeEntry> cascadeMatches(const SheetModel &model, const QVector<RuleMatch> &matches,
                                     quint64 state);

// The toolkit's test: does a rule with this selector take part in this state?
bool selectorAppliesIn(const SheetSelector &selector, quint64 state);

// True when a declaration of property high replaces what one of low sets: the same
// property, or a shorthand that includes it (border over border-left-color).
bool propertyOverrides(const QString &high, const QString &low);

// The declaration that gives the object (or a subcontrol) property now, or null.
const SheetDeclaration *winningDeclaration(const SheetModel &model,
                                           const QVector<CascadeEntry> &entries,
                                           const QString &subcontrol, const QString &property);

// Shared by the cascade-aware checks.
// True when every widget and state that a matches is matched by b too.
bool selectorCovers(const QssReference::WidgetClasses &classes, const SheetSelector &b,
                    const SheetSelector &a);
// Where the toolkit sorts a rule's selector among those that match a widget.
int cascadeWeight(const SheetSelector &selector, int order);
// True when b's declarations override a's where both apply.
bool selectorWins(const SheetSelector &b, int bOrder, const SheetSelector &a, int aOrder);
