# SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
# SPDX-License-Identifier: MIT
"""The application's windows as prismark's tools take them: those shown until the
application has settled (prismark-shot renders them, prismark-profile measures
passes on them), and the passes themselves, timed as gui/profiling/profilestage.h
times them. The attribution of the time to rules is prismark-profile's own: the
agent only runs and times the passes it is asked for.
"""
import time

BASE_STYLE = "Fusion"  # as the profile stage's


def window_name(window):
    """Its object name, or else its class, as the plugin names a window."""
    return window.objectName() or window.metaObject().className()


def make_window_watch(qt, shown, painted):
    """An event filter for the application object that calls shown(window) for every
    top-level window shown (tool tips, pop-ups aside) and painted() at the first
    paint of one. Costs a call per event: only for the tools and tests."""
    QtCore = qt.QtCore
    Type = QtCore.QEvent.Type
    WindowType = QtCore.Qt.WindowType
    left_out = (WindowType.ToolTip, WindowType.Popup, WindowType.Desktop)

    class WindowWatch(QtCore.QObject):
        def eventFilter(self, watched, event):
            kind = event.type()
            if kind in (Type.Show, Type.Paint) and watched.isWidgetType() and watched.isWindow():
                if kind == Type.Paint:
                    painted()
                elif watched.windowType() not in left_out:
                    shown(watched)
            return False

    return WindowWatch()


def settle_events(qt):
    """Layout requests and deferred deletes, and what they post in turn."""
    QtCore = qt.QtCore
    for _ in range(2):
        QtCore.QCoreApplication.sendPostedEvents()
        QtCore.QCoreApplication.sendPostedEvents(None, QtCore.QEvent.Type.DeferredDelete)


def render_windows(qt, windows, folder):
    """Each window's grab into folder as window-N.png; (name, file stem) of each
    written, in order."""
    settle_events(qt)
    rendered = []
    for index, window in enumerate(windows, 1):
        stem = "window-%d" % index
        if window.grab().toImage().save("%s/%s.png" % (folder, stem), "PNG"):
            rendered.append((window_name(window), stem))
    return rendered


class Passes:
    """Sheets applied on the windows from the plain base style and painted once,
    timed on the main thread's processor clock (other programs busy on the machine
    do not inflate it as they inflate the wall clock)."""

    def __init__(self, qt, application, sheet, windows):
        self.qt = qt
        self.application = application
        self.sheet = sheet  # the agent's ApplicationSheet
        self.windows = windows
        self.canvas = None
        self.base_style_on = False

    def apply_milliseconds(self, text, switch_from=None):
        self._reset()
        # A switch goes from another theme to the sheet as the gallery installs a
        # theme, its palette with it; a pass from the plain style sets the sheet alone.
        switching = switch_from is not None
        if switching:
            self.sheet.put_on_for_pass(switch_from, switching)
            self._paint()
            self.qt.QtGui.QPixmapCache.clear()
        start = time.thread_time()
        self.sheet.put_on_for_pass(text, switching)
        self._paint()
        return (time.thread_time() - start) * 1000

    def _reset(self):
        self.sheet.put_on_for_pass("", True)
        if not self.base_style_on:
            QtWidgets = self.qt.QtWidgets
            QtWidgets.QApplication.setStyle(QtWidgets.QStyleFactory.create(BASE_STYLE))
            self.base_style_on = True
        settle_events(self.qt)
        # Pixmaps a style keyed to the last palette would spare the next pass its work.
        self.qt.QtGui.QPixmapCache.clear()

    def _paint(self):
        QtCore, QtGui, QtWidgets = self.qt.QtCore, self.qt.QtGui, self.qt.QtWidgets
        settle_events(self.qt)
        flags = QtWidgets.QWidget.RenderFlag
        for window in self.windows:
            if self.canvas is None or self.canvas.size() != window.size():
                self.canvas = QtGui.QImage(window.size(), QtGui.QImage.Format.Format_RGB32)
            painter = QtGui.QPainter(self.canvas)
            window.render(painter, QtCore.QPoint(), QtGui.QRegion(),
                          flags.DrawWindowBackground | flags.DrawChildren)
            painter.end()


def tree_size(windows):
    """How many widgets the windows hold (a dialog inside another window once) and
    how deep the deepest lies."""
    seen = {}  # the wrappers kept, so that no two share an id
    deepest = 0
    stack = [(window, 1) for window in windows]
    while stack:
        widget, depth = stack.pop()
        if id(widget) in seen:
            continue
        seen[id(widget)] = widget
        deepest = max(deepest, depth)
        stack.extend((child, depth + 1) for child in widget.children() if child.isWidgetType())
    return len(seen), deepest
