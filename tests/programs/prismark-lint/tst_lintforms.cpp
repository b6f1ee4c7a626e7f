// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "testsupport.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QtTest>

// prismark-lint with the application's Designer forms configured: its sheets
// checked against their object names and classes, and --list-objects.
class TestLintForms : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void sheetsAreCheckedAgainstTheForms();
    void listObjects_data();
    void listObjects();
    void listObjectsAsJson();
    void aWalkKnowsTheApplication();

private:
    std::unique_ptr<QTemporaryDir> project;
};

namespace {
void write(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

ProgramRun runLint(const QStringList &arguments, const QString &directory)
{
    ProgramOptions options;
    options.workingDirectory = directory;
    options.timeoutMs = 60000;
    return runProgram(QStringLiteral(PRISMARK_LINT_BINARY), arguments, options);
}

const QByteArray kMainForm = R"(<?xml version="1.0" encoding="UTF-8"?>
<ui version="4.0">
 <class>MainWindow</class>
 <widget class="QMainWindow" name="mainWindow">
  <widget class="QWidget" name="central">
   <layout class="QVBoxLayout" name="mainLayout">
    <item>
     <widget class="app::SaveButton" name="saveButton"/>
    </item>
    <item>
     <widget class="VolumeMeter" name="meter"/>
    </item>
   </layout>
  </widget>
 </widget>
 <customwidgets>
  <customwidget>
   <class>app::SaveButton</class>
   <extends>QPushButton</extends>
  </customwidget>
  <customwidget>
   <class>VolumeMeter</class>
   <extends>QWidget</extends>
  </customwidget>
 </customwidgets>
</ui>
)";

const QByteArray kDialogForm = R"(<ui version="4.0">
 <widget class="QDialog" name="aboutDialog">
  <action name="actionClose"/>
 </widget>
</ui>
)";
} // namespace

void TestLintForms::init()
{
    project = std::make_unique<QTemporaryDir>();
    write(project->filePath(QStringLiteral("ui/main.ui")), kMainForm);
    write(project->filePath(QStringLiteral("ui/dialogs/about.ui")), kDialogForm);
    write(project->filePath(QStringLiteral(".prismark-lint.json")),
          R"({"forms": ["ui/**/*.ui"], "checks": {"contrast": "off"}})");
}

void TestLintForms::sheetsAreCheckedAgainstTheForms()
{
    write(project->filePath(QStringLiteral("app.qss")),
          "app--SaveButton#saveButton { color: red; }\n"
          "QPushButton#saveButon { color: red; }\n"
          "VolumeMetre { color: red; }\n"
          "QWidget.VolumeMetre, QWidget.VolumeMeter { color: red; }\n");
    const ProgramRun run = runLint({QStringLiteral("app.qss")}, project->path());
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(
        run.out.split(QLatin1Char('\n')).mid(0, 3),
        (QStringList{"app.qss:2:13: warning: \"#saveButon\" names no widget of the application's "
                     "forms: the rule matches nothing (did you mean \"#saveButton\"?) "
                     "[unknown-object-name]",
                     "app.qss:3:1: warning: \"VolumeMetre\" names no widget class of the toolkit "
                     "or the application's forms: the rule matches nothing (class names are "
                     "case-sensitive) [unknown-widget]",
                     "app.qss:4:9: warning: \".VolumeMetre\" names no widget class of the "
                     "toolkit or the application's forms: the rule matches nothing (class names "
                     "are case-sensitive) [unknown-widget]"}));

    // The guesses mend both, and nothing else is touched.
    const ProgramRun fixed = runLint(
        {QStringLiteral("--fix"), QStringLiteral("--unsafe-fixes"), QStringLiteral("app.qss")},
        project->path());
    QCOMPARE(fixed.exitCode, 0);
    QFile sheet(project->filePath(QStringLiteral("app.qss")));
    QVERIFY(sheet.open(QIODevice::ReadOnly));
    QCOMPARE(sheet.readAll(),
             QByteArray("app--SaveButton#saveButton { color: red; }\n"
                        "QPushButton#saveButton { color: red; }\n"
                        "VolumeMeter { color: red; }\n"
                        "QWidget.VolumeMeter, QWidget.VolumeMeter { color: red; }\n"));

    // Without the forms nothing is known of the object names.
    const ProgramRun alone =
        runLint({QStringLiteral("--no-config"), QStringLiteral("app.qss")}, project->path());
    QVERIFY2(!alone.out.contains(QLatin1String("unknown-object-name")), qPrintable(alone.out));

    // A folder walked without a configuration takes the forms it finds as the
    // application's, for its sheets and for the sheets inside its sources.
    write(project->filePath(QStringLiteral("src/window.cpp")),
          "void f(QWidget *w) { w->setStyleSheet(\"#metre { color: red; }\"); }\n");
    const ProgramRun walked =
        runLint({QStringLiteral("--no-config"), QStringLiteral(".")}, project->path());
    QVERIFY2(walked.out.contains(QLatin1String("src/window.cpp:1:41: warning: \"#metre\" names "
                                               "no widget of the application's forms")),
             qPrintable(walked.out));
}

void TestLintForms::listObjects_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("config");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("out");
    QTest::addColumn<QString>("err");

    QTest::newRow("sorted by name, promoted classes with what they extend, then the classes")
        << QStringList{"--list-objects"} << QString() << 0
        << "aboutDialog      QDialog                                 ui/dialogs/about.ui:2\n"
           "actionClose      QAction (action, not a widget)          ui/dialogs/about.ui:3\n"
           "central          QWidget                                 ui/main.ui:5\n"
           "mainLayout       QVBoxLayout (layout, not a widget)      ui/main.ui:6\n"
           "mainWindow       QMainWindow                             ui/main.ui:4\n"
           "meter            VolumeMeter extends QWidget             ui/main.ui:11\n"
           "saveButton       app::SaveButton extends QPushButton     ui/main.ui:8\n"
           "\n"
           "MainWindow       class extends QMainWindow (form class)  ui/main.ui:3\n"
           "VolumeMeter      class extends QWidget (promoted)        ui/main.ui:22\n"
           "app--SaveButton  class extends QPushButton (promoted)    ui/main.ui:18\n"
        << QString();
    QTest::newRow("the configuration in force for the file given")
        << QStringList{"--list-objects", "sub/a.qss"}
        << R"({"forms": "ui/main.ui", "overrides": [{"files": "sub/*", "forms": "ui/dialogs/*"}]})"
        << 0
        << "aboutDialog  QDialog                         ui/dialogs/about.ui:2\n"
           "actionClose  QAction (action, not a widget)  ui/dialogs/about.ui:3\n"
        << QString();
    QTest::newRow("no forms configured")
        << QStringList{"--list-objects"} << "{}" << 3 << QString() << "no \"forms\" in ";
    QTest::newRow("a format of no listing")
        << QStringList{"--list-objects", "--format=sarif"} << QString() << 3 << QString()
        << "--list-objects writes text or json";
    QTest::newRow("two files") << QStringList{"--list-objects", "a.qss", "b.qss"} << QString() << 3
                               << QString() << "--list-objects takes at most one FILE";
}

void TestLintForms::listObjects()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, config);
    QFETCH(int, exitCode);
    QFETCH(QString, out);
    QFETCH(QString, err);
    if (!config.isEmpty())
        write(project->filePath(QStringLiteral(".prismark-lint.json")), config.toUtf8());
    const ProgramRun run = runLint(arguments, project->path());
    QCOMPARE(run.exitCode, exitCode);
    QCOMPARE(run.out, out);
    QVERIFY2(run.err.contains(err), qPrintable(run.err));
}

void TestLintForms::listObjectsAsJson()
{
    const ProgramRun run = runLint(
        {QStringLiteral("--list-objects"), QStringLiteral("--format=json")}, project->path());
    QCOMPARE(run.exitCode, 0);
    const QJsonObject listing = QJsonDocument::fromJson(run.out.toUtf8()).object();
    const QJsonArray objects = listing.value(QStringLiteral("objects")).toArray();
    QCOMPARE(objects.size(), 7);
    const QJsonObject save = objects.at(6).toObject();
    QCOMPARE(save.value(QStringLiteral("name")).toString(), QStringLiteral("saveButton"));
    QCOMPARE(save.value(QStringLiteral("class")).toString(), QStringLiteral("app::SaveButton"));
    QCOMPARE(save.value(QStringLiteral("extends")).toString(), QStringLiteral("QPushButton"));
    QCOMPARE(save.value(QStringLiteral("form")).toString(), QStringLiteral("ui/main.ui"));
    QCOMPARE(save.value(QStringLiteral("line")).toInt(), 8);
    QCOMPARE(objects.at(3).toObject().value(QStringLiteral("widget")).toBool(), false);
    // The two promoted classes and the class the main form is generated for.
    QCOMPARE(listing.value(QStringLiteral("classes")).toArray().size(), 3);
}

// An application's tree as a walk finds it: every class and name its sheet selects is
// declared somewhere in it, but for the four faults the sheet's comments say.
void TestLintForms::aWalkKnowsTheApplication()
{
    QTemporaryDir tree;
    write(tree.filePath(QStringLiteral("ui/gencert.ui")),
          "<ui version=\"4.0\">\n <class>GenCertDialog</class>\n"
          " <widget class=\"QDialog\" name=\"GenCertDialog\">\n"
          "  <widget class=\"QPushButton\" name=\"okButton\"/>\n </widget>\n</ui>\n");
    write(tree.filePath(QStringLiteral("src/widgets.h")),
          "namespace app {\n"
          "class RSComboBox : public QComboBox { Q_OBJECT };\n"
          "template <typename Base> class Hover : public Base {};\n"
          "class HoverButton : public Hover<QPushButton> { Q_OBJECT };\n"
          "class OpModeStatus : public RSComboBox { int x; };\n"
          "}\n"
          "class Model : public QObject { Q_OBJECT };\n");
    write(tree.filePath(QStringLiteral("src/widgets.cpp")),
          "void build(QWidget *w) { w->setObjectName(QStringLiteral(\"comboInner\")); }\n");
    write(tree.filePath(QStringLiteral("tools/panel.py")),
          "from PySide6.QtWidgets import QFrame\n"
          "class FramedWidget(QFrame):\n    pass\n"
          "class DeepFrame(FramedWidget):\n"
          "    def __init__(self):\n        super().__init__(objectName=\"deepOne\")\n");
    write(tree.filePath(QStringLiteral("res/a.png")), "png");
    write(tree.filePath(QStringLiteral("res/app.qrc")),
          "<RCC><qresource prefix=\"/icons\"><file>a.png</file></qresource></RCC>\n");
    write(tree.filePath(QStringLiteral("style.qss")),
          "GenCertDialog, app--RSComboBox, app--HoverButton { color: black; }\n"
          "FramedWidget, DeepFrame, QObject[objectName^=\"trans_\"] { color: black; }\n"
          "#okButton, #comboInner, #deepOne, QToolBar #qt_toolbar_ext_button { color: black; }\n"
          "QCalendarWidget #qt_calendar_prevmonth { color: black; }\n"
          "QLabel { image: url(:/icons/a.png); }\n"
          "app--OpModeStatus { color: black; }  /* no Q_OBJECT */\n"
          "Model, #okButon { color: black; }  /* no widget; a typo */\n"
          "QLabel#qt_spinbox_lineedit { color: black; }  /* a line edit */\n"
          "QPushButton { image: url(:/icons/b.png); }  /* in no .qrc */\n");
    const ProgramRun run = runLint(
        {QStringLiteral("--no-config"), QStringLiteral("--disable=contrast"), QStringLiteral(".")},
        tree.path());
    QStringList found;
    for (const QString &line : run.out.split(QLatin1Char('\n'))) {
        const int check = line.lastIndexOf(QLatin1String(" ["));
        if (line.startsWith(QLatin1String("style.qss:")) && check > 0)
            found.append(line.section(QLatin1Char(':'), 1, 2) + line.mid(check));
    }
    const QStringList faults{"6:1 [missing-q-object]", "7:1 [unknown-widget]",
                             "7:9 [unknown-object-name]", "8:8 [unknown-object-name]",
                             "9:22 [missing-resource]"};
    QVERIFY2(found == faults, qPrintable(run.out));
    QVERIFY2(!run.out.contains(QLatin1String("not checked: list")), qPrintable(run.out));

    // "widgets" says what a class is, and wins over what the walk read of it.
    write(tree.filePath(QStringLiteral(".prismark-lint.json")),
          R"({"widgets": {"app--OpModeStatus": "QComboBox"}, "checks": {"contrast": "off"}})");
    const ProgramRun configured = runLint({QStringLiteral(".")}, tree.path());
    QVERIFY2(!configured.out.contains(QLatin1String("missing-q-object")),
             qPrintable(configured.out));
    QVERIFY2(configured.out.contains(QLatin1String("style.qss:7:9: warning: \"#okButon\"")),
             qPrintable(configured.out));

    // The folder's classes, listed with their bases and where each is declared.
    const ProgramRun listed = runLint(
        {QStringLiteral("--no-config"), QStringLiteral("--list-objects"), QStringLiteral(".")},
        tree.path());
    QCOMPARE(listed.exitCode, 0);
    QVERIFY2(listed.out.contains(QRegularExpression(
                 "\napp--OpModeStatus +class extends app--RSComboBox \\(C\\+\\+, no Q_OBJECT\\) +"
                 "src/widgets.h:5\n")),
             qPrintable(listed.out));
    QVERIFY2(listed.out.contains(QRegularExpression(
                 "\nDeepFrame +class extends FramedWidget \\(Python\\) +tools/panel.py:4\n")),
             qPrintable(listed.out));
}

QTEST_GUILESS_MAIN(TestLintForms)
#include "tst_lintforms.moc"
