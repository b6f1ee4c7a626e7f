// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include "audit/steppedaudit.h"

#include <QStringList>
#include <QWidget>

#include <functional>

class LiveSheet;
class QLabel;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

// The Accessibility page of the Sheet Diagnostics window: on request, the WCAG audit
// of what is shown with the sheet in force, a widget per turn of the event loop,
// its findings grouped by the rule that paints them and the criterion, each group a
// row (its widgets, states, measures and rule; the fix in the rule's tool tip) with
// its findings under it by criterion, level, widget, state, value and rule. The widgets are driven
// quietly (see AuditDrive): nothing is clicked, focused or activated.
class AccessibilityPanel : public QWidget
{
    Q_OBJECT
public:
    // pages tells what is shown when a check starts.
    AccessibilityPanel(LiveSheet *sheet, std::function<QVector<AuditedPage>()> pages,
                       QWidget *parent = nullptr);
    ~AccessibilityPanel() override;

    // What the button does: starts a check, or stops the one running.
    void check();
    bool isChecking() const;
    // Each finding's and gap's cells (criterion, level, result, widget, state, value,
    // rule), tab-separated, in list order.
    QStringList rowTexts() const;
    // The same for each group's row: its widget cell counts them ("3 widgets").
    QStringList groupTexts() const;
    // What the line above the list says: the counts, or that nothing was audited.
    QString status() const;

signals:
    // A finding's rule was activated: its file, line and column.
    void ruleChosen(const QString &file, int line, int column);
    void checkFinished();

private:
    void finished();
    void showProgress(const QString &page, const QString &object);
    QTreeWidgetItem *addRow(QTreeWidgetItem *parent, const QStringList &cells,
                            const RulePlace &place, bool gap);
    void markStale();

    LiveSheet *sheet;
    const std::function<QVector<AuditedPage>()> pages;
    QPushButton *checkButton;
    QLabel *statusLabel;
    QTreeWidget *findingsTree;
    std::unique_ptr<SteppedAudit> audit;
};
