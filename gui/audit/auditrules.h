// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include "audit/auditchecks.h"

#include <QString>

#include <memory>

class QWidget;
class RuleMatcher;
class SheetModel;

// Where a rule stands in the author's sheet; empty when no rule matches.
struct RulePlace
{
    QString sheetFile;
    QString rule;
    int line = 0;
    int column = 0;
    // The rule's selector names the state asked about; else it paints the widget.
    bool namesState = false;
};

// Which rule of an author's sheet paints a widget in a state, by the matcher the
// live inspector uses; the one place the audit asks the sheet analysis.
class AuditRules
{
public:
    AuditRules(const QString &sheetText, const QString &path, const QString &styleName);
    ~AuditRules();

    // Sets the finding's sheet file, rule and position: the winning rule whose
    // selector names the state, else the rule that paints the widget itself in it;
    // leaves them empty when no rule of the sheet matches.
    void locate(const QWidget *widget, bool checkable, AuditFinding *finding) const;
    // The same for a state, and for a subcontrol ("indicator", "up-button") when one
    // is named: then a rule of that subcontrol paints it. With a property ("color"),
    // the rule whose declaration gives it wins over both.
    RulePlace place(const QWidget *widget, bool checkable, AuditState state,
                    const QString &subcontrol = QString(),
                    const QString &property = QString()) const;

private:
    std::unique_ptr<SheetModel> model;
    std::unique_ptr<RuleMatcher> matcher;
    QString path;
};
