// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "analysis/toolkitobjectnames.h"

#include <algorithm>

namespace {
// Each as the toolkit's own source sets it with setObjectName() (Qt 5.15 and 6 alike),
// with the class of the widget named there (a private subclass by its public base).
const ToolkitObjectName kNames[] = {
    {"qt_toolbar_ext_button", "QToolButton", "QToolBar",
     "qtoolbarextension.cpp, QToolBarExtension (a QToolButton)"},
    {"qt_menubar_ext_button", "QToolButton", "QMenuBar",
     "qmenubar.cpp, QMenuBarExtension (a QToolButton)"},
    {"qt_scrollarea_viewport", "QWidget", "QAbstractScrollArea",
     "qabstractscrollarea.cpp, QAbstractScrollAreaPrivate::init()"},
    {"qt_scrollarea_hcontainer", "QWidget", "QAbstractScrollArea",
     "qabstractscrollarea.cpp, the horizontal scroll bar's container"},
    {"qt_scrollarea_vcontainer", "QWidget", "QAbstractScrollArea",
     "qabstractscrollarea.cpp, the vertical scroll bar's container"},
    {"qt_spinbox_lineedit", "QLineEdit", "QAbstractSpinBox",
     "qabstractspinbox.cpp, QAbstractSpinBoxPrivate::init()"},
    {"qt_tabwidget_stackedwidget", "QStackedWidget", "QTabWidget",
     "qtabwidget.cpp, QTabWidgetPrivate::init()"},
    {"qt_dockwidget_closebutton", "QAbstractButton", "QDockWidget",
     "qdockwidget.cpp, QDockWidgetTitleButton"},
    {"qt_dockwidget_floatbutton", "QAbstractButton", "QDockWidget",
     "qdockwidget.cpp, QDockWidgetTitleButton"},
    {"qt_calendar_navigationbar", "QWidget", "QCalendarWidget",
     "qcalendarwidget.cpp, QCalendarWidgetPrivate::createNavigationBar()"},
    {"qt_calendar_prevmonth", "QToolButton", "QCalendarWidget",
     "qcalendarwidget.cpp, QCalendarWidgetPrivate::createNavigationBar()"},
    {"qt_calendar_nextmonth", "QToolButton", "QCalendarWidget",
     "qcalendarwidget.cpp, QCalendarWidgetPrivate::createNavigationBar()"},
    {"qt_calendar_monthbutton", "QToolButton", "QCalendarWidget",
     "qcalendarwidget.cpp, QCalendarWidgetPrivate::createNavigationBar()"},
    {"qt_calendar_yearbutton", "QToolButton", "QCalendarWidget",
     "qcalendarwidget.cpp, QCalendarWidgetPrivate::createNavigationBar()"},
    {"qt_calendar_yearedit", "QSpinBox", "QCalendarWidget",
     "qcalendarwidget.cpp, QCalendarWidgetPrivate::createNavigationBar()"},
    {"qt_calendar_calendarview", "QTableView", "QCalendarWidget",
     "qcalendarwidget.cpp, the QCalendarWidget constructor"},
};
} // namespace

const ToolkitObjectName *toolkitObjectName(const QString &name)
{
    const auto found =
        std::find_if(std::begin(kNames), std::end(kNames), [&name](const ToolkitObjectName &entry) {
            return name == QLatin1String(entry.name);
        });
    return found != std::end(kNames) ? found : nullptr;
}

QStringList toolkitObjectNames()
{
    QStringList names;
    for (const ToolkitObjectName &entry : kNames)
        names.append(QString::fromLatin1(entry.name));
    return names;
}
