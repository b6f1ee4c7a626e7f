// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "attach/attachprotocol.h"
#include "inkcolour.h"
#include "standins/attachedappnames.h"
#include "standins/attachedapps.h"
#include "theme/schemepalette.h"

#include <QColor>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <algorithm>
#include <cstdio>

namespace {

const char purpleSheet[] = "QMainWindow, QDialog { background: rgb(120, 0, 120); }\n";
// The toolkit drops this whole sheet: the second rule has no opening brace.
const char brokenSheet[] = "QMainWindow, QDialog { background: rgb(0, 0, 0); }\n"
                           "QPushButton color: red; }\n";

// As editors save: one atomic rename over the old file.
bool saveByRename(const QString &path, const QByteArray &bytes)
{
    const QString saved = path + QStringLiteral(".new");
    return writeFile(saved, bytes) &&
           ::rename(QFile::encodeName(saved).constData(), QFile::encodeName(path).constData()) == 0;
}

int countPixels(const QImage &image, const QColor &colour)
{
    int found = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x)
            found += image.pixelColor(x, y) == colour;
    }
    return found;
}

// prismark-live attached to one application, with the plugin's test folder.
struct AttachedRun
{
    QTemporaryDir folder;
    QString sheet;
    QProcess live;

    AttachedRun(const QString &program, const QStringList &arguments,
                const QByteArray &sheetText = redSheet,
                const QProcessEnvironment &extra = QProcessEnvironment(),
                const QStringList &options = {}, const QString &workingFolder = QString())
    {
        sheet = folder.filePath(QStringLiteral("author.qss"));
        writeFile(sheet, sheetText);
        QDir(folder.path()).mkdir(QStringLiteral("out"));
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QString::fromLatin1(Attach::testFolderVariable), outFolder());
        for (const QString &key : extra.keys())
            environment.insert(key, extra.value(key));
        live.setProcessEnvironment(environment);
        live.setProgram(QStringLiteral(PRISMARK_LIVE_EXECUTABLE));
        live.setWorkingDirectory(workingFolder);
        live.setArguments(options + QStringList{sheet, QStringLiteral("--"), program} + arguments);
        live.start();
    }

    ~AttachedRun()
    {
        if (live.state() != QProcess::NotRunning) {
            live.kill();
            live.waitForFinished(5000);
        }
    }

    QString outFolder() const { return folder.filePath(QStringLiteral("out")); }

    QJsonObject report() const
    {
        QFile file(QDir(outFolder()).filePath(QStringLiteral("report.json")));
        if (!file.open(QIODevice::ReadOnly))
            return {};
        return QJsonDocument::fromJson(file.readAll()).object();
    }

    QColor pixel(const char *window, const QPoint &point) const
    {
        const QImage image(
            QDir(outFolder()).filePath(QLatin1String(window) + QStringLiteral(".png")));
        return image.isNull() ? QColor() : image.pixelColor(point);
    }

    // How many pixels of the window's grab are exactly colour.
    int count(const char *window, const QColor &colour) const
    {
        return countPixels(
            QImage(QDir(outFolder()).filePath(QLatin1String(window) + QStringLiteral(".png"))),
            colour);
    }

    // prismark-live's own tools, through the agent: their grab, and what their Rules
    // view shows; through the plugin, the view inside the application.
    QString toolsImage() const { return QDir(outFolder()).filePath(QStringLiteral("tools.png")); }
    QJsonObject inspection(bool ownTools) const
    {
        if (!ownTools)
            return report().value(QStringLiteral("inspection")).toObject();
        QFile file(QDir(outFolder()).filePath(QStringLiteral("tools.json")));
        if (!file.open(QIODevice::ReadOnly))
            return {};
        return QJsonDocument::fromJson(file.readAll()).object();
    }

    bool shows(const char *window) const
    {
        return report().value(QStringLiteral("windows")).toArray().contains(QLatin1String(window));
    }

    QString errors() { return QString::fromLocal8Bit(live.readAllStandardError()); }

    int quit(int status)
    {
        live.write(QByteArray("quit ") + QByteArray::number(status) + '\n');
        live.closeWriteChannel();
        if (!live.waitForFinished(10000))
            return -1;
        return live.exitCode();
    }
};

QColor rgb(int r, int g, int b)
{
    return QColor(r, g, b);
}

const QStringList throughAgent{QStringLiteral("--attach"), QStringLiteral("python")};

// Rows "program", "arguments", "module" and "options": each application through the
// way auto takes, and each Python one through the Python agent as well, where the
// plugin could have attached.
void addApplicationAndWayRows()
{
    QTest::addColumn<QString>("program");
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("module");
    QTest::addColumn<QStringList>("options");
    for (const AttachedApplication &application : attachedApplications()) {
        QTest::newRow(application.name)
            << application.program << application.arguments << application.module << QStringList();
        if (!application.module.isEmpty())
            QTest::addRow("%s through the Python agent", application.name)
                << application.program << application.arguments << application.module
                << throughAgent;
    }
}

} // namespace

class TestAttach : public QObject
{
    Q_OBJECT
private:
    QTemporaryDir scratch;

private slots:
    void applicationShowsTheSheetAndFollowsSaves_data();
    void applicationShowsTheSheetAndFollowsSaves();
    void sheetsPaletteIsTheApplicationsWhileItHasOne_data();
    void sheetsPaletteIsTheApplicationsWhileItHasOne();
    void autoTakesTheAgentWhereThePluginCannotLoad_data();
    void autoTakesTheAgentWhereThePluginCannotLoad();
    void schemeIsUnderTheSheet_data();
    void schemeIsUnderTheSheet();
    void agentWritesNothingBesideTheApplication_data();
    void agentWritesNothingBesideTheApplication();
    void nothingIsLeftInTheTemporaryFolder();
    void inspectorAnswersOnTheApplicationsWidgets_data();
    void inspectorAnswersOnTheApplicationsWidgets();
    void livesToolsKeepTheirOwnLookThroughTheAgent_data();
    void livesToolsKeepTheirOwnLookThroughTheAgent();
    void failureIsSaidPlainly_data();
    void failureIsSaidPlainly();
};

void TestAttach::applicationShowsTheSheetAndFollowsSaves_data()
{
    addApplicationAndWayRows();
}

void TestAttach::applicationShowsTheSheetAndFollowsSaves()
{
    QFETCH(QString, program);
    QFETCH(QStringList, arguments);
    QFETCH(QString, module);
    QFETCH(QStringList, options);
    SKIP_UNLESS_RUNNABLE(whyPythonIsSkipped(module));

    AttachedRun run(program, arguments, redSheet, QProcessEnvironment(), options);
    // The dialog comes on a timer, and then the application sets its own sheet again.
    QTRY_VERIFY_WITH_TIMEOUT(
        run.shows(AttachedApp::dialogName) &&
            run.report().value(QStringLiteral("ownSheet")).toString().endsWith(QLatin1Char('\n')),
        15000);
    QTRY_COMPARE(run.pixel(AttachedApp::mainName, backgroundPoint), rgb(200, 30, 30));
    QTRY_COMPARE(run.pixel(AttachedApp::dialogName, backgroundPoint), rgb(200, 30, 30));
    QCOMPARE(run.pixel(AttachedApp::mainName, labelPoint), rgb(0, 0, 255));
    QCOMPARE(run.report().value(QStringLiteral("ownSheet")).toString().trimmed(),
             QString::fromLatin1(AttachedApp::ownSheet));

    QVERIFY(saveByRename(run.sheet, yellowSheet));
    QTRY_COMPARE_WITH_TIMEOUT(run.pixel(AttachedApp::mainName, backgroundPoint), rgb(220, 200, 0),
                              10000);
    QCOMPARE(run.pixel(AttachedApp::mainName, labelPoint), rgb(0, 0, 255));

    QVERIFY(QFile::remove(run.sheet));
    QTRY_COMPARE(run.report().value(QStringLiteral("outcome")).toString(),
                 QStringLiteral("missing"));
    QVERIFY(writeFile(run.sheet, purpleSheet));
    QTRY_COMPARE_WITH_TIMEOUT(run.pixel(AttachedApp::mainName, backgroundPoint), rgb(120, 0, 120),
                              10000);

    QVERIFY(saveByRename(run.sheet, brokenSheet));
    QTRY_COMPARE_WITH_TIMEOUT(run.report().value(QStringLiteral("outcome")).toString(),
                              QStringLiteral("rejected"), 10000);
    QCOMPARE(run.pixel(AttachedApp::mainName, backgroundPoint), rgb(120, 0, 120));
    // The diagnostics are the plugin's, in the application; the agent's are said here.
    const QJsonArray diagnostics = run.report().value(QStringLiteral("diagnostics")).toArray();
    const bool listed =
        std::any_of(diagnostics.begin(), diagnostics.end(), [](const QJsonValue &line) {
            return line.toString().startsWith(QLatin1String("2:")) &&
                   line.toString().endsWith(QLatin1String("[syntax]"));
        });
    QVERIFY2(listed || !options.isEmpty(), QJsonDocument(diagnostics).toJson().constData());

    QCOMPARE(run.quit(7), 7);
    const QString errors = run.errors();
    QVERIFY2(errors.contains(options.isEmpty() ? QLatin1String("prismark-live: attached to")
                                               : QLatin1String("through the Python agent")),
             qPrintable(errors));
    if (!options.isEmpty())
        QVERIFY2(errors.contains(QLatin1String("Not applied: line 2:")), qPrintable(errors));
}

void TestAttach::sheetsPaletteIsTheApplicationsWhileItHasOne_data()
{
    QTest::addColumn<QString>("program");
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("module");
    QTest::addColumn<QStringList>("options");
    for (const AttachedApplication &application : attachedApplications()) {
        if (application.module.isEmpty())
            QTest::newRow("C++ application through the plugin")
                << application.program << application.arguments << QString() << QStringList();
        else
            QTest::addRow("%s through the Python agent", application.name)
                << application.program << application.arguments << application.module
                << throughAgent;
    }
}

void TestAttach::sheetsPaletteIsTheApplicationsWhileItHasOne()
{
    QFETCH(QString, program);
    QFETCH(QStringList, arguments);
    QFETCH(QString, module);
    QFETCH(QStringList, options);
    SKIP_UNLESS_RUNNABLE(whyPythonIsSkipped(module));
    // No rule paints the windows: what shows there is the application's palette.
    const QByteArray withoutPalette = "QPushButton { padding: 2px; }\n";
    const QByteArray withPalette = "/*\n@palette Window = #1e5078\n*/\n" + withoutPalette;
    AttachedRun run(program, arguments, withoutPalette, QProcessEnvironment(), options);
    QTRY_VERIFY_WITH_TIMEOUT(run.shows(AttachedApp::mainName), 15000);
    // The first render comes after the deferred analysis, slow in a sanitizer build.
    QTRY_VERIFY_WITH_TIMEOUT(run.pixel(AttachedApp::mainName, backgroundPoint).isValid(), 15000);
    const QColor ownPalette = run.pixel(AttachedApp::mainName, backgroundPoint);
    QVERIFY(ownPalette != rgb(0x1e, 0x50, 0x78));

    QVERIFY(saveByRename(run.sheet, withPalette));
    QTRY_COMPARE_WITH_TIMEOUT(run.pixel(AttachedApp::mainName, backgroundPoint),
                              rgb(0x1e, 0x50, 0x78), 10000);
    // The application's own widget-level sheet still wins on its label.
    QCOMPARE(run.pixel(AttachedApp::mainName, labelPoint), rgb(0, 0, 255));

    QVERIFY(saveByRename(run.sheet, withoutPalette));
    QTRY_COMPARE_WITH_TIMEOUT(run.pixel(AttachedApp::mainName, backgroundPoint), ownPalette, 10000);
    QCOMPARE(run.quit(0), 0);
}

void TestAttach::autoTakesTheAgentWhereThePluginCannotLoad_data()
{
    QTest::addColumn<QString>("program");
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("module");
    QTest::addColumn<QString>("builtFor");
    QTest::addColumn<QString>("said");
    const QString builtHere = QLatin1String(QT_VERSION_STR);
    for (const AttachedApplication &application : attachedApplications()) {
        if (application.module.isEmpty())
            continue;
        QTest::addRow("%s on the plugin's own Qt", application.name)
            << application.program << application.arguments << application.module << QString()
            << QStringLiteral("through the plugin, which is built for its Qt");
        // The plugin would decline, as for a binding installed with pip.
        QTest::addRow("%s on another build of Qt", application.name)
            << application.program << application.arguments << application.module
            << QStringLiteral("5.0.0")
            << QStringLiteral("through the Python agent, as this prismark-live's plugin is "
                              "built for Qt 5.0.0");
    }
    // The distribution's binding of the other major version: its Qt loads no plugin of ours.
    const QString script = QStringLiteral(ATTACHED_APP_SCRIPT);
    const QStringList otherBindings =
        QT_VERSION_MAJOR == 5 ? QStringList{QStringLiteral("PyQt6")}
                              : QStringList{QStringLiteral("PyQt5"), QStringLiteral("PySide2")};
    for (const QString &binding : otherBindings)
        QTest::addRow("%s script on Qt %d", qPrintable(binding), QT_VERSION_MAJOR == 5 ? 6 : 5)
            << systemPython << QStringList{script, binding.toLower()}
            << binding + QStringLiteral(".QtWidgets") << QString()
            << QStringLiteral("through the Python agent, as this prismark-live's plugin is "
                              "built for Qt %1")
                   .arg(builtHere);
}

// --attach auto: the plugin where it fits the application's Qt, else the agent, which
// keeps the plugin out of the application rather than have it decline or be warned of.
void TestAttach::autoTakesTheAgentWhereThePluginCannotLoad()
{
    QFETCH(QString, program);
    QFETCH(QStringList, arguments);
    QFETCH(QString, module);
    QFETCH(QString, builtFor);
    QFETCH(QString, said);
    SKIP_UNLESS_RUNNABLE(whyPythonIsSkipped(module));

    QProcessEnvironment extra;
    if (!builtFor.isEmpty())
        extra.insert(QLatin1String(Attach::testBuiltForVariable), builtFor);
    AttachedRun run(program, arguments, redSheet, extra);
    QTRY_VERIFY_WITH_TIMEOUT(run.shows(AttachedApp::mainName), 15000);
    QTRY_COMPARE(run.pixel(AttachedApp::mainName, backgroundPoint), rgb(200, 30, 30));
    QCOMPARE(run.quit(0), 0);
    const QString errors = run.errors();
    QVERIFY2(errors.contains(said), qPrintable(errors));
    QVERIFY2(!errors.contains(QLatin1String("prismark-attach")) &&
                 !errors.contains(QLatin1String("incompatible Qt library")),
             qPrintable(errors));
}

void TestAttach::schemeIsUnderTheSheet_data()
{
    QTest::addColumn<QString>("program");
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("module");
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<bool>("dark");
    const QStringList dark{QStringLiteral("--color-scheme"), QStringLiteral("dark")};
    const QStringList light{QStringLiteral("--color-scheme"), QStringLiteral("Light")};
    for (const AttachedApplication &application : attachedApplications()) {
        if (application.module.startsWith(QLatin1String("PySide")))
            continue;
        const QString way = application.module.isEmpty() ? QStringLiteral("the plugin")
                                                         : QStringLiteral("the Python agent");
        const QStringList agent = application.module.isEmpty() ? QStringList() : throughAgent;
        QTest::addRow("%s, dark, through %s", application.name, qPrintable(way))
            << application.program << application.arguments << application.module << agent + dark
            << true;
        QTest::addRow("%s, light, through %s", application.name, qPrintable(way))
            << application.program << application.arguments << application.module << agent + light
            << false;
        if (application.module.isEmpty()) {
            // Started by the launcher that loads no toolkit, which knows the default too.
            QTest::addRow("%s, no scheme given", application.name)
                << application.program << application.arguments << application.module
                << QStringList() << false;
        } else {
            QTest::addRow("%s, dark, through the plugin", application.name)
                << application.program << application.arguments << application.module << dark
                << true;
        }
    }
}

// A sheet that paints a label's background and no text: the application writes its
// text, and paints its windows, in the scheme's palette, however it was attached.
void TestAttach::schemeIsUnderTheSheet()
{
    QFETCH(QString, program);
    QFETCH(QStringList, arguments);
    QFETCH(QString, module);
    QFETCH(QStringList, options);
    QFETCH(bool, dark);
    SKIP_UNLESS_RUNNABLE(whyPythonIsSkipped(module));
    const QPalette scheme = schemePalette(dark ? ColorScheme::Dark : ColorScheme::Light);

    AttachedRun run(program, arguments, "QLabel { background: #272727; }\n", QProcessEnvironment(),
                    options);
    QTRY_VERIFY_WITH_TIMEOUT(run.shows(AttachedApp::mainName), 15000);
    QTRY_COMPARE_WITH_TIMEOUT(run.pixel(AttachedApp::mainName, backgroundPoint),
                              scheme.color(QPalette::Window), 15000);
    // The label keeps its own background (blue); its text is the scheme's.
    const QImage window(
        QDir(run.outFolder())
            .filePath(QLatin1String(AttachedApp::mainName) + QStringLiteral(".png")));
    const QColor ink =
        inkOn(window, QColor(0, 0, 255), QRect(labelPoint.x() - 280, labelPoint.y() - 10, 180, 30));
    QVERIFY2(dark ? isLightInk(ink) : isDarkInk(ink), qPrintable(ink.name()));
    QCOMPARE(run.quit(0), 0);
}

void TestAttach::agentWritesNothingBesideTheApplication_data()
{
    QTest::addColumn<QString>("binding");
    QTest::addColumn<QString>("module");
    for (const AttachedApplication &application : attachedApplications()) {
        if (!application.module.isEmpty())
            QTest::newRow(application.name)
                << application.arguments.constLast() << application.module;
    }
}

// The agent enters through the interpreter's start-up, in front of the application's
// own sitecustomize, which still runs; it writes nothing into the application's folder
// (started from there), nor anywhere the application imports from.
void TestAttach::agentWritesNothingBesideTheApplication()
{
    QFETCH(QString, binding);
    QFETCH(QString, module);
    SKIP_UNLESS_RUNNABLE(whyPythonIsSkipped(module));

    QTemporaryDir application, userSite;
    const QString script = QDir(application.path()).filePath(QStringLiteral("attachedapp.py"));
    QVERIFY(QFile::copy(QStringLiteral(ATTACHED_APP_SCRIPT), script));
    const QString names = QStringLiteral("attachedappnames.py");
    QVERIFY(QFile::copy(QFileInfo(QStringLiteral(ATTACHED_APP_SCRIPT)).dir().filePath(names),
                        QDir(application.path()).filePath(names)));
    const QString mark = scratch.filePath(QStringLiteral("sitecustomize-ran-") + binding);
    QVERIFY(writeFile(QDir(userSite.path()).filePath(QStringLiteral("sitecustomize.py")),
                      "import os\n"
                      "with open(os.environ['PRISMARK_TEST_SITE_MARK'], 'w') as mark:\n"
                      "    mark.write(__name__)\n"));
    const auto listing = [](const QString &folder) {
        QStringList entries;
        QDirIterator files(folder,
                           QDir::AllEntries | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot,
                           QDirIterator::Subdirectories);
        while (files.hasNext())
            entries << files.next();
        return entries;
    };
    const QStringList before = listing(application.path());
    QProcessEnvironment extra;
    extra.insert(QStringLiteral("PYTHONPATH"), userSite.path());
    extra.insert(QStringLiteral("PRISMARK_TEST_SITE_MARK"), mark);
    AttachedRun run(systemPython, {script, binding}, redSheet, extra, throughAgent,
                    application.path());
    QTRY_VERIFY_WITH_TIMEOUT(run.shows(AttachedApp::mainName), 15000);
    QTRY_COMPARE(run.pixel(AttachedApp::mainName, backgroundPoint), rgb(200, 30, 30));
    QVERIFY(saveByRename(run.sheet, yellowSheet));
    QTRY_COMPARE_WITH_TIMEOUT(run.pixel(AttachedApp::mainName, backgroundPoint), rgb(220, 200, 0),
                              10000);
    QCOMPARE(run.quit(0), 0);
    QFile ran(mark);
    QVERIFY2(ran.open(QIODevice::ReadOnly), "the application's own sitecustomize did not run");
    QCOMPARE(ran.readAll(), QByteArray("sitecustomize"));
    QCOMPARE(listing(application.path()), before);
}

// The socket the application says hello on goes when the application does.
void TestAttach::nothingIsLeftInTheTemporaryFolder()
{
    QTemporaryDir temporary;
    QProcessEnvironment extra;
    extra.insert(QStringLiteral("TMPDIR"), temporary.path());
    extra.insert(QStringLiteral("XDG_RUNTIME_DIR"), scratch.path());
    AttachedRun run(QStringLiteral(ATTACHED_APP_EXECUTABLE), {}, redSheet, extra);
    const auto left = [&temporary] {
        return QDir(temporary.path())
            .entryList(QDir::AllEntries | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot);
    };
    QTRY_VERIFY_WITH_TIMEOUT(run.shows(AttachedApp::mainName), 15000);
    QCOMPARE(run.quit(0), 0);
    QVERIFY2(run.errors().contains(QLatin1String("attached to")), "no hello came");
    QCOMPARE(left(), QStringList());
}

// Each application through the plugin, whose tools are inside it, and each Python one
// through the agent as well, whose tools are prismark-live's own.
void TestAttach::inspectorAnswersOnTheApplicationsWidgets_data()
{
    addApplicationAndWayRows();
}

void TestAttach::inspectorAnswersOnTheApplicationsWidgets()
{
    QFETCH(QString, program);
    QFETCH(QStringList, arguments);
    QFETCH(QString, module);
    QFETCH(QStringList, options);
    SKIP_UNLESS_RUNNABLE(whyPythonIsSkipped(module));
    QProcessEnvironment extra;
    extra.insert(QString::fromLatin1(Attach::testInspectVariable),
                 QString::fromLatin1(AttachedApp::labelName));
    AttachedRun run(program, arguments,
                    "QWidget { color: rgb(1, 2, 3); }\n"
                    "QLabel#ownSheetLabel { color: rgb(4, 5, 6); }\n"
                    "QPushButton { color: rgb(7, 8, 9); }\n",
                    extra, options);
    const bool ownTools = !options.isEmpty();
    QTRY_VERIFY_WITH_TIMEOUT(run.inspection(ownTools).contains(QStringLiteral("rows")), 15000);
    const QJsonObject inspection = run.inspection(ownTools);
    const QJsonArray rows = inspection.value(QStringLiteral("rows")).toArray();
    QStringList rules;
    for (const QJsonValue &row : rows) {
        if (!row.toString().startsWith(QLatin1Char(' ')))
            rules << row.toString();
    }
    // The winner first, and nothing of the rule that does not match.
    QCOMPARE(rules.size(), 2);
    QVERIFY2(rules.at(0).contains(QLatin1String("QLabel#ownSheetLabel")),
             qPrintable(rules.join('\n')));
    QVERIFY2(rules.at(1).contains(QLatin1String("QWidget")), qPrintable(rules.join('\n')));
    // The application's widget-level sheet is there, as an origin of its own.
    const QString identity = inspection.value(QStringLiteral("identity")).toString();
    QVERIFY2(identity.contains(QStringLiteral("QLabel#ownSheetLabel: ") +
                               QLatin1String(AttachedApp::labelSheet)),
             qPrintable(identity));
    if (ownTools) {
        // Picked by a click in the application, and outlined there in the inspector's colour.
        QTRY_COMPARE_WITH_TIMEOUT(run.report().value(QStringLiteral("highlighted")).toArray(),
                                  QJsonArray{QLatin1String(AttachedApp::labelName)}, 15000);
        QTRY_VERIFY_WITH_TIMEOUT(run.count(AttachedApp::mainName, rgb(255, 0, 255)) > 0, 15000);
    }
    QCOMPARE(run.quit(0), 0);
}

// The Python applications: through the plugin the tools are still inside the application.
void TestAttach::livesToolsKeepTheirOwnLookThroughTheAgent_data()
{
    QTest::addColumn<QString>("program");
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("module");
    for (const AttachedApplication &application : attachedApplications()) {
        if (!application.module.isEmpty())
            QTest::newRow(application.name)
                << application.program << application.arguments << application.module;
    }
}

void TestAttach::livesToolsKeepTheirOwnLookThroughTheAgent()
{
    QFETCH(QString, program);
    QFETCH(QStringList, arguments);
    QFETCH(QString, module);
    SKIP_UNLESS_RUNNABLE(whyPythonIsSkipped(module));
    AttachedRun run(program, arguments,
                    "QPushButton { border: 3px solid rgb(255, 0, 0); }\n"
                    "* { color: white; background: white; }\n",
                    QProcessEnvironment(), throughAgent);
    // The sheet is on in the application: its button has the red border.
    QTRY_VERIFY_WITH_TIMEOUT(run.count(AttachedApp::mainName, rgb(255, 0, 0)) > 0, 15000);
    QTRY_VERIFY_WITH_TIMEOUT(!QImage(run.toolsImage()).isNull(), 15000);
    // prismark-live's window is its own: no red border on its Pick and Apply buttons,
    // and its text is not white on white.
    const QImage tools(run.toolsImage());
    QCOMPARE(countPixels(tools, rgb(255, 0, 0)), 0);
    int dark = 0;
    for (int y = 0; y < tools.height(); ++y) {
        for (int x = 0; x < tools.width(); ++x)
            dark += QColor(tools.pixel(x, y)).lightness() < 96;
    }
    QVERIFY2(dark > 100, qPrintable(QString::number(dark)));
    QCOMPARE(run.quit(0), 0);
}

void TestAttach::failureIsSaidPlainly_data()
{
    QTest::addColumn<QString>("program");
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("builtFor");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QStringList>("options");

    const QString sh = QStringLiteral("/bin/sh");
    QTest::newRow("program not found")
        << QStringLiteral("no-such-program-here") << QStringList() << QString() << 127
        << QStringLiteral("no-such-program-here: no such program on PATH") << QStringList();
    const QString plainFile = scratch.filePath(QStringLiteral("myapp.py"));
    writeFile(plainFile, "print('no x bit')\n");
    QTest::newRow("program is not executable")
        << plainFile << QStringList() << QString() << 126
        << QStringLiteral("is not an executable file") << QStringList();
    QTest::newRow("program links no Qt and exits at start")
        << QStringLiteral("/bin/true") << QStringList() << QString() << 0
        << QStringLiteral("exited with status 0 before prismark-live could attach; /bin/true links "
                          "no Qt library")
        << QStringList();
    QTest::newRow("program links no Qt and keeps running")
        << QStringLiteral("/bin/sleep") << QStringList{QStringLiteral("60")} << QString() << 3
        << QStringLiteral("no word from /bin/sleep within 10 s; /bin/sleep links no Qt library")
        << QStringList();
    QTest::newRow("program crashes at start")
        << sh << QStringList{QStringLiteral("-c"), QStringLiteral("kill -SEGV $$")} << QString()
        << 128 + 11 << QStringLiteral("crashed (signal 11) before prismark-live could attach")
        << QStringList();
    QTest::newRow("Python program without a Qt application")
        << systemPython << QStringList{QStringLiteral("-c"), QStringLiteral("exit(4)")} << QString()
        << 4 << QStringLiteral("prismark's Python agent waits for it to import PyQt5")
        << QStringList();
    // A program of the distribution's on the other major version.
    const int otherMajor = QT_VERSION_MAJOR == 5 ? 6 : 5;
    const QString otherProgram = QStringLiteral("/usr/lib/qt%1/bin/qtpaths").arg(otherMajor);
    QTest::newRow("program on the other major version of the toolkit")
        << otherProgram << QStringList{QStringLiteral("--version")} << QString() << 0
        << QStringLiteral("%1 links Qt %2, but this prismark-live was built for Qt %3")
               .arg(otherProgram)
               .arg(otherMajor)
               .arg(QT_VERSION_MAJOR)
        << QStringList();
    QTest::newRow("application on another build of the toolkit")
        << QStringLiteral(ATTACHED_APP_EXECUTABLE) << QStringList() << QStringLiteral("5.0.0") << 3
        << QStringLiteral("runs Qt %1, but this prismark-live's plugin is built for Qt 5.0.0")
               .arg(QLatin1String(qVersion()))
        << QStringList();
    // A binding the plugin cannot load into, and only the plugin asked for.
    QTest::newRow("Python application on another build of the toolkit, --attach plugin")
        << systemPython
        << QStringList{QStringLiteral(ATTACHED_APP_SCRIPT),
                       QStringLiteral("pyqt%1").arg(QT_VERSION_MAJOR)}
        << QStringLiteral("5.0.0") << 3
        << QStringLiteral("--attach auto takes one installed with pip through the Python agent")
        << QStringList{QStringLiteral("--attach"), QStringLiteral("plugin")};
}

void TestAttach::failureIsSaidPlainly()
{
    QFETCH(QString, program);
    QFETCH(QStringList, arguments);
    QFETCH(QString, builtFor);
    QFETCH(int, status);
    QFETCH(QString, message);
    QFETCH(QStringList, options);

    if (program.startsWith(QLatin1Char('/')) && !QFile::exists(program))
        QSKIP(qPrintable(program + QStringLiteral(" is not installed")));
    if (!options.isEmpty())
        SKIP_UNLESS_RUNNABLE(whyCommandIsSkipped(QStringList{program} + arguments));
    QProcessEnvironment extra;
    if (!builtFor.isEmpty())
        extra.insert(QString::fromLatin1(Attach::testBuiltForVariable), builtFor);
    AttachedRun run(program, arguments, redSheet, extra, options);
    QVERIFY(run.live.waitForFinished(15000));
    const QString errors = run.errors();
    QVERIFY2(errors.contains(message), qPrintable(errors));
    QCOMPARE(run.live.exitCode(), status);
    QVERIFY(!QFile::exists(QDir(run.outFolder()).filePath(QStringLiteral("report.json"))));
}

QTEST_MAIN(TestAttach)
#include "tst_attach.moc"
