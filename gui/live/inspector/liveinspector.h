// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include "live/inspector/ruleinspector.h"

#include <QObject>
#include <QPointer>

class GalleryHost;
class LiveSheet;
class RulesView;
class SheetDiagnosticsWindow;
class WidgetOutline;
class WidgetPicker;

// The live preview's inspector: a widget picked in the gallery (or in any window of
// an application the tools run in) gets the rules that paint it in the Rules view of
// the Sheet Diagnostics window, and a rule chosen there (or a diagnostic) outlines
// every widget it matches.
class LiveInspector : public QObject
{
    Q_OBJECT
public:
    LiveInspector(GalleryHost *gallery, LiveSheet *sheet, SheetDiagnosticsWindow *diagnostics);
    // For the windows of the whole application but the diagnostics window.
    LiveInspector(LiveSheet *sheet, SheetDiagnosticsWindow *diagnostics);

    void startPicking();
    // What a pick of widget shows.
    void inspect(QWidget *widget);
    // Outlines the widgets the rule matches and says how many there are.
    void chooseRule(int rule);
    // Shows the rules of what is installed now for the widget picked last.
    void refresh();

    RulesView *rulesView() const { return view; }
    WidgetPicker *picker() const { return widgetPicker; }
    WidgetOutline *outline() const { return widgetOutline; }
    QString outlineNote() const { return note; }

private:
    void useInstalledSheet();
    void showRules();
    void clearOutline();
    void chooseDiagnostic(int line, int column);
    void activatePosition(int line, int column);
    void setNote(const QString &text);
    QString sheetName() const;
    bool showsAuthorSheet() const;
    QList<QWidget *> galleryWidgets() const;
    QString where() const;

    GalleryHost *gallery;
    // The gallery's window; none in an application of the author's own.
    QWidget *window;
    LiveSheet *sheet;
    SheetDiagnosticsWindow *diagnostics;
    RulesView *view;
    WidgetOutline *widgetOutline;
    WidgetPicker *widgetPicker;
    RuleInspector inspector;
    QPointer<QWidget> inspected;
    bool picked = false;
    QString note;
};
