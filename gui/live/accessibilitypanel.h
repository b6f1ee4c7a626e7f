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
// its findings listed by criterion, level, widget, state, value and the rule that
// paints it. The widgets are driven quietly (see AuditDrive): nothing is clicked,
// focused or activated.
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
    // Each row's cells (criterion, level, result, widget, state, value, rule),
    // tab-separated, in list order.
    QStringList rowTexts() const;
    // What the line above the list says: the counts, or that nothing was audited.
    QString status() const;

signals:
    // A finding's rule was activated: its file, line and column.
    void ruleChosen(const QString &file, int line, int column);
    void checkFinished();

private:
    void finished();
    void showProgress(const QString &page, const QString &object);
    void addRow(const QStringList &cells, const RulePlace &place, bool gap);
    void markStale();

    LiveSheet *sheet;
    const std::function<QVector<AuditedPage>()> pages;
    QPushButton *checkButton;
    QLabel *statusLabel;
    QTreeWidget *findingsTree;
    std::unique_ptr<SteppedAudit> audit;
};
