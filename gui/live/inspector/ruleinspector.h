// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include "analysis/rulecascade.h"
#include "live/inspector/widgettree.h"

#include <QList>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QVector>
#include <QWidget>

#include <memory>

class RuleMatcher;
class SheetModel;

// Who a widget is, as far as selectors can tell.
struct WidgetIdentity
{
    QString className;
    QStringList baseClasses; // nearest first
    QString objectName;
    QStringList ancestors; // "QGroupBox#name", outermost first
    // name="value" for every dynamic property and every property the sheet's
    // attribute selectors ask about.
    QStringList attributes;
    quint64 state = 0; // PseudoState bits
    // It or an ancestor carries a style sheet of its own, whose rules are not listed.
    bool ownStyleSheet = false;
    // Those sheets, nearest first, each as "QLabel#name: its text": an origin of their
    // own, which wins over the application's sheet.
    QStringList ownSheets;
};

struct RuleInspection
{
    QPointer<QWidget> widget;
    WidgetIdentity identity;
    // Winner first; the rules for the widget and for its subcontrols.
    QVector<CascadeEntry> entries;
};

// The Rules view's answers for the sheet installed on the application: which rules
// match a widget and how they cascade there, and which widgets a rule matches.
class RuleInspector
{
public:
    RuleInspector();
    ~RuleInspector();

    // The sheet the answers come from, with path naming it in positions; parsed
    // again only when text changes. styleName is the class of the style the sheet
    // is drawn over.
    void setSheet(const QString &text, const QString &path, const QString &styleName);
    bool isValid() const;
    // Why nothing can be matched, when isValid() is false.
    QString problem() const;
    const SheetModel &model() const { return *sheetModel; }

    RuleInspection inspect(QWidget *widget) const;
    // The same for a widget of another process, the node at index of its tree.
    RuleInspection inspect(const WidgetTree &tree, int index) const;
    // The ids of the tree's nodes that the rule matches, in the tree's order.
    QVector<qint64> nodesMatching(int rule, const WidgetTree &tree) const;
    // The properties the sheet's attribute selectors test, for a tree to carry.
    QStringList testedProperties() const { return attributeNames; }
    // Those of widgets the toolkit styles that the rule matches, in their order.
    QVector<QWidget *> widgetsMatching(int rule, const QList<QWidget *> &widgets) const;
    // The rule whose text a 1-based position falls in, or -1.
    int ruleAt(int line, int column) const;
    // A rule as a note names it: its 1-based line and its selectors, comma-separated.
    int ruleLine(int rule) const;
    QString ruleSelectors(int rule) const;

private:
    WidgetIdentity identify(QWidget *widget) const;

    QString sheetText;
    QString sheetPath;
    std::unique_ptr<SheetModel> sheetModel;
    std::unique_ptr<RuleMatcher> matcher;
    QStringList attributeNames; // that the sheet's selectors test
};
