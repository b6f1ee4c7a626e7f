// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "audit/presstargets.h"

#include "audit/controlparts.h"

#include <QAbstractButton>
#include <QAbstractSlider>
#include <QAbstractSpinBox>
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QDoubleSpinBox>
#include <QGroupBox>
#include <QMenu>
#include <QRadioButton>
#include <QScrollBar>
#include <QSlider>
#include <QSpinBox>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStyleOptionComboBox>
#include <QStyleOptionGroupBox>
#include <QStyleOptionSlider>
#include <QStyleOptionSpinBox>
#include <QTabBar>
#include <QTabWidget>
#include <QToolButton>

namespace {

QRect sliderHandle(const QAbstractSlider *slider)
{
    const QStyleOptionSlider option = sliderOption(slider);
    if (qobject_cast<const QSlider *>(slider))
        return slider->style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle,
                                               slider);
    return slider->style()->subControlRect(QStyle::CC_ScrollBar, &option,
                                           QStyle::SC_ScrollBarSlider, slider);
}

QRect indicator(const QAbstractButton *button)
{
    QStyleOptionButton option;
    option.initFrom(button);
    option.text = button->text();
    const bool radio = qobject_cast<const QRadioButton *>(button);
    return button->style()->subElementRect(
        radio ? QStyle::SE_RadioButtonIndicator : QStyle::SE_CheckBoxIndicator, &option, button);
}

// QTabWidget keeps its bar to itself; it is its one direct QTabBar child.
QTabBar *tabBarOf(QWidget *widget)
{
    return widget->findChild<QTabBar *>(QString(), Qt::FindDirectChildrenOnly);
}

bool pressedBySlider(const QWidget *widget)
{
    return qobject_cast<const QSlider *>(widget) || qobject_cast<const QScrollBar *>(widget);
}

bool opensMenu(const QWidget *widget)
{
    const auto *tool = qobject_cast<const QToolButton *>(widget);
    return tool && (tool->menu() || (tool->defaultAction() && tool->defaultAction()->menu()));
}

// The spin box's own answer to this is protected.
bool canStepUp(const QAbstractSpinBox *spin)
{
    if (spin->wrapping())
        return true;
    if (const auto *plain = qobject_cast<const QSpinBox *>(spin))
        return plain->value() < plain->maximum();
    if (const auto *real = qobject_cast<const QDoubleSpinBox *>(spin))
        return real->value() < real->maximum();
    if (const auto *time = qobject_cast<const QDateTimeEdit *>(spin))
        return time->dateTime() < time->maximumDateTime();
    return true;
}

QRect complexPart(QWidget *widget, QStyle::ComplexControl control, QStyle::SubControl sub,
                  QStyleOptionComplex &option)
{
    return widget->style()->subControlRect(control, &option, sub, widget);
}

QRect comboArrow(QWidget *widget, bool frame)
{
    QStyleOptionComboBox option;
    option.initFrom(widget);
    option.subControls = QStyle::SC_All;
    option.editable = true;
    option.frame = frame;
    return complexPart(widget, QStyle::CC_ComboBox, QStyle::SC_ComboBoxArrow, option);
}

QRect stepButton(QAbstractSpinBox *spin)
{
    QStyleOptionSpinBox option;
    option.initFrom(spin);
    option.subControls = QStyle::SC_All;
    option.buttonSymbols = spin->buttonSymbols();
    option.frame = spin->hasFrame();
    const bool up = canStepUp(spin);
    return complexPart(spin, QStyle::CC_SpinBox, up ? QStyle::SC_SpinBoxUp : QStyle::SC_SpinBoxDown,
                       option);
}

QRect groupBoxCheck(QGroupBox *group)
{
    QStyleOptionGroupBox option;
    option.initFrom(group);
    option.subControls =
        QStyle::SC_GroupBoxCheckBox | QStyle::SC_GroupBoxLabel | QStyle::SC_GroupBoxFrame;
    option.text = group->title();
    option.textAlignment = group->alignment();
    option.lineWidth = 1;
    if (group->isFlat())
        option.features |= QStyleOptionFrame::Flat;
    return complexPart(group, QStyle::CC_GroupBox, QStyle::SC_GroupBoxCheckBox, option);
}

} // namespace

PressKind pressKind(QWidget *widget)
{
    if (opensMenu(widget))
        return PressKind::MenuButton;
    if (qobject_cast<QAbstractButton *>(widget))
        return PressKind::Button;
    if (pressedBySlider(widget))
        return PressKind::Slider;
    if (auto *time = qobject_cast<QDateTimeEdit *>(widget); time && time->calendarPopup())
        return time->isReadOnly() ? PressKind::None : PressKind::CalendarPopup;
    if (auto *spin = qobject_cast<QAbstractSpinBox *>(widget))
        return spin->buttonSymbols() != QAbstractSpinBox::NoButtons && !spin->isReadOnly()
                   ? PressKind::SpinBox
                   : PressKind::None;
    if (qobject_cast<QComboBox *>(widget))
        return PressKind::ComboBox;
    if (qobject_cast<QTabWidget *>(widget) && tabBarOf(widget))
        return PressKind::TabBar;
    if (auto *group = qobject_cast<QGroupBox *>(widget); group && group->isCheckable())
        return PressKind::GroupBoxCheck;
    return PressKind::None;
}

QRect activePart(QWidget *widget)
{
    if (pressedBySlider(widget)) {
        const QRect handle = sliderHandle(static_cast<QAbstractSlider *>(widget));
        if (handle.isValid() && widget->rect().contains(handle.center()))
            return handle;
    }
    if (qobject_cast<QCheckBox *>(widget) || qobject_cast<QRadioButton *>(widget)) {
        const QRect part = indicator(static_cast<QAbstractButton *>(widget));
        if (part.isValid() && widget->rect().intersects(part))
            return part & widget->rect();
    }
    return widget->rect();
}

QRect pressPart(QWidget *widget, PressKind kind, const QRect &pointerPart)
{
    // Drawn as a framed, editable combo box draws its arrow.
    if (kind == PressKind::CalendarPopup)
        return comboArrow(widget, true);
    if (auto *spin = qobject_cast<QAbstractSpinBox *>(widget); spin && kind == PressKind::SpinBox)
        return stepButton(spin);
    if (auto *combo = qobject_cast<QComboBox *>(widget); combo && combo->isEditable())
        return comboArrow(widget, combo->hasFrame());
    if (kind == PressKind::TabBar) {
        const QTabBar *bar = tabBarOf(widget);
        return bar->tabRect(bar->currentIndex()).translated(bar->mapTo(widget, QPoint()));
    }
    if (kind == PressKind::GroupBoxCheck)
        return groupBoxCheck(static_cast<QGroupBox *>(widget));
    return pointerPart;
}
