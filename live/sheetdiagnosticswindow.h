// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include <QWidget>

class LiveSheet;
class MainWindow;
class QLabel;
class QListWidget;
class QListWidgetItem;
class QPushButton;

// The "Sheet Diagnostics" tool window: where the watched file is, when it was last
// applied, and what the analysis says about it, errors first. Activating a
// diagnostic opens the author's editor at its line, or copies its position.
class SheetDiagnosticsWindow : public QWidget
{
    Q_OBJECT
public:
    // parent is the main window; the window keeps itself below its style switcher.
    SheetDiagnosticsWindow(LiveSheet *sheet, MainWindow *window);

    // Opens the diagnostic's position as described above; the list's activation
    // comes here.
    void openDiagnostic(const QListWidgetItem *item);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void refresh();
    void placeBelowSwitcher();

    LiveSheet *sheet;
    QWidget *switcher;
    QLabel *pathLabel;
    QLabel *stateLabel;
    QListWidget *diagnosticsList;
    QLabel *hintLabel;
    QPushButton *applyButton;
};
