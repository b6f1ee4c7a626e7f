// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "audit/showntext.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QStandardItemModel>
#include <QTableView>
#include <QToolButton>
#include <QToolTip>
#include <QTreeView>

namespace {

// The sizes a window had before it was held at one size, put back.
void releaseSize(QWidget *window)
{
    window->setMinimumSize(0, 0);
    window->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
}

QWidget *shownToolTip()
{
    for (QWidget *window : QApplication::topLevelWidgets())
        if (window->inherits("QTipLabel") && window->isVisible())
            return window;
    return nullptr;
}

// The widget's tool tip, shown as a pointer resting on it would show it; held at
// its size while its text is out.
ShownText toolTipText(QWidget *widget)
{
    auto window = std::make_shared<QPointer<QWidget>>();
    ShownText shown{QStringLiteral("tool tip"),
                    QPalette::ToolTipText,
                    QPalette::ToolTipBase,
                    {},
                    {},
                    {},
                    window};
    shown.isolate = [widget, window] {
        QToolTip::showText(widget->mapToGlobal(widget->rect().center()), widget->toolTip(), widget);
        *window = shownToolTip();
        if (*window)
            (*window)->setFixedSize((*window)->size());
    };
    shown.hide = [window] {
        if (auto *label = qobject_cast<QLabel *>(window->data()))
            label->setText(QString());
    };
    shown.restore = [widget, window] {
        if (auto *label = qobject_cast<QLabel *>(window->data())) {
            label->setText(widget->toolTip());
            releaseSize(label);
        }
        QToolTip::hideText();
    };
    return shown;
}

// A menu button's first item, plain or highlighted as under the pointer, in the
// menu opened below the button and held at its size while the item's text is out.
ShownText menuItemText(QWidget *widget, QMenu *menu, QAction *action, bool selected)
{
    auto window = std::make_shared<QPointer<QWidget>>();
    ShownText shown{selected ? QStringLiteral("highlighted menu item")
                             : QStringLiteral("menu item"),
                    selected ? QPalette::HighlightedText : QPalette::WindowText,
                    selected ? QPalette::Highlight : QPalette::Window,
                    {},
                    {},
                    {},
                    window,
                    QStringLiteral("item")};
    const QString text = action->text();
    shown.isolate = [widget, menu, action, selected, window] {
        menu->popup(widget->mapToGlobal(QPoint(0, widget->height())));
        menu->setFixedSize(menu->size());
        if (selected)
            menu->setActiveAction(action);
        *window = menu;
    };
    shown.hide = [action] { action->setText(QString()); };
    shown.restore = [widget, menu, action, text] {
        action->setText(text);
        menu->hide();
        releaseSize(menu);
        QApplication::setActiveWindow(widget->window());
    };
    return shown;
}

QMenu *menuOf(QWidget *widget)
{
    if (auto *bar = qobject_cast<QMenuBar *>(widget)) {
        for (QAction *action : bar->actions())
            if (action->menu() && action->isVisible())
                return action->menu();
        return nullptr;
    }
    auto *tool = qobject_cast<QToolButton *>(widget);
    if (!tool)
        return nullptr;
    if (tool->menu())
        return tool->menu();
    return tool->defaultAction() ? tool->defaultAction()->menu() : nullptr;
}

QVector<ShownText> menuTexts(QWidget *widget)
{
    QMenu *menu = menuOf(widget);
    if (!menu)
        return {};
    for (QAction *action : menu->actions())
        if (!action->isSeparator() && !action->menu() && !action->text().isEmpty() &&
            action->isVisible())
            return {menuItemText(widget, menu, action, false),
                    menuItemText(widget, menu, action, true)};
    return {};
}

// A menu bar's last item: taking the text out moves only the items after it.
QVector<ShownText> menuBarText(QMenuBar *bar)
{
    const QList<QAction *> actions = bar->actions();
    if (actions.isEmpty() || actions.last()->text().isEmpty())
        return {};
    QAction *action = actions.last();
    const QString text = action->text();
    return {{QStringLiteral("menu bar item"),
             QPalette::WindowText,
             QPalette::Window,
             {},
             [action] {
                 const QSignalBlocker blocker(action);
                 action->setText(QString());
             },
             [action, text] {
                 const QSignalBlocker blocker(action);
                 action->setText(text);
             },
             nullptr,
             QStringLiteral("item")}};
}

// An item view's first item, plain and selected, and its header's first section;
// the model's and the selection's signals held, so only the painting sees them.
QVector<ShownText> viewTexts(QAbstractItemView *view)
{
    QAbstractItemModel *model = view->model();
    QItemSelectionModel *selection = view->selectionModel();
    if (!model || !selection)
        return {};
    QVector<ShownText> texts;
    const QModelIndex index = model->index(0, 0, view->rootIndex());
    const QString text = index.isValid() ? model->data(index).toString() : QString();
    const auto setText = [model, index](const QString &value) {
        const QSignalBlocker blocker(model);
        model->setData(index, value);
    };
    if (!text.isEmpty() && (model->flags(index) & Qt::ItemIsEnabled)) {
        const QItemSelection saved = selection->selection();
        for (const bool selected : {false, true}) {
            const auto choose = [selection, index, selected] {
                const QSignalBlocker blocker(selection);
                selection->select(index, selected ? QItemSelectionModel::ClearAndSelect
                                                  : QItemSelectionModel::Clear);
            };
            texts.append({selected ? QStringLiteral("selected item") : QStringLiteral("item"),
                          selected ? QPalette::HighlightedText : QPalette::Text,
                          selected ? QPalette::Highlight : QPalette::Base, choose,
                          [setText] { setText(QString()); },
                          [setText, text, selection, saved] {
                              setText(text);
                              const QSignalBlocker blocker(selection);
                              selection->select(saved, QItemSelectionModel::ClearAndSelect);
                          },
                          nullptr, QStringLiteral("item")});
        }
    }
    QHeaderView *header = nullptr;
    if (auto *tree = qobject_cast<QTreeView *>(view))
        header = tree->header();
    else if (auto *table = qobject_cast<QTableView *>(view))
        header = table->horizontalHeader();
    const QString title =
        header && header->isVisible() ? model->headerData(0, Qt::Horizontal).toString() : QString();
    if (!title.isEmpty()) {
        const auto setTitle = [model](const QString &value) {
            const QSignalBlocker blocker(model);
            model->setHeaderData(0, Qt::Horizontal, value);
        };
        texts.append({QStringLiteral("header"),
                      QPalette::ButtonText,
                      QPalette::Button,
                      {},
                      [setTitle] { setTitle(QString()); },
                      [setTitle, title] { setTitle(title); },
                      nullptr,
                      QString()});
    }
    return texts;
}

ShownText buttonText(QAbstractButton *button)
{
    const QString text = button->text();
    const QIcon icon = button->icon();
    const bool plain = qobject_cast<QCheckBox *>(button) || qobject_cast<QRadioButton *>(button);
    ShownText shown{QStringLiteral("text"),
                    plain ? QPalette::WindowText : QPalette::ButtonText,
                    plain ? QPalette::Window : QPalette::Button,
                    {},
                    {},
                    {}};
    if (!icon.isNull())
        shown.isolate = [button] {
            const QSignalBlocker blocker(button);
            button->setIcon(QIcon());
        };
    shown.hide = [button] {
        const QSignalBlocker blocker(button);
        button->setIcon(QIcon());
        button->setText(QString());
    };
    shown.restore = [button, text, icon] {
        const QSignalBlocker blocker(button);
        button->setText(text);
        button->setIcon(icon);
    };
    return shown;
}

// An editor's text and, while it is empty (or in the normal state, emptied for
// the purpose), its placeholder text.
QVector<ShownText> editTexts(QLineEdit *edit, AuditState state)
{
    QVector<ShownText> texts;
    const QString text = edit->text();
    const QString placeholder = edit->placeholderText();
    const auto restore = [edit, text, placeholder] {
        const QSignalBlocker blocker(edit);
        edit->setText(text);
        edit->setPlaceholderText(placeholder);
        edit->deselect();
    };
    if (!text.isEmpty())
        texts.append({QStringLiteral("text"),
                      QPalette::Text,
                      QPalette::Base,
                      {},
                      [edit] {
                          const QSignalBlocker blocker(edit);
                          edit->setPlaceholderText(QString());
                          edit->setText(QString());
                      },
                      restore});
    if (!placeholder.isEmpty() && (text.isEmpty() || state == AuditState::Normal)) {
        ShownText shown{QStringLiteral("placeholder text"),
                        QPalette::PlaceholderText,
                        QPalette::Base,
                        [edit] {
                            const QSignalBlocker blocker(edit);
                            edit->setText(QString());
                        },
                        [edit] {
                            const QSignalBlocker blocker(edit);
                            edit->setText(QString());
                            edit->setPlaceholderText(QString());
                        },
                        restore};
        if (text.isEmpty())
            shown.isolate = nullptr;
        texts.append(shown);
    }
    return texts;
}

ShownText spinText(QAbstractSpinBox *spin)
{
    QLineEdit *editor = spin->findChild<QLineEdit *>();
    const QString text = editor->text();
    return {QStringLiteral("text"),
            QPalette::Text,
            QPalette::Base,
            {},
            [editor] {
                const QSignalBlocker blocker(editor);
                editor->setText(QString());
            },
            [editor, text] {
                const QSignalBlocker blocker(editor);
                editor->setText(text);
                editor->deselect();
            }};
}

ShownText comboText(QComboBox *combo)
{
    const int index = combo->currentIndex();
    const QString text = combo->itemText(index);
    const bool editable = combo->isEditable();
    return {QStringLiteral("text"),
            editable ? QPalette::Text : QPalette::ButtonText,
            editable ? QPalette::Base : QPalette::Button,
            {},
            [combo, index] {
                const QSignalBlocker blocker(combo);
                combo->setItemText(index, QString());
                if (combo->lineEdit())
                    combo->lineEdit()->setText(QString());
            },
            [combo, index, text] {
                const QSignalBlocker blocker(combo);
                combo->setItemText(index, text);
                if (combo->lineEdit()) {
                    combo->lineEdit()->setText(text);
                    combo->lineEdit()->deselect();
                }
            }};
}

ShownText labelText(QLabel *label)
{
    const QString text = label->text();
    return {QStringLiteral("text"),
            QPalette::WindowText,
            QPalette::Window,
            {},
            [label] { label->setText(QString()); },
            [label, text] { label->setText(text); }};
}

ShownText groupTitle(QGroupBox *group)
{
    const QString title = group->title();
    return {QStringLiteral("title"),
            QPalette::WindowText,
            QPalette::Window,
            {},
            [group] { group->setTitle(QString()); },
            [group, title] { group->setTitle(title); }};
}

// The texts a widget shows in its own area.
QVector<ShownText> ownTexts(QWidget *widget, AuditState state)
{
    if (auto *button = qobject_cast<QAbstractButton *>(widget))
        return button->text().isEmpty() ? QVector<ShownText>{}
                                        : QVector<ShownText>{buttonText(button)};
    if (auto *bar = qobject_cast<QMenuBar *>(widget))
        return menuBarText(bar);
    if (auto *view = qobject_cast<QAbstractItemView *>(widget))
        return state == AuditState::Normal || state == AuditState::Disabled ? viewTexts(view)
                                                                            : QVector<ShownText>{};
    if (auto *edit = qobject_cast<QLineEdit *>(widget))
        return editTexts(edit, state);
    if (auto *spin = qobject_cast<QAbstractSpinBox *>(widget))
        return spin->findChild<QLineEdit *>() && !spin->text().isEmpty()
                   ? QVector<ShownText>{spinText(spin)}
                   : QVector<ShownText>{};
    if (auto *combo = qobject_cast<QComboBox *>(widget))
        return combo->currentText().isEmpty() ? QVector<ShownText>{}
                                              : QVector<ShownText>{comboText(combo)};
    if (auto *label = qobject_cast<QLabel *>(widget))
        return label->text().isEmpty() ? QVector<ShownText>{}
                                       : QVector<ShownText>{labelText(label)};
    if (auto *group = qobject_cast<QGroupBox *>(widget))
        return group->title().isEmpty() ? QVector<ShownText>{}
                                        : QVector<ShownText>{groupTitle(group)};
    return {};
}

} // namespace

QVector<ShownText> shownTexts(QWidget *widget, AuditState state, AuditDrive drive,
                              QStringList *leftOut)
{
    const bool quiet = drive == AuditDrive::Quiet;
    const auto leave = [leftOut](const QString &part) {
        if (leftOut)
            leftOut->append(part);
    };
    QVector<ShownText> texts;
    if (auto *view = qobject_cast<QAbstractItemView *>(widget); quiet && view) {
        if (state == AuditState::Normal || state == AuditState::Disabled)
            leave(QStringLiteral("the items' text"));
    } else if (auto *combo = qobject_cast<QComboBox *>(widget);
               quiet && combo &&
               combo->model()->metaObject() != &QStandardItemModel::staticMetaObject) {
        leave(QStringLiteral("the text"));
    } else {
        texts = ownTexts(widget, state);
    }
    if (state != AuditState::Normal)
        return texts;
    if (!widget->toolTip().isEmpty())
        texts.append(toolTipText(widget));
    if (quiet) {
        if (menuOf(widget))
            leave(QStringLiteral("the menu's items"));
        return texts;
    }
    return texts + menuTexts(widget);
}
