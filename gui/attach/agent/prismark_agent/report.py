# SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
# SPDX-License-Identifier: MIT
"""The tests' view of an attached application, as the plugin gives it (see
gui/attach/attachedsession.h): after every sheet put on and every window shown, each
top-level window's grab as <window name>.png in the test folder, then report.json.
"""
import json
import os
import time

from prismark_agent import windows


class TestReport:
    def __init__(self, session, folder):
        self.session = session
        self.folder = folder
        self.updates = 0
        self.pending = False
        self.repaint_ms = 0.0
        self.repainted_ns = 0
        self.highlighted = []  # the object names of the widgets outlined for prismark-live
        self.due()

    def due(self):
        self.updates += 1
        if not self.pending:
            self.pending = True
            self.session.qt.QtCore.QTimer.singleShot(0, self.write)

    def repainted(self, started_ns):
        """Painted here and now, so the time is that of the install and its paint."""
        for window in self.windows():
            window.repaint()
        self.repainted_ns = time.monotonic_ns()
        self.repaint_ms = (self.repainted_ns - started_ns) / 1e6
        self.due()

    def windows(self):
        QApplication = self.session.qt.QtWidgets.QApplication
        WindowType = self.session.qt.QtCore.Qt.WindowType
        shown = [window for window in QApplication.topLevelWidgets()
                 if window.isVisible() and window.windowType() not in
                 (WindowType.ToolTip, WindowType.Popup, WindowType.Desktop)]
        return sorted(shown, key=windows.window_name)

    def write(self):
        self.pending = False
        names = []
        for window in self.windows():
            name = windows.window_name(window)
            # Whole or not at all: the tests read these while the next update rewrites them.
            path = os.path.join(self.folder, name + ".png")
            if window.grab().save(path + ".new", "PNG"):
                os.replace(path + ".new", path)
            names.append(name)
        session = self.session
        report = {
            "updates": self.updates,
            "outcome": session.outcome,
            "problem": session.problem,
            "diagnostics": [],
            "windows": names,
            "ownSheet": session.sheet.own_sheet,
            "repaintMs": self.repaint_ms,
            "repaintedNs": self.repainted_ns,
            "highlighted": self.highlighted,
        }
        path = os.path.join(self.folder, "report.json")
        with open(path + ".new", "w") as file:
            json.dump(report, file)
        os.replace(path + ".new", path)
