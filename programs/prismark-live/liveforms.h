// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include "support/watchedfile.h"

#include <QDateTime>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <QVector>

class FormPage;
class MainWindow;

// The author's own forms as extra gallery tabs after the built-in ones, each loaded
// again when its file changes on disk. A form that cannot be shown leaves its last
// good version in its tab, and the reason is kept for the window to show.
class LiveForms : public QObject
{
    Q_OBJECT
public:
    struct Form
    {
        QString path;
        QString title;
        FormPage *page = nullptr;
        int tab = -1;
        // Why the last read was not shown; empty when it was.
        QString problem;
        // Of the version shown.
        QStringList notes;
        QDateTime loadedAt;
        bool shown = false;
        // What the file was at the last look, to tell a change from a mere event.
        QString stamp;
        WatchedFile *file = nullptr; // owned by LiveForms
    };

    LiveForms(MainWindow *window, const QStringList &paths, QObject *parent = nullptr);

    const QVector<Form> &forms() const { return entries; }
    // Reads every form again, whether or not it changed.
    void reloadAll();
    // The forms' state for the window: per form its tab, problems and notes.
    QString reportHtml() const;

signals:
    // A form was read again (shown or not).
    void updated();

private:
    void noteChange();
    void reload(int index);
    void watch();

    MainWindow *window;
    QVector<Form> entries;
    QTimer settleTimer;
};
