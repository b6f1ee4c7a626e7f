// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "audit/stateaudit.h"

#include "analysis/contrastratio.h"
#include "audit/auditrules.h"
#include "audit/controlparts.h"
#include "audit/imagediff.h"

#include <QAbstractButton>
#include <QAbstractSlider>
#include <QAbstractSpinBox>
#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QDoubleSpinBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QProgressBar>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QSlider>
#include <QSpinBox>
#include <QStandardItemModel>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStyleOptionComboBox>
#include <QStyleOptionGroupBox>
#include <QStyleOptionSlider>
#include <QStyleOptionSpinBox>
#include <QTabBar>
#include <QTabWidget>
#include <QToolButton>
#include <QWindow>
#include <QtWidgets/private/qapplication_p.h>
#include <qpa/qwindowsysteminterface.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <functional>
#include <optional>

namespace {

// Around each widget, so that what a style draws just outside it shows too.
constexpr int kMargin = 4;
// WCAG 2.2: non-text contrast and focus appearance ask for 3:1; so does large text,
// the least any readable text may have.
constexpr double kMinimumContrast = 3.0;
constexpr int kStripGap = 2;
const QRgb kStripGapColour = qRgb(0x80, 0x80, 0x80);
// More popups than one press opens: a bound, so a popup that stays is no hang.
constexpr int kMostPopups = 4;

bool differs(QRgb a, QRgb b)
{
    return std::abs(qRed(a) - qRed(b)) > kChannelTolerance ||
           std::abs(qGreen(a) - qGreen(b)) > kChannelTolerance ||
           std::abs(qBlue(a) - qBlue(b)) > kChannelTolerance;
}

bool isInteractive(const QWidget *widget)
{
    return qobject_cast<const QAbstractButton *>(widget) ||
           qobject_cast<const QAbstractSlider *>(widget) ||
           qobject_cast<const QComboBox *>(widget) || qobject_cast<const QLineEdit *>(widget) ||
           qobject_cast<const QAbstractSpinBox *>(widget) || (widget->focusPolicy() & Qt::TabFocus);
}

// Seen but never operated: their text or chunk is still read.
bool isShown(const QWidget *widget)
{
    if (const auto *label = qobject_cast<const QLabel *>(widget))
        return !label->text().isEmpty();
    return qobject_cast<const QProgressBar *>(widget) || qobject_cast<const QMenuBar *>(widget);
}

// The widgets of a page the audit looks at, in creation order; parts of another
// interactive widget (a combo box's editor) and the toolkit's own children are not.
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

// A button whose press would open a menu: a popup's event loop would never end here.
bool opensMenu(const QWidget *widget)
{
    const auto *tool = qobject_cast<const QToolButton *>(widget);
    return tool && (tool->menu() || (tool->defaultAction() && tool->defaultAction()->menu()));
}

// The widgets the toolkit paints pressed, by what a press does to them. Line edits,
// text edits and item views have no pressed look; a view's header sections do, but
// pressing one selects or sorts the view, so they are left out.
enum class PressKind
{
    None,
    Button,
    MenuButton,
    Slider,
    SpinBox,
    // A date edit with a calendar: its arrow opens the calendar, as a combo box's.
    CalendarPopup,
    ComboBox,
    TabBar,
    GroupBoxCheck,
};

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

// Where a press goes: a spin box's step button that can step, an editable combo
// box's arrow, a tab widget's current tab (another tab would switch pages).
QRect pressPart(QWidget *widget, PressKind kind, const QRect &pointerPart)
{
    if (kind == PressKind::CalendarPopup) {
        QStyleOptionComboBox option;
        option.initFrom(widget);
        option.subControls = QStyle::SC_All;
        option.editable = true;
        return complexPart(widget, QStyle::CC_ComboBox, QStyle::SC_ComboBoxArrow, option);
    }
    if (auto *spin = qobject_cast<QAbstractSpinBox *>(widget); spin && kind == PressKind::SpinBox) {
        QStyleOptionSpinBox option;
        option.initFrom(spin);
        option.subControls = QStyle::SC_All;
        option.buttonSymbols = spin->buttonSymbols();
        option.frame = spin->hasFrame();
        const bool up = canStepUp(spin);
        return complexPart(widget, QStyle::CC_SpinBox,
                           up ? QStyle::SC_SpinBoxUp : QStyle::SC_SpinBoxDown, option);
    }
    if (auto *combo = qobject_cast<QComboBox *>(widget); combo && combo->isEditable()) {
        QStyleOptionComboBox option;
        option.initFrom(combo);
        option.subControls = QStyle::SC_All;
        option.editable = true;
        option.frame = combo->hasFrame();
        return complexPart(widget, QStyle::CC_ComboBox, QStyle::SC_ComboBoxArrow, option);
    }
    if (kind == PressKind::TabBar) {
        const QTabBar *bar = tabBarOf(widget);
        return bar->tabRect(bar->currentIndex()).translated(bar->mapTo(widget, QPoint()));
    }
    if (kind == PressKind::GroupBoxCheck) {
        auto *group = static_cast<QGroupBox *>(widget);
        QStyleOptionGroupBox option;
        option.initFrom(group);
        option.subControls =
            QStyle::SC_GroupBoxCheckBox | QStyle::SC_GroupBoxLabel | QStyle::SC_GroupBoxFrame;
        option.text = group->title();
        option.textAlignment = group->alignment();
        option.lineWidth = 1;
        if (group->isFlat())
            option.features |= QStyleOptionFrame::Flat;
        return complexPart(widget, QStyle::CC_GroupBox, QStyle::SC_GroupBoxCheckBox, option);
    }
    return pointerPart;
}

// What a press changes besides the look (a slider's or spin box's value, a tab
// widget's page), put back while the signals are blocked.
class PressedValue
{
public:
    explicit PressedValue(QWidget *widget)
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
    void restore()
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

private:
    QLineEdit *spinEditor() const
    {
        QWidget *box = spin         ? static_cast<QWidget *>(spin)
                       : doubleSpin ? static_cast<QWidget *>(doubleSpin)
                                    : dateTime;
        return box ? box->findChild<QLineEdit *>() : nullptr;
    }

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

// The part the pointer goes to and that hover, press and check should change: a
// check box's or radio button's indicator, a slider's handle, else the widget.
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

// The combo box's own list, not a model of the application's whose setData is its code.
bool ownsItems(const QComboBox *combo)
{
    return combo->model()->metaObject() == &QStandardItemModel::staticMetaObject;
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

// A checkable button held unchecked for the other states and checked for its own,
// without telling anyone (the gallery reacts to some toggles) and without moving
// the other buttons of its exclusive group.
class CheckHold
{
public:
    explicit CheckHold(QWidget *widget)
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
    ~CheckHold()
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
    bool checkable() const { return button; }
    void setChecked(bool checked) { button->setChecked(checked); }

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
    explicit QuietFocus(QWidget *widget)
        : saved(QApplicationPrivate::focus_widget)
    {
        while (widget && widget->focusProxy())
            widget = widget->focusProxy();
        QApplicationPrivate::focus_widget = widget;
    }
    ~QuietFocus() { QApplicationPrivate::focus_widget = saved; }

private:
    QWidget *saved;
};

// The quiet drive's active window, for the looks the style keeps for it, with no
// activation event.
class QuietActivation
{
public:
    QuietActivation(QWidget *window, bool hold)
        : saved(QApplicationPrivate::active_window)
        , hold(hold)
    {
        if (hold)
            QApplicationPrivate::active_window = window;
    }
    ~QuietActivation()
    {
        if (hold)
            QApplicationPrivate::active_window = saved;
    }

private:
    QWidget *saved;
    bool hold;
};

// The pointer, as the window system reports it: the toolkit dispatches enter, leave
// and hover events and sets WA_UnderMouse itself.
class Pointer
{
public:
    explicit Pointer(QWidget *topLevel)
        : topLevel(topLevel)
        , window(topLevel->windowHandle())
    {}
    void moveTo(QWidget *widget, QPoint local)
    {
        at = widget->mapTo(topLevel, local);
        QWindowSystemInterface::handleEnterEvent<QWindowSystemInterface::SynchronousDelivery>(
            window, QPointF(at), QPointF(topLevel->mapToGlobal(at)));
        send(Qt::NoButton, Qt::NoButton, QEvent::MouseMove);
    }
    void press() { send(Qt::LeftButton, Qt::LeftButton, QEvent::MouseButtonPress); }
    void release() { send(Qt::NoButton, Qt::LeftButton, QEvent::MouseButtonRelease); }
    void leave()
    {
        QWindowSystemInterface::handleLeaveEvent<QWindowSystemInterface::SynchronousDelivery>(
            window);
    }

private:
    void send(Qt::MouseButtons buttons, Qt::MouseButton button, QEvent::Type type)
    {
        QWindowSystemInterface::handleMouseEvent<QWindowSystemInterface::SynchronousDelivery>(
            window, QPointF(at), QPointF(topLevel->mapToGlobal(at)), buttons, button, type);
    }
    QWidget *topLevel;
    QWindow *window;
    QPoint at;
};

QImage joinedStrip(const QVector<QImage> &frames, qreal scale)
{
    const int gap = qRound(kStripGap * scale);
    int width = 0, height = 0;
    for (const QImage &frame : frames) {
        width += frame.width() + (width ? gap : 0);
        height = std::max(height, frame.height());
    }
    QImage strip(width, height, QImage::Format_RGB32);
    strip.fill(kStripGapColour);
    QPainter painter(&strip);
    int x = 0;
    for (const QImage &frame : frames) {
        painter.drawImage(x, 0, frame);
        x += frame.width() + gap;
    }
    return strip;
}

QString differenceFigures(const StateDifference &difference,
                          const char *measure = "a 1-pixel outline")
{
    return QStringLiteral("%1 pixels change, %2 of them by 3:1 or more (strongest %3:1); %5 "
                          "is %4")
        .arg(difference.changed)
        .arg(difference.strong)
        .arg(difference.strongest, 0, 'f', 2)
        .arg(difference.outline)
        .arg(QLatin1String(measure));
}

} // namespace

qint64 outlinePixels(QSize size)
{
    if (size.width() <= 0 || size.height() <= 0)
        return 0;
    if (size.width() <= 2 || size.height() <= 2)
        return qint64(size.width()) * size.height();
    // The outline follows the widget's shape: counted as its inscribed ellipse's, so
    // rounded corners and round indicators are not held to a square's perimeter.
    const qint64 rectangle = 2 * qint64(size.width() + size.height()) - 4;
    return qint64(std::ceil(rectangle * M_PI / 4));
}

StateDifference measureStateDifference(const QImage &a, const QImage &b, QSize target)
{
    StateDifference difference;
    difference.outline = outlinePixels(target);
    if (a.size() != b.size())
        return difference;
    const QImage first = a.convertToFormat(QImage::Format_RGB32);
    const QImage second = b.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < first.height(); ++y) {
        const auto *lineA = reinterpret_cast<const QRgb *>(first.constScanLine(y));
        const auto *lineB = reinterpret_cast<const QRgb *>(second.constScanLine(y));
        for (int x = 0; x < first.width(); ++x) {
            if (!differs(lineA[x], lineB[x]))
                continue;
            ++difference.changed;
            const double ratio = pixelContrastRatio(lineA[x], lineB[x]);
            difference.strongest = std::max(difference.strongest, ratio);
            if (ratio >= kMinimumContrast)
                ++difference.strong;
        }
    }
    return difference;
}

double renderedTextContrast(const QImage &withText, const QImage &withoutText)
{
    if (withText.size() != withoutText.size())
        return 0;
    const QImage text = withText.convertToFormat(QImage::Format_RGB32);
    const QImage background = withoutText.convertToFormat(QImage::Format_RGB32);
    double strongest = 0;
    for (int y = 0; y < text.height(); ++y) {
        const auto *lineA = reinterpret_cast<const QRgb *>(text.constScanLine(y));
        const auto *lineB = reinterpret_cast<const QRgb *>(background.constScanLine(y));
        for (int x = 0; x < text.width(); ++x)
            if (differs(lineA[x], lineB[x]))
                strongest = std::max(strongest, pixelContrastRatio(lineA[x], lineB[x]));
    }
    return strongest;
}

namespace {

using Report = std::function<void(AuditState, AuditCheckIndex, const QString &)>;
using Gap = std::function<void(AuditState, const QString &part, const QString &reason)>;

// One widget's states, rendered into the frames of its strip in order; what cannot
// be told apart goes to report. No posted events are handled between the states: a
// re-layout would move the widget.
class WidgetStates
{
public:
    WidgetStates(const AreaRender &renderArea, QWidget *topLevel, QWidget *widget, qreal scale,
                 Report report, StateObserver *observer, AuditDrive drive, Gap gap)
        : renderArea(renderArea)
        , widget(widget)
        , topLevel(topLevel)
        , button(qobject_cast<QAbstractButton *>(widget))
        , area(QRect(widget->mapTo(topLevel, QPoint()), widget->size())
                   .adjusted(-kMargin, -kMargin, kMargin, kMargin) &
               topLevel->rect())
        , part(activePart(widget))
        , scale(scale)
        , report(std::move(report))
        , observer(observer)
        , drive(drive)
        , gap(std::move(gap))
    {}

    void pointerStates(Pointer &pointer);
    // Hover and a button's press without an event: see AuditDrive.
    void quietPointerStates();
    // Only the normal look, for what the pointer does nothing to.
    void still();
    void focus();
    void disabled();
    void checked(CheckHold &hold);
    QImage strip() const { return joinedStrip(frames, scale); }

private:
    QImage render() const { return renderArea(area, scale); }
    QImage press(Pointer &pointer, PressKind kind);
    QSize partSize() const { return part.size() * scale; }
    void observe(AuditState state, const QImage &image) const;
    // Keeps the hover look, hands it on, and says when nothing tells it from normal.
    void hoverShown(const QImage &hover);

    const AreaRender &renderArea;
    QWidget *widget;
    QWidget *topLevel;
    QAbstractButton *button;
    const QRect area;
    const QRect part;
    const qreal scale;
    const Report report;
    StateObserver *const observer;
    const AuditDrive drive;
    const Gap gap;
    QVector<QImage> frames;
    QImage normal;
};

void WidgetStates::hoverShown(const QImage &hover)
{
    frames << hover;
    observe(AuditState::Hover, hover);
    const StateDifference difference = measureStateDifference(normal, hover, partSize());
    if (!difference.visible())
        report(AuditState::Hover, HoverIndistinguishable, differenceFigures(difference));
}

// Normal, then hover with the pointer on the part, then pressed where the toolkit
// paints it; the pointer leaves at the end.
void WidgetStates::pointerStates(Pointer &pointer)
{
    still();
    pointer.moveTo(widget, part.center());
    const QImage hover = render();
    hoverShown(hover);
    const PressKind kind = pressKind(widget);
    const QRect pressed = pressPart(widget, kind, part);
    if (kind != PressKind::None && pressed.isValid()) {
        // Pressed against hover at the same place: a spin box's step button has a
        // hover look of its own.
        QImage hoverThere = hover;
        if (pressed != part) {
            pointer.moveTo(widget, pressed.center());
            hoverThere = render();
        }
        const QImage down = press(pointer, kind);
        frames << down;
        const QSize size = pressed.size() * scale;
        const StateDifference fromNormal = measureStateDifference(normal, down, size);
        const StateDifference fromHover = measureStateDifference(hoverThere, down, size);
        if (!fromNormal.visible())
            report(AuditState::Pressed, PressedIndistinguishable, differenceFigures(fromNormal));
        else if (!fromHover.visible())
            report(AuditState::Pressed, PressedLikeHover, differenceFigures(fromHover));
    }
    pointer.leave();
}

void WidgetStates::quietPointerStates()
{
    still();
    const bool underMouse = widget->testAttribute(Qt::WA_UnderMouse);
    // A push button under mouse tracking (the sheet's hover rules turn it on) shows
    // hover only where its own hover events put it; without, by the attribute.
    const bool tracking = widget->hasMouseTracking();
    widget->setMouseTracking(false);
    widget->setAttribute(Qt::WA_UnderMouse, true);
    const QImage hover = render();
    hoverShown(hover);
    const PressKind kind = pressKind(widget);
    if (button && (kind == PressKind::Button || kind == PressKind::MenuButton)) {
        // setDown paints the press and emits nothing; it is undone before any
        // auto-repeat could fire.
        const QSignalBlocker blocker(button);
        const bool wasDown = button->isDown();
        button->setDown(true);
        const QImage down = render();
        observe(AuditState::Pressed, down);
        button->setDown(wasDown);
        frames << down;
        const StateDifference fromNormal = measureStateDifference(normal, down, partSize());
        const StateDifference fromHover = measureStateDifference(hover, down, partSize());
        if (!fromNormal.visible())
            report(AuditState::Pressed, PressedIndistinguishable, differenceFigures(fromNormal));
        else if (!fromHover.visible())
            report(AuditState::Pressed, PressedLikeHover, differenceFigures(fromHover));
    } else if (kind != PressKind::None) {
        gap(AuditState::Pressed, QStringLiteral("the pressed look"),
            QStringLiteral("only a real press shows it, and that reaches the application"));
    }
    widget->setAttribute(Qt::WA_UnderMouse, underMouse);
    widget->setMouseTracking(tracking);
}

void WidgetStates::still()
{
    frames << (normal = render());
    observe(AuditState::Normal, normal);
}

void WidgetStates::observe(AuditState state, const QImage &image) const
{
    if (observer)
        observer->observe({widget, state, image, area, scale, [this] { return render(); }, drive});
}

// A real left-button press, held while the render is taken. Click focus is set
// aside meanwhile (the press would paint focus too) and the signals are blocked;
// the release comes after the look is undone, so nothing is clicked, picked or
// stepped.
QImage WidgetStates::press(Pointer &pointer, PressKind kind)
{
    if (kind == PressKind::MenuButton) {
        button->setDown(true);
        const QImage image = render();
        observe(AuditState::Pressed, image);
        button->setDown(false);
        return image;
    }
    const Qt::FocusPolicy policy = widget->focusPolicy();
    if (policy & Qt::ClickFocus)
        widget->setFocusPolicy(Qt::TabFocus);
    const QSignalBlocker blocker(widget);
    PressedValue value(widget);
    pointer.press();
    // A spin box has stepped on the press; its old text keeps the render to the look.
    value.restore();
    const QImage image = render();
    observe(AuditState::Pressed, image);
    if (button)
        button->setDown(false);
    // A combo box's list or a date edit's calendar opened on the press; the window
    // takes back the activation the popup had, or focus would no longer show.
    for (int open = 0; open < kMostPopups && QApplication::activePopupWidget(); ++open)
        QApplication::activePopupWidget()->hide();
    QApplication::setActiveWindow(topLevel);
    pointer.release();
    value.restore();
    widget->setFocusPolicy(policy);
    return image;
}

void WidgetStates::focus()
{
    const bool keyboardFocus = topLevel->testAttribute(Qt::WA_KeyboardFocusChange);
    topLevel->setAttribute(Qt::WA_KeyboardFocusChange, true);
    QImage image;
    // Observed while focused: the observer renders the state again.
    const auto take = [&] {
        image = render();
        frames << image;
        observe(AuditState::Focus, image);
    };
    if (drive == AuditDrive::Quiet) {
        const QuietFocus focused(widget);
        take();
    } else {
        widget->setFocus(Qt::OtherFocusReason);
        take();
        topLevel->setFocus(Qt::OtherFocusReason);
    }
    topLevel->setAttribute(Qt::WA_KeyboardFocusChange, drive == AuditDrive::Quiet && keyboardFocus);
    const StateDifference difference =
        measureStateDifference(normal, image, widget->size() * scale);
    if (!difference.visible())
        report(AuditState::Focus, NoVisibleFocus, differenceFigures(difference));
}

void WidgetStates::disabled()
{
    // The window's own record of its focus: the application's may be held aside.
    if (drive == AuditDrive::Quiet && widget->isAncestorOf(topLevel->focusWidget())) {
        gap(AuditState::Disabled, QStringLiteral("the disabled look"),
            QStringLiteral("the widget holds the keyboard focus, which disabling would move"));
        return;
    }
    const QSignalBlocker blocker(widget);
    widget->setEnabled(false);
    frames << render();
    observe(AuditState::Disabled, frames.last());
    TextRemoval text(widget, drive);
    if (text.hasText()) {
        text.remove();
        const QImage withoutText = render();
        text.restore();
        QImage withText = frames.last();
        if (button && !button->icon().isNull()) {
            const QIcon icon = button->icon();
            button->setIcon(QIcon());
            withText = render();
            button->setIcon(icon);
        }
        const double ratio = renderedTextContrast(withText, withoutText);
        if (ratio > 0 && ratio < kMinimumContrast)
            report(AuditState::Disabled, DisabledTextUnreadable,
                   QStringLiteral("the text contrasts %1:1 with its background, 3:1 needed")
                       .arg(ratio, 0, 'f', 2));
    }
    widget->setEnabled(true);
}

void WidgetStates::checked(CheckHold &hold)
{
    hold.setChecked(true);
    const QImage image = render();
    frames << image;
    observe(AuditState::Checked, image);
    hold.setChecked(false);
    // A check mark is a stroke, not an outline: a line across the indicator.
    StateDifference difference = measureStateDifference(normal, image, partSize());
    difference.outline = std::max(partSize().width(), partSize().height());
    if (!difference.visible())
        report(AuditState::Checked, CheckedIndistinguishable,
               differenceFigures(difference, "a line across it"));
}

} // namespace

StateAudit::StateAudit(QWidget *topLevel, AreaRender renderArea, qreal scale)
    : topLevel(topLevel)
    , renderArea(std::move(renderArea))
    , scale(scale)
{}

QVector<AuditFinding> StateAudit::auditPage(QWidget *page, const QString &theme,
                                            const QString &tabFile, const AuditRules *rules,
                                            QVector<StateStrip> *strips)
{
    QVector<AuditFinding> findings;
    for (QWidget *widget : beginPage(page)) {
        StateStrip strip;
        findings += auditWidget(widget, theme, tabFile, rules, &strip);
        strips->append(strip);
    }
    return findings;
}

QVector<QWidget *> StateAudit::beginPage(QWidget *page)
{
    const QVector<QWidget *> widgets = auditedWidgets(page, observer);
    if (observer)
        observer->beginTab(widgets);
    return widgets;
}

QVector<AuditFinding> StateAudit::auditWidget(QWidget *widget, const QString &theme,
                                              const QString &tabFile, const AuditRules *rules,
                                              StateStrip *strip)
{
    // Focus looks belong to the active window; keyboard focus marks them as wanted.
    const QuietActivation activation(topLevel,
                                     drive == AuditDrive::Quiet && !topLevel->isActiveWindow());
    // The widget that has the focus would look focused in every state.
    std::optional<QuietFocus> unfocused;
    if (drive == AuditDrive::Quiet)
        unfocused.emplace(nullptr);
    if (drive == AuditDrive::Input && !topLevel->isActiveWindow())
        QApplication::setActiveWindow(topLevel);
    QVector<AuditFinding> findings;
    {
        CheckHold hold(widget);
        const auto report = [&](AuditState state, AuditCheckIndex check, const QString &figures) {
            AuditFinding found;
            found.theme = theme;
            found.tab = tabFile;
            found.object = widget->objectName();
            found.state = state;
            found.check = check;
            found.figures = figures;
            if (rules)
                rules->locate(widget, hold.checkable(), &found);
            findings << found;
        };
        const auto gap = [&](AuditState state, const QString &part, const QString &reason) {
            gaps.append({theme, tabFile, widget->objectName(), state, part, reason});
        };
        WidgetStates states(renderArea, topLevel, widget, scale, report, observer, drive, gap);
        if (!isInteractive(widget)) {
            states.still();
        } else if (drive == AuditDrive::Quiet) {
            states.quietPointerStates();
        } else {
            Pointer pointer(topLevel);
            states.pointerStates(pointer);
        }
        if (widget->focusPolicy() & Qt::TabFocus)
            states.focus();
        states.disabled();
        if (hold.checkable())
            states.checked(hold);
        *strip = {widget->objectName(), states.strip()};
    }
    // The quiet drive leaves the application's own posted work to its event loop.
    if (drive == AuditDrive::Input)
        QCoreApplication::sendPostedEvents();
    return findings;
}

void StateAudit::setDrive(AuditDrive auditDrive)
{
    drive = auditDrive;
}

QVector<AuditGap> StateAudit::takeGaps()
{
    QVector<AuditGap> taken;
    taken.swap(gaps);
    return taken;
}

QImage renderWindowArea(QWidget *window, const QRect &area, qreal scale)
{
    QImage image(area.size() * scale, QImage::Format_RGB32);
    image.setDevicePixelRatio(scale);
    image.fill(Qt::black);
    QPainter painter(&image);
    // The area's corner lands at the target offset.
    window->render(&painter, QPoint(), QRegion(area),
                   QWidget::DrawWindowBackground | QWidget::DrawChildren);
    painter.end();
    image.setDevicePixelRatio(1);
    return image;
}

void StateAudit::setObserver(StateObserver *stateObserver)
{
    observer = stateObserver;
}
