// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include "audit/auditchecks.h"

#include <QPalette>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QVector>
#include <QWidget>

#include <functional>
#include <memory>

// One text a widget shows, taken out and put back. isolate (when set) leaves the
// text the only thing hide changes, such as a button's icon taken out of both renders.
struct ShownText
{
    QString part;
    QPalette::ColorRole foreground = QPalette::WindowText;
    QPalette::ColorRole background = QPalette::Window;
    std::function<void()> isolate;
    std::function<void()> hide;
    std::function<void()> restore;
    // Text in a window of its own (a tool tip, a menu), set by isolate: rendered,
    // judged by its palette and located in the sheet as that window, not the widget.
    std::shared_ptr<QPointer<QWidget>> window = nullptr;
    QString subcontrol = QString();
};

// The texts a widget shows in a state, each to be taken out and put back: its own
// (a button's, a label's, an editor's text and placeholder, an item view's first
// item plain and selected and its header) and, in the normal state, its tool tip
// and its menu's first item, plain and highlighted. The quiet drive leaves out what
// would run the application's code (a menu's aboutToShow, a model's setData),
// naming each such part in leftOut.
QVector<ShownText> shownTexts(QWidget *widget, AuditState state,
                              AuditDrive drive = AuditDrive::Input, QStringList *leftOut = nullptr);
