# SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
# SPDX-License-Identifier: MIT
"""The test application of attachedapp.cpp, in Python, on the binding named first:
pyqt5, pyqt6 or pyside2. Names, sheets and the note its button's handlers write
come from attachedappnames.h, through the module the build makes of it beside this copy.
With --quit-when-painted (for the benchmark) it sets no sheet of its own, and once
its window is first painted prints "painted NS" (the monotonic clock then) and ends.
With --child-environment FILE it first runs a child process that writes the
environment it was given to FILE, which appears whole. With --unnamed no window or
widget has an object name; with --bare its label and button are hidden."""
import os
import subprocess
import sys
import time

# The names module beside this copy stays as the build made it: no bytecode beside it.
sys.dont_write_bytecode = True
from attachedappnames import (bareOption, buttonName, dialogName, handlerRan, labelName,
                              labelSheet, mainName, ownSheet, unnamedOption)

binding = sys.argv[1]
if binding == "pyqt5":
    from PyQt5 import QtCore, QtWidgets
elif binding == "pyqt6":
    from PyQt6 import QtCore, QtWidgets
else:
    from PySide2 import QtCore, QtWidgets

application = QtWidgets.QApplication(sys.argv)
if "--child-environment" in sys.argv:
    # The C library's environment, as the application's own code would start a child.
    seen = sys.argv[sys.argv.index("--child-environment") + 1]
    with open(seen + ".part", "wb") as out:
        subprocess.run(["env"], stdout=out, check=False)
    os.rename(seen + ".part", seen)
quit_when_painted = "--quit-when-painted" in sys.argv
if not quit_when_painted:
    application.setStyleSheet(ownSheet)

named = unnamedOption not in sys.argv


def set_name(widget, name):
    if named:
        widget.setObjectName(name)


window = QtWidgets.QMainWindow()
set_name(window, mainName)
central = QtWidgets.QWidget()
layout = QtWidgets.QVBoxLayout(central)
label = QtWidgets.QLabel("own sheet")
set_name(label, labelName)
label.setStyleSheet(labelSheet)
label.setMinimumHeight(60)
layout.addWidget(label)
button = QtWidgets.QPushButton("Pick me")
set_name(button, buttonName)
layout.addWidget(button)
if bareOption in sys.argv:
    label.hide()
    button.hide()
for signal, name in ((button.pressed, "pressed"), (button.released, "released"),
                     (button.clicked, "clicked")):
    signal.connect(lambda *_, name=name: print(handlerRan + name, file=sys.stderr,
                                               flush=True))


class PressNote(QtCore.QObject):
    def eventFilter(self, watched, event):
        if event.type() == getattr(QtCore.QEvent, "Type", QtCore.QEvent).MouseButtonPress:
            print(handlerRan + "mouse press", file=sys.stderr, flush=True)
        return False


press_note = PressNote()
button.installEventFilter(press_note)
layout.addStretch()
window.setCentralWidget(central)
window.resize(320, 240)


def run():
    return application.exec() if hasattr(application, "exec") else application.exec_()


class FirstPaint(QtCore.QObject):
    seen = False

    def eventFilter(self, watched, event):
        if event.type() == getattr(QtCore.QEvent, "Type", QtCore.QEvent).Paint and not self.seen:
            self.seen = True
            QtCore.QTimer.singleShot(0, self.painted)
        return False

    def painted(self):
        print("painted %d" % time.monotonic_ns(), flush=True)
        application.quit()


if quit_when_painted:
    first_paint = FirstPaint()
    window.installEventFilter(first_paint)
    window.show()
    sys.exit(run())
window.show()

dialog = QtWidgets.QDialog(window)
set_name(dialog, dialogName)
dialog.resize(200, 120)
QtCore.QTimer.singleShot(300, dialog.show)
QtCore.QTimer.singleShot(600, lambda: application.setStyleSheet(ownSheet + "\n"))


def read_input():
    line = os.read(0, 64).decode(errors="replace")
    words = line.split()
    if not line or (len(words) == 2 and words[0] == "quit"):
        notifier.setEnabled(False)
        application.exit(int(words[1]) if words else 0)


read_kind = getattr(QtCore.QSocketNotifier, "Type", QtCore.QSocketNotifier).Read
notifier = QtCore.QSocketNotifier(0, read_kind)
notifier.activated.connect(read_input)
sys.exit(run())
