// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include <QString>
#include <QStringList>
#include <QWidget>

#include <memory>

// The largest form file read; a real dialog's form is a few hundred kilobytes at most.
constexpr qint64 kMaxFormBytes = 4 * 1024 * 1024;

// An author's Qt Designer form, loaded as data: with the toolkit's own UI loader,
// but without designer plugins, without the form's signal connections, and with
// promoted custom widgets made as the toolkit class they are promoted from.
struct LoadedForm
{
    std::unique_ptr<QWidget> widget; // null when nothing could be loaded
    // The form's window title, else its file name.
    QString title;
    // Why nothing was loaded, one line for the author.
    QString error;
    bool missing = false; // the file does not exist
    // Where the preview differs from the application: custom widgets shown as
    // their base class, missing images, actions and connections.
    QStringList notes;
};

// Reads and loads a form file. Refuses, without reading it, anything that is not a
// regular file or is over kMaxFormBytes; refuses a form that names a FIFO or a
// device (as an image, a text browser's source, a rich text image or in a widget's
// style sheet), or an image too large to decode.
LoadedForm loadForm(const QString &path);
