// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include "analysis/sheetmodel.h"

#include <QString>
#include <QVector>

#include <memory>

class QObject;
QT_BEGIN_NAMESPACE
namespace QCss {
struct StyleRule;
}
QT_END_NAMESPACE

// One selector of a sheet that matches an object.
struct RuleMatch
{
    int rule = 0;     // in SheetModel::rules
    int selector = 0; // in that rule's selectors
    // The toolkit's sort key: the rule's position plus its selector's specificity
    // times 256. Of two matches the higher one's declarations win.
    uint weight = 0;
};

// An object the matcher cannot reach as a QObject (a widget of another process,
// described): what the toolkit's selector asks of one.
class MatchNode
{
public:
    virtual ~MatchNode() = default;
    // As RuleMatcher::typeNames gives them.
    virtual QStringList typeNames() const = 0;
    virtual QString objectName() const = 0;
    // The property's value as text; a null string when it has none.
    virtual QString propertyText(const QString &name) const = 0;
    virtual const MatchNode *parentNode() const = 0;
};

// Finds the rules of one sheet that match an object the way the toolkit's style
// sheet style finds them: the toolkit's own style selector, walking the object tree
// as that style presents it (class names from the meta-object chain, tool tips as
// QToolTip, the object name as id, properties as attributes), over the sheet as the
// toolkit parses it. What it returns is mapped back to the positions of the model.
class RuleMatcher
{
public:
    // The model must outlive the matcher.
    explicit RuleMatcher(const SheetModel &model);
    ~RuleMatcher();

    // False when there is nothing to match with: the toolkit rejects the sheet, the
    // sheet only names another file, or the toolkit's rules and the model's do not
    // line up (then problem() says where).
    bool isValid() const { return valid; }
    QString problem() const { return why; }

    // The class name of the style the sheet is drawn over, which [style="..."]
    // compares with; no widget matches such a selector while it is empty.
    void setStyleName(const QString &name);

    // Every selector that matches, the winning one first: the reverse of the order
    // in which the toolkit applies them. Rules for subcontrols are included.
    QVector<RuleMatch> matches(const QObject *object) const;
    bool matchesRule(const QObject *object, int rule) const;
    // The same for a described object.
    QVector<RuleMatch> matches(const MatchNode *node) const;
    bool matchesRule(const MatchNode *node, int rule) const;

    // One selector tried on its own on an object, as the toolkit tries it: whether it
    // matches (pseudo-states aside, as the toolkit's selector leaves them to the
    // style) and how many steps up the object tree deciding that took.
    struct Trial
    {
        bool matched = false;
        int ancestorSteps = 0;
    };
    Trial trySelector(const QObject *object, int rule, int selector) const;

    // The type names an object answers to, its class's first: what a type selector
    // compares with and what the toolkit looks its rules up by.
    static QStringList typeNames(const QObject *object);

    const SheetModel &model() const { return sheetModel; }

private:
    int selectorIndex(const QCss::StyleRule &matched) const;
    template <typename Rules> QVector<RuleMatch> matchesOf(const Rules &rules) const;

    class ObjectTreeSelector;
    class DescribedTreeSelector;
    const SheetModel &sheetModel;
    std::unique_ptr<ObjectTreeSelector> selector;
    std::unique_ptr<ObjectTreeSelector> single; // holds the one rule trySelector tries
    std::unique_ptr<DescribedTreeSelector> described;
    bool valid = false;
    QString why;
};
