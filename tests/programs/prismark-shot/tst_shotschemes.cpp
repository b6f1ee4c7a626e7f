// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "testsupport.h"

#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

// prismark-shot --color-scheme: the scheme's palette lies under an author's sheet,
// so a sheet that sets only a background or only a colour reads well in one scheme
// and badly in the other, in the pixels and in the WCAG audit alike.
class TestShotSchemes : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void labelTextTakesTheSchemesColour_data();
    void labelTextTakesTheSchemesColour();
    void textContrastFollowsTheScheme_data();
    void textContrastFollowsTheScheme();
    void lightAloneKeepsTheFolderNames();
    void schemeInContactSheetAndCompare();

private:
    ProgramRun shot(const QStringList &arguments);
    QString write(const QString &name, const QByteArray &bytes);

    QTemporaryDir dir;
    QString form;
    QString backgroundSheet;
    QString colourSheet;
    ProgramRun audit;
};

namespace {

// One label with large text, alone on its form.
const char kLabelForm[] = R"(<?xml version="1.0" encoding="UTF-8"?>
<ui version="4.0">
 <class>LabelForm</class>
 <widget class="QWidget" name="LabelForm">
  <property name="geometry"><rect><x>0</x><y>0</y><width>300</width><height>120</height></rect></property>
  <layout class="QVBoxLayout" name="layout">
   <item>
    <widget class="QLabel" name="label">
     <property name="font"><font><pointsize>20</pointsize></font></property>
     <property name="text"><string>Label text</string></property>
    </widget>
   </item>
  </layout>
 </widget>
</ui>
)";

const QRgb kLabelBackground = qRgb(0x27, 0x27, 0x27);

// The window's own title and status line are labels too; the form's label stands
// in the tab page, between these rows of the default 1040x720 window.
constexpr int kPageTop = 200;
constexpr int kPageBottom = 640;

// The form label's text in an image: the pixels inside the box of its #272727
// background that are darker than it and those that are much lighter.
struct TextInk
{
    int dark = 0;
    int light = 0;
};

TextInk inkOnLabel(const QImage &image)
{
    QRect box;
    for (int y = kPageTop; y < kPageBottom; ++y)
        for (int x = 0; x < image.width(); ++x)
            if ((image.pixel(x, y) & 0xffffff) == (kLabelBackground & 0xffffff))
                box |= QRect(x, y, 1, 1);
    TextInk ink;
    for (int y = box.top(); y <= box.bottom(); ++y)
        for (int x = box.left(); x <= box.right(); ++x) {
            const int grey = qGray(image.pixel(x, y));
            ink.dark += grey < 0x10 ? 1 : 0;
            ink.light += grey > 0xc0 ? 1 : 0;
        }
    return ink;
}

} // namespace

ProgramRun TestShotSchemes::shot(const QStringList &arguments)
{
    return runProgram(QStringLiteral(PRISMARK_SHOT_EXECUTABLE), arguments + QStringList{"--quiet"});
}

QString TestShotSchemes::write(const QString &name, const QByteArray &bytes)
{
    const QString path = dir.filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        return QString();
    return path;
}

void TestShotSchemes::initTestCase()
{
    QVERIFY(dir.isValid());
    form = write(QStringLiteral("label.ui"), kLabelForm);
    backgroundSheet =
        write(QStringLiteral("dark-background.qss"), "QLabel { background: #272727; }\n");
    colourSheet = write(QStringLiteral("dark-colour.qss"), "QLabel { color: #101010; }\n");
    QVERIFY(!form.isEmpty() && !backgroundSheet.isEmpty() && !colourSheet.isEmpty());
    audit = shot({"--sheet", backgroundSheet, "--sheet", colourSheet, "--color-scheme",
                  "light,dark", "--tab", "none", "--form", form, "--audit=wcag", "--format", "json",
                  "--out", dir.filePath("audit")});
    QCOMPARE(audit.exitCode, 1);
    // One line per finding, as each entry's message says it.
    QStringList lines;
    for (const QJsonValue &finding : QJsonDocument::fromJson(audit.out.toUtf8()).array())
        lines << finding.toObject().value(QStringLiteral("message")).toString();
    audit.out = lines.join(QLatin1Char('\n'));
}

void TestShotSchemes::labelTextTakesTheSchemesColour_data()
{
    QTest::addColumn<QString>("scheme");
    QTest::addColumn<bool>("lightText");
    QTest::newRow("light: the palette's black text on the dark background") << "light" << false;
    QTest::newRow("dark: the palette's light text on it") << "dark" << true;
}

void TestShotSchemes::labelTextTakesTheSchemesColour()
{
    QFETCH(QString, scheme);
    QFETCH(bool, lightText);
    const QString out = dir.filePath(QStringLiteral("pixels-") + scheme);
    const ProgramRun run = shot({"--sheet", backgroundSheet, "--color-scheme", scheme, "--tab",
                                 "none", "--form", form, "--out", out});
    QVERIFY2(run.exitCode == 0, qPrintable(run.err));
    // Light alone names no scheme in the folder.
    const QString folder = scheme == "light" ? QString() : QLatin1Char('-') + scheme;
    const QImage image(out + "/dark-background" + folder + "/form-label.png");
    QVERIFY(!image.isNull());
    const TextInk ink = inkOnLabel(image);
    QVERIFY2((lightText ? ink.light : ink.dark) > 50,
             qPrintable(QStringLiteral("%1 dark, %2 light").arg(ink.dark).arg(ink.light)));
    QCOMPARE(lightText ? ink.dark : ink.light, 0);
}

void TestShotSchemes::textContrastFollowsTheScheme_data()
{
    QTest::addColumn<QString>("folder");
    QTest::addColumn<bool>("fails");
    QTest::newRow("background alone, light: black on #272727") << "dark-background-light" << true;
    QTest::newRow("background alone, dark: light text on it") << "dark-background-dark" << false;
    QTest::newRow("colour alone, light: #101010 on the light window")
        << "dark-colour-light" << false;
    QTest::newRow("colour alone, dark: #101010 on the dark window") << "dark-colour-dark" << true;
}

void TestShotSchemes::textContrastFollowsTheScheme()
{
    QFETCH(QString, folder);
    QFETCH(bool, fails);
    // "<theme>/<tab>/<object> <state>: 1.4.3 ... failure, ..."
    const QRegularExpression failure(
        QStringLiteral("^%1/form-label/label \\w+: 1\\.4\\.3 .* failure")
            .arg(QRegularExpression::escape(folder)),
        QRegularExpression::MultilineOption);
    QVERIFY2(audit.out.contains(QStringLiteral("%1/").arg(folder)) || !fails,
             qPrintable(audit.out));
    QCOMPARE(failure.match(audit.out).hasMatch(), fails);
}

void TestShotSchemes::lightAloneKeepsTheFolderNames()
{
    const QString out = dir.filePath(QStringLiteral("light-alone"));
    const ProgramRun run = shot({"--sheet", colourSheet, "--color-scheme", "light", "--tab", "none",
                                 "--form", form, "--out", out});
    QVERIFY2(run.exitCode == 0, qPrintable(run.err));
    QVERIFY(QFileInfo::exists(out + "/dark-colour/form-label.png"));
    QVERIFY(!QFileInfo::exists(out + "/dark-colour-light"));
}

// The dark render compared with itself passes and with the light one fails: the
// comparison pairs each scheme's folder with the baseline's of the same scheme.
void TestShotSchemes::schemeInContactSheetAndCompare()
{
    const QString baseline = dir.filePath(QStringLiteral("scheme-baseline"));
    const QStringList render{"--sheet", backgroundSheet, "--color-scheme", "light,dark",
                             "--tab",   "none",          "--form",         form};
    ProgramRun run = shot(render + QStringList{"--out", baseline, "--contact-sheet"});
    QVERIFY2(run.exitCode == 0, qPrintable(run.err));
    for (const char *scheme : {"light", "dark"})
        QVERIFY(QFileInfo::exists(baseline + "/dark-background-" + scheme + ".png"));
    QFile index(baseline + "/index.html");
    QVERIFY(index.open(QIODevice::ReadOnly));
    QVERIFY(index.readAll().contains("dark-background (dark)"));
    run = shot(render + QStringList{"--out", dir.filePath("scheme-again"), "--compare", baseline});
    QVERIFY2(run.exitCode == 0, qPrintable(run.err + run.out));
    QVERIFY(QFile::remove(baseline + "/dark-background-dark/form-label.png"));
    QVERIFY(QFile::copy(baseline + "/dark-background-light/form-label.png",
                        baseline + "/dark-background-dark/form-label.png"));
    run =
        shot(render + QStringList{"--out", dir.filePath("scheme-swapped"), "--compare", baseline});
    QCOMPARE(run.exitCode, 1);
    const QRegularExpression failed(QStringLiteral("^(\\S+) +form-label.png .*FAIL$"),
                                    QRegularExpression::MultilineOption);
    QStringList failedFolders;
    for (auto match = failed.globalMatch(run.out); match.hasNext();)
        failedFolders << match.next().captured(1);
    QCOMPARE(failedFolders, QStringList{"dark-background-dark"});
}

QTEST_GUILESS_MAIN(TestShotSchemes)
#include "tst_shotschemes.moc"
