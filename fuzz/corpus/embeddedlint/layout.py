class W:
    def f(self):
        self.setStyleSheet("""
            QLabel{color:red}
              QFrame {border:none}
        """)
        self.b.setStyleSheet("QPushButton{color:red} QLabel{x:y}")
