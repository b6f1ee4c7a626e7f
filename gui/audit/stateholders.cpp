// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "audit/stateholders.h"

#include <QAbstractButton>
#include <QAbstractSlider>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QDoubleSpinBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QStandardItemModel>
#include <QtWidgets/private/qapplication_p.h>

namespace {

// The combo box's own list, not a model of the application's whose setData is its code.
bool ownsItems(const QComboBox *combo)
{
    return combo->model()->metaObject() == &QStandardItemModel::staticMetaObject;
}

} // namespace

PressedValue::PressedValue(QWidget *widget)
    : slider(qobject_cast<QAbstractSlider *>(widget))
    , spin(qobject_cast<QSpinBox *>(widget))
    , doubleSpin(qobject_cast<QDoubleSpinBox *>(widget))
    , dateTime(qobject_cast<QDateTimeEdit *>(widget))
    , group(qobject_cast<QGroupBox *>(widget))
{
    if (group)
        groupChecked = group->isChecked();
    if (slider)
        value = slider->value();
    else if (spin)
        value = spin->value();
    else if (doubleSpin)
        doubleValue = doubleSpin->value();
    else if (dateTime)
        when = dateTime->dateTime();
}

void PressedValue::restore()
{
    if (slider)
        slider->setValue(value);
    else if (spin)
        spin->setValue(value);
    else if (doubleSpin)
        doubleSpin->setValue(doubleValue);
    else if (dateTime)
        dateTime->setDateTime(when);
    // A checkable group box toggles on the release.
    if (group && group->isCheckable())
        group->setChecked(groupChecked);
    // A step selects the editor's text, which would show in this render and the
    // focus one after it.
    if (QLineEdit *editor = spinEditor())
        editor->deselect();
}

QLineEdit *PressedValue::spinEditor() const
{
    QWidget *box = spin         ? static_cast<QWidget *>(spin)
                   : doubleSpin ? static_cast<QWidget *>(doubleSpin)
                                : dateTime;
    return box ? box->findChild<QLineEdit *>() : nullptr;
}

TextRemoval::TextRemoval(QWidget *widget, AuditDrive drive)
{
    if ((button = qobject_cast<QAbstractButton *>(widget))) {
        saved = button->text();
        icon = button->icon();
    } else if ((combo = qobject_cast<QComboBox *>(widget)) && !combo->isEditable()) {
        if (drive == AuditDrive::Quiet && !ownsItems(combo))
            combo = nullptr;
        else
            saved = combo->currentText();
    } else {
        combo = nullptr;
        edit = qobject_cast<QLineEdit *>(widget);
        // A spin box's or an editable combo box's text is in its editor.
        if (!edit &&
            (qobject_cast<QAbstractSpinBox *>(widget) || qobject_cast<QComboBox *>(widget)))
            edit = widget->findChild<QLineEdit *>();
        if (edit) {
            saved = edit->text();
            placeholder = edit->placeholderText();
            if (saved.isEmpty())
                saved = placeholder;
        }
    }
}

// Both renders lose a button's icon, so the text stays where it is and only the
// glyphs differ between them.
void TextRemoval::remove()
{
    if (button) {
        const QSignalBlocker blocker(button);
        button->setIcon(QIcon());
        button->setText(QString());
    } else if (combo) {
        const QSignalBlocker blocker(combo);
        combo->setItemText(combo->currentIndex(), QString());
    } else if (edit) {
        const QSignalBlocker blocker(edit);
        edit->setPlaceholderText(QString());
        edit->setText(QString());
    }
}

void TextRemoval::restore()
{
    if (button) {
        const QSignalBlocker blocker(button);
        button->setText(saved);
        button->setIcon(icon);
    } else if (combo) {
        const QSignalBlocker blocker(combo);
        combo->setItemText(combo->currentIndex(), saved);
    } else if (edit) {
        const QSignalBlocker blocker(edit);
        edit->setText(placeholder == saved && !placeholder.isEmpty() ? QString() : saved);
        edit->setPlaceholderText(placeholder);
    }
}

CheckHold::CheckHold(QWidget *widget)
    : button(qobject_cast<QAbstractButton *>(widget))
{
    if (!button || !button->isCheckable()) {
        button = nullptr;
        return;
    }
    auto *box = qobject_cast<QCheckBox *>(button);
    state = box ? box->checkState() : (button->isChecked() ? Qt::Checked : Qt::Unchecked);
    autoExclusive = button->autoExclusive();
    group = button->group();
    groupExclusive = group && group->exclusive();
    button->blockSignals(true);
    // The group tells of its buttons' toggles itself, blocked or not.
    if (group) {
        groupBlocked = group->blockSignals(true);
        group->setExclusive(false);
    }
    button->setAutoExclusive(false);
    button->setChecked(false);
}

CheckHold::~CheckHold()
{
    if (!button)
        return;
    if (auto *box = qobject_cast<QCheckBox *>(button))
        box->setCheckState(state);
    else
        button->setChecked(state == Qt::Checked);
    button->setAutoExclusive(autoExclusive);
    if (group) {
        group->setExclusive(groupExclusive);
        group->blockSignals(groupBlocked);
    }
    button->blockSignals(false);
}

void CheckHold::setChecked(bool checked)
{
    button->setChecked(checked);
}

QuietFocus::QuietFocus(QWidget *widget)
    : saved(QApplicationPrivate::focus_widget)
{
    while (widget && widget->focusProxy())
        widget = widget->focusProxy();
    QApplicationPrivate::focus_widget = widget;
}

QuietFocus::~QuietFocus()
{
    QApplicationPrivate::focus_widget = saved;
}

QuietActivation::QuietActivation(QWidget *window, bool hold)
    : saved(QApplicationPrivate::active_window)
    , hold(hold)
{
    if (hold)
        QApplicationPrivate::active_window = window;
}

QuietActivation::~QuietActivation()
{
    if (hold)
        QApplicationPrivate::active_window = saved;
}

QuietHover::QuietHover(QWidget *widget)
    : widget(widget)
    , underMouse(widget->testAttribute(Qt::WA_UnderMouse))
    , tracking(widget->hasMouseTracking())
{
    widget->setMouseTracking(false);
    widget->setAttribute(Qt::WA_UnderMouse, true);
}

QuietHover::~QuietHover()
{
    widget->setAttribute(Qt::WA_UnderMouse, underMouse);
    widget->setMouseTracking(tracking);
}
