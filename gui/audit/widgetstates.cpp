// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "audit/widgetstates.h"

#include "audit/fakepointer.h"
#include "audit/renderedcontrast.h"
#include "audit/stateholders.h"
#include "audit/stateimages.h"

#include <QAbstractButton>
#include <QApplication>
#include <QSignalBlocker>
#include <QWidget>

#include <algorithm>

namespace {

// Around each widget, so that what a style draws just outside it shows too.
constexpr int kMargin = 4;
// More popups than one press opens: a bound, so a popup that stays is no hang.
constexpr int kMostPopups = 4;

} // namespace

WidgetStates::WidgetStates(const AreaRender &renderArea, QWidget *topLevel, QWidget *widget,
                           qreal scale, StateReport report, StateObserver *observer,
                           AuditDrive drive, StateGap gap)
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

QImage WidgetStates::strip() const
{
    return joinedStrip(frames, scale);
}

void WidgetStates::hoverShown(const QImage &hover)
{
    frames << hover;
    observe(AuditState::Hover, hover);
    const StateDifference difference = measureStateDifference(normal, hover, partSize());
    if (!difference.visible())
        report(AuditState::Hover, HoverIndistinguishable, differenceFigures(difference));
}

void WidgetStates::pressedShown(const QImage &hover, const QImage &down, QSize size)
{
    frames << down;
    const StateDifference fromNormal = measureStateDifference(normal, down, size);
    const StateDifference fromHover = measureStateDifference(hover, down, size);
    if (!fromNormal.visible())
        report(AuditState::Pressed, PressedIndistinguishable, differenceFigures(fromNormal));
    else if (!fromHover.visible())
        report(AuditState::Pressed, PressedLikeHover, differenceFigures(fromHover));
}

void WidgetStates::pointerStates(FakePointer &pointer)
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
        pressedShown(hoverThere, down, pressed.size() * scale);
    }
    pointer.leave();
}

void WidgetStates::quietPointerStates()
{
    still();
    const QuietHover hovered(widget);
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
        pressedShown(hover, down, partSize());
    } else if (kind != PressKind::None) {
        gap(AuditState::Pressed, QStringLiteral("the pressed look"),
            QStringLiteral("only a real press shows it, and that reaches the application"));
    }
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
QImage WidgetStates::press(FakePointer &pointer, PressKind kind)
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
    disabledTextContrast();
    widget->setEnabled(true);
}

void WidgetStates::disabledTextContrast()
{
    TextRemoval text(widget, drive);
    if (!text.hasText())
        return;
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
