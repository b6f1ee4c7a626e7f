void f(QWidget *w) {
    w->setStyleSheet("QLabel { colr: red; }\n"
                     "QPushButton { color: #12345; }");
    w->setStyleSheet("color: red; backgrund: blue;");
    w->setStyleSheet(QStringLiteral("a { color: %1 }").arg(c));
}
