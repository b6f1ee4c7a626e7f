// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include "analysis/sheetmodel.h"

#include <QString>
#include <QVector>

class QObject;

// How much matching work a sheet gives the toolkit's style sheet style over a tree
// of objects, counted the way that style looks its rules up: by the object name
// (a rightmost compound with an #id), else by the type names of the object's class
// and its bases (a rightmost type selector); a rule neither narrows is tried on
// every object.

enum class ToolkitIndex
{
    ObjectName,
    TypeName,
    Unindexed,
};

ToolkitIndex toolkitIndexOf(const SheetSelector &selector);

// What the toolkit files a selector under: "#name", the type name, or for an
// unindexed selector its rightmost compound as written.
QString toolkitIndexKey(const SheetSelector &selector);

// The compound the selector ends with, as written ("*[x=\"y\"]", "QLabel#title").
QString rightmostCompoundText(const SheetSelector &selector);

// A declaration that makes the toolkit lay the widget out again (size hints change).
bool propertyForcesRelayout(const QString &property);
// A declaration that sets a property through the meta-object, and with it restyles.
bool propertySetsQProperty(const QString &property);
// A selector whose match depends on hover or focus in any compound: widgets it
// matches are restyled whenever the pointer or the focus moves over them.
bool selectorFollowsHoverOrFocus(const SheetSelector &selector);

struct RuleWork
{
    int rule = 0;             // in SheetModel::rules
    qint64 tries = 0;         // (selector, object) pairs the toolkit's index hands to matching
    qint64 matches = 0;       // objects at least one of its selectors matches
    qint64 ancestorSteps = 0; // steps up the tree its descendant selectors took
    qint64 stateRestyles = 0; // matched objects restyled on a hover or focus change
    bool unindexed = false;   // a selector of it is tried on every object
    bool descendant = false;  // a selector of it has an ancestor part
    bool relayout = false;    // a declaration of it forces a new layout
    bool qproperty = false;   // a declaration of it is a qproperty-
    // The work score the ranking by matching work sorts by.
    qint64 work() const { return tries + ancestorSteps + stateRestyles; }
};

struct MatchWork
{
    QVector<RuleWork> rules; // in the order of the sheet
    int objects = 0;
    int deepestTree = 0; // the most ancestors an object has
};

// styleName: the class of the style the sheet is drawn over, for [style="..."].
MatchWork countMatchWork(const SheetModel &model, const QVector<const QObject *> &objects,
                         const QString &styleName = QString());
