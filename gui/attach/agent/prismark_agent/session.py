# SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
# SPDX-License-Identifier: MIT
"""The agent inside the application, once it has made its QApplication: what the
attach plugin's session does (gui/attach/attachedsession.h), for an application on a
Qt the plugin cannot load into.

prismark keeps the sheet's file: it watches it, checks each save and builds a theme
template, and sends the agent each text to put on. The agent says hello once the
application has painted its first window, puts on what it is sent, and, for
prismark-shot and prismark-profile, renders the windows the application showed or
times the passes it is asked for. What prismark may ask is the table in
Session.handlers: a new request is a method and a row.
"""
import os
import sys
import time

from prismark_agent import names, windows
from prismark_agent.sheet import (ApplicationSheet, first_sheet_text, put_on_scheme_palette,
                                  read_sheet_file)

# How long the hello waits for the application's first window, as the plugin's.
NO_PAINT_WAIT_MS = 1000
AUDIT_NEEDS_PLUGIN = ("the audit runs inside the application through the attach plugin, "
                      "which this application's Qt cannot load")


class Binding:
    """The binding the application imported, and its modules (QtWidgets loaded them)."""

    def __init__(self, name):
        self.name = name
        self.QtCore = sys.modules[name + ".QtCore"]
        self.QtGui = sys.modules[name + ".QtGui"]
        self.QtWidgets = sys.modules[name + ".QtWidgets"]


def _settings():
    value = os.environ.get
    return {
        "server": value(names.serverVariable, ""),
        "sheet": value(names.sheetVariable, ""),
        "scheme": value(names.colorSchemeVariable, ""),
        "test": value(names.testFolderVariable, ""),
        "inspect": value(names.testInspectVariable, ""),
        "shot": value(names.shotFolderVariable, ""),
        "shot settle": int(value(names.shotSettleVariable, "0") or 0),
        "shot style": value(names.shotStyleVariable, ""),
        "right to left": value(names.shotDirectionVariable, "") == names.rightToLeft,
        "audit": value(names.shotAuditVariable, ""),
        "profile": value(names.profileFolderVariable, ""),
        "profile settle": int(value(names.profileSettleVariable, "0") or 0),
    }


def restore_environment():
    """The environment as the application's own children should have it (see
    gui/attach/attachvariables.h): not attached, with the user's platform theme."""
    environ = os.environ
    if environ.get(names.platformThemeVariable) == names.themeKey:
        theme = environ.get(names.forwardThemeVariable)
        if theme:
            environ[names.platformThemeVariable] = theme
        else:
            environ.pop(names.platformThemeVariable, None)
    for name in names.unsetForChildren:
        environ.pop(name, None)


def attach(application, binding, set_style_sheet, unpatch, plugin_left_out):
    """The session for the application, or False when the plugin has it already;
    plugin_left_out, the plugin's Qt when the agent left it out (said in the hello)."""
    qt = Binding(binding)
    if application.property(names.attachedProperty):
        restore_environment()
        unpatch()
        return False
    settings = _settings()
    settings["plugin left out"] = plugin_left_out
    restore_environment()
    return Session(qt, application, set_style_sheet, settings)


class Session:
    def __init__(self, qt, application, set_style_sheet, settings):
        self.qt = qt
        self.application = application
        self.settings = settings
        self.connection = None
        self.notifier = None
        self.sheet = ApplicationSheet(qt, application, set_style_sheet)
        self.checked = False  # prismark has sent a checked sheet
        self.outcome = ""
        self.problem = ""
        self.shown = []
        self.watch = None
        self.hello_due = True
        self.dispatcher = None
        self.report = None
        if settings["scheme"]:
            put_on_scheme_palette(qt, application, settings["scheme"])
        self.handlers = {
            names.agentSheetKind: self.put_on_sent_sheet,
            names.outcomeKind: self.take_outcome,
            names.passKind: self.run_pass,
            names.treeRequestKind: self.describe,
            names.highlightKind: self.highlight,
            names.pickKind: self.pick,
        }
        self.outlines = []
        self.picker = None
        if settings["shot"]:
            self.prepare_for_shots()
        text = first_sheet_text(qt, settings["sheet"])
        if text is not None:
            self.sheet.install(text)
            self.outcome = names.appliedOutcome
        if settings["shot"] or settings["profile"]:
            self.start_settling()
        else:
            self.start_live()

    def takes_application_sheet(self, text):
        taken = self.sheet.takes_application_sheet(text)
        if taken and self.report:
            self.report.due()
        return taken

    # Saying hello, and hearing what prismark says.

    def say_hello(self):
        if not self.hello_due:
            return
        self.hello_due = False
        if self.dispatcher is not None:
            self.dispatcher.aboutToBlock.disconnect(self.check_painted)
            self.dispatcher = None
        # Loaded now: before the first paint it would be the application's time.
        from prismark_agent import protocol

        self.connection = protocol.Connection(self.settings["server"])
        hello = {"qt": self.qt.QtCore.qVersion(), "pid": os.getpid(),
                 names.bindingField: self.qt.name}
        if self.settings["plugin left out"]:
            hello[names.pluginBuiltForField] = self.settings["plugin left out"]
        self.send(names.helloKind, hello)
        if self.connection.fileno() < 0:
            return
        QtCore = self.qt.QtCore
        self.notifier = QtCore.QSocketNotifier(self.connection.fileno(),
                                               QtCore.QSocketNotifier.Type.Read)
        self.notifier.activated.connect(self.hear)

    def send(self, kind, fields):
        self.connection.send(kind, fields)

    def hear(self, *unused, wait=False):
        messages = self.connection.receive(wait)
        if messages is None:
            if self.notifier:
                self.notifier.setEnabled(False)
            return False
        for kind, fields in messages:
            handler = self.handlers.get(kind)
            try:
                if handler:
                    handler(fields)
            except Exception as error:  # PyQt ends the application on one out of a slot
                sys.stderr.write("prismark agent: %s went wrong: %r\n" % (kind, error))
        return True

    def put_on_sent_sheet(self, fields):
        text = read_sheet_file(str(fields.get(names.fileField, "")))
        if text is None:
            return
        self.checked = True
        started = time.monotonic_ns()
        if self.sheet.install(text) and self.report:
            self.report.repainted(started)

    def take_outcome(self, fields):
        self.outcome = str(fields.get(names.outcomeField, ""))
        self.problem = str(fields.get(names.sheetProblemField, ""))
        # The first sheet went on before prismark could check it; refused, it comes off.
        if self.outcome in (names.rejectedOutcome, names.unreadableOutcome) and not self.checked:
            self.sheet.take_off()
        if self.report:
            self.report.due()

    # prismark-live's tools, in its own process: the widgets described, outlined, picked.

    def describe(self, fields):
        from prismark_agent import tree

        declared = fields.get(names.propertiesField)
        self.send(names.treeKind, tree.describe(
            self.qt, tree.shown_windows(self.qt), declared if isinstance(declared, list) else [],
            self.outlines))

    def highlight(self, fields):
        from prismark_agent import tree

        for outline in self.outlines:
            outline.hide()
            outline.deleteLater()
        self.outlines = []
        ids = fields.get(names.idsField)
        windows = tree.shown_windows(self.qt)
        outlined = []
        for wanted in ids if isinstance(ids, list) else []:
            widget = tree.widget_of(self.qt, windows, wanted)
            if widget is not None and widget.isVisible():
                self.outlines.append(tree.make_outline(self.qt, widget))
                outlined.append(widget.objectName())
        if self.report:
            self.report.highlighted = outlined
            self.report.due()

    def pick(self, fields):
        from prismark_agent import tree

        if self.picker is not None:
            return
        self.picker = tree.make_picker(
            self.qt, self.picked, lambda widget: any(widget is o for o in self.outlines))
        self.application.installEventFilter(self.picker)
        inspect = self.settings["inspect"]
        if inspect:
            # The tests' click, on the widget named, through the toolkit's own events.
            self.qt.QtCore.QTimer.singleShot(0, lambda: self.click_named(inspect))

    def click_named(self, name):
        from prismark_agent import tree

        for window in tree.shown_windows(self.qt):
            widget = window if window.objectName() == name else window.findChild(
                self.qt.QtWidgets.QWidget, name)
            if widget is not None:
                tree.click(self.qt, widget)
                return

    def picked(self, widget):
        from prismark_agent import tree

        self.application.removeEventFilter(self.picker)
        self.picker.deleteLater()
        self.picker = None
        self.send(names.pickedKind,
                  {names.idField: tree.widget_id(self.qt, widget) if widget is not None else 0})

    # prismark-live: hello once the first window is painted, then saves followed.

    def start_live(self):
        QtCore = self.qt.QtCore
        self.dispatcher = QtCore.QAbstractEventDispatcher.instance()
        self.dispatcher.aboutToBlock.connect(self.check_painted)
        QtCore.QTimer.singleShot(NO_PAINT_WAIT_MS, self.say_hello)
        if self.settings["test"]:
            from prismark_agent.report import TestReport

            self.report = TestReport(self, self.settings["test"])
            self.watch_windows(self.report.due)

    def check_painted(self):
        # The event loop waits only once what the first show posted is done: its paint.
        for window in self.qt.QtWidgets.QApplication.topLevelWidgets():
            handle = window.windowHandle()
            if window.isVisible() and handle is not None and handle.isExposed():
                self.dispatcher.aboutToBlock.disconnect(self.check_painted)
                self.dispatcher = None
                self.qt.QtCore.QTimer.singleShot(0, self.say_hello)
                return

    # prismark-shot and prismark-profile: the windows shown until settled.

    def prepare_for_shots(self):
        """The base style and direction before the sheet goes on, so the application is
        polished once as it will be rendered; no caret blinks, nothing fades."""
        QtWidgets = self.qt.QtWidgets
        Qt = self.qt.QtCore.Qt
        style = QtWidgets.QStyleFactory.create(self.settings["shot style"] or "")
        if style is not None:
            QtWidgets.QApplication.setStyle(style)
        direction = Qt.LayoutDirection
        QtWidgets.QApplication.setLayoutDirection(
            direction.RightToLeft if self.settings["right to left"] else direction.LeftToRight)
        QtWidgets.QApplication.setCursorFlashTime(0)

    def watch_windows(self, then=None):
        def shown(window):
            if not any(window is known for known in self.shown):
                self.shown.append(window)
            if then:
                then()

        self.watch = windows.make_window_watch(self.qt, shown, lambda: None)
        self.application.installEventFilter(self.watch)

    def settled_windows(self):
        alive = self.qt.QtWidgets.QApplication.topLevelWidgets()
        return [window for window in self.shown if any(window is kept for kept in alive)]

    def start_settling(self):
        self.qt.QtWidgets.QApplication.setEffectEnabled(self.qt.QtCore.Qt.UIEffect.UI_General,
                                                        False)
        self.say_hello()
        self.watch_windows()
        shooting = bool(self.settings["shot"])
        settle = self.settings["shot settle" if shooting else "profile settle"]
        self.qt.QtCore.QTimer.singleShot(settle, self.send_shots if shooting else self.hold)

    def send_shots(self):
        rendered = windows.render_windows(self.qt, self.settled_windows(), self.settings["shot"])
        fields = {
            names.windowsField: [{names.windowNameField: name, names.windowFileField: stem}
                                 for name, stem in rendered],
            names.sheetAppliedField: self.sheet.installed is not None,
            names.sheetProblemField: self.problem,
        }
        if self.settings["audit"]:
            fields[names.auditedField] = False
            fields[names.auditProblemField] = AUDIT_NEEDS_PLUGIN
        self.send(names.shotKind, fields)

    def hold(self):
        """prismark-profile's passes, on the windows shown: the event loop is held until
        prismark has gone, so that no timer or handler of the application runs between
        two passes."""
        self.application.removeEventFilter(self.watch)
        shown = self.settled_windows()
        self.passes = windows.Passes(self.qt, self.application, self.sheet, shown)
        widgets, deepest = windows.tree_size(shown)
        self.send(names.profileReadyKind, {
            names.windowsField: len(shown), names.widgetsField: widgets,
            names.deepestField: deepest,
            names.sheetAppliedField: self.sheet.installed is not None,
            names.sheetProblemField: self.problem})
        if self.notifier:
            self.notifier.setEnabled(False)
        while self.hear(wait=True):
            pass

    def run_pass(self, fields):
        folder = self.settings["profile"]
        if not folder or not hasattr(self, "passes"):
            return
        texts = []
        for field in (names.fileField, names.switchFromField):
            name = fields.get(field)
            # Names in prismark-profile's folder, never a path anywhere else.
            plain = isinstance(name, str) and name and "/" not in name and name[0] != "."
            texts.append(read_sheet_file(os.path.join(folder, name)) if plain else None)
        if texts[0] is None:
            return
        self.send(names.passedKind,
                  {names.millisecondsField: self.passes.apply_milliseconds(*texts)})
