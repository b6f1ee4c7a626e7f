#include <QWidget>
// w->setStyleSheet("commented out");
void Widget::setStyleSheet(const QString &sheet);
void style(QWidget *w, QPushButton *b, const QColor &c)
{
    w->setStyleSheet("QLabel { color: \"red\"; }\n\tQFrame {\x41\101\u00e9\U0001F600 }");
    b->setStyleSheet(QStringLiteral("QPushButton {"
                                    " border: 1px solid gray;" /* between */
                                    "}"));
    qApp->setStyleSheet(QLatin1String(R"css(QToolTip { color: ")" })css"));
    setStyleSheet(QString::fromUtf8(u8R"(a { b: c })") );
    setStyleSheet(u"x {}"_s L"y {}");
    setStyleSheet(QStringLiteral("a { color: %1 }").arg(c.name()));
    setStyleSheet(tr("b {}") + sheet);
    setStyleSheet("a {\
b: c }");
    const int n = 1'000; char q = '"';
}
