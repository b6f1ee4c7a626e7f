// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "analysis/applicationforms.h"
#include "analysis/applicationobjects.h"
#include "analysis/lintconfig.h"
#include "analysis/stylesheetlint.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

// The application's objects as its Designer forms declare them, and the forms a
// configuration's "forms" globs find.
class TestApplicationObjects : public QObject
{
    Q_OBJECT
private slots:
    void formDeclares_data();
    void formDeclares();
    void formsComeFromTheConfigurationsGlobs();
    void aFormEditedIsReadAgain();
    void formsAddedLaterJoinTheConfigured();
    void eachLintKnowsItsOwnApplicationsClasses();
};

namespace {
void write(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

QByteArray form(const QByteArray &body)
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<ui version=\"4.0\">\n" + body + "</ui>\n";
}

// "name class kind line" for each object, in order.
QStringList described(const ApplicationObjects &objects)
{
    QStringList result;
    for (const ApplicationObject &object : objects.objects)
        result.append(QStringLiteral("%1 %2 %3 %4")
                          .arg(object.name, object.className, objectKindName(object.kind))
                          .arg(object.line));
    return result;
}
} // namespace

void TestApplicationObjects::formDeclares_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QStringList>("objects");
    QTest::addColumn<QStringList>("classes"); // "name<base"
    QTest::addColumn<QString>("error");

    QTest::newRow("widgets, layouts, spacers and actions, each on its line")
        << form(" <widget class=\"QMainWindow\" name=\"MainWindow\">\n"
                "  <widget class=\"QWidget\" name=\"central\">\n"
                "   <layout class=\"QVBoxLayout\" name=\"mainLayout\">\n"
                "    <item><spacer name=\"gap\"/></item>\n"
                "    <item><widget class=\"Line\" name=\"rule\"/></item>\n"
                "   </layout>\n"
                "  </widget>\n"
                "  <action name=\"actionQuit\"/>\n"
                "  <addaction name=\"actionQuit\"/>\n"
                " </widget>\n")
        << QStringList{"MainWindow QMainWindow widget 3",
                       "central QWidget widget 4",
                       "mainLayout QVBoxLayout layout 5",
                       "gap QSpacerItem spacer 6",
                       "rule QFrame widget 7",
                       "actionQuit QAction action 10"}
        << QStringList() << QString();
    QTest::newRow("a promoted class, namespaced, extends another promoted one")
        << form(" <widget class=\"app::SaveButton\" name=\"save\"/>\n"
                " <customwidgets>\n"
                "  <customwidget><class>app::SaveButton</class><extends>ActionButton</extends>"
                "</customwidget>\n"
                "  <customwidget>\n   <class>ActionButton</class>\n"
                "   <extends>QPushButton</extends>\n  </customwidget>\n"
                "  <customwidget><class>ActionButton</class><extends>QLabel</extends>"
                "</customwidget>\n"
                " </customwidgets>\n")
        << QStringList{"save app::SaveButton widget 3"}
        << QStringList{"app--SaveButton<ActionButton", "ActionButton<QPushButton"} << QString();
    QTest::newRow("the class a form is generated for derives from its top-level widget's")
        << form(" <class>GenCertDialog</class>\n"
                " <widget class=\"QDialog\" name=\"GenCertDialog\">\n"
                "  <widget class=\"QWidget\" name=\"page\"/>\n"
                " </widget>\n")
        << QStringList{"GenCertDialog QDialog widget 4", "page QWidget widget 5"}
        << QStringList{"GenCertDialog<QDialog"} << QString();
    QTest::newRow("a form's class named as its widget's toolkit class declares nothing")
        << form(" <class>QWidget</class>\n <widget class=\"QWidget\" name=\"Form\"/>\n")
        << QStringList{"Form QWidget widget 4"} << QStringList() << QString();
    QTest::newRow("a widget without a name is no object")
        << form(" <widget class=\"QWidget\"><widget class=\"QLabel\" name=\"\"/></widget>\n")
        << QStringList() << QStringList() << QString();
    QTest::newRow("a document of another kind")
        << QByteArray("<?xml version=\"1.0\"?>\n<RCC><qresource/></RCC>\n") << QStringList()
        << QStringList() << QStringLiteral("2: not a Designer form: the root element is <RCC>");
    QTest::newRow("a form cut short keeps nothing")
        << QByteArray("<ui>\n <widget class=\"QLabel\" name=\"a\">\n") << QStringList()
        << QStringList() << QStringLiteral("3: not a Designer form");
    QTest::newRow("no element at all") << QByteArray("just text") << QStringList() << QStringList()
                                       << QStringLiteral("1: not a Designer form");
}

void TestApplicationObjects::formDeclares()
{
    QFETCH(QByteArray, text);
    QFETCH(QStringList, objects);
    QFETCH(QStringList, classes);
    QFETCH(QString, error);
    ApplicationObjects read;
    QString problem;
    QCOMPARE(readFormObjects(text, QStringLiteral("f.ui"), &read, &problem), error.isEmpty());
    QVERIFY2(problem.startsWith(error), qPrintable(problem));
    QCOMPARE(described(read), objects);
    QStringList declared;
    for (const ApplicationClass &promoted : read.classes)
        declared.append(promoted.name + QLatin1Char('<') + promoted.base);
    QCOMPARE(declared, classes);
}

void TestApplicationObjects::formsComeFromTheConfigurationsGlobs()
{
    QTemporaryDir root;
    const QByteArray label = form(" <widget class=\"QLabel\" name=\"%1\"/>\n");
    write(root.filePath(QStringLiteral("ui/main.ui")), QByteArray(label).replace("%1", "top"));
    write(root.filePath(QStringLiteral("ui/dialogs/deep/about.ui")),
          QByteArray(label).replace("%1", "deep"));
    write(root.filePath(QStringLiteral("ui/broken.ui")), "<ui><widget>");
    write(root.filePath(QStringLiteral("other/side.ui")), QByteArray(label).replace("%1", "side"));
    write(root.filePath(QStringLiteral("ui/.hidden/secret.ui")),
          QByteArray(label).replace("%1", "secret"));
    const QString config = root.filePath(QStringLiteral(".prismark-lint.json"));
    write(config, "{\n  \"forms\": [\"ui/**/*.ui\", \"missing/*.ui\"]\n}\n");

    const LintConfigResult result = readLintConfig(config);
    QVERIFY2(result.ok, qPrintable(result.error));
    QVERIFY(result.options.applicationObjects);
    QCOMPARE(result.options.applicationObjects->widgetNames(), (QStringList{"deep", "top"}));
    QCOMPARE(result.warnings.size(), 2);
    QCOMPARE(result.warnings.at(0),
             config + QStringLiteral(":2: \"forms\": \"missing/*.ui\" matches no file"));
    QVERIFY2(result.warnings.at(1).contains(QLatin1String("broken.ui:1: not a Designer form")),
             qPrintable(result.warnings.at(1)));

    // A sheet under it is judged against those names.
    LintOptions options = result.options;
    options.enabledChecks = QStringList{QStringLiteral("unknown-object-name")};
    const QVector<LintDiagnostic> found = lintStyleSheet(
        "#top, #side { color: black; }", root.filePath(QStringLiteral("a.qss")), options);
    QCOMPARE(found.size(), 1);
    QCOMPARE(found.first().column, 8);
    QCOMPARE(found.first().check, QStringLiteral("unknown-object-name"));

    // An override replaces the list for the sheets it matches.
    write(config, "{\"forms\": \"ui/main.ui\", \"overrides\": [{\"files\": \"side/*.qss\", "
                  "\"forms\": \"other/*.ui\"}]}");
    const LintConfigResult side =
        lintConfigForSheet(root.filePath(QStringLiteral("side/a.qss")), config);
    QCOMPARE(side.options.applicationObjects->widgetNames(), QStringList{"side"});
    QCOMPARE(lintConfigForSheet(root.filePath(QStringLiteral("a.qss")), config)
                 .options.applicationObjects->widgetNames(),
             QStringList{"top"});
}

void TestApplicationObjects::aFormEditedIsReadAgain()
{
    QTemporaryDir root;
    const QString path = root.filePath(QStringLiteral("form.ui"));
    write(path, form(" <widget class=\"QLabel\" name=\"before\"/>\n"));
    QStringList warnings;
    QCOMPARE(readApplicationForms({path}, &warnings)->widgetNames(), QStringList{"before"});
    write(path, form(" <widget class=\"QLabel\" name=\"afterwards\"/>\n"));
    QCOMPARE(readApplicationForms({path}, &warnings)->widgetNames(), QStringList{"afterwards"});
    QFile::remove(path);
    QVERIFY(!readApplicationForms({path}, &warnings));
    QCOMPARE(warnings.size(), 1);
}

void TestApplicationObjects::formsAddedLaterJoinTheConfigured()
{
    QTemporaryDir root;
    const QString first = root.filePath(QStringLiteral("a.ui"));
    const QString second = root.filePath(QStringLiteral("b.ui"));
    write(first, form(" <widget class=\"QLabel\" name=\"a\"/>\n"));
    write(second, form(" <widget class=\"QLabel\" name=\"b\"/>\n"));
    LintOptions options;
    QStringList warnings;
    addApplicationForms(options, {first}, &warnings);
    addApplicationForms(options, {second, first}, &warnings);
    QVERIFY(warnings.isEmpty());
    QCOMPARE(options.forms, (QStringList{first, second}));
    QCOMPARE(options.applicationObjects->objects.size(), 2);
    QCOMPARE(options.applicationObjects->widgetNames(), (QStringList{"a", "b"}));
}

// The classes' table is built once and shared between the sheets of one application;
// another application, or another configuration, must never be judged with it.
void TestApplicationObjects::eachLintKnowsItsOwnApplicationsClasses()
{
    const auto unknownWidgets = [](const LintOptions &options) {
        int count = 0;
        for (const LintDiagnostic &found :
             lintStyleSheet("Card QLabel { padding: 2px; }", QStringLiteral("a.qss"), options))
            count += found.check == QLatin1String("unknown-widget");
        return count;
    };
    const auto application = [](const QString &className) {
        auto objects = std::make_shared<ApplicationObjects>();
        if (!className.isEmpty())
            objects->classes.append({className, QStringLiteral("QFrame"), QStringLiteral("a.py"), 1,
                                     ApplicationClass::Origin::Python, true});
        return std::shared_ptr<const ApplicationObjects>(objects);
    };
    LintOptions withCard;
    withCard.applicationObjects = application(QStringLiteral("Card"));
    LintOptions without;
    without.applicationObjects = application(QString());
    QCOMPARE(unknownWidgets(withCard), 0);
    QCOMPARE(unknownWidgets(without), 1);
    QCOMPARE(unknownWidgets(withCard), 0);
    without.widgets.insert(QStringLiteral("Card"), QStringLiteral("QWidget"));
    QCOMPARE(unknownWidgets(without), 0);
    // A new application in the place of one that has gone.
    withCard.applicationObjects = application(QString());
    QCOMPARE(unknownWidgets(withCard), 1);
}

QTEST_GUILESS_MAIN(TestApplicationObjects)
#include "tst_applicationobjects.moc"
