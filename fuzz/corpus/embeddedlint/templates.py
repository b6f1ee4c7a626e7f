from PyQt5 import QtWidgets

# qss
DARK = "QWidget { background: #111; color: #eee; }"
BASE = "QLabel { font-weight: bold; }"
SHEETS = {
    # qss
    "dark": "QWidget { colr: white }",
    # qss
    "light": f"QWidget {{ color: {INK} }}",
}


class Window(QtWidgets.QWidget):
    def __init__(self, accent, size, sheet):
        super().__init__()
        self.title.setStyleSheet(f"QLabel {{ color: {accent}; font-size: {size}px; marign: 0; }}")
        self.box.setStyleSheet("QGroupBox { border: 1px solid %s; width: 50%%; }" % accent)
        self.tag.setStyleSheet("QLabel#%(name)s { padding: %(pad)dpx; }" % {"name": "tag", "pad": 2})
        self.btn.setStyleSheet("QPushButton {{ background: {}; color: {c!r:>{w}}; }}".format(accent, c="white", w=3))
        self.arg.setStyleSheet("QLabel { font: %L1pt; color: %2 }".arg(size, ink))
        self.other.setStyleSheet(None)
        self.plain.setStyleSheet(BASE)
        self.dyn.setStyleSheet(self.make_sheet())
        self.dark.setStyleSheet(DARK)
        self.param.setStyleSheet(sheet)
        local = rf"QLabel {{ image: url({path}\x.png) }}"
        self.local.setStyleSheet(local)
        self.whole.setStyleSheet(f"{sheet}")
        self.joined.setStyleSheet("QLabel { color: %s }" % c + "QFrame {}")
