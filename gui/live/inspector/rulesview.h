// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include <QWidget>

class QLabel;
class QTreeWidget;
class QTreeWidgetItem;
class SheetModel;
struct RuleInspection;

// The Rules view: a picked widget's identity, then every rule of the sheet that
// matches it or one of its subcontrols, in cascade order (the winner first), each
// with its position, selector, specificity, states and declarations; declarations
// that another wins over are struck through, with the line that wins.
class RulesView : public QWidget
{
    Q_OBJECT
public:
    explicit RulesView(QWidget *parent = nullptr);

    void showInspection(const RuleInspection &inspection, const SheetModel &model,
                        const QString &sheetName);
    // Empties the view and says why.
    void showMessage(const QString &message);

    // What the view lists, one line per row as shown, declarations indented and
    // struck ones between "~~": for tests and the benchmark.
    QStringList rowTexts() const;
    // The lines above the rules (who the widget is, the sheets of its own), as text.
    QString identityText() const;

signals:
    // A rule row became current.
    void ruleChosen(int rule);
    // A rule or declaration row was double-clicked or activated.
    void positionActivated(int line, int column);

private:
    void addEntries(const RuleInspection &inspection, const SheetModel &model);

    QLabel *identityLabel;
    QTreeWidget *tree;
};
