// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "prismark-live/liveforms.h"

#include "forms/formloader.h"
#include "forms/formpage.h"
#include "shell/mainwindow.h"

#include <QFileInfo>

namespace {

// Designer saves a form in one write; a short wait still folds an editor's burst.
constexpr int settleMs = 20;

} // namespace

LiveForms::LiveForms(MainWindow *window, const QStringList &paths, QObject *parent)
    : QObject(parent)
    , window(window)
{
    for (const QString &path : paths) {
        Form form;
        form.path = QFileInfo(path).absoluteFilePath();
        form.title = QFileInfo(path).fileName();
        form.page = new FormPage;
        form.file = new WatchedFile(form.path, this);
        connect(form.file, &WatchedFile::changed, this, &LiveForms::noteChange);
        form.tab = window->addGalleryTab(form.page, form.title);
        entries.append(form);
    }
    settleTimer.setSingleShot(true);
    connect(&settleTimer, &QTimer::timeout, this, [this] {
        for (int i = 0; i < entries.size(); ++i) {
            if (entries.at(i).file->stamp() != entries.at(i).stamp)
                reload(i);
        }
        watch();
    });
    reloadAll();
}

void LiveForms::reloadAll()
{
    for (int i = 0; i < entries.size(); ++i)
        reload(i);
    watch();
}

void LiveForms::noteChange()
{
    settleTimer.start(settleMs);
}

void LiveForms::watch()
{
    for (const Form &form : qAsConst(entries))
        form.file->renew();
}

void LiveForms::reload(int index)
{
    Form &form = entries[index];
    form.stamp = form.file->stamp();
    LoadedForm loaded = loadForm(form.path);
    const QString fileName = QFileInfo(form.path).fileName();
    if (!loaded.widget) {
        form.problem = loaded.missing ? form.file->missingText()
                                      : tr("Cannot show %1: %2.")
                                            .arg(fileName, loaded.error.endsWith(QLatin1Char('.'))
                                                               ? loaded.error.chopped(1)
                                                               : loaded.error);
        form.page->setMessage(form.problem);
        emit updated();
        return;
    }
    form.problem.clear();
    form.notes = loaded.notes;
    form.title = loaded.title;
    form.loadedAt = QDateTime::currentDateTime();
    form.shown = true;
    form.page->setForm(std::move(loaded.widget));
    window->setGalleryTabTitle(form.tab, form.title);
    emit updated();
}

QString LiveForms::reportHtml() const
{
    QStringList parts;
    for (const Form &form : entries) {
        QString part = QStringLiteral("<p><b>%1</b> ").arg(form.path.toHtmlEscaped());
        if (form.shown)
            part += tr("is the tab \"%1\", loaded at %2.")
                        .arg(form.title, form.loadedAt.toString(QStringLiteral("HH:mm:ss")))
                        .toHtmlEscaped();
        if (!form.problem.isEmpty())
            part += QStringLiteral("<br><b>%1</b>").arg(form.problem.toHtmlEscaped()) +
                    (form.shown ? tr(" The last good version stays.").toHtmlEscaped() : QString());
        if (!form.notes.isEmpty()) {
            part += QStringLiteral("<ul>");
            for (const QString &note : form.notes)
                part += QStringLiteral("<li>%1</li>").arg(note.toHtmlEscaped());
            part += QStringLiteral("</ul>");
        }
        parts.append(part + QStringLiteral("</p>"));
    }
    return parts.join(QString());
}
