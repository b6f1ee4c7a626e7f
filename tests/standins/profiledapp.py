# SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
# SPDX-License-Identifier: MIT
"""The test application of profiledapp.cpp, in Python, on the binding named first:
pyqt5 or pyqt6, then optionally the labels in a frame. Names and numbers come from
profiledappnames.h, through the module the build makes of it beside this copy."""
import sys

# The names module beside this copy stays as the build made it: no bytecode beside it.
sys.dont_write_bytecode = True
from profiledappnames import (dialogClosedMs, dialogName, dialogShownMs, flagProperty,
                              flagValue, frames, labelsPerFrame, mainName, ownSheet,
                              shownAgain)

if sys.argv[1] == "pyqt5":
    from PyQt5 import QtCore, QtWidgets
else:
    from PyQt6 import QtCore, QtWidgets

application = QtWidgets.QApplication(sys.argv)
application.setStyleSheet(ownSheet)

window = QtWidgets.QMainWindow()
window.setObjectName(mainName)
central = QtWidgets.QWidget()
grid = QtWidgets.QGridLayout(central)
for frame in range(frames):
    box = QtWidgets.QFrame()
    column = QtWidgets.QVBoxLayout(box)
    for label in range(int(sys.argv[2]) if len(sys.argv) > 2 else labelsPerFrame):
        text = QtWidgets.QLabel("x")
        text.setProperty(flagProperty, flagValue)
        column.addWidget(text)
    grid.addWidget(box, frame // 8, frame % 8)
window.setCentralWidget(central)
window.show()

class Dialog(QtWidgets.QDialog):
    shows = 0

    def showEvent(self, event):
        Dialog.shows += 1
        if Dialog.shows > 1:
            sys.stderr.write(shownAgain + "\n")
        super().showEvent(event)


dialog = Dialog(window)
dialog.setObjectName(dialogName)
close = QtWidgets.QPushButton("Close", dialog)
close.clicked.connect(dialog.accept)
QtCore.QTimer.singleShot(dialogShownMs, dialog.show)
QtCore.QTimer.singleShot(dialogClosedMs, dialog.close)
sys.exit(application.exec() if hasattr(application, "exec") else application.exec_())
