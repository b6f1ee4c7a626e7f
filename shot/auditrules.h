// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include "shot/auditchecks.h"

#include <QString>

#include <memory>

class QWidget;
class RuleMatcher;
class SheetModel;

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

private:
    std::unique_ptr<SheetModel> model;
    std::unique_ptr<RuleMatcher> matcher;
    QString path;
};
