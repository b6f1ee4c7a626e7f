// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "audit/controlparts.h"

#include <QAbstractSpinBox>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QProgressBar>
#include <QRadioButton>
#include <QScrollBar>
#include <QSlider>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QStyleOptionProgressBar>
#include <QStyleOptionSpinBox>

namespace {

QStyleOptionSpinBox spinOption(QAbstractSpinBox *spin)
{
    QStyleOptionSpinBox option;
    option.initFrom(spin);
    option.subControls = QStyle::SC_All;
    option.buttonSymbols = spin->buttonSymbols();
    option.frame = spin->hasFrame();
    option.stepEnabled = QAbstractSpinBox::StepUpEnabled | QAbstractSpinBox::StepDownEnabled;
    return option;
}

QStyleOptionComboBox comboOption(QComboBox *combo)
{
    QStyleOptionComboBox option;
    option.initFrom(combo);
    option.subControls = QStyle::SC_All;
    option.editable = combo->isEditable();
    option.frame = combo->hasFrame();
    option.currentText = combo->currentText();
    return option;
}

} // namespace

QStyleOptionSlider sliderOption(const QAbstractSlider *slider)
{
    QStyleOptionSlider option;
    option.initFrom(slider);
    option.subControls = QStyle::SC_All;
    option.orientation = slider->orientation();
    if (slider->orientation() == Qt::Horizontal)
        option.state |= QStyle::State_Horizontal;
    option.minimum = slider->minimum();
    option.maximum = slider->maximum();
    option.sliderPosition = slider->sliderPosition();
    option.sliderValue = slider->value();
    option.singleStep = slider->singleStep();
    option.pageStep = slider->pageStep();
    option.upsideDown = slider->orientation() == Qt::Horizontal
                            ? slider->invertedAppearance() != (option.direction == Qt::RightToLeft)
                            : !slider->invertedAppearance();
    if (const auto *plain = qobject_cast<const QSlider *>(slider)) {
        option.tickPosition = plain->tickPosition();
        option.tickInterval = plain->tickInterval();
    } else {
        option.upsideDown = slider->invertedAppearance();
    }
    return option;
}

QVector<ControlPart> targetParts(QWidget *widget)
{
    QStyle *style = widget->style();
    if (auto *spin = qobject_cast<QAbstractSpinBox *>(widget)) {
        if (spin->buttonSymbols() == QAbstractSpinBox::NoButtons)
            return {{QStringLiteral("spin box"), QString(), widget->rect(), false}};
        const QStyleOptionSpinBox option = spinOption(spin);
        const auto rect = [&](QStyle::SubControl sub) {
            return style->subControlRect(QStyle::CC_SpinBox, &option, sub, widget);
        };
        return {
            {QStringLiteral("up button"), QStringLiteral("up-button"), rect(QStyle::SC_SpinBoxUp)},
            {QStringLiteral("down button"), QStringLiteral("down-button"),
             rect(QStyle::SC_SpinBoxDown)},
            {QStringLiteral("edit field"), QString(), rect(QStyle::SC_SpinBoxEditField), false}};
    }
    if (auto *combo = qobject_cast<QComboBox *>(widget)) {
        if (!combo->isEditable())
            return {{QStringLiteral("combo box"), QString(), widget->rect()}};
        const QStyleOptionComboBox option = comboOption(combo);
        return {
            {QStringLiteral("drop-down arrow"), QStringLiteral("drop-down"),
             style->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxArrow, widget)},
            {QStringLiteral("edit field"), QString(),
             style->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField,
                                   widget),
             false}};
    }
    if (auto *bar = qobject_cast<QScrollBar *>(widget)) {
        const QStyleOptionSlider option = sliderOption(bar);
        const auto rect = [&](QStyle::SubControl sub) {
            return style->subControlRect(QStyle::CC_ScrollBar, &option, sub, widget);
        };
        return {{QStringLiteral("line-up arrow"), QStringLiteral("sub-line"),
                 rect(QStyle::SC_ScrollBarSubLine)},
                {QStringLiteral("line-down arrow"), QStringLiteral("add-line"),
                 rect(QStyle::SC_ScrollBarAddLine)},
                {QStringLiteral("track"), QString(), rect(QStyle::SC_ScrollBarGroove), false}};
    }
    // A click on a check box's text toggles it as one on its indicator does.
    if (qobject_cast<QCheckBox *>(widget) || qobject_cast<QRadioButton *>(widget))
        return {{QStringLiteral("check box (indicator and text)"), QString(), widget->rect()}};
    if (qobject_cast<QLabel *>(widget) || qobject_cast<QProgressBar *>(widget))
        return {};
    return {{QStringLiteral("widget"), QString(), widget->rect(), false}};
}

QRect progressChunk(QProgressBar *bar, QRect *groove)
{
    QStyleOptionProgressBar option;
    option.initFrom(bar);
    option.minimum = bar->minimum();
    option.maximum = bar->maximum();
    option.progress = bar->value();
    const QRect contents =
        bar->style()->subElementRect(QStyle::SE_ProgressBarContents, &option, bar);
    *groove = contents;
    if (bar->maximum() <= bar->minimum() || bar->value() <= bar->minimum() ||
        bar->value() >= bar->maximum())
        return QRect();
    const double share = double(bar->value() - bar->minimum()) / (bar->maximum() - bar->minimum());
    QRect chunk = contents;
    if (bar->orientation() == Qt::Horizontal) {
        chunk.setWidth(int(contents.width() * share));
        if (bar->layoutDirection() == Qt::RightToLeft)
            chunk.moveRight(contents.right());
    } else {
        chunk.setTop(contents.bottom() - int(contents.height() * share));
    }
    return chunk;
}
