#include <QWidget>
static const char *const kPanel = "QFrame#panel { background: #202020; }";
namespace {
const QString kCard = QStringLiteral("QFrame { border: %1px solid %2; }");
}
void Widget::setup()
{
    connect(this, SIGNAL(themeChanged(QString)), this, SLOT(setStyleSheet(QString)));
    label->setStyleSheet(QStringLiteral("QLabel { color: %1; font-size: %2px; paddng: 2px; }")
                             .arg(text).arg(size));
    button->setStyleSheet(QString(R"(QPushButton:%1 { background: qlineargradient(x1: %2, y1: 0, x2: 0, y2: 1, stop: 0 %3, stop: 1 white); })").arg(a, b, c));
    frame->setStyleSheet(kPanel);
    QString sheet = "QLineEdit { colr: red; }";
    edit->setStyleSheet(sheet);
    other->setStyleSheet(sheet);
    QString changed = "QLabel {}";
    changed += extra;
    more->setStyleSheet(changed);
    card->setStyleSheet(kCard.arg(w).arg(c));
    edit->setStyleSheet(QString{});
    edit->setStyleSheet({});
    edit->setStyleSheet(QString("%1").arg(all));
    a->setStyleSheet(s = "QLabel { colr: red }");
    b->setStyleSheet(s);
    static const QMap<QString, QString> sheets{
        {"dark", /* qss */ "QWidget { background: black; colour: white; }"},
        {"light", /*qss*/ QStringLiteral("QWidget { background: white; }")},
    };
}
