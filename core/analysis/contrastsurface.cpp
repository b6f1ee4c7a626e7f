// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "analysis/contrastsurface.h"

#include "analysis/contrastratio.h"
#include "analysis/toolkitsheet.h"

#include <algorithm>

using namespace QCss;

namespace {
// Whether element is one of names or derives from one: its ancestry is looked up once
// for all of them.
bool derivesFromAny(const QssReference::WidgetClasses &classes, const QString &element,
                    const QStringList &names)
{
    const QStringList ancestry = classes.ancestry(element);
    return std::any_of(names.cbegin(), names.cend(),
                       [&ancestry](const QString &name) { return ancestry.contains(name); });
}

// A selector with ancestors names the widget it sits in: a clear widget shows that
// one's fill (when the sheet gives it one colour), not the page's.
QColor behindOf(const ContrastCascade &cascade, const SheetSelector &selector, ColourSource *source)
{
    *source = cascade.pageSource;
    const auto &parts =
        selector.toolkit ? selector.toolkit->basicSelectors : QVector<BasicSelector>();
    if (parts.size() < 2)
        return cascade.pageColour;
    const BasicSelector &parent = parts.at(parts.size() - 2);
    SheetSelector container;
    container.element = parent.elementName;
    container.ids = parent.ids;
    const ContrastLook fill = cascade.lookOf(container);
    if (!isSolid(fill.background))
        return cascade.pageColour;
    *source = fromLook(fill, &ContrastLook::background);
    return compositeOver(fill.background.color(), cascade.pageColour);
}
} // namespace

bool showsText(const QssReference::WidgetClasses &classes, const SheetSelector &selector)
{
    static const QStringList textSubcontrols = {QStringLiteral("tab"), QStringLiteral("item"),
                                                QStringLiteral("section"), QStringLiteral("title")};
    static const QStringList textless = {QStringLiteral("QScrollBar"), QStringLiteral("QSlider"),
                                         QStringLiteral("QDial"),      QStringLiteral("QSizeGrip"),
                                         QStringLiteral("QSplitter"),  QStringLiteral("QToolBar")};
    if (!selector.subcontrol.isEmpty() && !textSubcontrols.contains(selector.subcontrol))
        return false;
    return !derivesFromAny(classes, selector.element, textless);
}

bool isControl(const QssReference::WidgetClasses &classes, const SheetSelector &selector)
{
    static const QStringList controls = {
        QStringLiteral("QAbstractButton"),  QStringLiteral("QLineEdit"),
        QStringLiteral("QAbstractSpinBox"), QStringLiteral("QComboBox"),
        QStringLiteral("QTextEdit"),        QStringLiteral("QPlainTextEdit"),
    };
    if (selector.subcontrol == QLatin1String("indicator"))
        return true;
    if (!selector.subcontrol.isEmpty())
        return false;
    return derivesFromAny(classes, selector.element, controls);
}

ContrastRole widgetRole(const QssReference::WidgetClasses &classes, const QString &element)
{
    static const QStringList buttons = {QStringLiteral("QPushButton"),
                                        QStringLiteral("QToolButton"), QStringLiteral("QComboBox")};
    static const QStringList inputs = {
        QStringLiteral("QLineEdit"), QStringLiteral("QAbstractSpinBox"),
        QStringLiteral("QTextEdit"), QStringLiteral("QPlainTextEdit"),
        QStringLiteral("QAbstractItemView")};
    if (derivesFromAny(classes, element, buttons))
        return ContrastRole::Button;
    if (derivesFromAny(classes, element, inputs))
        return ContrastRole::Input;
    return ContrastRole::Plain;
}

bool surfaceOf(const ContrastCascade &cascade, const QssReference::WidgetClasses &classes,
               const SheetSelector &selector, ContrastSurface *surface)
{
    surface->look = cascade.lookOf(selector);
    surface->behind = behindOf(cascade, selector, &surface->behindSource);
    // What the widget (not its subcontrol) shows, for what a subcontrol leaves open.
    SheetSelector widget = selector;
    widget.subcontrol.clear();
    // An item's selected state is the item's, not the view's: a view's own
    // ":selected" rule never paints its items.
    const bool selectedItem =
        !selector.subcontrol.isEmpty() && widget.states.removeAll(QStringLiteral("selected")) > 0;
    const ContrastLook widgetLook =
        selector.subcontrol.isEmpty() ? surface->look : cascade.lookOf(widget);
    surface->role = widgetRole(classes, withClassAsElement(selector).element);
    const QPalette::ColorRole fill = fallbackFillRole(surface->role);
    surface->widgetBackground = isSolid(widgetLook.background)
                                    ? compositeOver(widgetLook.background.color(), surface->behind)
                                : fill != QPalette::NoRole ? cascade.fallback(fill)
                                                           : surface->behind;
    const ColourSource widgetSource = isSolid(widgetLook.background)
                                          ? fromLook(widgetLook, &ContrastLook::background)
                                      : fill != QPalette::NoRole ? fromPalette(fill)
                                                                 : surface->behindSource;
    surface->widgetSource = widgetSource;
    if (!widgetLook.background.gradient() && widgetLook.background.style() != Qt::NoBrush &&
        !isSolid(widgetLook.background))
        return false;
    if (widgetLook.background.gradient() || surface->look.background.gradient())
        return false;
    surface->background =
        isSolid(surface->look.background)
            ? compositeOver(surface->look.background.color(), surface->widgetBackground)
            : surface->widgetBackground;
    surface->backgroundSource = isSolid(surface->look.background)
                                    ? fromLook(surface->look, &ContrastLook::background)
                                    : widgetSource;
    surface->textSource = fromLook(surface->look, &ContrastLook::foreground);
    // The widget's own text colour, for a subcontrol that sets none; a selected item
    // is drawn in the view's selection colour.
    if (!isSolid(surface->look.foreground) && selectedItem) {
        const bool own = isSolid(widgetLook.selectedForeground);
        surface->look.foreground = own ? widgetLook.selectedForeground
                                       : QBrush(cascade.fallback(QPalette::HighlightedText));
        surface->textSource = own ? fromLook(widgetLook, &ContrastLook::selectedForeground)
                                  : fromPalette(QPalette::HighlightedText);
    } else if (!isSolid(surface->look.foreground)) {
        surface->look.foreground = widgetLook.foreground;
        surface->textSource = fromLook(widgetLook, &ContrastLook::foreground);
    }
    return true;
}
