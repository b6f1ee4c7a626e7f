// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "widgetstyles/widgetstate.h"

#include "analysis/pseudostates.h"

#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QAbstractSlider>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QProgressBar>
#include <QProxyStyle>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>

namespace {

struct StateName
{
    quint64 bit;
    const char *name;
};

// The order the Rules view lists them in: what an author styles most comes first.
constexpr StateName kStateNames[] = {
    {PseudoState::Enabled, "enabled"},
    {PseudoState::Disabled, "disabled"},
    {PseudoState::Hover, "hover"},
    {PseudoState::Pressed, "pressed"},
    {PseudoState::Focus, "focus"},
    {PseudoState::Checked, "checked"},
    {PseudoState::Unchecked, "unchecked"},
    {PseudoState::Indeterminate, "indeterminate"},
    {PseudoState::On, "on"},
    {PseudoState::Off, "off"},
    {PseudoState::Default, "default"},
    {PseudoState::Flat, "flat"},
    {PseudoState::ReadOnly, "read-only"},
    {PseudoState::Editable, "editable"},
    {PseudoState::Frameless, "frameless"},
    {PseudoState::Active, "active"},
    {PseudoState::Window, "window"},
    {PseudoState::Horizontal, "horizontal"},
    {PseudoState::Vertical, "vertical"},
    {PseudoState::Open, "open"},
    {PseudoState::Closed, "closed"},
};

quint64 buttonState(const QAbstractButton *button)
{
    quint64 state = 0;
    if (button->isDown())
        state |= PseudoState::Pressed;
    const bool twoSided =
        qobject_cast<const QCheckBox *>(button) || qobject_cast<const QRadioButton *>(button);
    const auto *checkBox = qobject_cast<const QCheckBox *>(button);
    if (checkBox && checkBox->checkState() == Qt::PartiallyChecked)
        state |= PseudoState::Indeterminate;
    else if (button->isChecked())
        state |= PseudoState::On | PseudoState::Checked;
    // Push and tool buttons say only when they are on.
    else if (twoSided)
        state |= PseudoState::Off | PseudoState::Unchecked;
    if (const auto *push = qobject_cast<const QPushButton *>(button)) {
        if (push->isFlat())
            state |= PseudoState::Flat;
        if (push->isDefault())
            state |= PseudoState::Default;
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
    return orientation == Qt::Horizontal ? PseudoState::Horizontal : PseudoState::Vertical;
}

quint64 editState(const QWidget *widget)
{
    if (const auto *edit = qobject_cast<const QLineEdit *>(widget))
        return (edit->isReadOnly() ? PseudoState::ReadOnly : PseudoState::Editable) |
               (edit->hasFrame() ? 0 : PseudoState::Frameless);
    if (const auto *combo = qobject_cast<const QComboBox *>(widget))
        return (combo->isEditable() ? PseudoState::Editable : PseudoState::ReadOnly) |
               (combo->hasFrame() ? 0 : PseudoState::Frameless);
    if (const auto *spin = qobject_cast<const QAbstractSpinBox *>(widget))
        return spin->hasFrame() ? 0 : PseudoState::Frameless;
    if (const auto *box = qobject_cast<const QGroupBox *>(widget))
        return box->isFlat() ? PseudoState::Flat : 0;
    return 0;
}

} // namespace

quint64 widgetPseudoState(const QWidget *widget)
{
    quint64 state = 0;
    if (widget->isEnabled()) {
        state |= PseudoState::Enabled;
        if (widget->underMouse())
            state |= PseudoState::Hover;
    } else {
        state |= PseudoState::Disabled;
    }
    if (widget->window()->isActiveWindow())
        state |= PseudoState::Active;
    if (widget->isWindow())
        state |= PseudoState::Window;
    if (widget->hasFocus())
        state |= PseudoState::Focus;
    if (const auto *button = qobject_cast<const QAbstractButton *>(widget))
        state |= buttonState(button);
    state |= orientationState(widget) | editState(widget);
    state |= (state & (PseudoState::On | PseudoState::Pressed)) ? PseudoState::Open
                                                                : PseudoState::Closed;
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

QString styleUnderSheet()
{
    QStyle *style = QApplication::style();
    if (!qobject_cast<QProxyStyle *>(style)) {
        const auto wrapped = style->findChildren<QStyle *>(QString(), Qt::FindDirectChildrenOnly);
        if (wrapped.size() == 1)
            style = wrapped.first();
    }
    return QString::fromLatin1(style->metaObject()->className());
}
