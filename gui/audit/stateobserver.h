// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include "audit/auditchecks.h"

#include <QImage>
#include <QRect>
#include <QVector>

#include <functional>

class QWidget;

// Part of a window as it stands, in window coordinates, at a scale.
using AreaRender = std::function<QImage(const QRect &area, qreal scale)>;

// One state of a widget as the audit holds it: its render (the widget's area, in
// window coordinates, at the audit's scale) and a way to render that area again
// after a change that is put back before the call returns.
struct ObservedState
{
    QWidget *widget = nullptr;
    AuditState state = AuditState::Normal;
    QImage image;
    QRect area;
    qreal scale = 1;
    std::function<QImage()> render;
    AuditDrive drive = AuditDrive::Input;
};

// What else measures the states while the audit holds them.
class StateObserver
{
public:
    virtual ~StateObserver() = default;
    // Every widget of the tab (page) that will be observed, before the first.
    virtual void beginTab(QWidget *page, const QVector<QWidget *> &widgets) = 0;
    virtual void observe(const ObservedState &state) = 0;
};
