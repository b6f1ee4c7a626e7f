// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "embedded/applicationsources.h"

#include <QtTest>

// The application's widget classes and object names as its C++ and Python sources
// declare them.
class TestApplicationSources : public QObject
{
    Q_OBJECT
private slots:
    void declares_data();
    void declares();
    void aFormsClassGivesWayToItsSource();
};

void TestApplicationSources::declares_data()
{
    QTest::addColumn<bool>("python");
    QTest::addColumn<QString>("text");
    // "name<base LINE", with " no Q_OBJECT" for a class without one
    QTest::addColumn<QStringList>("classes");
    QTest::addColumn<QStringList>("objects"); // "name LINE"

    QTest::newRow("C++: namespaces, a class through another, one without Q_OBJECT")
        << false
        << "namespace app {\n"
           "class RSComboBox : public QComboBox\n{\n    Q_OBJECT\n};\n"
           "namespace ui {\n"
           "class OpModeStatus final : public RSComboBox { public: int x; };\n"
           "}\n}\n"
        << QStringList{"app--RSComboBox<QComboBox 2", "app--ui--OpModeStatus<app--RSComboBox 7 "
                                                      "no Q_OBJECT"}
        << QStringList();
    QTest::newRow("C++: a template deriving from its parameter, an export macro, nesting")
        << false
        << "template <typename Base, int N = 2> class Hover : public Base {};\n"
           "class APP_EXPORT HoverButton : public Hover<QPushButton, 3> { Q_OBJECT };\n"
           "class Outer : public QWidget {\n Q_OBJECT\n"
           " class Inner : public ::QLabel { Q_OBJECT void f() { if (x) {} } };\n};\n"
        << QStringList{"HoverButton<QPushButton 2", "Outer<QWidget 3", "Outer--Inner<QLabel 5"}
        << QStringList();
    QTest::newRow("C++: written out of its namespace, attributes, a second base, a struct")
        << false
        << "namespace app { class Base; }\n"
           "class app::Base : public QWidget { Q_OBJECT };\n"
           "namespace app {\n"
           "struct [[nodiscard]] alignas(8) Panel final : public Base, private Helper<int> {\n"
           "    Q_OBJECT\n};\n"
           "class Later : public Undeclared { Q_OBJECT };\n"
           "}\n"
           "class Q_DECL_EXPORT Shown : public app::Panel\n{\n"
           "    void f() { struct Local { int Q_OBJECT; }; }\n};\n"
        << QStringList{"app--Base<QWidget 2", "app--Panel<app--Base 4",
                       "Shown<app--Panel 9 no Q_OBJECT"}
        << QStringList();
    QTest::newRow("Python: a generic base, a base of the application's declared later")
        << true
        << "class Dialog(Generic[T], BaseDialog):\n    pass\n"
           "class BaseDialog(QtWidgets.QDialog):\n    pass\n"
        << QStringList{"Dialog<BaseDialog 1", "BaseDialog<QDialog 3"} << QStringList();
    QTest::newRow("C++: what is no widget class")
        << false
        << "class Forward;\nclass Model : public QObject { Q_OBJECT };\n"
           "class Derived : public Model { Q_OBJECT };\n"
           "enum class Mode : int { A, B };\nvoid f(class QWidget *w);\n"
           "template <class T> class Box : public T {};\n"
           "struct { int a; } plain;\n"
        << QStringList() << QStringList();
    QTest::newRow("C++: object names, through the string wrappers, not built ones")
        << false
        << "void f(QWidget *w) {\n  w->setObjectName(\"saveButton\");\n"
           "  setObjectName(QStringLiteral(\"titleLabel\"));\n"
           "  w->setObjectName(QString(\"row_%1\").arg(1));\n"
           "  w->setObjectName(name);\n  // setObjectName(\"commented\");\n"
           "  w->setObjectName(\"a\" + suffix);\n}\n"
        << QStringList() << QStringList{"saveButton 2", "titleLabel 3"};
    QTest::newRow("Python: two levels deep, module names, a mixin first")
        << true
        << "from PyQt5 import QtWidgets\n"
           "class FramedWidget(QtWidgets.QFrame):\n    pass\n"
           "class Deep(Mixin, FramedWidget, metaclass=Meta):\n"
           "    def __init__(self):\n"
           "        super().__init__(objectName=\"deepOne\")\n"
           "        self.setObjectName('deepTwo')\n"
           "        if self.objectName() == 'x': pass\n"
           "        self.setObjectName('row_' + str(n))\n"
           "class Worker(QObject):\n    pass\n"
           "class Bare:\n    pass\n"
           "class Late(Deep):\n    pass\n"
        << QStringList{"FramedWidget<QFrame 2", "Deep<FramedWidget 4", "Late<Deep 14"}
        << QStringList{"deepOne 6", "deepTwo 7"};
}

void TestApplicationSources::declares()
{
    QFETCH(bool, python);
    QFETCH(QString, text);
    QFETCH(QStringList, classes);
    QFETCH(QStringList, objects);
    SourceDeclarations sources;
    if (python)
        sources.readPython(text, QStringLiteral("a.py"));
    else
        sources.readCpp(text, QStringLiteral("a.h"));
    const ApplicationObjects read = sources.applicationObjects();
    QStringList declared;
    for (const ApplicationClass &found : read.classes)
        declared.append(QStringLiteral("%1<%2 %3%4")
                            .arg(found.name, found.base)
                            .arg(found.line)
                            .arg(found.metaObject ? QString() : QStringLiteral(" no Q_OBJECT")));
    QCOMPARE(declared, classes);
    QStringList named;
    for (const ApplicationObject &found : read.objects)
        named.append(QStringLiteral("%1 %2").arg(found.name).arg(found.line));
    QCOMPARE(named, objects);
}

void TestApplicationSources::aFormsClassGivesWayToItsSource()
{
    ApplicationObjects objects;
    QString error;
    QVERIFY(
        readFormObjects("<ui><class>Panel</class><widget class=\"QWidget\" name=\"Panel\"/></ui>",
                        QStringLiteral("panel.ui"), &objects, &error));
    SourceDeclarations sources;
    sources.readCpp(QStringLiteral("class Panel : public QWidget {};\n"),
                    QStringLiteral("panel.h"));
    objects.append(sources.applicationObjects());
    const ApplicationClass *panel = objects.applicationClass(QStringLiteral("Panel"));
    QVERIFY(panel);
    QCOMPARE(panel->form, QStringLiteral("panel.h"));
    QVERIFY(!panel->metaObject);
}

QTEST_GUILESS_MAIN(TestApplicationSources)
#include "tst_applicationsources.moc"
