# SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
# SPDX-License-Identifier: MIT
"""What prismark-live's own tools ask of the application's widgets: prismark-live opens
its Sheet Diagnostics window and inspector in its own process, where the author's sheet
cannot reach them, and they work on what the agent tells them (see treeRequestKind in
gui/attach/attachprotocol.h): a description of the widgets of the shown windows, an
outline over the widgets they name, and the widget the author clicks next.
"""
import importlib

from prismark_agent import names

# As gui/widgetstyles/widgetstate.cpp's order, the everyday ones first.
STATE_ORDER = ("enabled", "disabled", "hover", "pressed", "focus", "checked", "unchecked",
               "indeterminate", "on", "off", "default", "flat", "read-only", "editable",
               "frameless", "active", "window", "horizontal", "vertical", "open", "closed")


def widget_id(qt, widget):
    """The C++ object's address, as the plugin names a widget: the same for as long as
    the widget lives, however often the binding makes a new wrapper for it."""
    try:
        if qt.name.startswith("PyQt"):
            return importlib.import_module(qt.name + ".sip").unwrapinstance(widget)
        shiboken = importlib.import_module("shiboken" + qt.name[-1])
        return shiboken.getCppPointer(widget)[0]
    except (ImportError, AttributeError, TypeError):
        return id(widget)


def _button_states(qt, widget):
    QtWidgets = qt.QtWidgets
    found = set()
    if widget.isDown():
        found.add("pressed")
    two_sided = isinstance(widget, (QtWidgets.QCheckBox, QtWidgets.QRadioButton))
    partly = qt.QtCore.Qt.CheckState.PartiallyChecked
    if isinstance(widget, QtWidgets.QCheckBox) and widget.checkState() == partly:
        found.add("indeterminate")
    elif widget.isChecked():
        found.update(("on", "checked"))
    elif two_sided:  # push and tool buttons say only when they are on
        found.update(("off", "unchecked"))
    if isinstance(widget, QtWidgets.QPushButton):
        if widget.isFlat():
            found.add("flat")
        if widget.isDefault():
            found.add("default")
    return found


def _edit_states(qt, widget):
    QtWidgets = qt.QtWidgets
    if isinstance(widget, QtWidgets.QLineEdit):
        return {"read-only" if widget.isReadOnly() else "editable"} | (
            set() if widget.hasFrame() else {"frameless"})
    if isinstance(widget, QtWidgets.QComboBox):
        return {"editable" if widget.isEditable() else "read-only"} | (
            set() if widget.hasFrame() else {"frameless"})
    if isinstance(widget, QtWidgets.QAbstractSpinBox):
        return set() if widget.hasFrame() else {"frameless"}
    if isinstance(widget, QtWidgets.QGroupBox):
        return {"flat"} if widget.isFlat() else set()
    return set()


def states(qt, widget):
    """The pseudo-states the style sheet style draws the widget in, as the plugin's
    widgetPseudoState gives them."""
    QtWidgets = qt.QtWidgets
    found = set()
    if widget.isEnabled():
        found.add("enabled")
        if widget.underMouse():
            found.add("hover")
    else:
        found.add("disabled")
    if widget.window().isActiveWindow():
        found.add("active")
    if widget.isWindow():
        found.add("window")
    if widget.hasFocus():
        found.add("focus")
    if isinstance(widget, QtWidgets.QAbstractButton):
        found |= _button_states(qt, widget)
    horizontal = qt.QtCore.Qt.Orientation.Horizontal
    oriented = isinstance(widget, (QtWidgets.QAbstractSlider, QtWidgets.QProgressBar))
    found.add("horizontal" if oriented and widget.orientation() == horizontal else "vertical")
    found |= _edit_states(qt, widget)
    found.add("open" if found & {"on", "pressed"} else "closed")
    return [name for name in STATE_ORDER if name in found]


def _text(value):
    if isinstance(value, (list, tuple)):
        return " ".join(str(item) for item in value)
    if value is None:
        return ""
    if isinstance(value, bool):
        return "true" if value else "false"
    return str(value)


def _read(widget, name, found):
    try:
        found[name] = _text(widget.property(name))
    except (RuntimeError, TypeError):
        pass  # of a type the binding cannot convert (one of its own, say): no selector's


def _properties(widget, declared):
    found = {}
    for name in widget.dynamicPropertyNames():
        name = bytes(name).decode("latin-1")
        if not name.startswith("_q_"):
            _read(widget, name, found)
    meta = widget.metaObject()
    for name in declared:
        if isinstance(name, str) and meta.indexOfProperty(name) >= 0:
            _read(widget, name, found)
    return found


def shown_windows(qt, left_out=()):
    WindowType = qt.QtCore.Qt.WindowType
    return [window for window in qt.QtWidgets.QApplication.topLevelWidgets()
            if window.isVisible() and not any(window is other for other in left_out) and
            window.windowType() not in (WindowType.ToolTip, WindowType.Popup,
                                        WindowType.Desktop)]


def describe(qt, windows, declared, left_out=()):
    """treeKind's fields for the widgets of windows, parents first, leaving out the
    widgets of left_out (the agent's own outlines)."""
    nodes = []

    def add(widget, parent):
        meta = widget.metaObject()
        classes = []
        while meta is not None:
            classes.append(meta.className())
            meta = meta.superClass()
        corner = widget.mapToGlobal(qt.QtCore.QPoint(0, 0))
        node_id = widget_id(qt, widget)
        nodes.append({
            names.idField: node_id, names.parentField: parent, names.classesField: classes,
            names.objectNameField: widget.objectName(),
            names.propertiesField: _properties(widget, declared),
            names.statesField: states(qt, widget),
            names.geometryField: [corner.x(), corner.y(), widget.width(), widget.height()],
            names.visibleField: widget.isVisible(), names.ownSheetField: widget.styleSheet()})
        for child in widget.children():
            if (child.isWidgetType() and not child.isWindow() and
                    not any(child is other for other in left_out)):
                add(child, node_id)

    for window in windows:
        add(window, 0)
    style = qt.QtWidgets.QApplication.style()
    return {names.styleField: _style_under_sheet(qt, style), names.nodesField: nodes}


def _style_under_sheet(qt, style):
    # The toolkit wraps the application's style while a sheet is on; [style="..."]
    # compares with the class of the one it wraps, as the plugin's styleUnderSheet.
    if not isinstance(style, qt.QtWidgets.QProxyStyle):
        # Its direct children: PySide2's findChildren takes no options.
        wrapped = [child for child in style.children()
                   if isinstance(child, qt.QtWidgets.QStyle)]
        if len(wrapped) == 1:
            style = wrapped[0]
    return style.metaObject().className()


def widget_of(qt, windows, wanted):
    for window in windows:
        if widget_id(qt, window) == wanted:
            return window
        for widget in window.findChildren(qt.QtWidgets.QWidget):
            if widget_id(qt, widget) == wanted:
                return widget
    return None


def make_outline(qt, widget):
    """A frame over widget, drawn by hand: a child of its window with a sheet of its own
    that sets every colour it could take, so the author's sheet cannot restyle it, and
    through which every click goes to the widget below."""
    QtCore, QtGui, QtWidgets = qt.QtCore, qt.QtGui, qt.QtWidgets
    colour = QtGui.QColor(names.outlineColour)

    class Outline(QtWidgets.QWidget):
        def paintEvent(self, event):
            painter = QtGui.QPainter(self)
            fill = QtGui.QColor(colour)
            fill.setAlpha(40)
            painter.fillRect(self.rect(), fill)
            painter.setPen(QtGui.QPen(colour, 2))
            painter.drawRect(self.rect().adjusted(1, 1, -1, -1))
            painter.end()

    window = widget.window()
    outline = Outline(window)
    outline.setStyleSheet("background: transparent; border: none;")
    outline.setAttribute(QtCore.Qt.WidgetAttribute.WA_TransparentForMouseEvents, True)
    outline.setAttribute(QtCore.Qt.WidgetAttribute.WA_NoSystemBackground, True)
    outline.setGeometry(QtCore.QRect(widget.mapTo(window, QtCore.QPoint(0, 0)), widget.size()))
    outline.show()
    outline.raise_()
    return outline


def styled_widget(qt, widget):
    """The widget the toolkit styles when this one is drawn, as the plugin's picker
    takes it (gui/widgetstyles/widgetstate.h): the scroll area for its viewport, the
    spin or combo box for the line edit inside it."""
    QtWidgets = qt.QtWidgets
    parent = widget.parentWidget()
    if parent is None or widget.styleSheet():
        return widget
    if isinstance(widget, QtWidgets.QLineEdit) and isinstance(
            parent, (QtWidgets.QComboBox, QtWidgets.QAbstractSpinBox)):
        return parent
    if isinstance(parent, QtWidgets.QAbstractScrollArea) and parent.viewport() is widget:
        return parent
    return widget


def make_picker(qt, picked, is_outline):
    """An event filter for the application object: the next press on a widget of the
    application's picks it, and it and its release go no further; Esc cancels.
    picked(widget or None) is called once."""
    QtCore = qt.QtCore
    Type = QtCore.QEvent.Type
    escape = QtCore.Qt.Key.Key_Escape

    class Picker(QtCore.QObject):
        def __init__(self):
            super().__init__()
            self.done = False
            self.swallow_release = False

        def eventFilter(self, watched, event):
            kind = event.type()
            if self.swallow_release and kind == Type.MouseButtonRelease:
                self.swallow_release = False
                return True
            if self.done or not watched.isWidgetType() or is_outline(watched):
                return False
            if kind in (Type.MouseButtonPress, Type.MouseButtonDblClick):
                self.done = self.swallow_release = True
                picked(styled_widget(qt, watched))
                return True
            if kind == Type.KeyPress and event.key() == escape:
                self.done = True
                picked(None)
                return True
            return False

    return Picker()


def click(qt, widget):
    """A press and a release of the left button at widget's middle, sent through the
    application object as the window system's would be (QtTest is not always there)."""
    QtCore, QtGui = qt.QtCore, qt.QtGui
    Type = QtCore.QEvent.Type
    left = QtCore.Qt.MouseButton.LeftButton
    none = QtCore.Qt.MouseButton.NoButton
    plain = QtCore.Qt.KeyboardModifier.NoModifier
    middle = QtCore.QPointF(widget.width() / 2, widget.height() / 2)
    for kind, buttons in ((Type.MouseButtonPress, left), (Type.MouseButtonRelease, none)):
        event = QtGui.QMouseEvent(kind, middle, left, buttons, plain)
        qt.QtWidgets.QApplication.sendEvent(widget, event)
