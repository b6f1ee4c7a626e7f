// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "widgetstyles/widgetcontrasttree.h"

#include "analysis/pseudostates.h"
#include "widgetstyles/widgetstate.h"

#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QStyle>
#include <QTextEdit>
#include <QToolButton>

namespace {

// Whether the widget draws text of its own, and in which palette roles.
bool textRole(const QWidget *widget, ContrastRole *role)
{
    if (const auto *combo = qobject_cast<const QComboBox *>(widget)) {
        *role = combo->isEditable() ? ContrastRole::Input : ContrastRole::Button;
        return true;
    }
    if (qobject_cast<const QLineEdit *>(widget) || qobject_cast<const QAbstractSpinBox *>(widget) ||
        qobject_cast<const QTextEdit *>(widget) || qobject_cast<const QPlainTextEdit *>(widget)) {
        *role = ContrastRole::Input;
        return true;
    }
    if (const auto *tool = qobject_cast<const QToolButton *>(widget)) {
        *role = ContrastRole::Button;
        return !tool->text().isEmpty() && tool->toolButtonStyle() != Qt::ToolButtonIconOnly;
    }
    if (const auto *button = qobject_cast<const QAbstractButton *>(widget)) {
        const bool indicator =
            qobject_cast<const QCheckBox *>(widget) || qobject_cast<const QRadioButton *>(widget);
        *role = indicator ? ContrastRole::Plain : ContrastRole::Button;
        return !button->text().isEmpty();
    }
    if (const auto *label = qobject_cast<const QLabel *>(widget)) {
        *role = ContrastRole::Plain;
        return !label->text().isEmpty();
    }
    return false;
}

// A tool button that raises only under the pointer (as a tool bar's do) draws no
// panel of its own until then: its text is on what is behind it.
ContrastRole roleIn(const QWidget *widget, ContrastRole role, quint64 state)
{
    const auto *tool = qobject_cast<const QToolButton *>(widget);
    const quint64 raised = PseudoState::Hover | PseudoState::Pressed | PseudoState::Checked;
    return tool && tool->autoRaise() && !(state & raised) ? ContrastRole::Plain : role;
}

void addWidgetTargets(const QWidget *widget, ContrastRole role, QVector<ContrastTarget> &targets)
{
    const quint64 state = widgetPseudoState(widget);
    QVector<quint64> states{state};
    if (!(state & PseudoState::Hover))
        states.append(state | PseudoState::Hover);
    const auto *button = qobject_cast<const QAbstractButton *>(widget);
    if (button && !(state & PseudoState::Pressed))
        states.append(state | PseudoState::Pressed);
    if (button && button->isCheckable() && !button->isChecked())
        states.append(
            (state & ~(PseudoState::Unchecked | PseudoState::Off | PseudoState::Indeterminate)) |
            PseudoState::Checked | PseudoState::On);
    for (const quint64 judged : qAsConst(states))
        targets.append({widget, judged, roleIn(widget, role, judged), false, false});
}

} // namespace

WidgetContrastTree::WidgetContrastTree(QWidget *root)
    : root(root)
{}

QVector<ContrastTarget> WidgetContrastTree::contrastTargets() const
{
    QVector<ContrastTarget> targets;
    if (!root)
        return targets;
    QList<QWidget *> widgets = root->findChildren<QWidget *>();
    widgets.prepend(root);
    for (const QWidget *widget : qAsConst(widgets)) {
        // The inner parts of a spin box, a combo box or a view are styled as it.
        if (!widget->isEnabled() || styledWidget(const_cast<QWidget *>(widget)) != widget)
            continue;
        if (const auto *view = qobject_cast<const QAbstractItemView *>(widget)) {
            if (qobject_cast<const QHeaderView *>(view) || !view->model() ||
                view->model()->rowCount(view->rootIndex()) == 0)
                continue;
            const quint64 state = widgetPseudoState(view);
            targets.append({view, state, ContrastRole::Input, true, false});
            targets.append({view, state, ContrastRole::Input, true, true});
            continue;
        }
        ContrastRole role = ContrastRole::Plain;
        if (textRole(widget, &role))
            addWidgetTargets(widget, role, targets);
    }
    return targets;
}

quint64 WidgetContrastTree::stateOf(const QObject *object) const
{
    const auto *widget = qobject_cast<const QWidget *>(object);
    return widget ? widgetPseudoState(widget) : 0;
}

QString WidgetContrastTree::styleName() const
{
    return styleUnderSheet();
}
