// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include "live/livesheet.h"

#include <QList>
#include <QObject>
#include <QPalette>
#include <QString>

class QWidget;

// The author's sheet on a whole application of their own, in place of the sheet the
// application sets for itself: installed as the application's sheet, and put back
// whenever the application sets its own again, at start-up or later. Sheets the
// application sets on single widgets are left as it wrote them. A sheet's @palette
// header goes on as the application's palette, over the application's own, which
// comes back when a sheet without one is installed.
class ApplicationSheet : public QObject
{
    Q_OBJECT
public:
    // Made once the application object is complete, under the configuration of path and
    // with the check of its text begun elsewhere; nothing is installed before
    // liveSheet()->apply().
    ApplicationSheet(const QString &path, const LintConfigResult &config,
                     LiveSheet::PendingCheck pending, QObject *parent = nullptr);

    LiveSheet *liveSheet() const { return sheet; }
    // The sheet the application set for itself last, which the author's replaces.
    QString applicationsOwnSheet() const { return ownSheet; }

    // The application's top-level windows on screen, by name, without those
    // listed (the tool windows shown beside them).
    static QList<QWidget *> topLevelWindows(const QList<QWidget *> &leftOut = {});
    // A window's name for a file or a list: its object name, or else its class.
    static QString windowName(const QWidget *window);

signals:
    // A top-level window of the application was shown.
    void windowShown(QWidget *window);
    // The application set a sheet of its own again, and the author's went back on.
    void ownSheetReplaced();
    // A text of the author's was installed.
    void installed();
    // A window of the application was painted for the first time since start.
    void firstPainted();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void install(const QString &text);
    void installPalette(const QString &text);
    void reinstall();

    LiveSheet *sheet;
    QString installedText;
    QString ownSheet;
    // The application's palette while the author's is on.
    QPalette ownPalette;
    bool paletteInstalled = false;
    bool hasInstalled = false;
    bool reinstallDue = false;
    bool painted = false;
};
