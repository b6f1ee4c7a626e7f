// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "forms/formloader.h"
#include "prismark-live/liveforms.h"
#include "shell/mainwindow.h"

#include "testsupport.h"

#include <QDialog>
#include <QFile>
#include <QProcess>
#include <QProgressBar>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>

namespace {

const QString fixture = QStringLiteral(PRISMARK_FORM_FIXTURES_DIR "/account-dialog.ui");

QString form(const QString &title, const QString &body = QString())
{
    return QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                          "<ui version=\"4.0\">\n"
                          " <widget class=\"QWidget\" name=\"page\">\n"
                          "  <property name=\"windowTitle\"><string>%1</string></property>\n"
                          "%2"
                          " </widget>\n"
                          "</ui>\n")
        .arg(title, body);
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(bytes) == bytes.size();
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Runs a program of the build, offscreen, and gives its exit code.
int run(const QString &program, const QStringList &arguments, QString *errors = nullptr)
{
    const ProgramRun result = runProgram(program, arguments);
    if (errors)
        *errors = result.err;
    return result.exitCode;
}

} // namespace

class TestForms : public QObject
{
    Q_OBJECT

private slots:
    void formIsLoadedAsDataWithWhatDiffersListed();
    void refusedFormSaysWhy_data();
    void refusedFormSaysWhy();
    void formReplacedOnDiskIsShownAgain();
    void shotRendersFormsTheSameRunAfterRun();
    void missingOrBrokenFormsEndPrograms_data();
    void missingOrBrokenFormsEndPrograms();
};

void TestForms::formIsLoadedAsDataWithWhatDiffersListed()
{
    const LoadedForm loaded = loadForm(fixture);
    QVERIFY2(loaded.widget, qPrintable(loaded.error));
    QCOMPARE(loaded.title, QStringLiteral("Account Settings"));
    // The promoted meter is the toolkit class it extends, so QProgressBar rules reach it.
    auto *meter = loaded.widget->findChild<QWidget *>(QStringLiteral("quotaMeter"));
    QVERIFY(meter);
    QCOMPARE(meter->metaObject()->className(), "QProgressBar");
    const QString notes = loaded.notes.join(QLatin1Char('\n'));
    QVERIFY2(
        notes.contains(QStringLiteral(
            "VolumeMeter is shown as QProgressBar: rules naming VolumeMeter cannot match here")),
        qPrintable(notes));
    QVERIFY2(notes.contains(QStringLiteral("image images/logo.png is missing")), qPrintable(notes));
    QVERIFY2(notes.contains(QStringLiteral("no object is named syncNowButtn")), qPrintable(notes));

    // OK is wired to accept() in the form; the preview does not run it.
    auto *dialog = qobject_cast<QDialog *>(loaded.widget.get());
    QVERIFY(dialog);
    dialog->show();
    QMetaObject::invokeMethod(loaded.widget->findChild<QObject *>(QStringLiteral("buttonBox")),
                              "accepted");
    QVERIFY(dialog->isVisible());
}

void TestForms::refusedFormSaysWhy_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("said");
    QTest::newRow("broken XML on line 5") << "broken"
                                          << "not a form: line 5";
    QTest::newRow("a form with no widget") << "empty-ui"
                                           << "it holds no <widget>";
    QTest::newRow("XML that is not a form") << "other-root"
                                            << "the root element is <html>";
    QTest::newRow("over 4 MiB") << "large"
                                << "4 MiB";
    QTest::newRow("a FIFO in its place") << "fifo"
                                         << "a FIFO";
    QTest::newRow("a FIFO named as an image") << "fifo-image"
                                              << "pipe.png, a FIFO, as an image";
    QTest::newRow("a FIFO named by a widget's style sheet") << "fifo-sheet"
                                                            << "a style sheet in it names";
    QTest::newRow("a FIFO named as a rich text image") << "fifo-html"
                                                       << "pipe.png, a FIFO";
}

void TestForms::refusedFormSaysWhy()
{
    QFETCH(QString, kind);
    QFETCH(QString, said);
    QTemporaryDir directory;
    const QString path = directory.filePath(QStringLiteral("dialog.ui"));
    const QString pipe = directory.filePath(QStringLiteral("pipe.png"));
    if (kind.startsWith(QLatin1String("fifo")))
        QVERIFY(makeFifo(kind == QLatin1String("fifo") ? path : pipe));
    if (kind == QLatin1String("broken")) {
        QByteArray text = form(QStringLiteral("Broken")).toUtf8();
        // Line 5 loses its closing tag.
        text.replace(" </widget>\n", " </widgt>\n");
        QVERIFY(writeFile(path, text));
    } else if (kind == QLatin1String("empty-ui")) {
        QVERIFY(writeFile(path, "<ui version=\"4.0\"><class>Nothing</class></ui>\n"));
    } else if (kind == QLatin1String("other-root")) {
        QVERIFY(writeFile(path, "<html><body>not a form</body></html>\n"));
    } else if (kind == QLatin1String("large")) {
        QVERIFY(writeFile(path, form(QStringLiteral("Large")).toUtf8() +
                                    QByteArray(5 * 1024 * 1024, ' ')));
    } else if (kind == QLatin1String("fifo-image")) {
        QVERIFY(writeFile(path, form(QStringLiteral("Image"),
                                     QStringLiteral("  <property name=\"windowIcon\"><iconset>"
                                                    "<normaloff>pipe.png</normaloff></iconset>"
                                                    "</property>\n"))
                                    .toUtf8()));
    } else if (kind == QLatin1String("fifo-html")) {
        QVERIFY(writeFile(path, form(QStringLiteral("Rich text"),
                                     QStringLiteral("  <widget class=\"QLabel\" name=\"label\">"
                                                    "<property name=\"text\"><string>&lt;img "
                                                    "src=\"%1\"&gt;</string></property>"
                                                    "</widget>\n")
                                         .arg(pipe))
                                    .toUtf8()));
    } else if (kind == QLatin1String("fifo-sheet")) {
        QVERIFY(writeFile(path, form(QStringLiteral("Sheet"),
                                     QStringLiteral("  <property name=\"styleSheet\"><string>"
                                                    "QWidget { image: url(%1); }</string>"
                                                    "</property>\n")
                                         .arg(pipe))
                                    .toUtf8()));
    }
    const LoadedForm loaded = loadForm(path);
    QVERIFY(!loaded.widget);
    QVERIFY2(loaded.error.contains(said), qPrintable(loaded.error));
}

void TestForms::formReplacedOnDiskIsShownAgain()
{
    QTemporaryDir directory;
    const QString path = directory.filePath(QStringLiteral("dialog.ui"));
    QVERIFY(writeFile(path, form(QStringLiteral("First")).toUtf8()));
    MainWindow window;
    LiveForms forms(&window, {path});
    const int tab = forms.forms().constFirst().tab;
    QCOMPARE(window.galleryTabTitles().value(tab), QStringLiteral("First"));

    // Saved as editors do: a new file renamed over the old one.
    const QString saved = path + QStringLiteral(".new");
    QVERIFY(writeFile(saved, form(QStringLiteral("Second")).toUtf8()));
    QCOMPARE(::rename(QFile::encodeName(saved).constData(), QFile::encodeName(path).constData()),
             0);
    QTRY_COMPARE(window.galleryTabTitles().value(tab), QStringLiteral("Second"));

    // A broken save keeps the last good form and says why.
    QVERIFY(writeFile(path, "<ui version=\"4.0\"><widget class=\"QWidget\">"));
    QTRY_VERIFY(!forms.forms().constFirst().problem.isEmpty());
    QCOMPARE(window.galleryTabTitles().value(tab), QStringLiteral("Second"));
    QVERIFY2(forms.reportHtml().contains(QStringLiteral("The last good version stays")),
             qPrintable(forms.reportHtml()));
    QVERIFY(writeFile(path, form(QStringLiteral("Third")).toUtf8()));
    QTRY_COMPARE(window.galleryTabTitles().value(tab), QStringLiteral("Third"));
}

void TestForms::shotRendersFormsTheSameRunAfterRun()
{
    QTemporaryDir first, second;
    const QStringList common{QStringLiteral("--theme"),         QStringLiteral("light"),
                             QStringLiteral("--tab"),           QStringLiteral("buttons"),
                             QStringLiteral("--form"),          fixture,
                             QStringLiteral("--contact-sheet"), QStringLiteral("--quiet")};
    QCOMPARE(run(QStringLiteral(PRISMARK_SHOT_EXECUTABLE),
                 common + QStringList{QStringLiteral("--out"), first.path()}),
             0);
    QCOMPARE(run(QStringLiteral(PRISMARK_SHOT_EXECUTABLE),
                 common + QStringList{QStringLiteral("--out"), second.path()}),
             0);
    const QString image = QStringLiteral("/light/form-account-dialog.png");
    const QByteArray bytes = readFile(first.path() + image);
    QVERIFY(!bytes.isEmpty());
    QCOMPARE(readFile(second.path() + image), bytes);
    // The form is a picture of the dialog, not of the Buttons tab.
    QVERIFY(bytes != readFile(first.path() + QStringLiteral("/light/buttons.png")));
    // The contact sheet has the form's cell beside the tab's: wider than one cell.
    const QImage sheet(first.path() + QStringLiteral("/light.png"));
    QVERIFY(sheet.width() > 2 * 360);
}

void TestForms::missingOrBrokenFormsEndPrograms_data()
{
    QTest::addColumn<QString>("program");
    QTest::addColumn<QString>("formKind");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<bool>("galleryRendered");
    QTest::newRow("shot: a missing form stops before rendering") << "shot"
                                                                 << "missing" << 3 << false;
    QTest::newRow("shot: a broken form is reported, the rest rendered") << "shot"
                                                                        << "broken" << 3 << true;
    QTest::newRow("live: a missing form at start-up") << "live"
                                                      << "missing" << 1 << false;
}

void TestForms::missingOrBrokenFormsEndPrograms()
{
    QFETCH(QString, program);
    QFETCH(QString, formKind);
    QFETCH(int, exitCode);
    QFETCH(bool, galleryRendered);
    QTemporaryDir directory;
    const QString path = directory.filePath(QStringLiteral("dialog.ui"));
    if (formKind == QLatin1String("broken"))
        QVERIFY(writeFile(path, "<ui version=\"4.0\"><widget class=\"QWidget\">"));
    QString errors;
    if (program == QLatin1String("shot")) {
        QCOMPARE(run(QStringLiteral(PRISMARK_SHOT_EXECUTABLE),
                     {QStringLiteral("--theme"), QStringLiteral("light"), QStringLiteral("--tab"),
                      QStringLiteral("overview"), QStringLiteral("--form"), path,
                      QStringLiteral("--out"), directory.filePath(QStringLiteral("out")),
                      QStringLiteral("--quiet")},
                     &errors),
                 exitCode);
        QCOMPARE(QFile::exists(directory.filePath(QStringLiteral("out/light/overview.png"))),
                 galleryRendered);
    } else {
        const QString sheet = directory.filePath(QStringLiteral("author.qss"));
        QVERIFY(writeFile(sheet, "QLabel { color: #102030; }\n"));
        QCOMPARE(run(QStringLiteral(PRISMARK_LIVE_EXECUTABLE),
                     {sheet, QStringLiteral("--form"), path}, &errors),
                 exitCode);
    }
    QVERIFY2(errors.contains(QStringLiteral("dialog.ui")), qPrintable(errors));
}

QTEST_MAIN(TestForms)
#include "tst_forms.moc"
