// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "shot/wcagaudit.h"

#include "analysis/contrastratio.h"
#include "shot/auditrules.h"
#include "theme/shellobjectnames.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFontInfo>
#include <QGroupBox>
#include <QHash>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QSlider>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStyleOptionComboBox>
#include <QStyleOptionProgressBar>
#include <QStyleOptionSlider>
#include <QStyleOptionSpinBox>
#include <QTabBar>
#include <QTabWidget>
#include <QTableView>
#include <QTextEdit>
#include <QToolButton>
#include <QToolTip>
#include <QTreeView>

#include <algorithm>
#include <cmath>
#include <functional>
#include <memory>

namespace {

constexpr double kTextContrast = 4.5;
constexpr double kLargeTextContrast = 3.0;
constexpr double kNonTextContrast = 3.0;
constexpr double kLargePoints = 18;
constexpr double kLargeBoldPoints = 14;
constexpr qreal kTargetSize = 24;
// Around a part, where what it stands against is looked for; and an input's border
// band, deep enough for a 2-pixel border drawn half a pixel in.
constexpr int kAround = 2;
constexpr int kBorderBand = 2;
const QColor kOutlineColour(0xff, 0x00, 0xff);
const QString kColour = QStringLiteral("color");

// Cut, not rounded: WCAG allows no rounding up, so 4.499:1 must not read as 4.50:1.
QString ratioText(double ratio)
{
    return QString::number(std::floor(ratio * 100) / 100, 'f', 2) + QStringLiteral(":1");
}

// One text a widget shows, taken out and put back. isolate (when set) leaves the
// text the only thing hide changes, such as a button's icon taken out of both renders.
struct ShownText
{
    QString part;
    QPalette::ColorRole foreground = QPalette::WindowText;
    QPalette::ColorRole background = QPalette::Window;
    std::function<void()> isolate;
    std::function<void()> hide;
    std::function<void()> restore;
    // Text in a window of its own (a tool tip, a menu), set by isolate: rendered,
    // judged by its palette and located in the sheet as that window, not the widget.
    std::shared_ptr<QPointer<QWidget>> window = nullptr;
    QString subcontrol = QString();
};

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
             [action] { action->setText(QString()); },
             [action, text] { action->setText(text); },
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

// Its own texts, and in the normal state those of its tool tip and menu.
QVector<ShownText> shownTexts(QWidget *widget, AuditState state)
{
    QVector<ShownText> texts = ownTexts(widget, state);
    if (state != AuditState::Normal)
        return texts;
    if (!widget->toolTip().isEmpty())
        texts.append(toolTipText(widget));
    return texts + menuTexts(widget);
}

// The widget's rectangle in the image of its state.
QRect inImage(const ObservedState &state, QWidget *widget, const QRect &rect)
{
    const QRect window(widget->mapTo(widget->window(), rect.topLeft()), rect.size());
    const QRectF scaled(QPointF(window.topLeft() - state.area.topLeft()) * state.scale,
                        QSizeF(window.size()) * state.scale);
    return scaled.toAlignedRect();
}

QColor dominantColour(const QImage &image, const QRegion &region)
{
    QHash<QRgb, int> counts;
    for (const QRect &rect : region) {
        const QRect inside = rect & image.rect();
        for (int y = inside.top(); y <= inside.bottom(); ++y)
            for (int x = inside.left(); x <= inside.right(); ++x)
                ++counts[image.pixel(x, y) | 0xff000000u];
    }
    QRgb best = 0;
    int most = -1;
    for (auto it = counts.constBegin(); it != counts.constEnd(); ++it)
        if (it.value() > most || (it.value() == most && it.key() < best)) {
            best = it.key();
            most = it.value();
        }
    return QColor::fromRgb(best);
}

// The tab title's glyphs against the tab's own colour: taking the title out would
// move the tabs after it, so the colour most common under the title stands for
// the background.
double tabTitleContrast(const ObservedState &state, QTabBar *bar)
{
    const int index = bar->currentIndex();
    const QRect tab = bar->tabRect(index);
    const QSize text = bar->fontMetrics().size(Qt::TextShowMnemonic, bar->tabText(index));
    QRect title(QPoint(), text);
    title.moveCenter(tab.center());
    title &= tab;
    const QRect area = inImage(state, bar, title);
    const QImage image = state.image.convertToFormat(QImage::Format_RGB32);
    const QColor background = dominantColour(image, area);
    double strongest = 0;
    const QRect inside = area & image.rect();
    for (int y = inside.top(); y <= inside.bottom(); ++y)
        for (int x = inside.left(); x <= inside.right(); ++x)
            strongest =
                std::max(strongest, pixelContrastRatio(image.pixel(x, y), background.rgb()));
    return strongest;
}

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

QStyleOptionSlider sliderOption(QAbstractSlider *slider)
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
    if (const auto *plain = qobject_cast<QSlider *>(slider)) {
        option.tickPosition = plain->tickPosition();
        option.tickInterval = plain->tickInterval();
    } else {
        option.upsideDown = slider->invertedAppearance();
    }
    return option;
}

// A part of a control that a pointer operates, or that the user must see.
struct ControlPart
{
    QString name;
    QString subcontrol;
    QRect rect; // in the widget
    bool judged = true;
};

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

} // namespace

double boundaryContrast(const QImage &source, const QRect &part, int band, const QRect &beside)
{
    const QImage image = source.convertToFormat(QImage::Format_RGB32);
    const QRect inside = part & image.rect();
    if (inside.isEmpty())
        return 1;
    const QRegion around =
        beside.isValid()
            ? QRegion(beside)
            : QRegion(part.adjusted(-kAround, -kAround, kAround, kAround)) - QRegion(part);
    const QColor next = dominantColour(image, around);
    QRegion judged(inside);
    if (band > 0)
        judged -= QRegion(inside.adjusted(band, band, -band, -band));
    QVector<double> ratios;
    for (const QRect &rect : judged)
        for (int y = rect.top(); y <= rect.bottom(); ++y)
            for (int x = rect.left(); x <= rect.right(); ++x)
                ratios.append(pixelContrastRatio(image.pixel(x, y), next.rgb()));
    const qint64 wanted = std::min<qint64>(outlinePixels(part.size()), ratios.size());
    if (wanted <= 0)
        return 1;
    std::nth_element(ratios.begin(), ratios.begin() + (wanted - 1), ratios.end(),
                     std::greater<double>());
    return ratios.at(int(wanted - 1));
}

qint64 perimeterArea(QSize size, int thickness)
{
    const qint64 whole = qint64(size.width()) * size.height();
    const qint64 inner = qint64(std::max(0, size.width() - 2 * thickness)) *
                         std::max(0, size.height() - 2 * thickness);
    return whole - inner;
}

bool isLargeText(const QFont &font)
{
    const QFontInfo info(font);
    const double points = info.pointSizeF();
    return points >= kLargePoints || (points >= kLargeBoldPoints && info.weight() >= QFont::Bold);
}

bool targetSpaced(const QRectF &target, const QVector<QRectF> &others,
                  const QVector<QRectF> &undersizedOthers)
{
    const QPointF centre = target.center();
    const qreal radius = kTargetSize / 2;
    for (const QRectF &other : others) {
        const qreal dx = std::max({other.left() - centre.x(), 0.0, centre.x() - other.right()});
        const qreal dy = std::max({other.top() - centre.y(), 0.0, centre.y() - other.bottom()});
        if (std::hypot(dx, dy) < radius)
            return false;
    }
    for (const QRectF &other : undersizedOthers) {
        const QPointF between = other.center() - centre;
        if (std::hypot(between.x(), between.y()) < kTargetSize)
            return false;
    }
    return true;
}

void WcagAudit::setTab(const QString &themeName, const QString &tabName,
                       const AuditRules *sheetRules)
{
    theme = themeName;
    tab = tabName;
    rules = sheetRules;
}

void WcagAudit::beginTab(const QVector<QWidget *> &widgets)
{
    targets.clear();
    for (QWidget *widget : widgets)
        for (const ControlPart &part : targetParts(widget))
            if (part.rect.isValid())
                targets.append(
                    {widget, QRectF(QRect(widget->mapTo(widget->window(), part.rect.topLeft()),
                                          part.rect.size()))});
}

void WcagAudit::observe(const ObservedState &state)
{
    textContrast(state);
    switch (state.state) {
    case AuditState::Normal:
        normalOf = state.widget;
        normal = state.image;
        nonTextContrast(state);
        targetSize(state);
        break;
    case AuditState::Focus:
        focusAppearance(state);
        break;
    default:
        break;
    }
}

void WcagAudit::auditTitleBar(QWidget *window, const std::function<QImage(const QRect &)> &render,
                              qreal scale)
{
    QWidget *bar = window->findChild<QWidget *>(ShellObjectNames::titleBar);
    if (!bar || !bar->isVisible())
        return;
    QVector<QPushButton *> buttons;
    QVector<QRectF> rects;
    for (QPushButton *button : bar->findChildren<QPushButton *>())
        if (button->isVisible()) {
            buttons << button;
            rects << QRectF(QRect(button->mapTo(window, QPoint()), button->size()));
        }
    const auto undersized = [](const QRectF &rect) {
        return rect.width() < kTargetSize || rect.height() < kTargetSize;
    };
    for (int index = 0; index < buttons.size(); ++index) {
        if (!undersized(rects[index]))
            continue;
        QVector<QRectF> others, small;
        for (int other = 0; other < rects.size(); ++other)
            if (other != index) {
                others << rects[other];
                if (undersized(rects[other]))
                    small << rects[other];
            }
        if (targetSpaced(rects[index], others, small))
            continue;
        QPushButton *button = buttons[index];
        const QRect area = rects[index].toAlignedRect().adjusted(-4, -4, 4, 4) & window->rect();
        const ObservedState state{button, AuditState::Normal, render(area), area, scale, {}};
        add(state, TargetSize, WcagSeverity::Failure,
            QStringLiteral("%1 button").arg(button->toolTip().toLower()),
            QStringLiteral("is %1 × %2 px, 24 × 24 needed, and a 24 px circle on it meets "
                           "another target")
                .arg(button->width())
                .arg(button->height()),
            QString(), inImage(state, button, button->rect()));
    }
}

QVector<WcagFinding> WcagAudit::takeFindings()
{
    QVector<WcagFinding> taken;
    taken.swap(findings);
    return taken;
}

void WcagAudit::add(const ObservedState &state, WcagCriterionIndex criterion, WcagSeverity severity,
                    const QString &part, const QString &figures, const QString &subcontrol,
                    const QRect &outlined, const QString &property)
{
    WcagFinding finding;
    finding.theme = theme;
    finding.tab = tab;
    finding.object = state.widget->objectName();
    finding.state = state.state;
    finding.criterion = criterion;
    finding.severity = severity;
    finding.part = part;
    finding.figures = figures;
    if (rules) {
        const auto *button = qobject_cast<const QAbstractButton *>(state.widget);
        const bool checkable = button && button->isCheckable();
        if (!subcontrol.isEmpty() || !property.isEmpty())
            finding.place =
                rules->place(state.widget, checkable, state.state, subcontrol, property);
        if (finding.place.rule.isEmpty())
            finding.place = rules->place(state.widget, checkable, state.state);
    }
    finding.crop = state.image.convertToFormat(QImage::Format_RGB32);
    if (outlined.isValid()) {
        QPainter painter(&finding.crop);
        painter.setPen(kOutlineColour);
        painter.drawRect(outlined.adjusted(-1, -1, 0, 0));
    }
    findings.append(finding);
}

void WcagAudit::textContrast(const ObservedState &state)
{
    QWidget *widget = state.widget;
    const bool large = isLargeText(widget->font());
    const double needed = large ? kLargeTextContrast : kTextContrast;
    const WcagSeverity severity =
        state.state == AuditState::Disabled ? WcagSeverity::Advice : WcagSeverity::Failure;
    const QString size = QStringLiteral("%1 pt%2 text")
                             .arg(QFontInfo(widget->font()).pointSizeF(), 0, 'f', 1)
                             .arg(large ? QStringLiteral(", large") : QString());
    if (auto *tabs = qobject_cast<QTabWidget *>(widget)) {
        QTabBar *bar = tabs->findChild<QTabBar *>(QString(), Qt::FindDirectChildrenOnly);
        if (!bar || bar->currentIndex() < 0 || bar->tabText(bar->currentIndex()).isEmpty())
            return;
        const double ratio = tabTitleContrast(state, bar);
        if (ratio > 0 && ratio < needed)
            add(state, TextContrast, severity, QStringLiteral("tab title"),
                QStringLiteral("contrasts %1, %2 needed (%3)")
                    .arg(ratioText(ratio), ratioText(needed), size),
                QStringLiteral("tab"), inImage(state, bar, bar->tabRect(bar->currentIndex())),
                kColour);
        return;
    }
    for (const ShownText &text : shownTexts(widget, state.state)) {
        QImage withText = state.image;
        if (text.isolate)
            text.isolate();
        QWidget *window = text.window ? text.window->data() : nullptr;
        if (text.window && !window) {
            text.restore();
            continue;
        }
        const auto render = [&] { return window ? window->grab().toImage() : state.render(); };
        if (text.isolate)
            withText = render();
        text.hide();
        const QImage withoutText = render();
        const QPalette palette = (window ? window : widget)->palette();
        const double ratio = renderedTextContrast(withText, withoutText);
        RulePlace place;
        if (window && rules && ratio > 0 && ratio < needed)
            place = rules->place(window, false, AuditState::Normal, text.subcontrol, kColour);
        text.restore();
        if (ratio <= 0 || ratio >= needed)
            continue;
        QString figures = QStringLiteral("contrasts %1, %2 needed (%3)")
                              .arg(ratioText(ratio), ratioText(needed), size);
        // The second method: the colours the sheet gave the widget's palette, which
        // the toolkit paints flat in the normal and disabled states; a subcontrol's
        // rule (::item) paints past the palette, so it has none.
        if (text.subcontrol.isEmpty() &&
            (state.state == AuditState::Normal || state.state == AuditState::Disabled)) {
            const QPalette::ColorGroup group =
                state.state == AuditState::Disabled ? QPalette::Disabled : QPalette::Active;
            const QColor background = palette.color(group, text.background);
            const QColor foreground =
                compositeOver(palette.color(group, text.foreground), background);
            figures += QStringLiteral("; the sheet's colours %1")
                           .arg(ratioText(contrastRatio(foreground, background)));
        }
        add(state, TextContrast, severity, text.part, figures, text.subcontrol, QRect(), kColour);
        if (window) {
            findings.last().crop = withText.convertToFormat(QImage::Format_RGB32);
            if (!place.rule.isEmpty())
                findings.last().place = place;
        }
    }
}

void WcagAudit::nonTextContrast(const ObservedState &state)
{
    QWidget *widget = state.widget;
    struct Judged
    {
        QString name;
        QString subcontrol;
        QRect rect;
        int band;
        QRect beside = QRect();
        QString property = QString();
    };
    QVector<Judged> parts;
    const int band = qMax(1, qRound(kBorderBand * state.scale));
    if (qobject_cast<QLineEdit *>(widget) || qobject_cast<QAbstractSpinBox *>(widget) ||
        qobject_cast<QTextEdit *>(widget) || qobject_cast<QPlainTextEdit *>(widget) ||
        (qobject_cast<QComboBox *>(widget) && static_cast<QComboBox *>(widget)->isEditable()))
        parts.append({QStringLiteral("input border"), QString(), widget->rect(), band, QRect(),
                      QStringLiteral("border-color")});
    if (auto *button = qobject_cast<QAbstractButton *>(widget);
        button && (qobject_cast<QCheckBox *>(widget) || qobject_cast<QRadioButton *>(widget))) {
        QStyleOptionButton option;
        option.initFrom(button);
        option.text = button->text();
        const bool radio = qobject_cast<QRadioButton *>(widget);
        parts.append({radio ? QStringLiteral("radio indicator") : QStringLiteral("check indicator"),
                      QStringLiteral("indicator"),
                      widget->style()->subElementRect(radio ? QStyle::SE_RadioButtonIndicator
                                                            : QStyle::SE_CheckBoxIndicator,
                                                      &option, widget),
                      0});
    }
    if (auto *slider = qobject_cast<QSlider *>(widget)) {
        const QStyleOptionSlider option = sliderOption(slider);
        const auto rect = [&](QStyle::SubControl sub) {
            return widget->style()->subControlRect(QStyle::CC_Slider, &option, sub, widget);
        };
        parts.append({QStringLiteral("slider groove"), QStringLiteral("groove"),
                      rect(QStyle::SC_SliderGroove), 0});
        parts.append({QStringLiteral("slider handle"), QStringLiteral("handle"),
                      rect(QStyle::SC_SliderHandle), 0});
    }
    if (auto *bar = qobject_cast<QScrollBar *>(widget)) {
        const QStyleOptionSlider option = sliderOption(bar);
        parts.append({QStringLiteral("scroll bar handle"), QStringLiteral("handle"),
                      widget->style()->subControlRect(QStyle::CC_ScrollBar, &option,
                                                      QStyle::SC_ScrollBarSlider, widget),
                      0});
    }
    if (auto *bar = qobject_cast<QProgressBar *>(widget)) {
        QRect groove;
        const QRect chunk = progressChunk(bar, &groove);
        if (chunk.isValid()) {
            QRect rest = groove;
            if (bar->orientation() == Qt::Horizontal)
                rest = bar->layoutDirection() == Qt::RightToLeft
                           ? QRect(groove.topLeft(), QPoint(chunk.left() - 1, groove.bottom()))
                           : QRect(QPoint(chunk.right() + 1, groove.top()), groove.bottomRight());
            else
                rest = QRect(groove.topLeft(), QPoint(groove.right(), chunk.top() - 1));
            parts.append({QStringLiteral("progress chunk"), QStringLiteral("chunk"), chunk, 0,
                          inImage(state, widget, rest)});
        }
    }
    for (const Judged &part : qAsConst(parts)) {
        if (!part.rect.isValid())
            continue;
        const QRect inside = inImage(state, widget, part.rect);
        const double ratio = boundaryContrast(state.image, inside, part.band, part.beside);
        if (ratio < kNonTextContrast)
            add(state, NonTextContrast, WcagSeverity::Failure, part.name,
                QStringLiteral("contrasts %1 with what is next to it, %2 needed")
                    .arg(ratioText(ratio), ratioText(kNonTextContrast)),
                part.subcontrol, inside, part.property);
    }
}

void WcagAudit::focusAppearance(const ObservedState &state)
{
    if (normalOf != state.widget)
        return;
    const QSize size = state.widget->size() * state.scale;
    const StateDifference difference = measureStateDifference(normal, state.image, size);
    const QString changed = QStringLiteral("%1 pixels change by 3:1 or more (strongest %2)")
                                .arg(difference.strong)
                                .arg(ratioText(difference.strongest));
    if (!difference.visible())
        add(state, FocusVisible, WcagSeverity::Failure, QStringLiteral("focus indicator"),
            changed + QStringLiteral(", a 1-pixel outline has %1").arg(difference.outline));
    const qint64 perimeter = perimeterArea(size, qMax(1, qRound(2 * state.scale)));
    if (difference.strong < perimeter)
        add(state, FocusAppearance, WcagSeverity::Failure, QStringLiteral("focus indicator"),
            changed + QStringLiteral(", a 2-pixel perimeter has %1").arg(perimeter));
}

void WcagAudit::targetSize(const ObservedState &state)
{
    QWidget *widget = state.widget;
    const auto undersized = [](const QRectF &rect) {
        return rect.width() < kTargetSize || rect.height() < kTargetSize;
    };
    for (const ControlPart &part : targetParts(widget)) {
        if (!part.judged || !part.rect.isValid())
            continue;
        const QRectF target(
            QRect(widget->mapTo(widget->window(), part.rect.topLeft()), part.rect.size()));
        if (!undersized(target))
            continue;
        QVector<QRectF> others, small;
        for (const auto &other : qAsConst(targets)) {
            // The part itself, or a container of it such as a tab widget's page.
            if (other.second == target || other.second.contains(target))
                continue;
            others.append(other.second);
            if (undersized(other.second))
                small.append(other.second);
        }
        if (targetSpaced(target, others, small))
            continue;
        add(state, TargetSize, WcagSeverity::Failure, part.name,
            QStringLiteral("is %1 × %2 px, 24 × 24 needed, and a 24 px circle on it meets "
                           "another target")
                .arg(part.rect.width())
                .arg(part.rect.height()),
            part.subcontrol, inImage(state, widget, part.rect));
    }
}
