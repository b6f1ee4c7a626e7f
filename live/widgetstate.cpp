// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "live/widgetstate.h"

#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QAbstractSlider>
#include <QAbstractSpinBox>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QtGui/private/qcssparser_p.h>

using namespace QCss;

namespace {

struct StateName
{
    quint64 bit;
    const char *name;
};

// The order the Rules view lists them in: what an author styles most comes first.
constexpr StateName kStateNames[] = {
    {PseudoClass_Enabled, "enabled"},
    {PseudoClass_Disabled, "disabled"},
    {PseudoClass_Hover, "hover"},
    {PseudoClass_Pressed, "pressed"},
    {PseudoClass_Focus, "focus"},
    {PseudoClass_Checked, "checked"},
    {PseudoClass_Unchecked, "unchecked"},
    {PseudoClass_Indeterminate, "indeterminate"},
    {PseudoClass_On, "on"},
    {PseudoClass_Off, "off"},
    {PseudoClass_Default, "default"},
    {PseudoClass_Flat, "flat"},
    {PseudoClass_ReadOnly, "read-only"},
    {PseudoClass_Editable, "editable"},
    {PseudoClass_Frameless, "frameless"},
    {PseudoClass_Active, "active"},
    {PseudoClass_Window, "window"},
    {PseudoClass_Horizontal, "horizontal"},
    {PseudoClass_Vertical, "vertical"},
    {PseudoClass_Open, "open"},
    {PseudoClass_Closed, "closed"},
};

quint64 buttonState(const QAbstractButton *button)
{
    quint64 state = 0;
    if (button->isDown())
        state |= PseudoClass_Pressed;
    const bool twoSided =
        qobject_cast<const QCheckBox *>(button) || qobject_cast<const QRadioButton *>(button);
    const auto *checkBox = qobject_cast<const QCheckBox *>(button);
    if (checkBox && checkBox->checkState() == Qt::PartiallyChecked)
        state |= PseudoClass_Indeterminate;
    else if (button->isChecked())
        state |= PseudoClass_On | PseudoClass_Checked;
    // Push and tool buttons say only when they are on.
    else if (twoSided)
        state |= PseudoClass_Off | PseudoClass_Unchecked;
    if (const auto *push = qobject_cast<const QPushButton *>(button)) {
        if (push->isFlat())
            state |= PseudoClass_Flat;
        if (push->isDefault())
            state |= PseudoClass_Default;
    }
    return state;
}

quint64 orientationState(const QWidget *widget)
{
    Qt::Orientation orientation = Qt::Vertical;
    if (const auto *slider = qobject_cast<const QAbstractSlider *>(widget))
        orientation = slider->orientation();
    else if (const auto *bar = qobject_cast<const QProgressBar *>(widget))
        orientation = bar->orientation();
    // Anything that does not say it is horizontal is drawn as vertical.
    return orientation == Qt::Horizontal ? PseudoClass_Horizontal : PseudoClass_Vertical;
}

quint64 editState(const QWidget *widget)
{
    if (const auto *edit = qobject_cast<const QLineEdit *>(widget))
        return (edit->isReadOnly() ? PseudoClass_ReadOnly : PseudoClass_Editable) |
               (edit->hasFrame() ? 0 : PseudoClass_Frameless);
    if (const auto *combo = qobject_cast<const QComboBox *>(widget))
        return (combo->isEditable() ? PseudoClass_Editable : PseudoClass_ReadOnly) |
               (combo->hasFrame() ? 0 : PseudoClass_Frameless);
    if (const auto *spin = qobject_cast<const QAbstractSpinBox *>(widget))
        return spin->hasFrame() ? 0 : PseudoClass_Frameless;
    if (const auto *box = qobject_cast<const QGroupBox *>(widget))
        return box->isFlat() ? PseudoClass_Flat : 0;
    return 0;
}

} // namespace

quint64 widgetPseudoState(const QWidget *widget)
{
    quint64 state = 0;
    if (widget->isEnabled()) {
        state |= PseudoClass_Enabled;
        if (widget->underMouse())
            state |= PseudoClass_Hover;
    } else {
        state |= PseudoClass_Disabled;
    }
    if (widget->window()->isActiveWindow())
        state |= PseudoClass_Active;
    if (widget->isWindow())
        state |= PseudoClass_Window;
    if (widget->hasFocus())
        state |= PseudoClass_Focus;
    if (const auto *button = qobject_cast<const QAbstractButton *>(widget))
        state |= buttonState(button);
    state |= orientationState(widget) | editState(widget);
    state |=
        (state & (PseudoClass_On | PseudoClass_Pressed)) ? PseudoClass_Open : PseudoClass_Closed;
    return state;
}

QStringList pseudoStateNames(quint64 state)
{
    QStringList names;
    for (const StateName &entry : kStateNames) {
        if (state & entry.bit)
            names.append(QLatin1String(entry.name));
    }
    return names;
}

QWidget *styledWidget(QWidget *widget)
{
    if (!widget || !widget->styleSheet().isEmpty())
        return widget;
    QWidget *parent = widget->parentWidget();
    if (!parent)
        return widget;
    if (qobject_cast<QLineEdit *>(widget) &&
        (qobject_cast<QComboBox *>(parent) || qobject_cast<QAbstractSpinBox *>(parent)))
        return parent;
    if (const auto *area = qobject_cast<QAbstractScrollArea *>(parent)) {
        if (area->viewport() == widget)
            return parent;
    }
    if (qobject_cast<QFrame *>(widget) && qobject_cast<QComboBox *>(parent))
        return parent;
    if (widget->metaObject() == &QWidget::staticMetaObject && qobject_cast<QTabBar *>(parent))
        return parent;
    return widget;
}
