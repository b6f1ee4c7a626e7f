// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "analysis/sheetmodel.h"
#include "attach/attachlauncher.h"
#include "attach/attachprotocol.h"
#include "live/inspector/ruleinspector.h"
#include "live/inspector/rulesview.h"
#include "live/inspector/widgettree.h"
#include "pythonbinding.h"
#include "standins/attachedappnames.h"
#include "standins/attachedapps.h"
#include "widgetstyles/widgetstate.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QJsonArray>
#include <QJsonDocument>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QVBoxLayout>
#include <QtTest>

#include <algorithm>
#include <memory>
#include <unistd.h>

namespace {

// A window of the widgets selectors tell apart: names, nesting, dynamic and declared
// properties, states, and a sheet of a widget's own. Built here and, from the same
// text, by agenttree.py through the Python binding.
const char windowText[] = R"([
    {"class": "QWidget", "properties": {"objectName": "window"}},
    {"class": "QGroupBox", "parent": "window",
     "properties": {"objectName": "box", "title": "Box", "kind": "danger"}},
    {"class": "QCheckBox", "parent": "box",
     "properties": {"objectName": "check", "text": "Check", "checked": true}},
    {"class": "QPushButton", "parent": "box",
     "properties": {"objectName": "go", "text": "Go", "flat": true, "flags": ["wide", "tall"]}},
    {"class": "QLabel", "parent": "window",
     "properties": {"objectName": "label", "text": "Label", "styleSheet": "color: blue;"}},
    {"class": "QLineEdit", "parent": "window",
     "properties": {"objectName": "edit", "readOnly": true, "enabled": false}}
])";

QWidget *makeWidget(const QString &className)
{
    if (className == QLatin1String("QGroupBox"))
        return new QGroupBox;
    if (className == QLatin1String("QCheckBox"))
        return new QCheckBox;
    if (className == QLatin1String("QPushButton"))
        return new QPushButton;
    if (className == QLatin1String("QLabel"))
        return new QLabel;
    if (className == QLatin1String("QLineEdit"))
        return new QLineEdit;
    return new QWidget;
}

std::unique_ptr<QWidget> makeWindow()
{
    std::unique_ptr<QWidget> window;
    for (const QJsonValue &value : QJsonDocument::fromJson(windowText).array()) {
        const QJsonObject description = value.toObject();
        QWidget *widget = makeWidget(description.value(QStringLiteral("class")).toString());
        const QJsonObject properties = description.value(QStringLiteral("properties")).toObject();
        for (auto it = properties.begin(); it != properties.end(); ++it)
            widget->setProperty(it.key().toLatin1().constData(), it.value().toVariant());
        if (!window) {
            window.reset(widget);
            continue;
        }
        const QString parentName = description.value(QStringLiteral("parent")).toString();
        QWidget *parent = window->objectName() == parentName
                              ? window.get()
                              : window->findChild<QWidget *>(parentName);
        if (!parent->layout())
            new QVBoxLayout(parent);
        parent->layout()->addWidget(widget);
    }
    return window;
}

QByteArray sentAndRead(const WidgetTree &tree)
{
    return Attach::encodeMessage(QLatin1String(Attach::treeKind), Attach::encodeWidgetTree(tree));
}

} // namespace

class TestWidgetTree : public QObject
{
    Q_OBJECT

private slots:
    void treeReadsBackAsSent();
    void agentDescribesAsThePluginDoes_data();
    void agentDescribesAsThePluginDoes();
    void pluginAnswersTheToolsRequests();
    void malformedNodesAreLeftOut_data();
    void malformedNodesAreLeftOut();
    void rulesOfTheTreeAreTheLiveWidgetsRules_data();
    void rulesOfTheTreeAreTheLiveWidgetsRules();
};

void TestWidgetTree::treeReadsBackAsSent()
{
    const auto window = makeWindow();
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    const WidgetTree sent = describeWidgets({window.get()}, {QStringLiteral("flat")});
    QVERIFY(sent.nodes.size() >= 6);
    QByteArray line = sentAndRead(sent);
    const QVector<Attach::Message> messages = Attach::takeMessages(line);
    QCOMPARE(messages.size(), 1);
    const WidgetTree read = Attach::decodeWidgetTree(messages.first().fields);
    QCOMPARE(read.styleName, sent.styleName);
    QCOMPARE(read.nodes.size(), sent.nodes.size());
    for (int i = 0; i < sent.nodes.size(); ++i) {
        const WidgetNode &a = sent.nodes.at(i);
        const WidgetNode &b = read.nodes.at(i);
        QCOMPARE(b.id, a.id);
        QCOMPARE(b.parent, a.parent);
        QCOMPARE(b.classes, a.classes);
        QCOMPARE(b.objectName, a.objectName);
        QCOMPARE(b.properties, a.properties);
        QCOMPARE(b.states, a.states);
        QCOMPARE(b.geometry, a.geometry);
        QCOMPARE(b.visible, a.visible);
        QCOMPARE(b.sheet, a.sheet);
    }
    // What was described is what the application has.
    const int go = read.indexNamed(QStringLiteral("go"));
    QVERIFY(go >= 0);
    QWidget *button = widgetOfId({window.get()}, read.nodes.at(go).id);
    QCOMPARE(button, window->findChild<QWidget *>(QStringLiteral("go")));
    QCOMPARE(read.nodes.at(go).geometry.topLeft(), button->mapToGlobal(QPoint(0, 0)));
    QCOMPARE(read.nodes.at(go).properties.value(QStringLiteral("flags")),
             QStringLiteral("wide tall"));
    QCOMPARE(read.nodes.at(go).properties.value(QStringLiteral("flat")), QStringLiteral("true"));
    QVERIFY(read.nodes.at(go).states.contains(QStringLiteral("flat")));
    const int label = read.indexNamed(QStringLiteral("label"));
    QCOMPARE(read.nodes.at(label).sheet, QStringLiteral("color: blue;"));
}

void TestWidgetTree::agentDescribesAsThePluginDoes_data()
{
    QTest::addColumn<QString>("binding");
    QTest::newRow("distribution's PyQt") << QStringLiteral("PyQt%1").arg(QT_VERSION_MAJOR);
}

void TestWidgetTree::agentDescribesAsThePluginDoes()
{
    QFETCH(QString, binding);
    SKIP_UNLESS_RUNNABLE(whyPythonIsSkipped(binding + QStringLiteral(".QtWidgets")));
    QProcess python;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("PYTHONPATH"), QStringLiteral(PRISMARK_BUILD_AGENT_DIR));
    environment.insert(QStringLiteral("PYTHONDONTWRITEBYTECODE"), QStringLiteral("1"));
    python.setProcessEnvironment(environment);
    python.start(systemPython, {QStringLiteral(AGENT_TREE_SCRIPT), binding,
                                QString::fromUtf8(windowText), QStringLiteral("flat")});
    QVERIFY(python.waitForFinished(60000));
    QByteArray line = python.readAllStandardOutput();
    QVERIFY2(python.exitCode() == 0, python.readAllStandardError().constData());
    const QVector<Attach::Message> messages = Attach::takeMessages(line);
    QCOMPARE(messages.size(), 1);
    QCOMPARE(messages.first().kind, QLatin1String(Attach::treeKind));
    const WidgetTree agents = Attach::decodeWidgetTree(messages.first().fields);

    const auto window = makeWindow();
    window->show();
    window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window.get()));
    const WidgetTree plugins = describeWidgets({window.get()}, {QStringLiteral("flat")});
    QCOMPARE(agents.styleName, plugins.styleName);
    QCOMPARE(agents.nodes.size(), plugins.nodes.size());
    const QPoint agentsCorner = agents.nodes.value(0).geometry.topLeft();
    const QPoint pluginsCorner = plugins.nodes.value(0).geometry.topLeft();
    for (int i = 0; i < plugins.nodes.size(); ++i) {
        const WidgetNode &a = agents.nodes.at(i);
        const WidgetNode &p = plugins.nodes.at(i);
        QCOMPARE(a.classes, p.classes);
        QCOMPARE(a.objectName, p.objectName);
        QCOMPARE(a.properties, p.properties);
        QCOMPARE(a.states, p.states);
        QCOMPARE(a.geometry.translated(-agentsCorner), p.geometry.translated(-pluginsCorner));
        QCOMPARE(a.visible, p.visible);
        QCOMPARE(a.sheet, p.sheet);
        QCOMPARE(a.parent == 0, p.parent == 0);
    }
}

// The plugin's side of what prismark-live's own tools ask, on the C++ stand-in.
void TestWidgetTree::pluginAnswersTheToolsRequests()
{
    SKIP_UNLESS_RUNNABLE(whyPythonIsSkipped(QString()));
    QTemporaryDir folder;
    const QString sheet = folder.filePath(QStringLiteral("author.qss"));
    QVERIFY(writeFile(sheet, "QLabel { color: rgb(1, 2, 3); }\n"));
    AttachLauncher launcher({sheet, QString(), QStringLiteral(ATTACHED_APP_EXECUTABLE), {}, {}},
                            attachPluginFolder());
    launcher.setWay(Attach::Way::Plugin);
    launcher.setHelloNote(QString());
    QProcessEnvironment extra;
    extra.insert(QString::fromLatin1(Attach::testFolderVariable), folder.path());
    extra.insert(QString::fromLatin1(Attach::testInspectVariable),
                 QString::fromLatin1(AttachedApp::labelName));
    launcher.setExtraEnvironment(extra);
    QVector<Attach::Message> heard;
    connect(&launcher, &AttachLauncher::messageReceived, this,
            [&heard](const QString &kind, const QJsonObject &fields) {
                heard.append({kind, fields});
            });
    const auto lastOf = [&heard](const char *kind) {
        for (int i = heard.size() - 1; i >= 0; --i) {
            if (heard.at(i).kind == QLatin1String(kind))
                return heard.at(i).fields;
        }
        return QJsonObject();
    };
    QSignalSpy attached(&launcher, &AttachLauncher::attachedToApplication);
    QSignalSpy finished(&launcher, &AttachLauncher::finished);
    // The stand-in ends when its standard input, this test's, does: it gets a pipe
    // that stays open until the end of the test.
    int input[2] = {-1, -1};
    QVERIFY(::pipe(input) == 0);
    const int ownInput = ::dup(0);
    ::dup2(input[0], 0);
    launcher.start();
    ::dup2(ownInput, 0);
    ::close(ownInput);
    ::close(input[0]);
    const auto closeInput = qScopeGuard([&input] { ::close(input[1]); });
    QVERIFY(attached.wait(30000));

    launcher.send(QLatin1String(Attach::treeRequestKind), {});
    QTRY_VERIFY_WITH_TIMEOUT(!lastOf(Attach::treeKind).isEmpty(), 15000);
    const WidgetTree tree = Attach::decodeWidgetTree(lastOf(Attach::treeKind));
    const int label = tree.indexNamed(QLatin1String(AttachedApp::labelName));
    const int main = tree.indexNamed(QLatin1String(AttachedApp::mainName));
    QVERIFY(label >= 0 && main >= 0);
    QCOMPARE(tree.nodes.at(main).parent, 0);
    QCOMPARE(tree.nodes.at(label).classes.mid(0, 2),
             (QStringList{QStringLiteral("QLabel"), QStringLiteral("QFrame")}));
    QCOMPARE(tree.nodes.at(label).sheet, QLatin1String(AttachedApp::labelSheet));
    QVERIFY(tree.nodes.at(label).geometry.isValid());
    // The tools inside the application are not the application's.
    for (const WidgetNode &node : tree.nodes)
        QVERIFY2(!node.classes.contains(QStringLiteral("SheetDiagnosticsWindow")),
                 qPrintable(node.classes.join(QLatin1Char(' '))));

    // A pick, clicked by the plugin's test hook on the label; then its outline.
    launcher.send(QLatin1String(Attach::pickKind), {});
    QTRY_VERIFY_WITH_TIMEOUT(!lastOf(Attach::pickedKind).isEmpty(), 15000);
    QCOMPARE(qint64(lastOf(Attach::pickedKind).value(QLatin1String(Attach::idField)).toDouble()),
             tree.nodes.at(label).id);
    launcher.send(QLatin1String(Attach::highlightKind),
                  {{QLatin1String(Attach::idsField), QJsonArray{double(tree.nodes.at(label).id)}}});
    const auto highlighted = [&folder] {
        QFile report(folder.filePath(QStringLiteral("report.json")));
        if (!report.open(QIODevice::ReadOnly))
            return QJsonArray();
        return QJsonDocument::fromJson(report.readAll())
            .object()
            .value(QStringLiteral("highlighted"))
            .toArray();
    };
    QTRY_COMPARE_WITH_TIMEOUT(highlighted(), QJsonArray{QLatin1String(AttachedApp::labelName)},
                              15000);
    launcher.stop(0);
    QVERIFY(finished.wait(15000));
}

void TestWidgetTree::malformedNodesAreLeftOut_data()
{
    QTest::addColumn<QByteArray>("nodes");
    QTest::addColumn<QStringList>("kept");
    const QByteArray window =
        R"({"id": 1, "parent": 0, "classes": ["QWidget"], "objectName": "w"})";
    QTest::newRow("child before its parent")
        << QByteArray(R"([{"id": 2, "parent": 1, "classes": ["QLabel"], "objectName": "c"},)") +
               window + "]"
        << QStringList{QStringLiteral("w")};
    QTest::newRow("its own parent")
        << QByteArray(R"([{"id": 3, "parent": 3, "classes": ["QLabel"], "objectName": "c"}])")
        << QStringList();
    QTest::newRow("same id twice")
        << QByteArray("[") + window + "," + window + "]" << QStringList{QStringLiteral("w")};
    QTest::newRow("no classes")
        << QByteArray(R"([{"id": 4, "parent": 0, "classes": [], "objectName": "x"}])")
        << QStringList();
    QTest::newRow("id past what a JSON number holds exactly")
        << QByteArray(R"([{"id": 1e300, "parent": 0, "classes": ["QWidget"], "objectName": "x"},)"
                      R"({"id": 5.5, "parent": 0, "classes": ["QWidget"], "objectName": "y"},)"
                      R"({"id": -1, "parent": 0, "classes": ["QWidget"], "objectName": "z"}])")
        << QStringList();
    QTest::newRow("not objects") << QByteArray(R"([1, "two", null, []])") << QStringList();
}

void TestWidgetTree::malformedNodesAreLeftOut()
{
    QFETCH(QByteArray, nodes);
    QFETCH(QStringList, kept);
    QByteArray line =
        QByteArray(R"({"kind": "tree", "style": "QFusionStyle", "nodes": )") + nodes + "}\n";
    const QVector<Attach::Message> messages = Attach::takeMessages(line);
    QCOMPARE(messages.size(), 1);
    QStringList names;
    for (const WidgetNode &node : Attach::decodeWidgetTree(messages.first().fields).nodes)
        names << node.objectName;
    QCOMPARE(names, kept);
}

void TestWidgetTree::rulesOfTheTreeAreTheLiveWidgetsRules_data()
{
    QTest::addColumn<QString>("sheet");
    QTest::addColumn<QString>("widget");
    const QString sheet =
        QStringLiteral("QWidget { color: rgb(1, 1, 1); }\n"
                       "QGroupBox QPushButton { color: rgb(2, 2, 2); }\n"
                       "QGroupBox > QCheckBox#check { color: rgb(3, 3, 3); }\n"
                       "QGroupBox[kind=\"danger\"] QAbstractButton { border: 1px solid red; }\n"
                       "QPushButton[flags~=\"tall\"] { padding: 4px; }\n"
                       "QPushButton[flat=\"true\"] { margin: 1px; }\n"
                       "QPushButton:flat:hover, QCheckBox:checked { background: yellow; }\n"
                       "QLineEdit:disabled { color: grey; }\n"
                       "QLineEdit[readOnly=\"true\"] { color: grey; }\n"
                       ".QLabel { font-weight: bold; }\n"
                       "#window QLabel#label { color: green; }\n"
                       "QWidget#nothing, QDialog QPushButton { color: red; }\n");
    for (const char *name : {"window", "box", "check", "go", "label", "edit"})
        QTest::addRow("%s", name) << sheet << QString::fromLatin1(name);
}

void TestWidgetTree::rulesOfTheTreeAreTheLiveWidgetsRules()
{
    QFETCH(QString, sheet);
    QFETCH(QString, widget);
    const auto window = makeWindow();
    qApp->setStyleSheet(sheet);
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    QWidget *live =
        widget == QLatin1String("window") ? window.get() : window->findChild<QWidget *>(widget);
    QVERIFY(live);

    RuleInspector inspector;
    inspector.setSheet(sheet, QStringLiteral("author.qss"), styleUnderSheet());
    QVERIFY2(inspector.isValid(), qPrintable(inspector.problem()));
    QByteArray line = sentAndRead(describeWidgets({window.get()}, inspector.testedProperties()));
    const WidgetTree tree = Attach::decodeWidgetTree(Attach::takeMessages(line).first().fields);
    const int index = tree.indexOf(widgetId(live));
    QVERIFY(index >= 0);

    RulesView fromWidget, fromTree;
    const RuleInspection here = inspector.inspect(live);
    const RuleInspection there = inspector.inspect(tree, index);
    fromWidget.showInspection(here, inspector.model(), QStringLiteral("author.qss"));
    fromTree.showInspection(there, inspector.model(), QStringLiteral("author.qss"));
    QVERIFY(!fromWidget.rowTexts().isEmpty());
    QCOMPARE(fromTree.rowTexts(), fromWidget.rowTexts());
    QCOMPARE(there.identity.state, here.identity.state);
    QCOMPARE(there.identity.ancestors, here.identity.ancestors);
    QCOMPARE(there.identity.ownSheets, here.identity.ownSheets);
    // And the other way round: a rule outlines the widget from the tree when it paints it.
    for (int rule = 0; rule < inspector.model().rules.size(); ++rule) {
        const bool paints =
            std::any_of(here.entries.cbegin(), here.entries.cend(),
                        [rule](const CascadeEntry &entry) { return entry.match.rule == rule; });
        QCOMPARE(inspector.nodesMatching(rule, tree).contains(widgetId(live)), paints);
    }
    qApp->setStyleSheet(QString());
}

QTEST_MAIN(TestWidgetTree)
#include "tst_widgettree.moc"
