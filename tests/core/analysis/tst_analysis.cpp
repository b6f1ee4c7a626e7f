// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "analysis/applicationforms.h"
#include "analysis/applicationobjects.h"
#include "analysis/checkregistry.h"
#include "analysis/checkreporter.h"
#include "analysis/qssreference.h"
#include "analysis/sheetmodel.h"
#include "analysis/stylesheetlint.h"
#include "analysis/suppressioncomments.h"
#include "embedded/applicationsources.h"
#include "tokens/uniformtokens.h"

#include <QCoreApplication>
#include <QDir>
#include <QSet>
#include <QtTest>

#include <algorithm>

// The analysis as the command-line programs run it, in a process without a GUI
// application: each check against sheets it must accept and sheets it must reject,
// and the registry's promises (every check reachable, each independent of the rest).
class TestAnalysis : public QObject
{
    Q_OBJECT
private slots:
    void eachCheck_data();
    void eachCheck();
    void byteOrderMarksNameTheirEncoding_data();
    void byteOrderMarksNameTheirEncoding();
    void fileUrlNamesThePathToWrite();
    void everyRegisteredCheckIsReportedByAFixture();
    void disablingOneCheckChangesNoOther_data();
    void disablingOneCheckChangesNoOther();
    void ownWidgetClassesDeriveAsConfigured_data();
    void ownWidgetClassesDeriveAsConfigured();
    void findingsPastTheLimitAreCountedWithoutTheirMessages();
    void suppressionCommentsStandWhereWritten_data();
    void suppressionCommentsStandWhereWritten();
};

namespace {
const QDir kFixtures(QStringLiteral(PRISMARK_LINT_FIXTURES_DIR));

QVector<LintDiagnostic> lintAll(const QByteArray &bytes, const QStringList &disabled = {},
                                std::shared_ptr<const UniformTokens> tokens = nullptr,
                                const QString &form = QString(), const QString &header = QString())
{
    LintOptions options;
    options.gallery = true;
    options.disabledChecks = disabled;
    options.tokens = std::move(tokens);
    QStringList warnings;
    if (!form.isEmpty())
        addApplicationForms(options, {form}, &warnings);
    QFile declarations(header);
    if (!header.isEmpty() && declarations.open(QIODevice::ReadOnly)) {
        SourceDeclarations sources;
        sources.readCpp(QString::fromUtf8(declarations.readAll()), header);
        options.applicationObjects =
            std::make_shared<ApplicationObjects>(sources.applicationObjects());
    }
    return lintStyleSheet(bytes, QStringLiteral("sheet.qss"), options);
}

QStringList positionsOf(const QVector<LintDiagnostic> &diagnostics, const QString &check)
{
    QStringList positions;
    for (const LintDiagnostic &diagnostic : diagnostics) {
        if (diagnostic.check == check)
            positions.append(QStringLiteral("%1:%2").arg(diagnostic.line).arg(diagnostic.column));
    }
    return positions;
}

// The command line's fixtures and each check's own.
QVector<QPair<QString, QByteArray>> fixtureSheets()
{
    QVector<QPair<QString, QByteArray>> sheets;
    for (const QDir &directory : {kFixtures, QDir(QStringLiteral(PRISMARK_CHECK_FIXTURES_DIR))}) {
        for (const QString &name : directory.entryList({QStringLiteral("*.qss")}, QDir::Files)) {
            QFile file(directory.filePath(name));
            if (file.open(QIODevice::ReadOnly))
                sheets.append({name, file.readAll()});
        }
    }
    return sheets;
}
} // namespace

void TestAnalysis::eachCheck_data()
{
    QTest::addColumn<QString>("check");
    QTest::addColumn<QByteArray>("sheet");
    QTest::addColumn<QStringList>("expected"); // that check's LINE:COL, in order

    const auto row = [](const char *check, const char *situation, const QByteArray &sheet,
                        const QStringList &expected) {
        QTest::addRow("%s: %s", check, situation)
            << QString::fromLatin1(check) << sheet << expected;
    };
    // What a fixture in tests/checks cannot hold: a file in another encoding, and a
    // sheet judged as a whole.
    row("encoding", "a UTF-16 byte-order mark", "\xff\xfeQ\0", {"1:1"});
    row("encoding", "a big-endian UTF-16 byte-order mark", QByteArray("\xfe\xff\0Q", 4), {"1:1"});
    row("encoding", "a UTF-32 byte-order mark", QByteArray("\xff\xfe\0\0Q\0\0\0", 8), {"1:1"});
    row("encoding", "a big-endian UTF-32 byte-order mark", QByteArray("\0\0\xfe\xffQ", 5), {"1:1"});
    // The toolkit reads UTF-8's own mark; no finding, and columns do not count it.
    row("encoding", "a UTF-8 byte-order mark", "\xef\xbb\xbfQLabel { color: #12345x; }", {});
    row("bad-value", "a column after a UTF-8 byte-order mark",
        "\xef\xbb\xbfQLabel { color: #12345x; }", {"1:17"});
    row("encoding", "a NUL after an emoji is placed in characters, not UTF-16 units",
        QByteArray("a \xf0\x9f\x8e\xa8\0", 7), {"1:4"});

    // Sheets whose parts a fixture would share: a complex control is judged over the
    // whole sheet, once.
    row("partial-control", "once per control, however many rules style the part",
        "QSlider::handle { width: 9px; }\nQSlider::handle:hover { background: red; }\n", {"1:1"});
    row("partial-control", "a base class's parts count for its subclass",
        "QAbstractSpinBox::up-button, QAbstractSpinBox::down-button, QAbstractSpinBox::up-arrow, "
        "QAbstractSpinBox::down-arrow { width: 9px; }\nQSpinBox::up-button { width: 12px; }\n",
        {});
    row("partial-control", "a subclass's parts do not count for its base",
        "QSpinBox::down-button, QSpinBox::up-arrow, QSpinBox::down-arrow { width: 9px; }\n"
        "QAbstractSpinBox::up-button { width: 12px; }\n",
        {"2:1"});
    row("partial-control", "a scroll bar's text colour starts nothing",
        "QScrollBar { color: red; }", {});
    // The toolkit matches its tool tip by "QToolTip" alone, never by a base class.
    row("shadowed", "a later QWidget rule does not reach the tool tip",
        "QToolTip { color: red; }\nQWidget { color: blue; }\n", {});
    // Font sizes take pt and px only; a length in another unit is dropped.
    row("bad-value", "font-size in px and pt",
        "QLabel { font-size: 12px; }\n"
        "QFrame { font-size: 9pt; }",
        {});
    row("bad-value", "font-size in em or without a unit",
        "QLabel { font-size: 1em; }\nQFrame { font-size: 12; }", {"1:21", "2:21"});
    // A file: URL where the toolkit reads a path: marked from url( to its end.
    row("missing-resource", "a file: URL", "QLabel { image: url(file:///tmp/x.png); }", {"1:17"});
    // A sheet that is a reference to a file the toolkit cannot read.
    row("missing-resource", "a sheet read from a missing file",
        "file:///no/such/prismark/sheet.qss", {"1:1"});
    // Which palette pairs are measured: each text role on its own background only.
    const QByteArray window = "/*\n@palette Window = #777777\n@palette Base = #ffffff\n"
                              "@palette Button = #ffffff\n@palette Highlight = #ffffff\n";
    row("contrast", "WindowText on Window", window + "@palette WindowText = #888888\n*/", {"6:1"});
    row("contrast", "Text on Base, not on Window", window + "@palette Text = #333333\n*/", {});
    row("contrast", "ButtonText on Button", window + "@palette ButtonText = #eeeeee\n*/", {"6:1"});
    row("contrast", "HighlightedText on Highlight",
        window + "@palette HighlightedText = #eeeeee\n*/", {"6:1"});
    row("contrast", "disabled Text on Base, at the outline's ratio",
        window + "@palette Disabled.Text = #bbbbbb\n@palette Disabled.ButtonText = #8a8a8a\n*/",
        {"6:1"});
    row("contrast", "a role that has no pair", window + "@palette ToolTipText = #ffffff\n*/", {});

    // Seven classes with variants and five object names of the shell.
    QStringList everything;
    for (int i = 0; i < 12; ++i)
        everything.append(QStringLiteral("1:1"));
    row("coverage", "a sheet that styles nothing of the gallery", "", everything);
}

void TestAnalysis::eachCheck()
{
    QFETCH(QString, check);
    QFETCH(QByteArray, sheet);
    QFETCH(QStringList, expected);
    QCOMPARE(positionsOf(lintAll(sheet), check), expected);
}

void TestAnalysis::byteOrderMarksNameTheirEncoding_data()
{
    QTest::addColumn<QByteArray>("sheet");
    QTest::addColumn<QString>("encoding");
    QTest::newRow("UTF-16 little-endian") << QByteArray("\xff\xfeQ\0", 4) << "UTF-16";
    QTest::newRow("UTF-16 big-endian") << QByteArray("\xfe\xff\0Q", 4) << "UTF-16";
    QTest::newRow("UTF-32 little-endian") << QByteArray("\xff\xfe\0\0Q\0\0\0", 8) << "UTF-32";
    QTest::newRow("UTF-32 big-endian") << QByteArray("\0\0\xfe\xff\0\0\0Q", 8) << "UTF-32";
}

void TestAnalysis::byteOrderMarksNameTheirEncoding()
{
    QFETCH(QByteArray, sheet);
    QFETCH(QString, encoding);
    const QVector<LintDiagnostic> found = lintAll(sheet);
    QVERIFY(!found.isEmpty());
    QCOMPARE(found.first().check, QStringLiteral("encoding"));
    QCOMPARE(found.first().severity, LintSeverity::Error);
    QVERIFY2(found.first().message.startsWith(encoding + QStringLiteral(" byte-order mark")),
             qPrintable(found.first().message));
}

// The fix a user copies: the URL's path, whichever form of file: URL it has.
void TestAnalysis::fileUrlNamesThePathToWrite()
{
    const QVector<LintDiagnostic> found = lintAll("QLabel { image: url(file:/tmp/ab.png); }");
    const auto url = std::find_if(found.cbegin(), found.cend(), [](const LintDiagnostic &d) {
        return d.check == QStringLiteral("missing-resource");
    });
    QVERIFY(url != found.cend());
    QVERIFY2(url->message.endsWith(QStringLiteral("write \"/tmp/ab.png\"")),
             qPrintable(url->message));
}

void TestAnalysis::everyRegisteredCheckIsReportedByAFixture()
{
    QSet<QString> reported;
    const QDir checkFixtures(QStringLiteral(PRISMARK_CHECK_FIXTURES_DIR));
    for (const auto &fixture : fixtureSheets()) {
        // A fixture of a check that reads design tokens comes with them.
        const QString tokenFile = checkFixtures.filePath(
            QFileInfo(fixture.first).completeBaseName() + QStringLiteral(".tokens.json"));
        std::shared_ptr<UniformTokens> tokens;
        QString error;
        if (QFile::exists(tokenFile)) {
            tokens = std::make_shared<UniformTokens>();
            QVERIFY2(readUniformTokens(tokenFile, tokens.get(), &error), qPrintable(error));
        }
        // And one of a check that reads the application's forms, with its form.
        const QString form = checkFixtures.filePath(QFileInfo(fixture.first).completeBaseName() +
                                                    QStringLiteral(".ui"));
        // And one of a check that reads the application's classes, with its header.
        const QString header = checkFixtures.filePath(QFileInfo(fixture.first).completeBaseName() +
                                                      QStringLiteral(".h"));
        for (const LintDiagnostic &diagnostic :
             lintAll(fixture.second, {}, tokens, QFile::exists(form) ? form : QString(),
                     QFile::exists(header) ? header : QString()))
            reported.insert(diagnostic.check);
    }
    QSet<QString> ids;
    for (const LintCheck &check : lintChecks()) {
        QVERIFY2(!ids.contains(QLatin1String(check.id)), check.id);
        ids.insert(QLatin1String(check.id));
    }
    QCOMPARE(reported, ids);
}

void TestAnalysis::disablingOneCheckChangesNoOther_data()
{
    QTest::addColumn<QString>("disabled");
    for (const QString &id : lintCheckIds())
        QTest::newRow(qPrintable(id)) << id;
}

void TestAnalysis::disablingOneCheckChangesNoOther()
{
    QFETCH(QString, disabled);
    const auto text = [](const LintDiagnostic &d) {
        return QStringLiteral("%1:%2 %3 %4").arg(d.line).arg(d.column).arg(d.check, d.message);
    };
    for (const auto &fixture : fixtureSheets()) {
        QStringList expected;
        for (const LintDiagnostic &diagnostic : lintAll(fixture.second)) {
            if (diagnostic.check != disabled)
                expected.append(text(diagnostic));
        }
        QStringList found;
        for (const LintDiagnostic &diagnostic : lintAll(fixture.second, {disabled}))
            found.append(text(diagnostic));
        QVERIFY2(found == expected, qPrintable(fixture.first));
    }
}

void TestAnalysis::ownWidgetClassesDeriveAsConfigured_data()
{
    QTest::addColumn<QString>("own"); // "Class:Base" pairs
    QTest::addColumn<QString>("widget");
    QTest::addColumn<QString>("base");
    QTest::addColumn<bool>("inherits");
    QTest::newRow("own class derives from its toolkit base's bases") << "MyButton:QPushButton"
                                                                     << "MyButton"
                                                                     << "QAbstractButton" << true;
    QTest::newRow("toolkit class does not derive from an own class") << "MyButton:QPushButton"
                                                                     << "QPushButton"
                                                                     << "MyButton" << false;
    QTest::newRow("own classes on own classes") << "Inner:Outer Outer:QFrame"
                                                << "Inner"
                                                << "QWidget" << true;
    QTest::newRow("own base of a toolkit class replaces the toolkit's")
        << "QPushButton:QFrame"
        << "QPushButton"
        << "QAbstractButton" << false;
    QTest::newRow("toolkit class on a replaced base") << "QPushButton:QFrame"
                                                      << "QPushButton"
                                                      << "QFrame" << true;
    QTest::newRow("a cycle of own classes ends") << "A:B B:A"
                                                 << "A"
                                                 << "QWidget" << false;
    QTest::newRow("a cycle of own classes still holds its members") << "A:B B:A"
                                                                    << "A"
                                                                    << "B" << true;
    QTest::newRow("unknown class is itself") << ""
                                             << "Unknown"
                                             << "Unknown" << true;
    QTest::newRow("unknown class derives from nothing") << ""
                                                        << "Unknown"
                                                        << "QWidget" << false;
    QTest::newRow("any widget derives from nothing") << ""
                                                     << ""
                                                     << "" << false;
}

void TestAnalysis::ownWidgetClassesDeriveAsConfigured()
{
    QFETCH(QString, own);
    QFETCH(QString, widget);
    QFETCH(QString, base);
    QFETCH(bool, inherits);
    QHash<QString, QString> bases;
    for (const QString &pair : own.split(QLatin1Char(' '), Qt::SkipEmptyParts))
        bases.insert(pair.section(QLatin1Char(':'), 0, 0), pair.section(QLatin1Char(':'), 1));
    const QssReference::WidgetClasses classes(bases);
    QCOMPARE(classes.inherits(widget, base), inherits);
    QCOMPARE(classes.ancestry(widget).contains(base), inherits);
}

void TestAnalysis::findingsPastTheLimitAreCountedWithoutTheirMessages()
{
    const SheetModel model("QWidget { color: red; }", QStringLiteral("limit.qss"));
    QVector<LintDiagnostic> sink;
    CheckReporter report(model, QStringLiteral("shadowed"), LintSeverity::Warning, sink);
    const int found = CheckReporter::kMaxListed + 2;
    int made = 0;
    int listed = 0;
    for (int i = 0; i < found; ++i) {
        listed += report.at(0, 7, [&made] {
            ++made;
            return QStringLiteral("finding");
        });
    }
    report.reportOmitted();
    QCOMPARE(listed, CheckReporter::kMaxListed);
    QCOMPARE(made, CheckReporter::kMaxListed);
    QCOMPARE(sink.size(), CheckReporter::kMaxListed + 1);
    QVERIFY2(sink.last().message.startsWith(QLatin1String("2 more diagnostics")),
             qPrintable(sink.last().message));
}

void TestAnalysis::suppressionCommentsStandWhereWritten_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected"); // line:column-end line of each, "open" if so
    QTest::newRow("after a string continued over a line break")
        << "QLabel { qproperty-text: \"a\\\nb\"; }\n  /* prismark-lint-disable */"
        << "3:3-3";
    QTest::newRow("inside a string is no comment")
        << "QLabel[text=\"/* prismark-lint-disable */\"] {}"
        << "";
    QTest::newRow("one left open runs to the end")
        << "QLabel {}\n/* prismark-lint-disable\nunknown-property"
        << "2:1-3 open";
}

void TestAnalysis::suppressionCommentsStandWhereWritten()
{
    QFETCH(QString, text);
    QFETCH(QString, expected);
    QStringList found;
    for (const SuppressionComment &comment : findSuppressionComments(text))
        found.append(QStringLiteral("%1:%2-%3%4")
                         .arg(comment.line)
                         .arg(comment.column)
                         .arg(comment.endLine)
                         .arg(comment.closed ? QString() : QStringLiteral(" open")));
    QCOMPARE(found.join(QStringLiteral(", ")), expected);
}

QTEST_GUILESS_MAIN(TestAnalysis)
#include "tst_analysis.moc"
