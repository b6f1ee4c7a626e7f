// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "audit/auditedwidgets.h"

#include <QAbstractButton>
#include <QAbstractSlider>
#include <QAbstractSpinBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QProgressBar>

namespace {

// Seen but never operated: their text or chunk is still read.
bool isShown(const QWidget *widget)
{
    if (const auto *label = qobject_cast<const QLabel *>(widget))
        return !label->text().isEmpty();
    return qobject_cast<const QProgressBar *>(widget) || qobject_cast<const QMenuBar *>(widget);
}

} // namespace

bool isInteractive(const QWidget *widget)
{
    return qobject_cast<const QAbstractButton *>(widget) ||
           qobject_cast<const QAbstractSlider *>(widget) ||
           qobject_cast<const QComboBox *>(widget) || qobject_cast<const QLineEdit *>(widget) ||
           qobject_cast<const QAbstractSpinBox *>(widget) || (widget->focusPolicy() & Qt::TabFocus);
}

QVector<QWidget *> auditedWidgets(QWidget *page, bool shownToo)
{
    QVector<QWidget *> widgets;
    for (QWidget *widget : page->findChildren<QWidget *>()) {
        if (!widget->isVisible() || !widget->isEnabled() || widget->objectName().isEmpty() ||
            widget->objectName().startsWith(QLatin1String("qt_")) ||
            !(isInteractive(widget) || (shownToo && isShown(widget))))
            continue;
        bool part = false;
        for (QWidget *parent = widget->parentWidget(); parent && parent != page;
             parent = parent->parentWidget())
            part = part || isInteractive(parent);
        if (!part)
            widgets << widget;
    }
    return widgets;
}
