// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include "audit/auditchecks.h"

#include <QDateTime>
#include <QIcon>
#include <QString>

class QAbstractButton;
class QAbstractSlider;
class QButtonGroup;
class QComboBox;
class QDateTimeEdit;
class QDoubleSpinBox;
class QGroupBox;
class QLineEdit;
class QSpinBox;
class QWidget;

// What the state audit changes on a widget to show a state, and puts back.

// What a press changes besides the look (a slider's or spin box's value, a tab
// widget's page), put back while the signals are blocked.
class PressedValue
{
public:
    explicit PressedValue(QWidget *widget);
    void restore();

private:
    QLineEdit *spinEditor() const;

    QAbstractSlider *slider;
    QSpinBox *spin;
    QDoubleSpinBox *doubleSpin;
    QDateTimeEdit *dateTime;
    QGroupBox *group;
    bool groupChecked = false;
    int value = 0;
    double doubleValue = 0;
    QDateTime when;
};

// The widget's own text, taken out and put back; for the disabled text measure.
class TextRemoval
{
public:
    TextRemoval(QWidget *widget, AuditDrive drive);
    bool hasText() const { return !saved.isEmpty(); }
    void remove();
    void restore();

private:
    QAbstractButton *button = nullptr;
    QLineEdit *edit = nullptr;
    QComboBox *combo = nullptr;
    QIcon icon;
    QString saved;
    QString placeholder;
};

// A checkable button held unchecked for the other states and checked for its own,
// without telling anyone (the gallery reacts to some toggles) and without moving
// the other buttons of its exclusive group.
class CheckHold
{
public:
    explicit CheckHold(QWidget *widget);
    ~CheckHold();
    CheckHold(const CheckHold &) = delete;
    CheckHold &operator=(const CheckHold &) = delete;
    bool checkable() const { return button; }
    void setChecked(bool checked);

private:
    QAbstractButton *button;
    Qt::CheckState state = Qt::Unchecked;
    bool autoExclusive = false;
    QButtonGroup *group = nullptr;
    bool groupExclusive = false;
    bool groupBlocked = false;
};

// The quiet drive's focus: the widget the style asks hasFocus() of (none, for the
// looks without focus), set where the toolkit keeps it, with no focus event sent
// and no focusChanged emitted.
class QuietFocus
{
public:
    explicit QuietFocus(QWidget *widget);
    ~QuietFocus();
    QuietFocus(const QuietFocus &) = delete;
    QuietFocus &operator=(const QuietFocus &) = delete;

private:
    QWidget *saved;
};

// The quiet drive's active window, for the looks the style keeps for it, with no
// activation event.
class QuietActivation
{
public:
    QuietActivation(QWidget *window, bool hold);
    ~QuietActivation();
    QuietActivation(const QuietActivation &) = delete;
    QuietActivation &operator=(const QuietActivation &) = delete;

private:
    QWidget *saved;
    bool hold;
};

// The quiet drive's hover: the under-mouse attribute, with no hover event. A push
// button under mouse tracking (the sheet's hover rules turn it on) shows hover only
// where its own hover events put it; without, by the attribute.
class QuietHover
{
public:
    explicit QuietHover(QWidget *widget);
    ~QuietHover();
    QuietHover(const QuietHover &) = delete;
    QuietHover &operator=(const QuietHover &) = delete;

private:
    QWidget *widget;
    bool underMouse;
    bool tracking;
};
