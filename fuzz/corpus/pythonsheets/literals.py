# w.setStyleSheet("commented out")
class W(QWidget):
    def setStyleSheet(self, sheet):
        super().setStyleSheet(sheet)

    def style(self, c):
        self.setStyleSheet("QLabel { color: \"red\"; }\n\tQFrame {\x41\101\u00e9\U0001F600 }")
        self.button.setStyleSheet(
            "QPushButton {"  # open
            ' border: 1px solid gray;'
            "}"
        )
        self.setStyleSheet("""
            QToolTip { color: 'x' }
        """)
        self.setStyleSheet(r'a { b: "\n" }' R"c {}" u'\N{BULLET}')
        self.setStyleSheet(f"a {{ color: {c} }}")
        self.setStyleSheet("a { color: %s }" % c)
        self.setStyleSheet("a {{ color: {} }}".format(c))
        self.setStyleSheet('a {\
b: c }')
