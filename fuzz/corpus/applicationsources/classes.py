from PyQt5 import QtWidgets
from PyQt5.QtWidgets import QFrame


class Mixin:
    pass


class FramedWidget(Mixin, QFrame):
    def __init__(self):
        super().__init__(objectName="framed")
        self.setObjectName("framedWidget")


class Deeper(FramedWidget):
    pass


class Later(Declared):
    pass


class Declared(QtWidgets.QLabel):
    pass
