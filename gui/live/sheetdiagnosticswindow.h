// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include <QWidget>

class AccessibilityPanel;
class GalleryHost;
class LiveSheet;
class QComboBox;
class QLabel;
class QListWidget;
class QListWidgetItem;
class QPushButton;
class QTabWidget;

// The "Sheet Diagnostics" tool window: where the watched file is, when it was last
// applied, and what the analysis says about it, errors first. Activating a
// diagnostic opens the author's editor at its line, or copies its position.
class SheetDiagnosticsWindow : public QWidget
{
    Q_OBJECT
public:
    // parent is the gallery's window; the window keeps itself below its style switcher.
    SheetDiagnosticsWindow(LiveSheet *sheet, GalleryHost *gallery);

    // Opens the diagnostic's position as described above; the list's activation
    // comes here.
    void openDiagnostic(const QListWidgetItem *item);
    // The same for any position of the sheet (a rule of the Rules view).
    void openPosition(int line, int column);
    // The same in another file (a template's token file), or the sheet when file is "".
    void openFilePosition(const QString &file, int line, int column);

    // A page beside the diagnostics (the Rules view, the forms); shown on request.
    void addPanel(QWidget *page, const QString &title);
    void showPanel(QWidget *page);
    // One line below the pages: what the outlines in the gallery show.
    void setOutlineNote(const QString &note);
    // The Accessibility page, which audits the gallery's tab shown or, with no main
    // window, the application's windows.
    AccessibilityPanel *accessibilityPanel() const { return accessibility; }
    // Takes the Accessibility page away, for a window in another process than the
    // widgets it would audit (the audit drives them).
    void removeAccessibilityPage();

signals:
    // The Pick button was pressed.
    void pickRequested();
    // A diagnostic became the current line of the list.
    void diagnosticChosen(int line, int column);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void refresh();
    QString stateText() const;
    void listDiagnostics();
    void placeBelowSwitcher();

    LiveSheet *sheet;
    QWidget *switcher;
    QLabel *pathLabel;
    // A theme template's variants; the one chosen is shown.
    QComboBox *variantChooser;
    QLabel *stateLabel;
    QListWidget *diagnosticsList;
    QLabel *hintLabel;
    QPushButton *applyButton;
    QTabWidget *panels;
    QLabel *outlineLabel;
    QPushButton *pickButton;
    AccessibilityPanel *accessibility;
};
