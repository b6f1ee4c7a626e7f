# SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
# SPDX-License-Identifier: MIT
"""The test application of profiledapp.cpp, in Python, on the binding named first:
pyqt5 or pyqt6, then optionally the labels in a frame. Names and numbers as in
profiledappnames.h."""
import sys

if sys.argv[1] == "pyqt5":
    from PyQt5 import QtCore, QtWidgets
else:
    from PyQt6 import QtCore, QtWidgets

application = QtWidgets.QApplication(sys.argv)
application.setStyleSheet("QLabel { color: rgb(0, 120, 0); }")

window = QtWidgets.QMainWindow()
window.setObjectName("profiledMain")
central = QtWidgets.QWidget()
grid = QtWidgets.QGridLayout(central)
for frame in range(40):
    box = QtWidgets.QFrame()
    column = QtWidgets.QVBoxLayout(box)
    for label in range(int(sys.argv[2]) if len(sys.argv) > 2 else 50):
        text = QtWidgets.QLabel("x")
        text.setProperty("flag", "on")
        column.addWidget(text)
    grid.addWidget(box, frame // 8, frame % 8)
window.setCentralWidget(central)
window.show()

class Dialog(QtWidgets.QDialog):
    shows = 0

    def showEvent(self, event):
        Dialog.shows += 1
        if Dialog.shows > 1:
            sys.stderr.write("profiledDialog shown again\n")
        super().showEvent(event)


dialog = Dialog(window)
dialog.setObjectName("profiledDialog")
close = QtWidgets.QPushButton("Close", dialog)
close.clicked.connect(dialog.accept)
QtCore.QTimer.singleShot(300, dialog.show)
QtCore.QTimer.singleShot(600, dialog.close)
sys.exit(application.exec() if hasattr(application, "exec") else application.exec_())
